// The engine on generated file pairs, beside the floor of simply reading both files.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/engine/BenchmarkInputs.h"
#include "engine/EngineResult.h"
#include "engine/RunEngine.h"

namespace lindrel::bench {
namespace {

class CountingSink : public engine::ChangeSink {
 public:
  void StoreChangeRecord(const engine::ChangeRecord&) override { ++records; }
  long records = 0;
};

void RunEngineOn(benchmark::State& state, const FilePair& pair,
                 std::vector<std::string> switches = {}) {
  std::vector<std::string> arguments{"Lindrel", pair.master, pair.source};
  arguments.insert(arguments.end(), switches.begin(), switches.end());
  long records = 0;
  for (auto _ : state) {
    CountingSink sink;
    const int result = engine::RunEngine(arguments, sink);
    if (result != engine::kDifferent) state.SkipWithError("the generated files should differ");
    records = sink.records;
  }
  state.counters["records"] = static_cast<double>(records);
}

// Reading a whole file into a fresh buffer with plain reads: what any program that simply
// reads both files does.
size_t ReadWhole(const std::string& path, char* buffer = nullptr) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  struct stat status {};
  ::fstat(fd, &status);
  const size_t size = static_cast<size_t>(status.st_size);
  const bool fresh = buffer == nullptr;
  if (fresh) buffer = static_cast<char*>(std::malloc(size + 1));
  size_t done = 0;
  while (done < size) {
    const ssize_t got = ::read(fd, buffer + done, size - done);
    if (got <= 0) break;
    done += static_cast<size_t>(got);
  }
  ::close(fd);
  benchmark::DoNotOptimize(buffer[done / 2]);
  if (fresh) std::free(buffer);
  return done;
}

void ReadBoth(benchmark::State& state, const FilePair& pair) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(ReadWhole(pair.master) + ReadWhole(pair.source));
  }
}

// The same reads into buffers allocated and touched before the measurement: the cost of
// the read calls alone, the least that reading both files can cost.
void ReadBothWarm(benchmark::State& state, const FilePair& pair) {
  std::vector<char> master(64 << 20, 1), source(64 << 20, 1);
  for (auto _ : state) {
    benchmark::DoNotOptimize(ReadWhole(pair.master, master.data()) +
                             ReadWhole(pair.source, source.data()));
  }
}

void BM_ScatteredEdits1M(benchmark::State& state) { RunEngineOn(state, ScatteredEditsPair()); }
void BM_ScatteredEdits1M_ReadBoth(benchmark::State& state) {
  ReadBoth(state, ScatteredEditsPair());
}
void BM_OneMiddleLine50MB(benchmark::State& state) { RunEngineOn(state, OneMiddleLinePair()); }
void BM_OneMiddleLine50MB_ReadBoth(benchmark::State& state) {
  ReadBoth(state, OneMiddleLinePair());
}
void BM_OneMiddleLine50MB_ReadBothWarm(benchmark::State& state) {
  ReadBothWarm(state, OneMiddleLinePair());
}
void BM_CompletelyDifferent20k(benchmark::State& state) {
  RunEngineOn(state, CompletelyDifferentPair());
}
void BM_ClusteredEdits200k(benchmark::State& state) { RunEngineOn(state, ClusteredEditsPair()); }
void BM_ClusteredEdits200k_Minimal(benchmark::State& state) {
  RunEngineOn(state, ClusteredEditsPair(), {"-d"});
}
void BM_ScatteredEdits1M_Minimal(benchmark::State& state) {
  RunEngineOn(state, ScatteredEditsPair(), {"-d"});
}

// The worst cases of the search: with -H its work must stay near-linear; the exact modes
// keep their records and must still be quick about it.
void BM_Reordered20k_Heuristic(benchmark::State& state) {
  RunEngineOn(state, ReorderedPair(20'000), {"-H"});
}
void BM_Reordered20k(benchmark::State& state) { RunEngineOn(state, ReorderedPair(20'000)); }
void BM_Reordered200k_Heuristic(benchmark::State& state) {
  RunEngineOn(state, ReorderedPair(200'000), {"-H"});
}
void BM_SixteenLines20k_Heuristic(benchmark::State& state) {
  RunEngineOn(state, SixteenLinesPair(), {"-H"});
}
void BM_SixteenLines20k(benchmark::State& state) { RunEngineOn(state, SixteenLinesPair()); }
// An ordinary file, heavily edited: -H searches it as without its cost bound.
void BM_EditedSource15k_Heuristic(benchmark::State& state) {
  RunEngineOn(state, EditedSourcePair(), {"-H"});
}
void BM_CompletelyDifferent20k_Minimal(benchmark::State& state) {
  RunEngineOn(state, CompletelyDifferentPair(), {"-d"});
}

BENCHMARK(BM_Reordered20k_Heuristic)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Reordered20k)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_Reordered200k_Heuristic)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SixteenLines20k_Heuristic)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SixteenLines20k)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_EditedSource15k_Heuristic)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompletelyDifferent20k_Minimal)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScatteredEdits1M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScatteredEdits1M_ReadBoth)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScatteredEdits1M_Minimal)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OneMiddleLine50MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OneMiddleLine50MB_ReadBoth)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OneMiddleLine50MB_ReadBothWarm)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompletelyDifferent20k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClusteredEdits200k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClusteredEdits200k_Minimal)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lindrel::bench

BENCHMARK_MAIN();
