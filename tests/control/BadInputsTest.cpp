// Operands and state files that never end (FIFOs, devices), and the ends of jobs that
// race with an abort or with the destruction of the component inside its own handler.
// Every case runs under a deadline: a regression shows as a failure, not as a hang.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "control/ControlInternals.h"
#include "control/LindrelCtrlImpl.h"
#include "engine/EngineResult.h"
#include "engine/RunEngine.h"

#include "lindrel/MessageLoop.h"
#include "tests/support/RecordingListener.h"
#include "tests/support/TempEnvironment.h"

namespace lindrel {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using namespace lindrel::testing;

// Runs `work` on a thread and answers whether it returned within `limit`. When it did
// not, `release` is called (to unblock it) before the thread is joined.
bool FinishesWithin(std::chrono::milliseconds limit, const std::function<void()>& work,
                    const std::function<void()>& release) {
  std::mutex mutex;
  std::condition_variable finished;
  bool done = false;
  std::thread runner([&] {
    work();
    std::lock_guard lock(mutex);
    done = true;
    finished.notify_all();
  });
  bool inTime;
  {
    std::unique_lock lock(mutex);
    inTime = finished.wait_for(lock, limit, [&] { return done; });
  }
  if (!inTime) release();
  runner.join();
  return inTime;
}

// A writer that comes and goes lets a reader blocked in open() on the FIFO go on.
void ReleaseFifo(const std::string& fifo) {
  const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
  if (fd >= 0) ::close(fd);
}

// A character device that reads as endless zeros: a private node when the test may make
// one (so that nothing outside the test directory is at risk), else /dev/zero.
std::string EndlessDevice(const TempEnvironment& env) {
  const std::string node = env.Path("zero").string();
  if (::mknod(node.c_str(), S_IFCHR | 0666, makedev(1, 5)) == 0) return node;
  return "/dev/zero";
}

class BadInputsTest : public ::testing::Test {
 protected:
  BadInputsTest() {
    fifo = env.Path("fifo").string();
    EXPECT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    file = env.Write("file.txt", "a\nb\n").string();
    device = EndlessDevice(env);
    fs::create_symlink(device, env.Path("link-to-device"));
  }

