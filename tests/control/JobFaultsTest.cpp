// Faults under running jobs: a worker thread the system refuses, an event timer the host
// refuses for a while or for good, an abort or a destruction that comes while a large
// input is still being read, and an input that cannot be read to its end. Each ends in the
// documented way: nothing lost, nothing left running, nobody kept waiting.
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "control/ControlInternals.h"
#include "control/LindrelCtrlImpl.h"
#include "engine/InputStream.h"
#include "lindrel/MessageLoop.h"
#include "platform/WorkerThread.h"
#include "tests/support/RecordingListener.h"
#include "tests/support/TempEnvironment.h"

namespace lindrel {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using namespace lindrel::testing;

constexpr const char* kNoWorkerText =
    "Search is in process, abort current search first. The system refused a worker thread.";

std::chrono::steady_clock::duration TimeOf(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::steady_clock::now() - start;
}

size_t ThreadCount() {
  size_t count = 0;
  for ([[maybe_unused]] const auto& task : fs::directory_iterator("/proc/self/task")) ++count;
  return count;
}

std::string Lines(int count, const std::string& prefix) {
  std::string text;
  for (int i = 0; i < count; ++i) text += prefix + std::to_string(i) + "\n";
  return text;
}

// A file of `size` zero bytes that occupies no disk space.
std::string SparseFile(const TempEnvironment& env, const std::string& name, off_t size) {
  const std::string path = env.Path(name).string();
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  EXPECT_GE(fd, 0) << path;
  EXPECT_EQ(::ftruncate(fd, size), 0) << path;
  ::close(fd);
  return path;
}

// A host that refuses every timer while `refusing` is set and is its loop otherwise.
class SwitchableHost : public EventHost {
 public:
  TimerId StartTimer(unsigned periodMs, std::function<void()> tick) override {
    ++starts;
    if (refusing) return kNoTimer;
    return loop.StartTimer(periodMs, std::move(tick));
  }
  void StopTimer(TimerId id) override { loop.StopTimer(id); }

