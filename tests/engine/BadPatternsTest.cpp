// Ignore-line patterns a hostile or unlucky user can type: back-references, which the
// library matches with unbounded time and memory, and patterns that take quadratic time
// on long lines. Neither may crash a run, and a stop must end a run that is matching.
#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "engine/IgnorePatterns.h"
#include "lindrel/PatternCheck.h"
#include "tests/engine/EngineTestSupport.h"

namespace lindrel::engine {
namespace {

using namespace std::chrono_literals;
using namespace testing;

TEST(BadPatternsTest, BackReferencesAreFoundOutsideBracketListsOnly) {
  struct Case {
    const char* pattern;
    bool backReference;
  } cases[] = {
      {"\\(a\\)\\1", true}, {"\\(.*\\)\\9", true}, {"x\\1", true},
      {"\\\\1", false},  // an escaped backslash, then the digit
      {"\\0", false},       {"[\\1]", false},      {"[]\\1]", false},
      {"[^]\\1]", false},   {"[a]\\1", true},      {"a\\|b", false},
      {"\\(a\\)*b", false}, {"[", false},          {"\\", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HasBackReference(c.pattern), c.backReference) << c.pattern;
    IgnorePatterns patterns;
    std::string error;
    const bool added = patterns.Add(c.pattern, error);
    if (c.backReference) {
      EXPECT_FALSE(added) << c.pattern;
      EXPECT_EQ(error, kBackReferenceRefused) << c.pattern;
    }
    EXPECT_EQ(patterns.size(), added ? 1u : 0u) << c.pattern;
  }
}

TEST(BadPatternsTest, HostsHearWhyAPatternWouldNotBeUsed) {
  EXPECT_EQ(IgnorePatternProblem("^#"), "");
  EXPECT_EQ(IgnorePatternProblem("a\\|b"), "");
  EXPECT_EQ(IgnorePatternProblem("\\(a\\)\\1"), kBackReferenceRefused);
  for (const char* broken : {"a\\(b", "[", "\\", "x\\)"})
    EXPECT_NE(IgnorePatternProblem(broken), "") << broken;
}

// A run given a back-reference pattern neither matches it nor crashes: the pattern is
// dropped as one that does not compile, and the lines it would match are compared.
TEST(BadPatternsTest, ARunNeverMatchesABackReference) {
  const std::string master(30000, 'a');
  const std::string source = master + "b";
  RecordingSink sink;
  EXPECT_EQ(RunEngineOnTexts({"-I\\(a*\\)*\\1c"}, Lines({"x", master}), Lines({"x", source}), sink),
            1);
  EXPECT_EQ(sink.records.size(), 1u);
}

// Matching in slices (as under a stop flag) finds what one search over the whole line
// finds, at its first and its last start position too, and costs about what that search
// costs: patterns the library rejects in one pass over a line are not searched again
// from every position (that would take minutes here).
TEST(BadPatternsTest, SlicedMatchingFindsMatchesAnywhereInALongLine) {
  const std::atomic<bool> never{false};
  const std::string filler(200000, 'a');
  struct Case {
    std::string line;
    const char* pattern;
    bool matches;
  } cases[] = {
      {filler + "x\n", "x$", true},
      {filler + "x\n", "ax", true},
      {"x" + filler + "\n", "^x", true},
      {filler + "\n", "x", false},
      {filler + "\n", "^a*$", true},
      {filler + "b", "b$", true},
      {"\n", "^$", true},
      {filler + "\n", "^$", false},
      {filler + "\n", "a*x", false},
      {filler + "\n", ".*x", false},
  };
  const auto started = std::chrono::steady_clock::now();
  for (const Case& c : cases) {
    IgnorePatterns patterns;
    std::string error;
    ASSERT_TRUE(patterns.Add(c.pattern, error)) << c.pattern << ": " << error;
    EXPECT_EQ(patterns.MatchesLine(c.line.data(), c.line.size(), &never), c.matches)
        << c.pattern << " on a line of " << c.line.size() << " bytes";
    EXPECT_EQ(patterns.MatchesLine(c.line.data(), c.line.size()), c.matches) << c.pattern;
  }
  EXPECT_LT(std::chrono::steady_clock::now() - started, 3s);
}

// "\(a\|aa\)*b" needs time quadratic in the line's length to find no match: on these
// forty one-line hunks a whole run would take minutes. A stop ends it at once,
// delivering nothing.
TEST(BadPatternsTest, AStopEndsARunWhileItMatchesPatterns) {
  lindrel::testing::TempEnvironment env;
  std::string master, source;
  for (int i = 0; i < 40; ++i) {
    master += std::string(20000, 'a') + "x\nsame\n";
    source += std::string(20000, 'a') + "y\nsame\n";
  }
  const std::string masterPath = env.Write("m.txt", master).string();
  const std::string sourcePath = env.Write("s.txt", source).string();
  std::atomic<bool> stop{false};
  std::thread stopper([&stop] {
    std::this_thread::sleep_for(300ms);
    stop = true;
  });
  RecordingSink sink;
  const auto started = std::chrono::steady_clock::now();
  const int result =
      RunEngine({"Lindrel", masterPath, sourcePath, "-I\\(a\\|aa\\)*b"}, sink, &stop);
  const auto elapsed = std::chrono::steady_clock::now() - started;
  stopper.join();
  EXPECT_EQ(result, kStopped);
  EXPECT_TRUE(sink.records.empty());
  EXPECT_LT(elapsed, 3s);
}

}  // namespace
}  // namespace lindrel::engine
