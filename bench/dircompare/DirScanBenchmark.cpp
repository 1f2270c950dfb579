// Scans two generated trees of 20,000 files in 500 directories each, 2% of the files
// changed, unthrottled at normal priority, with content comparison and subdirectories:
// the directory job as a host runs it, worker thread included.
//
// The trees are made once under $TMPDIR (default /tmp) and removed at exit. The first
// iteration reads from disk; later ones from the page cache.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "dircompare/DirCompareState.h"

namespace lindrel::dircompare {
namespace {

constexpr int kTopDirs = 20;
constexpr int kSubDirsPerTop = 24;  // 20 + 20 x 24 = 500 directories
constexpr int kFilesPerDir = 40;    // 500 x 40 = 20,000 files
constexpr int kChangeEvery = 50;    // 2%

class GeneratedTrees {
 public:
  GeneratedTrees() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/lindrel-bench-XXXXXX";
    root_ = ::mkdtemp(pattern.data());
    int fileNumber = 0;
    for (int t = 0; t < kTopDirs; ++t) {
      const std::string top = "t" + std::to_string(t);
      Fill(top, fileNumber);
      for (int s = 0; s < kSubDirsPerTop; ++s) Fill(top + "/s" + std::to_string(s), fileNumber);
    }
  }
  ~GeneratedTrees() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  std::string master() const { return (root_ / "master").string() + "/"; }
  std::string source() const { return (root_ / "source").string() + "/"; }

 private:
  void Fill(const std::string& dir, int& fileNumber) {
    std::filesystem::create_directories(root_ / "master" / dir);
    std::filesystem::create_directories(root_ / "source" / dir);
    for (int f = 0; f < kFilesPerDir; ++f, ++fileNumber) {
      const std::string name = dir + "/file" + std::to_string(f) + ".dat";
      std::string content(1024 + static_cast<std::size_t>(fileNumber % 3072), '\0');
      for (std::size_t i = 0; i < content.size(); ++i) {
        content[i] = static_cast<char>('a' + (i * 7 + static_cast<std::size_t>(fileNumber)) % 26);
      }
      Write(root_ / "master" / name, content);
      if (fileNumber % kChangeEvery != 0) {
        Write(root_ / "source" / name, content);
        continue;
      }
      // The changes cycle through: a byte near the end, one byte more, only the time,
      // and a file missing from the source.
      switch ((fileNumber / kChangeEvery) % 4) {
        case 0: content[content.size() - 2] ^= 1; Write(root_ / "source" / name, content); break;
        case 1: Write(root_ / "source" / name, content + "x"); break;
        case 2: Write(root_ / "source" / name, content, 60); break;
        case 3: break;
      }
    }
  }
  static void Write(const std::filesystem::path& path, const std::string& content, long later = 0) {
    std::ofstream(path, std::ios::binary).write(content.data(), static_cast<std::streamsize>(content.size()));
    timespec times[2] = {{1'600'000'000 + later, 0}, {1'600'000'000 + later, 0}};
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
  }

  std::filesystem::path root_;
};

class NoAbort final : public ScanEnvironment {
 public:
  bool AbortRequested() const override { return false; }
  void QueueError(long, const std::string&) override {}
};

void BM_DirCompare20kFiles(benchmark::State& state) {
  static GeneratedTrees trees;
  ScanOptions options;
  options.master = trees.master();
  options.source = trees.source();
  options.doSubDirectories = true;
  options.throttle = false;   // DirThrottle FALSE
  options.threadPriority = 2; // Normal
  DirCompareState job;
  long records = 0;
  long different = 0;
  for (auto _ : state) {
    job.results().Clear();
    std::promise<void> done;
    job.Start(options, std::make_unique<NoAbort>(), [&done] { done.set_value(); });
    done.get_future().wait();
    records = job.results().Count();
  }
  for (long i = 0; i < records; ++i) {
    const auto r = job.results().Get(i);
    different += r->isFile() && (r->sizeDifferent() || r->dateDifferent() ||
                                 r->contentDifferent() || r->onlyInMaster());
  }
  state.counters["records"] = static_cast<double>(records);
  state.counters["different"] = static_cast<double>(different);
  state.counters["files/s"] = benchmark::Counter(2.0 * kTopDirs * (1 + kSubDirsPerTop) * kFilesPerDir,
                                                 benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_DirCompare20kFiles)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(5.0);

}  // namespace
}  // namespace lindrel::dircompare

BENCHMARK_MAIN();
