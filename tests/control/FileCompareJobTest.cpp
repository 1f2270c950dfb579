#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <thread>

#include "control/LindrelCtrlImpl.h"
#include "lindrel/MessageLoop.h"
#include "tests/support/RecordingListener.h"
#include "tests/support/TempEnvironment.h"

namespace lindrel {
namespace {

using namespace std::chrono_literals;
using namespace lindrel::testing;

struct Record {
  long kind, m0, m1, s0, s1;
  bool operator==(const Record&) const = default;
};

std::vector<Record> Records(CLindrelCtrl& ctrl) {
  std::vector<Record> out;
  for (long i = 0; i < ctrl.FileCompareResultsCount(); ++i) {
    Record r{};
    EXPECT_TRUE(ctrl.FileCompareResultsGet(i, r.kind, r.m0, r.m1, r.s0, r.s1));
    out.push_back(r);
  }
  return out;
}

// Lines "line <n>" with every `step`-th line replaced, enough to keep a worker busy.
std::string ManyLines(int count, int step, const std::string& marker) {
  std::string text;
  for (int i = 0; i < count; ++i)
    text += (step > 0 && i % step == 0 ? marker : "line ") + std::to_string(i) + "\n";
  return text;
}

// The threads of this process, as the kernel lists them.
size_t ThreadCount() {
  size_t count = 0;
  for ([[maybe_unused]] const auto& task : std::filesystem::directory_iterator("/proc/self/task"))
    ++count;
  return count;
}

class FileCompareJobTest : public ::testing::Test {
 protected:
  void Compare(const std::string& master, const std::string& source) {
    ctrl.SetFileMaster(env.Write("master.txt", master).string());
    ctrl.SetFileSource(env.Write("source.txt", source).string());
    ASSERT_TRUE(ctrl.FileCompareBegin());
    ASSERT_TRUE(loop.RunUntil([&] { return listener.Count("FileCompareCompleted") > 0; }, 20s));
  }

  // A stopped comparison is over at once, completes nothing and leaves no record; the
  // component is then free: a new comparison runs to its end.
  void ExpectStoppedWithoutRecordsThenFree() {
    EXPECT_EQ(ctrl.GetFileCompareActive(), 0);
    loop.RunFor(50ms);
    EXPECT_EQ(listener.Count("FileCompareCompleted"), 0u);
    EXPECT_EQ(ctrl.FileCompareResultsCount(), 0);

    listener.events.clear();
    ctrl.SetFileMaster(env.Write("m2.txt", "x\n").string());
    ctrl.SetFileSource(env.Write("s2.txt", "y\n").string());
    ASSERT_TRUE(ctrl.FileCompareBegin());
    ASSERT_TRUE(loop.RunUntil([&] { return listener.Count("FileCompareCompleted") == 1; }, 20s));
    EXPECT_EQ(Records(ctrl), (std::vector<Record>{{'c', 1, 1, 1, 1}}));
  }

  // A job of one changed line that has ended on its worker, its completion still queued
  // for the host's loop (which is not run).
  void EndAJobWhoseCompletionWaits() {
    ctrl.SetFileMaster(env.Write("m.txt", "a\nb\n").string());
    ctrl.SetFileSource(env.Write("s.txt", "a\nc\n").string());
    ctrl.SetThreadPriority(2);  // an idle-priority worker may wait long on a busy machine
    ASSERT_TRUE(ctrl.FileCompareBegin());
    for (int i = 0; i < 20000 && ctrl.GetFileCompareActive(); ++i) {
      std::this_thread::sleep_for(1ms);
    }
    ASSERT_EQ(ctrl.GetFileCompareActive(), 0);
  }