  MessageLoop loop;
  std::atomic<bool> refusing{true};
  std::atomic<int> starts{0};
};

// The change record `index` as "c 2 2 2 2", or "none".
std::string RecordText(CLindrelCtrl& ctrl, long index) {
  long kind = 0, m0 = 0, m1 = 0, s0 = 0, s1 = 0;
  if (!ctrl.FileCompareResultsGet(index, kind, m0, m1, s0, s1)) return "none";
  return std::string(1, static_cast<char>(kind)) + " " + std::to_string(m0) + " " +
         std::to_string(m1) + " " + std::to_string(s0) + " " + std::to_string(s1);
}

TEST(RefusedWorkerTest, AFileBeginWithoutAWorkerEndsItsJobAndSaysSo) {
  TempEnvironment env;
  MessageLoop loop;
  RecordingListener listener;
  auto ctrl = std::make_unique<CLindrelCtrl>("no-worker", &loop, &listener);
  ctrl->SetFileMaster(env.Write("m.txt", "a\nb\n").string());
  ctrl->SetFileSource(env.Write("s.txt", "a\nc\n").string());
  const auto completions = [&] { return listener.Count("FileCompareCompleted"); };
  const size_t threadsBefore = ThreadCount();

  platform::TEST_FailNextThreadStart();
  EXPECT_FALSE(ctrl->FileCompareBegin());
  ASSERT_EQ(listener.events.size(), 2u);
  EXPECT_EQ(listener.events[0].name, "FileCompareStarted");
  EXPECT_EQ(listener.events[1].code, kErrorSearchInProcess);
  EXPECT_EQ(listener.events[1].text, kNoWorkerText);
  EXPECT_EQ(ctrl->GetFileCompareActive(), 0);
  EXPECT_LT(TimeOf([&] { ctrl->FileCompareAbort(); }), 1s);  // nothing to wait for
  loop.RunFor(50ms);
  EXPECT_EQ(completions(), 0u);
  EXPECT_EQ(ThreadCount(), threadsBefore);

  ASSERT_TRUE(ctrl->FileCompareBegin());
  ASSERT_TRUE(loop.RunUntil([&] { return completions() == 1; }, 20s));
  EXPECT_EQ(listener.events.back().code, 1);
  EXPECT_EQ(RecordText(*ctrl, 0), "c 2 2 2 2");

  // The refused job has reset the results it was to replace: none are reported as its own,
  // neither as identical files nor in a report.
  platform::TEST_FailNextThreadStart();
  EXPECT_FALSE(ctrl->FileCompareBegin());
  EXPECT_EQ(ctrl->FileCompareResultsCount(), 0);
  const std::string report = env.Path("report.txt").string();
  EXPECT_EQ(ctrl->FileCompareCreateReport(report, 2, 0), -1);
  EXPECT_FALSE(fs::exists(report));
  EXPECT_LT(TimeOf([&] { ctrl.reset(); }), 1s);
  loop.RunFor(20ms);
  EXPECT_EQ(completions(), 1u);
}

TEST(RefusedWorkerTest, ADirectoryBeginWithoutAWorkerEndsItsJobAndSaysSo) {
  TempEnvironment env;
  env.Write("m/a.txt", "one\n");
  env.Write("s/a.txt", "two\n");
  MessageLoop loop;
  RecordingListener listener;
  auto ctrl = std::make_unique<CLindrelCtrl>("no-worker-dir", &loop, &listener);
  ctrl->SetDirMaster(env.Path("m").string());
  ctrl->SetDirSource(env.Path("s").string());
  ctrl->SetDirThrottle(0);
  const auto completions = [&] { return listener.Count("DirCompareCompleted"); };
  const size_t threadsBefore = ThreadCount();

  platform::TEST_FailNextThreadStart();
  EXPECT_FALSE(ctrl->DirCompareBegin());
  ASSERT_EQ(listener.events.size(), 2u);
  EXPECT_EQ(listener.events[0].name, "DirCompareStarted");
  EXPECT_EQ(listener.events[1].code, kErrorSearchInProcess);
  EXPECT_EQ(listener.events[1].text, kNoWorkerText);
  EXPECT_EQ(ctrl->GetDirCompareActive(), 0);
  EXPECT_EQ(ctrl->GetDirCompareResultsCount(), 0);
  EXPECT_LT(TimeOf([&] { ctrl->DirCompareAbort(); }), 1s);
  loop.RunFor(50ms);
  EXPECT_EQ(completions(), 0u);
  EXPECT_EQ(ThreadCount(), threadsBefore);

  ASSERT_TRUE(ctrl->DirCompareBegin());
  ASSERT_TRUE(loop.RunUntil([&] { return completions() == 1; }, 20s));
  ASSERT_EQ(ctrl->GetDirCompareResultsCount(), 2);
  std::string name, master, source;
  long isFile = 0, onlyS = 0, onlyM = 0, size = 0, date = 0, content = 0;
  ASSERT_TRUE(ctrl->DirCompareResultsGet(1, name, master, source, isFile, onlyS, onlyM, size, date,
                                         content));
  EXPECT_EQ(name, "a.txt");
  EXPECT_EQ(content, 1);

  platform::TEST_FailNextThreadStart();
  EXPECT_FALSE(ctrl->DirCompareBegin());
  EXPECT_LT(TimeOf([&] { ctrl.reset(); }), 1s);
}

// The worker's own retries end at once on a fresh component (no directory job may need
// the timer) and last 3 seconds at most for a directory job; the host here accepts only
// after the first of them, and each job is still heard of exactly once.
TEST(RefusedTimerTest, EachJobCompletesOnceWhenTheHostAcceptsAtLast) {
  TempEnvironment env;
  SwitchableHost host;
  RecordingListener listener;
  CLindrelCtrl ctrl("late-timer", &host, &listener);

  ctrl.SetFileMaster(env.Write("m.txt", "a\nb\nc\n").string());
  ctrl.SetFileSource(env.Write("s.txt", "a\nc\n").string());
  ASSERT_TRUE(ctrl.FileCompareBegin());
  ASSERT_TRUE(host.loop.RunUntil([&] { return host.starts >= 4; }, 10s));
  EXPECT_EQ(listener.Count("FileCompareCompleted"), 0u);
  host.refusing = false;
  ASSERT_TRUE(host.loop.RunUntil([&] { return listener.Count("FileCompareCompleted") == 1; }, 10s));
  EXPECT_EQ(RecordText(ctrl, 0), "d 2 2 1 1");

  // A job error queued ahead of the completion, both while the timer is refused.
  env.Write("dm/a.txt", "same\n");
  env.Write("ds/a.txt", "same\n");
  ctrl.SetDirMaster(env.Path("dm").string());
  ctrl.SetDirSource(env.Path("ds").string());
  ctrl.SetDirThrottle(0);
  Internals(ctrl).dir.TEST_SetBeforeContentCompare(
      [](const std::string& masterPath, const std::string&) { fs::remove(masterPath); });
  host.refusing = true;
  const int startsBefore = host.starts;
  listener.events.clear();
  ASSERT_TRUE(ctrl.DirCompareBegin());
  ASSERT_TRUE(host.loop.RunUntil([&] { return host.starts >= startsBefore + 3; }, 10s));
  host.refusing = false;
  ASSERT_TRUE(host.loop.RunUntil([&] { return listener.Count("DirCompareCompleted") == 1; }, 10s));
  host.loop.RunFor(100ms);

  ASSERT_EQ(listener.events.size(), 3u);
  EXPECT_EQ(listener.events[0].name, "DirCompareStarted");
  EXPECT_EQ(listener.events[1].code, kErrorInvalidMasterFile);
  EXPECT_EQ(listener.events[2].name, "DirCompareCompleted");
  for (const auto& e : listener.events) EXPECT_EQ(e.thread, std::this_thread::get_id()) << e.name;
  EXPECT_EQ(Internals(ctrl).events.Pending(), 0u);
}

// An abort that comes after the worker has queued its completion must not wait for the
// worker's 30 retries, nor a destruction for a timer that never comes. The abort takes
// the completion back, and then nobody asks for a timer for it.
TEST(RefusedTimerTest, AHostThatNeverAcceptsHoldsUpNeitherAbortNorDestruction) {
  TempEnvironment env;
  env.Write("dm/a.txt", "1\n");
  env.Write("ds/a.txt", "2\n");
  const std::string master = env.Write("m.txt", "a\n").string();
  const std::string source = env.Write("s.txt", "b\n").string();
  SwitchableHost host;
  RecordingListener listener;
  for (const bool directory : {true, false}) {
    SCOPED_TRACE(directory ? "directory job" : "file job");
    auto ctrl = std::make_unique<CLindrelCtrl>("no-timer", &host, &listener);
    ctrl->SetThreadPriority(2);  // as below: the bounds are not the scheduler's
    ctrl->SetDirMaster(env.Path("dm").string());
    ctrl->SetDirSource(env.Path("ds").string());
    ctrl->SetDirThrottle(0);
    ctrl->SetFileMaster(master);
    ctrl->SetFileSource(source);
    Internals(*ctrl).dirJob.abort = false;  // as while a directory job may need the timer

    const int base = host.starts;
    ASSERT_TRUE(directory ? ctrl->DirCompareBegin() : ctrl->FileCompareBegin());
    // The worker has queued its completion and keeps asking for a timer.
    ASSERT_TRUE(host.loop.RunUntil([&] { return host.starts >= base + 2; }, 10s));
    EXPECT_LT(TimeOf([&] { directory ? ctrl->DirCompareAbort() : ctrl->FileCompareAbort(); }), 2s);
    EXPECT_EQ(directory ? ctrl->GetDirCompareActive() : ctrl->GetFileCompareActive(), 0);

    EXPECT_EQ(Internals(*ctrl).events.Pending(), 0u);
    host.loop.RunFor(250ms);
    const int startsWithoutEntries = host.starts;
    host.loop.RunFor(250ms);
    EXPECT_EQ(host.starts, startsWithoutEntries);

    // An error queued now waits for a timer while the queue keeps asking in the
    // background; the destruction ends that.
    std::thread([&] { Internals(*ctrl).QueueError(kErrorInvalidMasterFile); }).join();
    EXPECT_EQ(Internals(*ctrl).events.Pending(), 1u);
    const size_t threadsBefore = ThreadCount();
    EXPECT_LT(TimeOf([&] { ctrl.reset(); }), 2s);
    EXPECT_LT(ThreadCount(), threadsBefore);
    const int startsAfter = host.starts;
    host.loop.RunFor(250ms);
    EXPECT_EQ(host.starts, startsAfter);
  }
  EXPECT_EQ(listener.Count("DirCompareCompleted") + listener.Count("FileCompareCompleted"), 0u);
}

// Two sparse files of 4 GiB of zeros: a binary comparison reads them block by block, which
// takes many seconds.
TEST(AbortDuringReadTest, AbortAndDestructionDoNotWaitForTheRestOfALargeFile) {
  TempEnvironment env;
  MessageLoop loop;
  RecordingListener listener;
  auto ctrl = std::make_unique<CLindrelCtrl>("large", &loop, &listener);
  // The default idle priority lets a loaded machine starve the worker, and these bounds
  // are about the component's waits, not the scheduler's.
  ctrl->SetThreadPriority(2);
  constexpr off_t kSize = off_t{4} << 30;
  const std::string bigMaster = SparseFile(env, "m.bin", kSize);
  const std::string bigSource = SparseFile(env, "s.bin", kSize);
  const auto beginLargeComparison = [&] {
    ctrl->SetFileMaster(bigMaster);
    ctrl->SetFileSource(bigSource);
    ASSERT_TRUE(ctrl->FileCompareBegin());
    loop.RunFor(200ms);
    ASSERT_EQ(ctrl->GetFileCompareActive(), 1);
  };

  beginLargeComparison();
  EXPECT_LT(TimeOf([&] { ctrl->FileCompareAbort(); }), 2s);
  EXPECT_EQ(ctrl->GetFileCompareActive(), 0);
  loop.RunFor(50ms);
  EXPECT_EQ(listener.Count("FileCompareCompleted"), 0u);
  EXPECT_EQ(ctrl->FileCompareResultsCount(), 0);  // stopped: not known to differ

  ctrl->SetFileMaster(env.Write("m.txt", "x\n").string());
  ctrl->SetFileSource(env.Write("s.txt", "y\n").string());
  ASSERT_TRUE(ctrl->FileCompareBegin());
  ASSERT_TRUE(loop.RunUntil([&] { return listener.Count("FileCompareCompleted") == 1; }, 20s));
  EXPECT_EQ(RecordText(*ctrl, 0), "c 1 1 1 1");

  beginLargeComparison();
  EXPECT_LT(TimeOf([&] { ctrl.reset(); }), 2s);
}

// Turns the slow reads off again however a test ends.
struct SlowReads {
  explicit SlowReads(unsigned ms) { engine::TEST_PauseBeforeReads(ms); }
  ~SlowReads() { engine::TEST_PauseBeforeReads(0); }
};

// Text is read in one request per file; the abort must not wait for the end of it.
TEST(AbortDuringReadTest, AbortCutsASlowTextReadShort) {
  TempEnvironment env;
  MessageLoop loop;
  RecordingListener listener;
  CLindrelCtrl ctrl("slow", &loop, &listener);
  // The default idle priority lets a loaded machine starve the worker, and these bounds
  // are about the component's waits, not the scheduler's.
  ctrl.SetThreadPriority(2);
  // 8 MB per file: about 32 reads each, 100 ms apiece.
  ctrl.SetFileMaster(env.Write("m.txt", Lines(600000, "master line ")).string());
  ctrl.SetFileSource(env.Write("s.txt", Lines(600000, "source line ")).string());
  SlowReads slow(100);
  ASSERT_TRUE(ctrl.FileCompareBegin());
  loop.RunFor(300ms);
  ASSERT_EQ(ctrl.GetFileCompareActive(), 1);
  EXPECT_LT(TimeOf([&] { ctrl.FileCompareAbort(); }), 2s);
  EXPECT_EQ(ctrl.GetFileCompareActive(), 0);
  loop.RunFor(50ms);
  EXPECT_EQ(listener.Count("FileCompareCompleted"), 0u);
  EXPECT_EQ(ctrl.FileCompareResultsCount(), 0);
}

// A compared file shortened while the comparison has it mapped, then rewritten with the
// same bytes (an editor saving in place), and a plain read error: the host hears which
// file could not be read before the completion, and nothing of the run reads as a result.
TEST(FailedReadTest, AFailedReadIsNamedBeforeTheCompletionNeverADifference) {
  TempEnvironment env;
  MessageLoop loop;
  RecordingListener listener;
  CLindrelCtrl ctrl("failed-read", &loop, &listener);
  const std::string text = Lines(40000, "line ");  // mapped: well over 256 KiB
  const std::string master = env.Write("m.txt", text).string();
  std::string edited = text;
  edited.replace(edited.find("line 20000\n"), 10, "line 2000O");
  ctrl.SetFileMaster(master);
  ctrl.SetFileSource(env.Write("s.txt", edited).string());
  const std::string named = "Unable to read file: " + master;

  // Shortened once the master is mapped (the seam: the engine's read-step hook).
  std::atomic<bool> shortened{false};
  engine::TEST_OnReadStep([&](engine::TEST_ReadStep step, unsigned long long) {
    if (step == engine::TEST_ReadStep::kMapped && !shortened.exchange(true)) {
      EXPECT_EQ(::truncate(master.c_str(), 4096), 0);
    }
  });
  ASSERT_TRUE(ctrl.FileCompareBegin());
  ASSERT_TRUE(loop.RunUntil([&] { return listener.Count("FileCompareCompleted") == 1; }, 20s));
  engine::TEST_OnReadStep({});
  env.Write("m.txt", text);
  ASSERT_TRUE(shortened);
  ASSERT_EQ(listener.events.size(), 3u);
  EXPECT_EQ(listener.events[0].name, "FileCompareStarted");
  EXPECT_EQ(listener.events[1].code, kErrorReadingFile);
  EXPECT_EQ(listener.events[1].text, named);
  EXPECT_EQ(listener.events[2].name, "FileCompareCompleted");
  EXPECT_EQ(listener.events[2].code, 0);
  EXPECT_EQ(ctrl.FileCompareResultsCount(), -1);
  EXPECT_TRUE(ctrl.FileCompareChanges().empty());

  // A read error (the engine's fault injection), through the synchronous begin.
  listener.events.clear();
  engine::TEST_FailReadsAfter(100000);
  EXPECT_FALSE(ctrl.FileCompareBeginSynchronous());
  engine::TEST_FailReadsAfter(-1);
  loop.RunFor(50ms);
  ASSERT_EQ(listener.events.size(), 3u);
  EXPECT_EQ(listener.events[1].code, kErrorReadingFile);
  EXPECT_EQ(listener.events[1].text, named);
  EXPECT_EQ(listener.events[2].code, 0);
  EXPECT_EQ(ctrl.FileCompareResultsCount(), -1);

  // The files as they are now: one change, no error.
  listener.events.clear();
  EXPECT_TRUE(ctrl.FileCompareBeginSynchronous());
  loop.RunFor(50ms);
  EXPECT_EQ(listener.Count("OnError"), 0u);
  EXPECT_EQ(RecordText(ctrl, 0), "c 20001 20001 20001 20001");
}

// An abort made while the job reads active is final for its failed read too: the error
// the worker queued ahead of its completion is taken back with it, and none is queued
// after it.
TEST(FailedReadTest, AnAbortTakesBackTheJobsError) {
  MessageLoop loop;  // not pumped until the end: what is queued stays queued
  RecordingListener listener;
  CLindrelCtrl ctrl("failed-read-abort", &loop, &listener);
  CLindrelCtrl::Impl& d = Internals(ctrl);
  // The worker's state right after it queued the error, before its completion.
  d.fileJob.Start(0);
  d.fileJob.active = true;
  d.QueueFileJobError(kErrorReadingFile, "/m.txt");
  ASSERT_EQ(d.events.Pending(), 1u);
  // The job ends once its error is gone (or after a while), as the worker would end it.
  std::thread worker([&] {
    const auto giveUp = std::chrono::steady_clock::now() + 2s;
    while (d.events.Pending() != 0 && std::chrono::steady_clock::now() < giveUp)
      std::this_thread::yield();
    d.fileJob.active = false;
  });
  ctrl.FileCompareAbort();
  worker.join();
  d.QueueFileJobError(kErrorReadingFile, "/m.txt");  // too late: the run was aborted
  EXPECT_EQ(d.events.Pending(), 0u);
  loop.RunFor(50ms);
  EXPECT_EQ(listener.Count("OnError"), 0u);
}

}  // namespace
}  // namespace lindrel