  TempEnvironment env;
  std::string fifo, file, device;
};

TEST_F(BadInputsTest, SpecialFileOperandsAreRefusedAtOnce) {
  const std::string link = env.Path("link-to-device").string();
  struct Case {
    std::string master, source;
    long code;
    std::string named;
  } cases[] = {{fifo, file, 600, fifo},
               {file, fifo, 601, fifo},
               {device, file, 600, device},
               {file, link, 601, link}};
  for (const Case& c : cases) {
    for (bool synchronous : {false, true}) {
      MessageLoop loop;
      RecordingListener listener;
      CLindrelCtrl ctrl("special", &loop, &listener);
      ctrl.SetFileMaster(c.master);
      ctrl.SetFileSource(c.source);
      bool begun = true;
      ASSERT_TRUE(FinishesWithin(
          10s,
          [&] {
            begun = synchronous ? ctrl.FileCompareBeginSynchronous() : ctrl.FileCompareBegin();
          },
          [&] { ReleaseFifo(fifo); }))
          << c.named;
      EXPECT_FALSE(begun) << c.named;
      ASSERT_EQ(listener.events.size(), 1u) << c.named;
      EXPECT_EQ(listener.events[0].code, c.code) << c.named;
      const char* message = c.code == 600 ? "Invalid Master File, may not exist."
                                          : "Invalid Source File, may not exist.";
      EXPECT_EQ(listener.events[0].text, message + (" " + c.named)) << c.named;
      EXPECT_FALSE(ctrl.GetFileCompareActive());
      ReleaseFifo(fifo);  // a job that did start must be able to end
    }
  }
}

// A name holding a NUL byte would reach the system as the part before it, which is
// another file ("b.txt" for "b.txt\0.evil"): every such name is refused as naming nothing,
// and the file before the NUL is never read or written.
TEST_F(BadInputsTest, ANameHoldingANulNamesNothing) {
  using namespace std::string_literals;
  const std::string other = env.Write("other.txt", "a\nc\n").string();
  const std::string withNul = file + "\0.evil"s;
  MessageLoop loop;
  RecordingListener listener;
  CLindrelCtrl ctrl("nul-names", &loop, &listener);
  const auto errors = [&] {
    std::vector<std::pair<long, std::string>> seen;
    for (const auto& e : listener.events)
      if (e.name == "OnError") seen.emplace_back(e.code, e.text);
    listener.events.clear();
    return seen;
  };
  using Errors = std::vector<std::pair<long, std::string>>;

  for (const bool synchronous : {false, true}) {
    ctrl.SetFileMaster(withNul);
    ctrl.SetFileSource(other);
    EXPECT_FALSE(synchronous ? ctrl.FileCompareBeginSynchronous() : ctrl.FileCompareBegin());
    EXPECT_EQ(errors(), (Errors{{600, "Invalid Master File, may not exist."}}));
    ctrl.SetFileMaster(other);
    ctrl.SetFileSource(withNul);
    EXPECT_FALSE(synchronous ? ctrl.FileCompareBeginSynchronous() : ctrl.FileCompareBegin());
    EXPECT_EQ(errors(), (Errors{{601, "Invalid Source File, may not exist."}}));
  }
  EXPECT_FALSE(ctrl.GetFileCompareActive());

  ctrl.SetDirMaster(env.root().string());
  ctrl.SetDirSource(env.root().string() + "\0/elsewhere"s);
  EXPECT_FALSE(ctrl.DirCompareBegin());
  EXPECT_EQ(errors(), (Errors{{508, "Invalid Search Path: "}}));
  EXPECT_FALSE(ctrl.GetDirCompareActive());

  // Targets: nothing is written, under the name before the NUL least of all.
  ctrl.SetFileMaster(file);
  ctrl.SetFileSource(other);
  ASSERT_TRUE(ctrl.FileCompareBeginSynchronous());
  errors();
  const std::string report = env.Path("report.txt").string();
  for (const long format : {1L, 2L, 3L, 4L}) {
    EXPECT_EQ(ctrl.FileCompareCreateReport(report + "\0.evil"s, format, 2), -5) << format;
    EXPECT_EQ(errors(), (Errors{{504, "Unable to open file:  " + report + "\0.evil"s}})) << format;
  }
  EXPECT_FALSE(ctrl.DirSaveDataToTabFile(report + "\0.tab"s));
  EXPECT_EQ(errors(), (Errors{{504, "Unable to open file:  " + report + "\0.tab"s}}));
  EXPECT_FALSE(fs::exists(report));

  // The compared files' names changed to such names after the comparison: not loaded.
  ctrl.SetFileMaster(withNul);
  EXPECT_EQ(ctrl.FileCompareCreateReport(report, 2, 0), -3);
  ctrl.SetFileMaster(file);
  ctrl.SetFileSource(other + "\0"s);
  EXPECT_EQ(ctrl.FileCompareCreateReport(report, 1, 2), -4);
  EXPECT_FALSE(fs::exists(report));
  loop.RunFor(20ms);
  EXPECT_EQ(listener.Count("FileCompareCompleted"), 1u);  // the comparison of the real files
}

// An operand that becomes a FIFO after the begin checked it: the engine itself must not
// wait in open() for a writer, nor read a device without end.
TEST_F(BadInputsTest, TheEngineNeverWaitsForASpecialFile) {
  for (const std::string& special : {fifo, device}) {
    FileResultStore store;
    int result = -1;
    ASSERT_TRUE(FinishesWithin(
        10s,
        [&] {
          result = engine::RunEngine({"Lindrel", special, file}, store);
        },
        [&] { ReleaseFifo(fifo); }))
        << special;
    EXPECT_EQ(result, engine::kTrouble) << special;
    EXPECT_EQ(store.Count(), 0) << special;
  }
}

TEST_F(BadInputsTest, AStateFileThatNeverEndsIsNeitherWaitedForNorReplaced) {
  for (const std::string& stateFile : {fifo, env.Path("link-to-device").string()}) {
    ASSERT_TRUE(FinishesWithin(
        10s,
        [&] {
          MessageLoop loop;
          CLindrelCtrl ctrl(stateFile, &loop, nullptr);
          // The defaults stand in for what cannot be read.
          EXPECT_EQ(ctrl.GetDirFileTypes(), "*.*") << stateFile;
          ctrl.SetDirFileTypes("*.txt");
        },  // destroyed here: the state file is written
        [&] { ReleaseFifo(fifo); }))
        << stateFile;
  }
  struct stat info {};
  ASSERT_EQ(::stat(fifo.c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
  ASSERT_EQ(::stat(env.Path("link-to-device").c_str(), &info), 0);
  EXPECT_TRUE(S_ISCHR(info.st_mode));
  EXPECT_TRUE(fs::is_symlink(env.Path("link-to-device")));
}

// An event host whose timer starts from a worker are slow, as behind a contended lock:
// the worker sits inside the queueing of its completion, the job still active, for 300 ms.
class SlowTimerHost : public EventHost {
 public:
  TimerId StartTimer(unsigned periodMs, std::function<void()> tick) override {
    if (std::this_thread::get_id() != owner_) {
      {
        std::lock_guard lock(mutex_);
        starting_ = true;
        changed_.notify_all();
      }
      std::this_thread::sleep_for(300ms);
    }
    return loop.StartTimer(periodMs, std::move(tick));
  }
  void StopTimer(TimerId id) override { loop.StopTimer(id); }

  void WaitUntilStarting() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return starting_; });
  }

  MessageLoop loop;

 private:
  std::thread::id owner_ = std::this_thread::get_id();
  std::mutex mutex_;
  std::condition_variable changed_;
  bool starting_ = false;
};

