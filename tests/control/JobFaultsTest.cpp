// Faults under running jobs: a worker thread the system refuses. Each ends in the
// documented way: nothing lost, nothing left running, nobody kept waiting.
#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "control/LindrelCtrlImpl.h"
#include "lindrel/MessageLoop.h"
#include "platform/WorkerThread.h"
#include "tests/control/RecordingListener.h"
#include "tests/support/TempEnvironment.h"

namespace lindrel {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using lindrel::testing::RecordingListener;
using lindrel::testing::TempEnvironment;

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
  ASSERT_TRUE(ctrl->DirCompareResultsGet(1, name, master, source, isFile, onlyS, onlyM, size,
                                         date, content));
  EXPECT_EQ(name, "a.txt");
  EXPECT_EQ(content, 1);

  platform::TEST_FailNextThreadStart();
  EXPECT_FALSE(ctrl->DirCompareBegin());
  EXPECT_LT(TimeOf([&] { ctrl.reset(); }), 1s);
}

}  // namespace
}  // namespace lindrel
