// The HTML side-by-side report of a 200,000-line pair with clustered edits: 10% of the
// lines, in clusters of 100 every 1,000 lines, are changed (one word each), deleted or
// inserted, so about 20,000 rows are difference rows that each need a word comparison.
// Measured against the file comparison of the same pair.
//
// The files are made once in a private directory under $TMPDIR (default /tmp), which
// also serves as the Lindrel directory, and removed at exit.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <benchmark/benchmark.h>

#include "lindrel/LindrelCtrl.h"
#include "lindrel/MessageLoop.h"

namespace lindrel {
namespace {

constexpr int kLines = 200000;
constexpr int kClusterEvery = 1000;
constexpr int kClusterSize = 100;

class GeneratedPair {
 public:
  GeneratedPair() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/lindrel-bench-XXXXXX";
    root_ = ::mkdtemp(pattern.data());
    ::setenv("LINDREL_HOME", root_.c_str(), 1);
    ::setenv("TMPDIR", root_.c_str(), 1);
    std::ofstream master(this->master()), source(this->source());
    for (int i = 0; i < kLines; ++i) {
      const std::string line = "line " + std::to_string(i) +
                               " alpha beta gamma delta epsilon zeta eta theta\n";
      const int inCluster = i % kClusterEvery;
      master << line;
      if (inCluster >= kClusterSize) {
        source << line;
      } else if (inCluster % 10 == 3) {
        // deleted from the source
      } else if (inCluster % 10 == 7) {
        source << line << "inserted line " << i << " with a few new words\n";
      } else {
        source << "line " << i << " alpha beta GAMMA delta epsilon zeta eta theta\n";
      }
    }
  }
  ~GeneratedPair() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  std::string master() const { return (root_ / "master.txt").string(); }
  std::string source() const { return (root_ / "source.txt").string(); }
  std::string report() const { return (root_ / "report.htm").string(); }

 private:
  std::filesystem::path root_;
};

GeneratedPair& Pair() {
  static GeneratedPair pair;
  return pair;
}

void Configure(CLindrelCtrl& ctrl) {
  ctrl.SetFileMaster(Pair().master());
  ctrl.SetFileSource(Pair().source());
  ctrl.SetThreadPriority(2);
}

void BM_FileComparison(benchmark::State& state) {
  MessageLoop loop;
  CLindrelCtrl ctrl("bench", &loop);
  Configure(ctrl);
  for (auto _ : state) {
    if (!ctrl.FileCompareBeginSynchronous()) state.SkipWithError("comparison failed");
  }
  state.counters["records"] = static_cast<double>(ctrl.FileCompareResultsCount());
}
BENCHMARK(BM_FileComparison)->Unit(benchmark::kMillisecond)->UseRealTime();

// Every iteration rebuilds the HTML tables (Undo on the empty list asks for that), so
// loading, alignment, word marking and writing are all measured.
void BM_HtmlReport(benchmark::State& state) {
  MessageLoop loop;
  CLindrelCtrl ctrl("bench", &loop);
  Configure(ctrl);
  if (!ctrl.FileCompareBeginSynchronous()) state.SkipWithError("comparison failed");
  const long style = state.range(0);
  for (auto _ : state) {
    ctrl.AlignmentChangeUndo();
    if (ctrl.FileCompareCreateReport(Pair().report(), 1, style) != 0) {
      state.SkipWithError("report failed");
    }
  }
  state.SetLabel(style == 2 ? "side by side" : "all in one");
}
BENCHMARK(BM_HtmlReport)->Arg(2)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace lindrel

BENCHMARK_MAIN();
