#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tests/engine/EngineTestSupport.h"

namespace lindrel::engine {
namespace {

using namespace testing;

std::string Numbered(int count, int changeEvery, const std::string& tag) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    text +=
        (i % changeEvery == 0 ? tag + std::to_string(i) : "line " + std::to_string(i % 50)) + "\n";
  }
  return text;
}

TEST_F(EngineTest, RunsOnTwoThreadsAtOnceKeepTheirOwnState) {
  // Different switches on the two threads: a shared setting or pattern list would show.
  struct Job {
    std::string master, source;
    std::vector<std::string> switches;
    Outcome alone;
  };
  Job jobs[] = {
      {env_.Write("a/m", Numbered(3000, 7, "master ")).string(),
       env_.Write("a/s", Numbered(3000, 11, "source ")).string(),
       {"-I^line 1", "-d"},
       {}},
      {env_.Write("b/m", Numbered(2000, 5, "M")).string(),
       env_.Write("b/s", Numbered(2500, 13, "S")).string(),
       {"-w", "--horizon-lines=2"},
       {}},
  };
  for (Job& job : jobs) {
    job.alone = RunPaths(job.master, job.source, job.switches);
    ASSERT_FALSE(job.alone.records.empty());
  }
  std::atomic<int> mismatches{0};
  std::vector<std::thread> threads;
  for (const Job& job : jobs) {
    threads.emplace_back([&job, &mismatches] {
      for (int round = 0; round < 15; ++round) {
        const Outcome outcome = RunPaths(job.master, job.source, job.switches);
        if (outcome.result != job.alone.result || outcome.records != job.alone.records)
          ++mismatches;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(mismatches.load(), 0);
}

}  // namespace
}  // namespace lindrel::engine