  TempEnvironment env;
  MessageLoop loop;
  RecordingListener listener;
  CLindrelCtrl ctrl{"job", &loop, &listener};
};

TEST_F(FileCompareJobTest, ComparesOnAWorkerAndCompletesOnTheOwner) {
  Compare("a\nb\nc\n", "a\nx\nc\n");
  ASSERT_EQ(listener.events.size(), 2u);
  EXPECT_EQ(listener.events[0].name, "FileCompareStarted");
  EXPECT_EQ(listener.events[1].name, "FileCompareCompleted");
  EXPECT_EQ(listener.events[1].code, 1);
  for (const auto& e : listener.events) EXPECT_EQ(e.thread, std::this_thread::get_id());
  EXPECT_EQ(Records(ctrl), (std::vector<Record>{{'c', 2, 2, 2, 2}}));
  EXPECT_EQ(ctrl.GetFileCompareActive(), 0);
  EXPECT_GE(ctrl.GetFileCompareTime(), 0);
  EXPECT_LT(ctrl.GetFileCompareTime(), 20000);
}

TEST_F(FileCompareJobTest, IdenticalFilesGiveNoRecords) {
  Compare("same\ntext\n", "same\ntext\n");
  EXPECT_EQ(listener.events.back().code, 0);
  EXPECT_EQ(ctrl.FileCompareResultsCount(), 0);
}

TEST_F(FileCompareJobTest, QuickCompareOfDifferentFilesCountsMinusOne) {
  ctrl.SetFileQuickCompare(1);
  Compare("a\nb\n", "a\nc\n");
  EXPECT_EQ(listener.events.back().code, 0);
  EXPECT_EQ(ctrl.FileCompareResultsCount(), -1);
  long untouched = 77;
  EXPECT_FALSE(
      ctrl.FileCompareResultsGet(0, untouched, untouched, untouched, untouched, untouched));
  EXPECT_EQ(untouched, 77);
}

TEST_F(FileCompareJobTest, RefusalsFireBeforeReturningAndKeepThePreviousResults) {
  Compare("a\nb\nc\n", "a\nc\n");
  const auto previous = Records(ctrl);
  ASSERT_EQ(previous.size(), 1u);
  listener.events.clear();

  const std::string existing = ctrl.GetFileMaster();
  ctrl.SetFileMaster(env.Path("missing.txt").string());
  EXPECT_FALSE(ctrl.FileCompareBegin());
  ctrl.SetFileMaster(existing);
  ctrl.SetFileSource(env.Path("also-missing.txt").string());
  EXPECT_FALSE(ctrl.FileCompareBeginSynchronous());

  ASSERT_EQ(listener.events.size(), 2u);
  EXPECT_EQ(listener.events[0].code, 600);
  EXPECT_EQ(listener.events[0].text, "Invalid Master File, may not exist.");
  EXPECT_EQ(listener.events[1].code, 601);
  EXPECT_EQ(listener.Count("FileCompareStarted"), 0u);
  EXPECT_EQ(Records(ctrl), previous);

  long kind = -5, m0 = -5, m1 = -5, s0 = -5, s1 = -5;
  for (long bad : {-1L, 1L, 1000L}) {
    EXPECT_FALSE(ctrl.FileCompareResultsGet(bad, kind, m0, m1, s0, s1)) << bad;
    EXPECT_EQ(kind + m0 + m1 + s0 + s1, -25) << bad;
  }
}

TEST_F(FileCompareJobTest, SecondBeginWhileRunningIsRefused) {
  ctrl.SetFileMaster(env.Write("m.txt", ManyLines(300000, 7, "master ")).string());
  ctrl.SetFileSource(env.Write("s.txt", ManyLines(300000, 5, "source ")).string());
  ASSERT_TRUE(ctrl.FileCompareBegin());
  EXPECT_FALSE(ctrl.FileCompareBegin());
  EXPECT_FALSE(ctrl.FileCompareBeginSynchronous());
  EXPECT_EQ(listener.Count("OnError"), 2u);
  EXPECT_EQ(listener.events[1].text, "Search is in process, abort current search first.");
  ASSERT_TRUE(loop.RunUntil([&] { return listener.Count("FileCompareCompleted") == 1; }, 60s));
  EXPECT_GT(ctrl.FileCompareResultsCount(), 0);
}

TEST_F(FileCompareJobTest, SynchronousRunReturnsBeforeItsCompletionFires) {
  ctrl.SetFileMaster(env.Write("m.txt", "a\nb\n").string());
  ctrl.SetFileSource(env.Write("s.txt", "a\nb\nc\n").string());
  EXPECT_TRUE(ctrl.FileCompareBeginSynchronous());
  EXPECT_EQ(ctrl.GetFileCompareActive(), 0);
  EXPECT_EQ(listener.Count("FileCompareStarted"), 1u);
  EXPECT_EQ(listener.Count("FileCompareCompleted"), 0u);
  EXPECT_EQ(Records(ctrl), (std::vector<Record>{{'a', 2, 2, 3, 3}}));
  ASSERT_TRUE(loop.RunUntil([&] { return listener.Count("FileCompareCompleted") == 1; }, 5s));
}

TEST_F(FileCompareJobTest, SynchronousRunAnswersFalseOnEngineTrouble) {
  // Both operands exist at begin, but the directory holds no file of the source's name,
  // so the engine cannot examine the pair.
  std::filesystem::create_directories(env.Path("empty-dir"));
  ctrl.SetFileMaster(env.Path("empty-dir").string());
  ctrl.SetFileSource(env.Write("s.txt", "a\n").string());
  EXPECT_FALSE(ctrl.FileCompareBeginSynchronous());
  EXPECT_EQ(ctrl.FileCompareResultsCount(), -1);
  ASSERT_TRUE(loop.RunUntil([&] { return listener.Count("FileCompareCompleted") == 1; }, 5s));
}

TEST_F(FileCompareJobTest, AbortSuppressesTheCompletionAndAllowsANewBegin) {
  const long before = ctrl.GetFileCompareTime();
  ctrl.FileCompareAbort();  // nothing running: nothing changes
  EXPECT_EQ(ctrl.GetFileCompareTime(), before);

  ctrl.SetFileMaster(env.Write("m.txt", ManyLines(400000, 3, "master ")).string());
  ctrl.SetFileSource(env.Write("s.txt", ManyLines(400000, 4, "source ")).string());
  ASSERT_TRUE(ctrl.FileCompareBegin());
  if (!ctrl.GetFileCompareActive()) GTEST_SKIP() << "the job ended before it could be aborted";
  ctrl.FileCompareAbort();
  // The abort came while the files were read: the engine stopped before it delivered a
  // record, and the files are not known to differ.
  ExpectStoppedWithoutRecordsThenFree();
}

// Relative operands that begin with "-" name files and directories: none may be read as
// a switch, and "-" alone is the file of that name, not standard input (pointed at
// /dev/null here, so that a regression cannot wait for a terminal).
TEST_F(FileCompareJobTest, OperandsThatLookLikeSwitchesAreTheirFiles) {
  env.Write("-same.txt", "one\ntwo\n");
  env.Write("same2.txt", "one\ntwo\n");
  env.Write("-", "one\ntwo\n");
  env.Write("-q", "one\nTWO\n");
  env.Write("-dir/a.txt", "x\ny\n");
  env.Write("-dir/-same.txt", "one\nthree\n");
  env.Write("dir2/a.txt", "x\nY\n");
  const struct {
    const char *master, *source;
    long quick;
    long count;
    std::vector<Record> records;
  } cases[] = {
      {"-same.txt", "same2.txt", 0, 0, {}},
      {"same2.txt", "-same.txt", 1, 0, {}},
      {"-", "same2.txt", 0, 0, {}},
      {"-q", "-same.txt", 0, 1, {{'c', 2, 2, 2, 2}}},
      {"-dir", "dir2", 0, 1, {{'c', 2, 2, 2, 2}}},
      {"-dir", "-same.txt", 0, 1, {{'c', 2, 2, 2, 2}}},
  };
  const std::filesystem::path previousDirectory = std::filesystem::current_path();
  std::filesystem::current_path(env.root());
  const int savedInput = ::dup(0);
  const int nullInput = ::open("/dev/null", O_RDONLY);
  ASSERT_GE(nullInput, 0);
  ::dup2(nullInput, 0);
  for (const auto& c : cases) {
    const std::string name = std::string(c.master) + " against " + c.source;
    listener.events.clear();
    ctrl.SetFileMaster(c.master);
    ctrl.SetFileSource(c.source);
    ctrl.SetFileQuickCompare(c.quick);
    ASSERT_TRUE(ctrl.FileCompareBegin()) << name;
    ASSERT_TRUE(loop.RunUntil([&] { return listener.Count("FileCompareCompleted") > 0; }, 20s))
        << name;
    EXPECT_EQ(listener.events.back().code, c.count) << name;
    EXPECT_EQ(ctrl.FileCompareResultsCount(), c.count) << name;
    EXPECT_EQ(Records(ctrl), c.records) << name;
  }
  ::dup2(savedInput, 0);
  ::close(savedInput);
  ::close(nullInput);
  std::filesystem::current_path(previousDirectory);
}

// A comparison that ended while its completion still waited for the host's loop, then a
// new begin that clears its results: each completion still gives its own comparison's
// count.
TEST_F(FileCompareJobTest, ACompletionCarriesItsOwnCount) {
  ASSERT_NO_FATAL_FAILURE(EndAJobWhoseCompletionWaits());

  ctrl.SetFileSource(env.Write("same.txt", "a\nb\n").string());
  ASSERT_TRUE(ctrl.FileCompareBegin());
  ASSERT_TRUE(loop.RunUntil([&] { return listener.Count("FileCompareCompleted") == 2; }, 20s));
  std::vector<long> counts;
  for (const auto& e : listener.events) {
    if (e.name == "FileCompareCompleted") counts.push_back(e.code);
  }
  EXPECT_EQ(counts, (std::vector<long>{1, 0}));
}

// An abort takes back the completion of its own job only: the previous job's, still
// waiting for the host's loop, is fired.
TEST_F(FileCompareJobTest, AnAbortLeavesThePreviousJobsCompletion) {
  ASSERT_NO_FATAL_FAILURE(EndAJobWhoseCompletionWaits());

  ctrl.SetFileMaster(env.Write("m2.txt", ManyLines(300000, 7, "master ")).string());
  ctrl.SetFileSource(env.Write("s2.txt", ManyLines(300000, 5, "source ")).string());
  ASSERT_TRUE(ctrl.FileCompareBegin());
  ASSERT_EQ(ctrl.GetFileCompareActive(), 1);
  ctrl.FileCompareAbort();
  loop.RunFor(100ms);
  ASSERT_EQ(listener.Count("FileCompareCompleted"), 1u);
  EXPECT_EQ(listener.events.back().code, 1);
}

// The same lines in another order: an exact comparison of 150,000 of them would search for
// minutes. Abort ends the search; the job ends as any aborted job does, with the store
// holding what the engine delivered (nothing), and the component takes the next job.
TEST_F(FileCompareJobTest, AbortStopsALongSearchQuickly) {
  std::vector<int> order(150000);
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  std::string master, source;
  for (int i : order) master += "entry " + std::to_string(i) + "\n";
  std::shuffle(order.begin(), order.end(), std::mt19937(3));
  for (int i : order) source += "entry " + std::to_string(i) + "\n";
  ctrl.SetFileMaster(env.Write("m.txt", master).string());
  ctrl.SetFileSource(env.Write("s.txt", source).string());
  // At the default idle priority a loaded machine may starve the worker; the bound below
  // is about the abort, not the scheduler.
  ctrl.SetThreadPriority(2);
  ASSERT_TRUE(ctrl.FileCompareBegin());
  loop.RunFor(300ms);
  ASSERT_EQ(ctrl.GetFileCompareActive(), 1);

  const auto start = std::chrono::steady_clock::now();
  ctrl.FileCompareAbort();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
  ExpectStoppedWithoutRecordsThenFree();
}

TEST_F(FileCompareJobTest, DestroyingARunningComponentWaitsForItsWorker) {
  auto other = std::make_unique<CLindrelCtrl>("other", &loop, &listener);
  other->SetFileMaster(env.Write("m.txt", ManyLines(200000, 3, "m ")).string());
  other->SetFileSource(env.Write("s.txt", ManyLines(200000, 4, "s ")).string());
  const size_t threadsBefore = ThreadCount();
  ASSERT_TRUE(other->FileCompareBegin());
  // The worker of the long comparison, and any helper it has started meanwhile.
  ASSERT_GE(ThreadCount(), threadsBefore + 1);
  other.reset();
  // A worker left running would go on writing into the destroyed component.
  EXPECT_EQ(ThreadCount(), threadsBefore);
  loop.RunFor(20ms);
  EXPECT_EQ(listener.Count("FileCompareCompleted"), 0u);
}

// Each thread owns its component and its loop; comparisons of different pairs overlap.
TEST(FileCompareConcurrencyTest, ComponentsOnTwoThreadsCompareAtTheSameTime) {
  TempEnvironment env;
  auto run = [&env](int seed, std::vector<Record>& records, long& completed) {
    MessageLoop loop;
    RecordingListener listener;
    CLindrelCtrl ctrl("concurrent" + std::to_string(seed), &loop, &listener);
    std::string master, source;
    for (int i = 0; i < 20000; ++i) {
      master += "row " + std::to_string(i) + "\n";
      source += (i % 1000 == seed ? "changed " : "row ") + std::to_string(i) + "\n";
    }
    ctrl.SetFileMaster(env.Write("m" + std::to_string(seed), master).string());
    ctrl.SetFileSource(env.Write("s" + std::to_string(seed), source).string());
    ctrl.SetThreadPriority(2);
    ASSERT_TRUE(ctrl.FileCompareBegin());
    ASSERT_TRUE(loop.RunUntil([&] { return listener.Count("FileCompareCompleted") == 1; }, 60s));
    completed = listener.events.back().code;
    records = Records(ctrl);
  };
  std::vector<Record> first, second;
  long firstCompleted = -1, secondCompleted = -1;
  std::thread a([&] { run(1, first, firstCompleted); });
  std::thread b([&] { run(2, second, secondCompleted); });
  a.join();
  b.join();
  ASSERT_EQ(first.size(), 20u);
  ASSERT_EQ(second.size(), 20u);
  EXPECT_EQ(firstCompleted, 20);
  EXPECT_EQ(secondCompleted, 20);
  for (long i = 0; i < 20; ++i) {
    EXPECT_EQ(first[i], (Record{'c', i * 1000 + 2, i * 1000 + 2, i * 1000 + 2, i * 1000 + 2}));
    EXPECT_EQ(second[i], (Record{'c', i * 1000 + 3, i * 1000 + 3, i * 1000 + 3, i * 1000 + 3}));
  }
}

}  // namespace
}  // namespace lindrel
