// The directory job through the component: begin and its refusals, completion on the
// owner thread, results while and after the scan, abort, export, destruction.
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "control/ControlInternals.h"
#include "control/LindrelCtrlImpl.h"
#include "lindrel/LindrelCtrl.h"
#include "lindrel/MessageLoop.h"
#include "tests/dircompare/DirTestSupport.h"

namespace lindrel {
namespace {

using dircompare::testing::Trees;
using lindrel::testing::TempEnvironment;
using namespace std::chrono_literals;

struct Fired {
  std::string name;
  long code = 0;
  std::string text;
  std::thread::id thread;
  long activeWhenFired = -1;
};

class Listener : public LindrelEvents {
 public:
  explicit Listener(CLindrelCtrl*& ctrl) : ctrl_(ctrl) {}
  void DirCompareCompleted() override { Add("DirCompareCompleted"); }
  void DirCompareStarted() override { Add("DirCompareStarted"); }
  void OnError(long code, std::string& text) override { Add("OnError", code, text); }
  std::size_t Count(const std::string& name) const {
    std::size_t n = 0;
    for (const auto& e : events) n += e.name == name;
    return n;
  }
  std::vector<Fired> events;

 private:
  void Add(const char* name, long code = 0, const std::string& text = {}) {
    events.push_back(
        {name, code, text, std::this_thread::get_id(), ctrl_ ? ctrl_->GetDirCompareActive() : -1});
  }
  CLindrelCtrl*& ctrl_;
};

// A component on this thread with a listener, comparing env's m/ and s/.
struct Fixture {
  TempEnvironment env;
  Trees trees{env};
  CLindrelCtrl* self = nullptr;
  Listener listener{self};
  CLindrelCtrl ctrl;

