// Large files are mapped instead of read. The content the comparison sees must be the one
// a read would give (text mode, byte 26, binary decision, incomplete last lines), under
// every switch; and a mapped file shortened by someone else must not end the process.
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/ByteBuffer.h"
#include "engine/InputFile.h"
#include "engine/InputStream.h"
#include "engine/LineClasses.h"
#include "engine/TextEngine.h"
#include "tests/engine/EngineTestSupport.h"

namespace lindrel::engine {
namespace {

using testing::EngineTest;
using testing::MessageCapture;
using testing::Outcome;
using testing::RecordingSink;
using Strings = std::vector<std::string>;

constexpr size_t kSlice = 256 * 1024;  // the walk over a mapping goes in slices of this size

// Large texts of numbered lines of a few words, mostly distinct so that the search stays
// short; the words vary in case and spacing for the ignore switches.
class LargeTexts {
 public:
  explicit LargeTexts(std::uint32_t seed) : random_(seed) {}

  std::string Text(size_t bytes, bool crLf) {
    std::string text;
    for (unsigned line = 0; text.size() < bytes; ++line) {
      text += kWords[Below(std::size(kWords))];
      if (Below(10) != 0) text += std::to_string(line);
      if (Below(3) == 0) text += std::string(" ") + kWords[Below(std::size(kWords))];
      const unsigned end = Below(50);
      text += end == 0 ? "\r" : (crLf || end == 1) ? "\r\n" : "\n";
    }
    return text;
  }

  // Lines replaced, dropped or added here and there.
  std::string Edit(std::string text) {
    const unsigned edits = 1 + Below(20);
    for (unsigned i = 0; i < edits; ++i) {
      const size_t at = text.find('\n', Below(static_cast<unsigned>(text.size())));
      if (at == std::string::npos) continue;
      const unsigned pick = Below(3);
      if (pick == 0) text.insert(at + 1, "added line\n");
      if (pick == 1) text.erase(at + 1, text.find('\n', at + 1) - at);
      if (pick == 2) text.replace(at + 1, 2, "ZZ");
    }
    return text;
  }

  unsigned Below(size_t n) { return static_cast<unsigned>(random_() % n); }