// An abort made while the job reads active is final, even when the worker has already
// queued its completion and waits for the timer that would deliver it: no completion
// follows, the job reads inactive once the abort returns, and reports answer "aborted".
TEST_F(BadInputsTest, AnAbortThatReturnsIsFinal) {
  for (bool directory : {false, true}) {
    SCOPED_TRACE(directory ? "directory job" : "file job");
    SlowTimerHost host;
    RecordingListener listener;
    CLindrelCtrl ctrl("race", &host, &listener);
    ctrl.SetFileMaster(file);
    ctrl.SetFileSource(file);
    ctrl.SetDirMaster(env.root().string());
    ctrl.SetDirSource(env.root().string());
    ctrl.SetDirFileTypes("*.txt");
    ctrl.SetDirThrottle(0);
    ASSERT_TRUE(directory ? ctrl.DirCompareBegin() : ctrl.FileCompareBegin());
    host.WaitUntilStarting();
    ASSERT_EQ(directory ? ctrl.GetDirCompareActive() : ctrl.GetFileCompareActive(), 1);
    if (directory) {
      ctrl.DirCompareAbort();
    } else {
      ctrl.FileCompareAbort();
    }
    EXPECT_EQ(directory ? ctrl.GetDirCompareActive() : ctrl.GetFileCompareActive(), 0);
    host.loop.RunFor(500ms);
    EXPECT_EQ(listener.Count("DirCompareCompleted") + listener.Count("FileCompareCompleted"), 0u);
    if (!directory) {
      EXPECT_EQ(ctrl.FileCompareCreateReport(env.Path("r.txt").string(), 2, 0), -1);
    }
    EXPECT_EQ(Internals(ctrl).events.Pending(), 0u);
  }
}

// Closes its window, and so destroys the component, when an event arrives.
class ClosingListener : public RecordingListener {
 public:
  void FileCompareCompleted(long result) override {
    RecordingListener::FileCompareCompleted(result);
    ctrl.reset();
  }
  void DirCompareCompleted() override {
    RecordingListener::DirCompareCompleted();
    ctrl.reset();
  }
  void OnError(long code, std::string& text) override {
    RecordingListener::OnError(code, text);
    ctrl.reset();
  }
  std::unique_ptr<CLindrelCtrl> ctrl;
};

TEST_F(BadInputsTest, AHandlerMayDestroyTheComponent) {
  for (int kind = 0; kind < 3; ++kind) {
    MessageLoop loop;
    ClosingListener listener;
    listener.ctrl = std::make_unique<CLindrelCtrl>("closing", &loop, &listener);
    CLindrelCtrl& ctrl = *listener.ctrl;
    if (kind == 0) {
      ctrl.SetFileMaster(file);
      ctrl.SetFileSource(file);
      ASSERT_TRUE(ctrl.FileCompareBegin());
    } else if (kind == 1) {
      ctrl.SetDirMaster(env.root().string());
      ctrl.SetDirSource(env.root().string());
      ctrl.SetDirThrottle(0);
      ASSERT_TRUE(ctrl.DirCompareBegin());
    } else {
      // Two job errors queued: the first handler destroys the component, the second is
      // dropped with it.
      Internals(ctrl).QueueError(kErrorInvalidMasterFile, " /a");
      Internals(ctrl).QueueError(kErrorInvalidSourceFile, " /b");
    }
    ASSERT_TRUE(loop.RunUntil([&] { return listener.ctrl == nullptr; }, 10s)) << kind;
    loop.RunFor(50ms);  // nothing of the component is touched any more
    EXPECT_EQ(listener.events.size(), kind == 2 ? 1u : 2u) << kind;
  }
}

TEST_F(BadInputsTest, AReportRequestThatThrowsSaysWhichReportFailed) {
  MessageLoop loop;
  RecordingListener listener;
  CLindrelCtrl ctrl("throwing", &loop, &listener);
  ctrl.SetFileMaster(file);
  ctrl.SetFileSource(env.Write("other.txt", "a\nc\n").string());
  ASSERT_TRUE(ctrl.FileCompareBeginSynchronous());
  Internals(ctrl).reports.TEST_SetClock([]() -> reports::LocalTime { throw std::bad_alloc(); });
  const std::string target = env.Path("report.htm").string();
  env.Write("report.htm", "previous\n");
  listener.events.clear();
  EXPECT_EQ(ctrl.FileCompareCreateReport(target, 1, 2), -5);
  ASSERT_EQ(listener.events.size(), 1u);
  EXPECT_EQ(listener.events[0].code, 504);
  EXPECT_EQ(listener.events[0].text, "Unable to open file:  " + target);
  EXPECT_EQ(TempEnvironment::Read(target), "previous\n");
  // No unfinished report is left beside the target.
  for (const auto& entry : fs::directory_iterator(env.root())) {
    EXPECT_EQ(entry.path().filename().string().rfind(".report.htm", 0), std::string::npos)
        << entry.path();
  }
}

}  // namespace
}  // namespace lindrel
