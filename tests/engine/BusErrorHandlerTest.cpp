// The process-wide SIGBUS handler that guards mapped files. Whatever it does not answer
// itself must end or spare the process exactly as it would have without the library, and
// it must keep guarding mapped files afterwards. Each case runs in a fresh child process
// (a death test re-executing the binary), since the handler lives as long as the process.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "engine/ByteBuffer.h"
#include "engine/InputStream.h"
#include "engine/MappedRanges.h"
#include "lindrel/MappedReading.h"
#include "tests/engine/EngineTestSupport.h"

namespace lindrel::engine {
namespace {

constexpr size_t kPage = 4096;

// Child exit codes that say what went wrong.
enum Failure : int { kCannotMap = 2, kNotZeros = 3, kNotLost = 4, kWatched = 5, kNotWatched = 6 };

class BusErrorHandlerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    style_ = GTEST_FLAG_GET(death_test_style);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
  }
  void TearDown() override { GTEST_FLAG_SET(death_test_style, style_); }

  // Maps a file of four pages, shortens it to one page and reads its last byte: exits the
  // child with a Failure unless the access reads zero and the content is said lost. Kills
  // the child when the handler is not there to answer the fault.
  void ShortenWhileMapped(const std::string& name) {
    const std::string path = env_.Write(name, std::string(4 * kPage, 'q')).string();
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    ByteBuffer buffer;
    if (fd < 0 || !buffer.MapFile(fd, 4 * kPage, 9)) ::_exit(kCannotMap);
    if (::ftruncate(fd, kPage) != 0) ::_exit(kCannotMap);
    const volatile char* bytes = buffer.data();
    if (bytes[4 * kPage - 1] != 0) ::_exit(kNotZeros);
    if (!buffer.ContentLost()) ::_exit(kNotLost);
    ::close(fd);
  }

  // Installs the handler (any mapped file does) without keeping a file mapped.
  void InstallHandler() {
    const int slot = WatchMappedRange(&anchor_, sizeof anchor_);
    if (slot < 0) ::_exit(kNotWatched);
    StopWatchingMappedRange(slot);
  }

  lindrel::testing::TempEnvironment env_;
  char anchor_ = 0;
  std::string style_;
};

// With nothing installed before the library, a SIGBUS sent to the process ends it by the
// signal, as it would have without the library; also when the sender's ids happen to read
// as an address inside a watched range.
TEST_F(BusErrorHandlerTest, ASentSignalNobodyTakesEndsTheProcess) {
  EXPECT_EXIT(
      {
        ::signal(SIGBUS, SIG_DFL);  // no sanitizer's handler in between either
        InstallHandler();
        ::kill(::getpid(), SIGBUS);
        ::_exit(0);
      },
      ::testing::KilledBySignal(SIGBUS), "");
  EXPECT_EXIT(
      {
        ::signal(SIGBUS, SIG_DFL);
        // For kill() the bytes of si_addr hold the sender's pid and uid.
        const uintptr_t looksLike = (uintptr_t{::getuid()} << 32) | uintptr_t(::getpid());
        if (WatchMappedRange(reinterpret_cast<void*>(looksLike & ~(kPage - 1)), 2 * kPage) < 0)
          ::_exit(kNotWatched);
        ::kill(::getpid(), SIGBUS);
        ::_exit(0);
      },
      ::testing::KilledBySignal(SIGBUS), "");
}

// A sent signal the host ignores, or one the host's own earlier handler takes, leaves
// the process running, and a mapped file shortened afterwards is still answered.
TEST_F(BusErrorHandlerTest, AfterASentSignalTheProtectionStays) {
  EXPECT_EXIT(
      {
        ::signal(SIGBUS, SIG_IGN);
        InstallHandler();
        ::kill(::getpid(), SIGBUS);
        ShortenWhileMapped("ignored");
        ::_exit(0);
      },
      ::testing::ExitedWithCode(0), "");
  static volatile sig_atomic_t taken = 0;
  EXPECT_EXIT(
      {
        struct sigaction own {};
        own.sa_sigaction = [](int, siginfo_t* info, void*) { taken = info->si_code <= 0 ? 1 : 2; };
        own.sa_flags = SA_SIGINFO;
        sigemptyset(&own.sa_mask);
        ::sigaction(SIGBUS, &own, nullptr);
        InstallHandler();
        ::kill(::getpid(), SIGBUS);
        if (taken != 1) ::_exit(kNotLost);
        ShortenWhileMapped("taken");
        ::_exit(taken == 1 ? 0 : kNotLost);  // the fault never reached the host's handler
      },
      ::testing::ExitedWithCode(0), "");
}

// A host that installs a SIGBUS handler of its own after the library's ends the mapping:
// nothing mapped is ever left without the guard.
TEST_F(BusErrorHandlerTest, AHandlerInstalledOverTheLibrarysEndsTheMapping) {
  EXPECT_EXIT(
      {
        InstallHandler();
        ::signal(SIGBUS, SIG_DFL);
        if (WatchMappedRange(&anchor_, 1) >= 0) ::_exit(kWatched);
        ::_exit(0);
      },
      ::testing::ExitedWithCode(0), "");
}

// The opt-out: by the call, mapping stops and the handler is given back as soon as no
// mapped file needs it; by the environment, it is never installed. Large files are then
// read, with the same records.
TEST_F(BusErrorHandlerTest, TheOptOutFallsBackToReading) {
  const std::string text = [] {
    std::string lines;
    for (int i = 0; lines.size() < 2 * kMapThreshold; ++i)
      lines += "line " + std::to_string(i) + "\n";
    return lines;
  }();
  const std::string master = env_.Write("m", text).string();
  const std::string source = env_.Write("s", text + "more\n").string();
  const auto compareWithoutMapping = [&] {
    const unsigned long mapped = TEST_MappedFileCount();
    const testing::Outcome outcome = testing::RunPaths(master, source);
    if (TEST_MappedFileCount() != mapped) ::_exit(kWatched);
    if (outcome.result != 1 || outcome.records.size() != 1) ::_exit(kNotLost);
    struct sigaction current {};
    ::sigaction(SIGBUS, nullptr, &current);
    if (current.sa_handler != SIG_DFL) ::_exit(kWatched);
  };
  EXPECT_EXIT(
      {
        ::signal(SIGBUS, SIG_DFL);
        auto held = std::make_unique<ByteBuffer>();
        const int fd = ::open(master.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0 || !held->MapFile(fd, text.size(), 9)) ::_exit(kCannotMap);
        ::close(fd);
        SetMappedReading(false);
        if (MappedReadingAllowed()) ::_exit(kWatched);
        struct sigaction current {};
        ::sigaction(SIGBUS, nullptr, &current);
        if (current.sa_handler == SIG_DFL) ::_exit(kNotWatched);  // still guarding `held`
        held.reset();
        compareWithoutMapping();
        SetMappedReading(true);
        if (testing::RunPaths(master, source).result != 1 || TEST_MappedFileCount() == 0)
          ::_exit(kNotWatched);
        ::_exit(0);
      },
      ::testing::ExitedWithCode(0), "");
  ::setenv("LINDREL_NO_MMAP", "1", 1);
  EXPECT_EXIT(
      {
        ::signal(SIGBUS, SIG_DFL);
        if (MappedReadingAllowed()) ::_exit(kWatched);
        compareWithoutMapping();
        ::_exit(0);
      },
      ::testing::ExitedWithCode(0), "");
  ::unsetenv("LINDREL_NO_MMAP");
}

}  // namespace
}  // namespace lindrel::engine