 private:
  static constexpr const char* kWords[] = {"alpha", "Alpha", "beta  gamma", "\tdelta", "", "x"};
  std::mt19937 random_;
};

Outcome RunTexts(const Strings& switches, const std::string& master, const std::string& source) {
  RecordingSink sink;
  Outcome outcome;
  outcome.result = RunEngineOnTexts(switches, master, source, sink);
  outcome.records = std::move(sink.records);
  return outcome;
}

using MappedInputTest = EngineTest;

struct MappedPair {
  const char* name;
  std::string master, source;
};

// Large pairs whose mapping and text-mode conversion take every path: CR LF on one or
// both sides, a carriage return across slices and far into the file, byte 26, NUL bytes.
std::vector<MappedPair> MappedPairs() {
  LargeTexts texts(20261208);
  std::vector<MappedPair> pairs;
  const std::string lf = texts.Text(600000, false);
  const std::string crLf = texts.Text(600000, true);
  pairs.push_back({"edited", lf, texts.Edit(lf)});
  pairs.push_back({"CR LF against LF", crLf + "end\r\n", texts.Edit(lf) + "end\n"});
  pairs.push_back({"CR LF both", crLf, texts.Edit(crLf)});
  pairs.push_back({"identical", lf, lf});
  pairs.push_back({"unterminated", lf.substr(0, lf.size() - 1), texts.Edit(lf) + "tail"});
  {
    // A CR LF pair split by the slice boundary, and a CR as the very last byte.
    std::string split = lf;
    split.replace(kSlice - 1, 2, "\r\n");
    pairs.push_back({"CR LF across slices", split + "\r", lf});
  }
  {
    // The first CR far into the file, after a whole slice was already kept as it is.
    std::string late = lf;
    late.insert(3 * kSlice / 2, "late\r\n");
    pairs.push_back({"late CR", late, texts.Edit(late)});
  }
  {
    // A byte 26 hides the rest: read, not mapped, and the hidden tails still count.
    std::string hidden = lf;
    hidden.insert(kSlice + 5, "\x1a");
    std::string other = hidden;
    other[other.size() - 10] = '#';
    pairs.push_back({"byte 26", hidden, other});
    pairs.push_back({"byte 26 master only", hidden, lf});
  }
  {
    // A NUL after the first block is an ordinary byte; in the first block it makes the
    // comparison binary.
    std::string late = lf, early = lf;
    late[kSlice] = '\0';
    early[100] = '\0';
    pairs.push_back({"late NUL", late, texts.Edit(late)});
    pairs.push_back({"early NUL", early, texts.Edit(early)});
  }
  return pairs;
}

// The same bytes compared as mapped files and as buffers read through the stream.
TEST_F(MappedInputTest, MappedFilesCompareAsTheirReadContent) {
  const std::vector<MappedPair> pairs = MappedPairs();
  const std::vector<Strings> switchSets = {{}, {"-i", "-w"}, {"-B"}, {"-a"}, {"--horizon-lines=3"}};
  int tag = 0;
  for (const MappedPair& pair : pairs) {
    for (const Strings& switches : switchSets) {
      SCOPED_TRACE(::testing::Message()
                   << pair.name << " switches " << ::testing::PrintToString(switches));
      const std::string name = std::to_string(tag++);
      const unsigned long mappedBefore = TEST_MappedFileCount();
      const Outcome files =
          testing::RunPaths(env_.Write("m" + name, pair.master).string(),
                            env_.Write("s" + name, pair.source).string(), switches);
      const Outcome read = RunTexts(switches, pair.master, pair.source);
      EXPECT_EQ(files.result, read.result);
      EXPECT_EQ(files.records, read.records);
      // Binary pairs are compared in blocks; text pairs without a byte 26 are mapped.
      const bool text = pair.master.find('\0', 0) >= 8192 || switches == Strings{"-a"};
      if (text && pair.master.find('\x1a') == std::string::npos &&
          pair.source.find('\x1a') == std::string::npos) {
        EXPECT_EQ(TEST_MappedFileCount() - mappedBefore, 2u);
      }
    }
  }
}

// Pages of a mapped file are given back as the passes over it move on, and mapped in
// again from the page cache wherever a later pass reads them; the pages the text-mode
// conversion rewrote must stay, or they would come back with the file's carriage returns.
// With a step of one page every pass gives back nearly all it has passed. Line offsets of
// eight bytes, as buffers of 4 GiB and more take them, must give the same records.
class GivenBackPagesTest : public EngineTest {
 protected:
  void TearDown() override {
    TEST_SetReleaseStep(0);
    TEST_WideLineOffsets(false);
  }
};

TEST_F(GivenBackPagesTest, RecordsStayThoseOfTheReadContent) {
  TEST_SetReleaseStep(4096);
  const std::vector<MappedPair> pairs = MappedPairs();
  const std::vector<Strings> switchSets = {{}, {"-i", "-b"}, {"-B", "-I^alpha"}, {"-a", "-w"}};
  int tag = 0;
  for (const MappedPair& pair : pairs) {
    const std::string name = std::to_string(tag++);
    const std::string m = env_.Write("m" + name, pair.master).string();
    const std::string s = env_.Write("s" + name, pair.source).string();
    for (const Strings& switches : switchSets) {
      const Outcome read = RunTexts(switches, pair.master, pair.source);
      for (const bool wide : {false, true}) {
        SCOPED_TRACE(::testing::Message()
                     << pair.name << " switches " << ::testing::PrintToString(switches) << " wide "
                     << wide);
        TEST_WideLineOffsets(wide);
        const Outcome files = testing::RunPaths(m, s, switches);
        EXPECT_EQ(files.result, read.result);
        EXPECT_EQ(files.records, read.records);
      }
    }
  }
}

// Whether the page holding `address` is in the process's memory: the present bit of its
// page map entry, which needs no privileges.
bool Resident(const void* address) {
  const int fd = ::open("/proc/self/pagemap", O_RDONLY | O_CLOEXEC);
  std::uint64_t entry = 0;
  const auto at =
      static_cast<off_t>(reinterpret_cast<std::uintptr_t>(address) / 4096 * sizeof entry);
  const bool read = fd >= 0 && ::pread(fd, &entry, sizeof entry, at) == sizeof entry;
  if (fd >= 0) ::close(fd);
  return read && (entry >> 63) != 0;
}

TEST_F(GivenBackPagesTest, PagesLeaveTheProcessAndComeBackUnchanged) {
  constexpr size_t kPage = 4096;
  std::string content(8 * kPage, 'q');
  for (size_t page = 0; page < 8; ++page) content[page * kPage + 7] = static_cast<char>('a' + page);
  const std::string path = env_.Write("pages", content).string();
  const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  {
    ByteBuffer buffer;
    ASSERT_TRUE(buffer.MapFile(fd, content.size(), 9));
    char* const data = buffer.data();
    // From page 5 on the run writes, as the text-mode conversion does.
    buffer.KeepFrom(5 * kPage + 10);
    data[5 * kPage + 10] = 'W';
    for (size_t page = 0; page < 8; ++page) ASSERT_EQ(data[page * kPage + 7], 'a' + page);

    buffer.Release(kPage + 1, content.size());
    EXPECT_TRUE(Resident(data)) << "before the range";
    for (size_t page = 1; page < 5; ++page) EXPECT_FALSE(Resident(data + page * kPage)) << page;
    for (size_t page = 5; page < 8; ++page) EXPECT_TRUE(Resident(data + page * kPage)) << page;
    std::string expected = content;
    expected[5 * kPage + 10] = 'W';
    EXPECT_EQ(std::string(data, content.size()), expected);
    EXPECT_FALSE(buffer.ContentLost());

    // Given back and then shortened underneath: the guard still answers for those pages.
    buffer.Release(0, content.size());
    ASSERT_EQ(::ftruncate(fd, kPage), 0);
    const volatile char* bytes = data;
    EXPECT_EQ(bytes[0], 'q');
    EXPECT_EQ(bytes[2 * kPage + 7], 0);
    EXPECT_TRUE(buffer.ContentLost());
  }
  ::close(fd);

  // Content that was read has no file behind it to come back from: nothing is given back.
  ByteBuffer read;
  ASSERT_TRUE(read.Reserve(64 * kPage));
  std::memset(read.data(), 'r', 64 * kPage);
  read.Release(0, 64 * kPage);
  EXPECT_EQ(std::string(read.data(), 64 * kPage), std::string(64 * kPage, 'r'));
}

// The equal start and end of two large files are compared as they are read, before the
// rest is mapped; what that finds must never change a record. Single edits land at the
// places where the reading changes its step: the first and last bytes, the 16-byte
// blocks and the 128 KiB chunks, and right before and after a byte text mode changes.
TEST_F(MappedInputTest, EqualEndsReadFirstKeepTheRecords) {
  constexpr size_t kChunk = 128 * 1024;
  LargeTexts texts(424242);
  std::string base;
  while (base.size() < 3 * kChunk + 777) base += texts.Text(4096, false);
  // No carriage return from the generator: those placed below are the only ones.
  std::erase(base, '\r');
  const size_t n = base.size();
  const size_t places[] = {0,          1,      15,         16,    17,
                           kChunk - 1, kChunk, kChunk + 1, n / 2, 2 * kChunk + 8,
                           n - kChunk, n - 17, n - 16,     n - 2, n - 1};
  struct Pair {
    std::string name, master, source;
  };
  std::vector<Pair> pairs;
  for (const size_t at : places) {
    const std::string where = " at " + std::to_string(at);
    std::string changed = base;
    changed[at] = changed[at] == 'q' ? 'r' : 'q';
    pairs.push_back({"byte" + where, base, changed});
    std::string inserted = base;
    inserted.insert(at, "one more line\n");
    pairs.push_back({"insert" + where, inserted, base});
    std::string cr = base;
    cr.insert(at, "\r");
    pairs.push_back({"carriage return" + where, cr, cr.substr(0, n / 3) + "x" + cr.substr(n / 3)});
    std::string ctrlZ = base;
    ctrlZ.insert(at, "\x1a");
    pairs.push_back({"byte 26" + where, ctrlZ, base});
    pairs.push_back({"cut" + where, base.substr(0, at), base});
  }
  pairs.push_back({"identical", base, base});
  pairs.push_back({"unterminated", base.substr(0, n - 1), base});
  pairs.push_back({"longer both ways", "head\n" + base, base + "tail\n"});
  pairs.push_back({"CR LF everywhere", texts.Text(n, true), texts.Text(n, true)});

  const std::vector<Strings> switchSets = {{}, {"-B"}, {"--horizon-lines=100000"}, {"-a"}};
  int tag = 0;
  for (const Pair& pair : pairs) {
    const std::string name = std::to_string(tag++);
    const std::string m = env_.Write("m" + name, pair.master).string();
    const std::string s = env_.Write("s" + name, pair.source).string();
    for (const Strings& switches : switchSets) {
      SCOPED_TRACE(::testing::Message()
                   << pair.name << " switches " << ::testing::PrintToString(switches));
      const Outcome files = testing::RunPaths(m, s, switches);
      const Outcome read = RunTexts(switches, pair.master, pair.source);
      EXPECT_EQ(files.result, read.result);
      EXPECT_EQ(files.records, read.records);
    }
  }
}

TEST_F(MappedInputTest, ReadFaultsAndStopsEndAMappedRun) {
  LargeTexts texts(7);
  const std::string master = texts.Text(900000, false);
  const std::string m = env_.Write("m", master).string();
  const std::string s = env_.Write("s", texts.Edit(master)).string();
  TEST_FailReadsAfter(2 * kSlice + 3);
  MessageCapture capture;
  const Outcome failed = testing::RunPaths(m, s);
  TEST_FailReadsAfter(-1);
  EXPECT_EQ(failed.result, 2);
  EXPECT_TRUE(failed.records.empty());
  EXPECT_EQ(capture.messages(), Strings{m});
}

// A file shortened while the engine reads it, and rewritten with the same bytes right
// after (an editor saving in place), is a failed read on every path: never a result. The
// hook shortens the master at a chosen step of its reading; it is the first file to reach
// each of them.
TEST_F(MappedInputTest, AFileShortenedWhileItIsReadIsAFailedRead) {
  LargeTexts texts(3401);
  const std::string large = texts.Text(3 * kSlice, false);
  const std::string small = large.substr(0, 60000);
  const auto editedMiddle = [](std::string text) {
    text.insert(text.find('\n', text.size() / 2) + 1, "edited line\n");
    return text;
  };
  std::string sameSize = small;
  sameSize[small.size() / 2] = sameSize[small.size() / 2] == 'q' ? 'r' : 'q';
  const std::string binary = std::string(1, '\0') + small;
  const std::string hidden = "text\x1a" + small;
  struct Case {
    const char* name;
    std::string master, source;
    Strings switches;
    TEST_ReadStep step;
    int resultWhenWhole;
  } cases[] = {
      {"read", small, editedMiddle(small), {}, TEST_ReadStep::kRead, 1},
      {"read, binary", binary, binary + "x", {}, TEST_ReadStep::kRead, 1},
      {"read, brief", small, sameSize, {"-q"}, TEST_ReadStep::kRead, 1},
      {"hidden tail", hidden, hidden, {}, TEST_ReadStep::kRead, 0},
      {"equal ends of large files", large, editedMiddle(large), {}, TEST_ReadStep::kRead, 1},
      {"mapping brought in", large, editedMiddle(large), {}, TEST_ReadStep::kMapSlice, 1},
      {"mapped", large, editedMiddle(large), {}, TEST_ReadStep::kMapped, 1},
      {"mapped, text mode off", large, editedMiddle(large), {"-a"}, TEST_ReadStep::kMapped, 1},
  };
  int tag = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string m = env_.Write("m" + std::to_string(tag), c.master).string();
    const std::string s = env_.Write("s" + std::to_string(tag++), c.source).string();
    std::atomic<bool> shortened{false};
    TEST_OnReadStep([&](TEST_ReadStep step, unsigned long long offset) {
      // After the first block, which every path reads alike.
      if (step != c.step || (step != TEST_ReadStep::kMapped && offset < kBlockSize)) return;
      if (!shortened.exchange(true)) {
        EXPECT_EQ(::truncate(m.c_str(), 4096), 0);
      }
    });
    std::vector<std::string> arguments{"Lindrel", m, s};
    arguments.insert(arguments.end(), c.switches.begin(), c.switches.end());
    RecordingSink sink;
    std::string unreadable;
    const int result = RunEngine(arguments, sink, nullptr, &unreadable);
    TEST_OnReadStep({});
    ASSERT_TRUE(shortened);
    env_.Write("m" + std::to_string(tag - 1), c.master);  // the same bytes again

    EXPECT_EQ(result, 2);
    EXPECT_EQ(unreadable, m);
    EXPECT_TRUE(sink.records.empty());
    EXPECT_EQ(testing::RunPaths(m, s, c.switches).result, c.resultWhenWhole);
  }
}

// A file shortened while it is mapped: the missing pages read as zeros and the buffer
// says its content was lost, where an unguarded mapping would end the process.
TEST_F(MappedInputTest, ShortenedMappedFileReadsAsZeros) {
  const std::string content(3 * 4096 + 100, 'q');
  const std::string path = env_.Write("shrinking", content).string();
  const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  {
    ByteBuffer buffer;
    ASSERT_TRUE(buffer.MapFile(fd, content.size(), 9));
    EXPECT_EQ(std::string(buffer.data(), content.size()), content);
    EXPECT_FALSE(buffer.ContentLost());
    ASSERT_EQ(::ftruncate(fd, 4096), 0);
    const volatile char* bytes = buffer.data();
    EXPECT_EQ(bytes[0], 'q');  // still there
    EXPECT_EQ(bytes[2 * 4096 + 1], 0);
    EXPECT_EQ(bytes[content.size() - 1], 0);
    EXPECT_TRUE(buffer.ContentLost());
    // The room behind the file was never part of it.
    EXPECT_EQ(bytes[content.size() + 8], 0);
  }
  ::close(fd);

  // Faults outside the watched ranges still end the process (by the default action, or by
  // a sanitizer's handler that was there first).
  ByteBuffer watched;  // installs the handler
  const int keep = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_TRUE(watched.MapFile(keep, 4096, 9));
  ::close(keep);
  const std::string other = env_.Write("other", content).string();
  const int plainFd = ::open(other.c_str(), O_RDWR | O_CLOEXEC);
  ASSERT_GE(plainFd, 0);
  void* plain = ::mmap(nullptr, content.size(), PROT_READ, MAP_PRIVATE, plainFd, 0);
  ASSERT_NE(plain, MAP_FAILED);
  ASSERT_EQ(::ftruncate(plainFd, 0), 0);
  ::close(plainFd);
  const volatile char* unwatched = static_cast<const char*>(plain);
  EXPECT_DEATH(::_exit(unwatched[content.size() - 1]), "");  // zeros here would exit 0
  ::munmap(plain, content.size());
}

}  // namespace
}  // namespace lindrel::engine