  Fixture() {
    self = &ctrl;
    ctrl.SetEventListener(&listener);
    ctrl.SetDirMaster(env.Path("m").string());
    ctrl.SetDirSource(env.Path("s").string());
    ctrl.SetThreadPriority(2);
    ctrl.SetDirThrottle(0);
    trees.Dir("m");
    trees.Dir("s");
  }
  bool RunUntilCompleted(std::chrono::milliseconds timeout = 20s) {
    return MessageLoop::ForCurrentThread().RunUntil(
        [&] { return listener.Count("DirCompareCompleted") > 0; }, timeout);
  }
  std::vector<std::string> Records() {
    std::vector<std::string> lines;
    for (long i = 0; i < ctrl.GetDirCompareResultsCount(); ++i) lines.push_back(Record(i));
    return lines;
  }
  std::string Record(long i) {
    std::string name, master, source;
    long isFile, onlyS, onlyM, size, date, content;
    if (!ctrl.DirCompareResultsGet(i, name, master, source, isFile, onlyS, onlyM, size, date,
                                   content)) {
      return "missing";
    }
    const std::string prefix = env.root().string() + "/";
    auto cut = [&](std::string p) { return p.rfind(prefix, 0) == 0 ? p.substr(prefix.size()) : p; };
    return name + "|" + cut(master) + "|" + cut(source) + "|" + std::to_string(isFile) +
           std::to_string(onlyS) + std::to_string(onlyM) + "|" + std::to_string(size) + "," +
           std::to_string(date) + "," + std::to_string(content);
  }
};

TEST(DirCompareJobTest, CompletesOnTheOwnerThreadWithTheRecords) {
  Fixture f;
  f.trees.File("m/a.txt", "abc");
  f.trees.File("s/a.txt", "abd");
  f.trees.File("m/old.txt", "ab", Trees::kTime - 10);
  f.trees.File("s/old.txt", "abc");
  f.trees.Dir("s/extra");

  ASSERT_TRUE(f.ctrl.DirCompareBegin());
  // Started is heard inside the call; the completion only once the owner pumps.
  ASSERT_EQ(f.listener.events.size(), 1u);
  EXPECT_EQ(f.listener.events[0].name, "DirCompareStarted");
  ASSERT_TRUE(f.RunUntilCompleted());
  EXPECT_EQ(f.listener.Count("DirCompareCompleted"), 1u);
  const Fired& completed = f.listener.events.back();
  EXPECT_EQ(completed.thread, std::this_thread::get_id());
  EXPECT_EQ(completed.activeWhenFired, 0);
  EXPECT_EQ(f.ctrl.GetDirCompareActive(), 0);
  EXPECT_GE(f.ctrl.GetDirCompareTime(), 0);
  EXPECT_LT(f.ctrl.GetDirCompareTime(), 20000);
  EXPECT_EQ(f.Records(),
            (std::vector<std::string>{"|m/|s/|000|0,0,0", "a.txt|m/|s/|100|0,0,1",
                                      "old.txt|m/|s/|100|-1,-1,1", "extra||s/extra/|010|0,0,0"}));
}

TEST(DirCompareJobTest, BadIndexLeavesOutParametersUntouched) {
  Fixture f;
  ASSERT_TRUE(f.ctrl.DirCompareBegin());
  ASSERT_TRUE(f.RunUntilCompleted());
  ASSERT_EQ(f.ctrl.GetDirCompareResultsCount(), 1);
  for (long index : {-1L, 1L, 1000L}) {
    std::string name = "n", master = "m", source = "s";
    long a = 7, b = 7, c = 7, d = 7, e = 7, g = 7;
    EXPECT_FALSE(f.ctrl.DirCompareResultsGet(index, name, master, source, a, b, c, d, e, g))
        << index;
    EXPECT_EQ(name + master + source, "nms") << index;
    EXPECT_EQ(a + b + c + d + e + g, 42) << index;
  }
}

TEST(DirCompareJobTest, RefusedBeginChangesNothing) {
  struct Case {
    const char* name;
    bool clearMaster;
    bool clearSource;
    long code;
    const char* text;
  };
  const Case cases[] = {
      {"no master", true, false, 508, "Invalid Search Path: "},
      {"no source", false, true, 508, "Invalid Search Path: "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fixture f;
    f.trees.File("m/x.txt", "x");
    ASSERT_TRUE(f.ctrl.DirCompareBegin());
    ASSERT_TRUE(f.RunUntilCompleted());
    const auto before = f.Records();
    const long time = f.ctrl.GetDirCompareTime();
    f.listener.events.clear();
    // An empty value is stored as given by the setters.
    if (c.clearMaster) f.ctrl.SetDirMaster("");
    if (c.clearSource) f.ctrl.SetDirSource("");
    EXPECT_FALSE(f.ctrl.DirCompareBegin());
    ASSERT_EQ(f.listener.events.size(), 1u);
    EXPECT_EQ(f.listener.events[0].name, "OnError");
    EXPECT_EQ(f.listener.events[0].code, c.code);
    EXPECT_EQ(f.listener.events[0].text, c.text);
    EXPECT_EQ(f.Records(), before);
    EXPECT_EQ(f.ctrl.GetDirCompareTime(), time);
  }
}

TEST(DirCompareJobTest, SecondBeginWhileRunningIsRefusedAndAbortSuppressesCompletion) {
  Fixture f;
  for (int i = 0; i < 80; ++i) f.trees.File("m/f" + std::to_string(i) + ".txt", "x");
  f.ctrl.SetDirThrottle(1);  // 21 ms after every entry: seconds for this tree
  ASSERT_TRUE(f.ctrl.DirCompareBegin());
  EXPECT_EQ(f.ctrl.GetDirCompareActive(), 1);

  EXPECT_FALSE(f.ctrl.DirCompareBegin());
  ASSERT_EQ(f.listener.events.size(), 2u);
  EXPECT_EQ(f.listener.events[1].code, 502);
  EXPECT_EQ(f.listener.events[1].text, "Search is in process, abort current search first.");

  std::this_thread::sleep_for(100ms);
  f.ctrl.DirCompareAbort();
  EXPECT_EQ(f.ctrl.GetDirCompareActive(), 0);
  const long abortedTime = f.ctrl.GetDirCompareTime();
  EXPECT_GE(abortedTime, 100);
  EXPECT_LT(abortedTime, 20000);
  MessageLoop::ForCurrentThread().RunFor(200ms);
  EXPECT_EQ(f.listener.Count("DirCompareCompleted"), 0u);
  EXPECT_EQ(f.ctrl.GetDirCompareTime(), abortedTime);
  // The root record was made before the abort and stays readable.
  ASSERT_GE(f.ctrl.GetDirCompareResultsCount(), 1);
  EXPECT_EQ(f.Record(0), "|m/|s/|000|0,0,0");

  // Abort without a running job leaves the time alone; a new begin is accepted.
  f.ctrl.DirCompareAbort();
  EXPECT_EQ(f.ctrl.GetDirCompareTime(), abortedTime);
  f.ctrl.SetDirThrottle(0);
  ASSERT_TRUE(f.ctrl.DirCompareBegin());
  ASSERT_TRUE(f.RunUntilCompleted());
  EXPECT_EQ(f.ctrl.GetDirCompareResultsCount(), 81);
}

TEST(DirCompareJobTest, VanishedFileIsReportedOnTheOwnerThread) {
  Fixture f;
  const auto gone = f.trees.File("m/gone.txt", "abc");
  f.trees.File("s/gone.txt", "abc");
  Internals(f.ctrl).dir.TEST_SetBeforeContentCompare(
      [&](const std::string&, const std::string&) { std::filesystem::remove(gone); });
  ASSERT_TRUE(f.ctrl.DirCompareBegin());
  ASSERT_TRUE(f.RunUntilCompleted());
  ASSERT_EQ(f.listener.Count("OnError"), 1u);
  const Fired& error = f.listener.events[1];
  EXPECT_EQ(error.name, "OnError");
  EXPECT_EQ(error.code, 600);
  EXPECT_EQ(error.text, "Invalid Master File, may not exist. " + gone.string());
  EXPECT_EQ(error.thread, std::this_thread::get_id());
  EXPECT_EQ(f.Record(1), "gone.txt|m/|s/|100|0,0,2");
}

TEST(DirCompareJobTest, EmptyFileTypesMeanEveryFile) {
  Fixture f;
  f.trees.File("m/noext", "x");
  f.ctrl.SetDirFileTypes("");
  ASSERT_TRUE(f.ctrl.DirCompareBegin());
  EXPECT_EQ(f.ctrl.GetDirFileTypes(), "*.*");
  ASSERT_TRUE(f.RunUntilCompleted());
  EXPECT_EQ(f.Record(1), "noext|m/|s/|101|0,0,0");
}

TEST(DirCompareJobTest, RecordsReadWhileTheScanRunsMatchTheFinalOnes) {
  Fixture f;
  for (int d = 0; d < 30; ++d) {
    for (int i = 0; i < 10; ++i) {
      const std::string name = "d" + std::to_string(d) + "/f" + std::to_string(i) + ".txt";
      f.trees.File("m/" + name, "content " + name);
      f.trees.File("s/" + name, i == 3 ? "changed" : "content " + name);
    }
  }
  f.ctrl.SetDirDoSubDirectories(1);
  ASSERT_TRUE(f.ctrl.DirCompareBegin());
  std::vector<std::string> seen;
  while (f.listener.Count("DirCompareCompleted") == 0) {
    const long count = f.ctrl.GetDirCompareResultsCount();
    for (long i = static_cast<long>(seen.size()); i < count; ++i) seen.push_back(f.Record(i));
    MessageLoop::ForCurrentThread().RunOnce(1ms);
  }
  const auto final = f.Records();
  ASSERT_EQ(final.size(), 1u + 30u * 11u);
  ASSERT_LE(seen.size(), final.size());
  for (std::size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(seen[i], final[i]) << i;
}

TEST(DirCompareJobTest, CompletionLeftQueuedByTheLastScanIsNotHeardAfterTheNextBegin) {
  Fixture f;
  ASSERT_TRUE(f.ctrl.DirCompareBegin());
  // The first scan ends without the owner pumping, so its completion stays queued.
  const auto deadline = std::chrono::steady_clock::now() + 20s;
  while (f.ctrl.GetDirCompareActive() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(1ms);
  }
  ASSERT_EQ(f.ctrl.GetDirCompareActive(), 0);
  f.ctrl.SetDirThrottle(1);
  for (int i = 0; i < 10; ++i) f.trees.File("m/f" + std::to_string(i), "x");
  ASSERT_TRUE(f.ctrl.DirCompareBegin());
  MessageLoop::ForCurrentThread().RunFor(50ms);
  EXPECT_EQ(f.listener.Count("DirCompareCompleted"), 0u);
  f.ctrl.DirCompareAbort();
}

TEST(DirCompareJobTest, TabExportThroughTheComponent) {
  Fixture f;
  const std::string header =
      "Record\tFileName\tDirMaster\tDirSource\tIsFile\tOnlyInSource\tOnlyInMaster\t"
      "SizeDifferent\tDateDifferent\tContentDifferent\n";
  const auto path = f.env.Path("out.tab");
  ASSERT_TRUE(f.ctrl.DirSaveDataToTabFile(path.string()));
  EXPECT_EQ(TempEnvironment::Read(path), header);

  ASSERT_TRUE(f.ctrl.DirCompareBegin());
  ASSERT_TRUE(f.RunUntilCompleted());
  ASSERT_TRUE(f.ctrl.DirSaveDataToTabFile(path.string()));
  const std::string m = f.env.Path("m").string() + "/";
  const std::string s = f.env.Path("s").string() + "/";
  EXPECT_EQ(TempEnvironment::Read(path), header + "0\t\t" + m + "\t" + s + "\t0\t0\t0\t0\t0\t0\n");

  f.listener.events.clear();
  const std::string bad = f.env.Path("missing/out.tab").string();
  EXPECT_FALSE(f.ctrl.DirSaveDataToTabFile(bad));
  ASSERT_EQ(f.listener.events.size(), 1u);
  EXPECT_EQ(f.listener.events[0].code, 504);
  EXPECT_EQ(f.listener.events[0].text, "Unable to open file:  " + bad);
}

TEST(DirCompareJobTest, DestroyingTheComponentStopsARunningScan) {
  TempEnvironment env;
  Trees trees(env);
  for (int i = 0; i < 80; ++i) trees.File("m/f" + std::to_string(i), "x");
  const auto start = std::chrono::steady_clock::now();
  {
    CLindrelCtrl ctrl;
    ctrl.SetDirMaster(env.Path("m").string());
    ctrl.SetDirSource(env.Path("s").string());
    ctrl.SetDirThrottle(1);
    ctrl.SetThreadPriority(2);
    ASSERT_TRUE(ctrl.DirCompareBegin());
    std::this_thread::sleep_for(50ms);
  }
  // Over 160 entries at 21 ms each would take more than three seconds.
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1500ms);
}

}  // namespace
}  // namespace lindrel
