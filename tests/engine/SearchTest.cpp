// The difference search against the search it replaced (kept in ReferenceSearch.h): the
// exact modes must mark the very same lines, and the heuristic's cost bound must leave
// valid scripts where it acts and change nothing where it does not. Also the stop flag.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "engine/ChangedFlags.h"
#include "engine/ConfusingLines.h"
#include "engine/DiffSearch.h"
#include "engine/EditScript.h"
#include "engine/InputFile.h"
#include "engine/LineClasses.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/engine/FilteredClasses.h"
#include "tests/engine/ReferenceSearch.h"
#include "tests/support/RealisticEdits.h"

namespace lindrel::engine {
namespace {

using lindrel::testing::TextLines;
using testing::Classes;
using Flags = std::pair<std::vector<char>, std::vector<char>>;

// The filter and one search over class sequences, as a text comparison runs them; the
// changed flags of both sides.
template <typename Search>
Flags Mark(const Classes& master, const Classes& source, bool noDiscards, bool heuristic,
           bool* finished = nullptr, const std::atomic<bool>* stop = nullptr) {
  testing::FilteredClasses pair(master, source, noDiscards);
  KeptLines(&kept)[2] = pair.kept;
  ChangedFlags& flags = pair.flags;
  if constexpr (std::is_same_v<Search, DiffSearch>) {
    DiffSearch search(kept[0], kept[1], flags, heuristic, stop);
    const bool done = search.Run();
    if (finished != nullptr) *finished = done;
  } else {
    Search search(kept[0], kept[1], flags, heuristic);
    search.Run();
  }
  return {std::vector<char>(flags.side(0), flags.side(0) + master.size()),
          std::vector<char>(flags.side(1), flags.side(1) + source.size())};
}

// The source rebuilt from the master by the marks: unchanged master lines must be the
// source's unchanged lines, in order, and the counts must add up.
bool MarksRebuildSource(const Classes& master, const Classes& source, const Flags& flags) {
  Classes keptMaster, keptSource;
  for (size_t i = 0; i < master.size(); ++i)
    if (!flags.first[i]) keptMaster.push_back(master[i]);
  for (size_t i = 0; i < source.size(); ++i)
    if (!flags.second[i]) keptSource.push_back(source[i]);
  return keptMaster == keptSource;
}

long Cost(const Flags& flags) {
  return std::count(flags.first.begin(), flags.first.end(), 1) +
         std::count(flags.second.begin(), flags.second.end(), 1);
}

// Inputs of the shapes that make the search work in different ways.
class Shapes {
 public:
  explicit Shapes(unsigned seed) : random_(seed) {}

  int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

  Classes Random(int count, int alphabet) {
    Classes out;
    for (int i = 0; i < count; ++i) out.push_back(Uniform(1, alphabet));
    return out;
  }

  // Deletions, insertions and replacements scattered over `master`.
  Classes Edited(const Classes& master, int alphabet, int percent) {
    Classes out;
    for (int c : master) {
      const int roll = Uniform(1, 100);
      if (roll <= percent / 3) continue;
      if (roll <= 2 * percent / 3)
        out.push_back(Uniform(1, alphabet + 3));
      else if (roll <= percent)
        out.push_back(Uniform(1, alphabet + 3)), out.push_back(c);
      else
        out.push_back(c);
    }
    return out;
  }

  Classes Shuffled(Classes lines) {
    std::shuffle(lines.begin(), lines.end(), random_);
    return lines;
  }

  // One pair of a randomly chosen shape, each side at most about `size` lines.
  std::pair<Classes, Classes> Pair(int size) {
    const int n = Uniform(0, size);
    switch (Uniform(0, 5)) {
      case 0: {  // small alphabet, lightly or heavily edited
        const int alphabet = Uniform(2, 16);
        Classes master = Random(n, alphabet);
        return {master, Edited(master, alphabet, Uniform(5, 90))};
      }
      case 1: {  // the same lines reordered
        Classes master;
        for (int i = 1; i <= n; ++i) master.push_back(i);
        return {master, Shuffled(master)};
      }
      case 2: {  // no line in common, or common lines only at the ends
        Classes master = Random(n, 50), source = Random(Uniform(0, size), 50);
        for (int& c : source) c += 50;
        if (Uniform(0, 1) == 1) {
          master.insert(master.begin(), 1000), source.insert(source.begin(), 1000);
          master.push_back(1001), source.push_back(1001);
        }
        return {master, source};
      }
      case 3: {  // one side thin
        Classes master = Random(Uniform(0, 3), 6);
        return {master, Random(n, 6)};
      }
      case 4: {  // blocks moved around, and partly disjoint middles
        Classes master;
        for (int i = 1; i <= n; ++i) master.push_back(i % 40 + 1);
        Classes source = master;
        const int cut = Uniform(0, n);
        std::rotate(source.begin(), source.begin() + cut, source.end());
        for (int& c : source)
          if (Uniform(1, 10) == 1) c = 100 + Uniform(1, 30);
        return {master, source};
      }
      default:  // unrelated random sequences
        return {Random(n, Uniform(2, 30)), Random(Uniform(0, size), Uniform(2, 30))};
    }
  }

 private:
  std::mt19937 random_;
};

TEST(DiffSearchTest, ExactModesMarkWhatTheEarlierSearchMarked) {
  Shapes shapes(20241207);
  for (int i = 0; i < 3000 && !::testing::Test::HasFailure(); ++i) {
    const auto [master, source] = shapes.Pair(i % 50 == 0 ? 1500 : i % 5 == 0 ? 300 : 40);
    for (const bool noDiscards : {true, false}) {
      const Flags expected = Mark<testing::ReferenceSearch>(master, source, noDiscards, false);
      EXPECT_EQ(Mark<DiffSearch>(master, source, noDiscards, false), expected)
          << "pair " << i << (noDiscards ? " without discards" : " with discards");
    }
  }
}

// Below the cost limit the heuristic must split where it always did. A box of fewer lines
// than twice the smallest limit finds its middle before reaching it; the long inputs of
// stretches and noise reach the snake heuristic first.
TEST(DiffSearchTest, HeuristicBelowItsCostLimitMarksWhatItMarkedBefore) {
  ASSERT_GE(DiffSearch::CostLimit(1), 250);
  Shapes shapes(777);
  for (int i = 0; i < 1500 && !::testing::Test::HasFailure(); ++i) {
    const auto [master, source] = shapes.Pair(245);
    for (const bool noDiscards : {true, false}) {
      EXPECT_EQ(Mark<DiffSearch>(master, source, noDiscards, true),
                Mark<testing::ReferenceSearch>(master, source, noDiscards, true))
          << "pair " << i;
    }
  }
  std::mt19937 random(20240601);
  for (int round = 0; round < 3; ++round) {
    Classes master, source;
    int next = 100;
    std::uniform_int_distribution<int> noise(1, 6), length(1, 6);
    for (int block = 0; block < 300; ++block) {
      for (int k = length(random); k > 0; --k) master.push_back(noise(random));
      for (int k = length(random); k > 0; --k) source.push_back(noise(random));
      for (int k = 40; k > 0; --k, ++next) master.push_back(next), source.push_back(next);
    }
    EXPECT_EQ(Mark<DiffSearch>(master, source, true, true),
              Mark<testing::ReferenceSearch>(master, source, true, true))
        << "round " << round;
  }
}

// Where the bound acts (long inputs whose search makes little progress), the marks must
// still describe a valid script, and one that is not minimal shows that the bound acted.
// An input whose search keeps closing in is searched as without the bound.
TEST(DiffSearchTest, HeuristicCostBoundKeepsScriptsValid) {
  Shapes shapes(31337);
  const auto numbered = [](int count) {
    Classes c;
    for (int i = 1; i <= count; ++i) c.push_back(i);
    return c;
  };
  const Classes twoClasses = shapes.Random(5000, 2);
  const Classes reorderedSmall = numbered(1500), reorderedLarge = numbered(6000);
  enum Bound { kActs, kMayAct, kNeverActs };
  const struct {
    const char* name;
    Classes master, source;
    Bound bound;
  } cases[] = {
      {"reordered, split at the limit", reorderedSmall, shapes.Shuffled(reorderedSmall), kActs},
      {"reordered, split early", reorderedLarge, shapes.Shuffled(reorderedLarge), kActs},
      {"sixteen classes", shapes.Random(6000, 16), shapes.Random(6000, 16), kActs},
      {"two classes, heavily edited", twoClasses, shapes.Edited(twoClasses, 2, 80), kNeverActs},
      {"uneven sides", shapes.Random(300, 8), shapes.Random(9000, 8), kMayAct},
  };
  for (const auto& c : cases) {
    const Flags fast = Mark<DiffSearch>(c.master, c.source, true, true);
    const Flags exact = Mark<testing::ReferenceSearch>(c.master, c.source, true, false);
    EXPECT_TRUE(MarksRebuildSource(c.master, c.source, fast)) << c.name;
    EXPECT_EQ(Mark<DiffSearch>(c.master, c.source, true, false), exact) << c.name;
    EXPECT_GE(Cost(fast), Cost(exact)) << c.name;
    if (c.bound == kActs) {
      EXPECT_GT(Cost(fast), Cost(exact)) << c.name;
    }
    if (c.bound == kNeverActs) {
      EXPECT_EQ(fast, Mark<testing::ReferenceSearch>(c.master, c.source, true, true)) << c.name;
    }
  }
}

// Classes of the lines of two texts, equal lines sharing one.
std::pair<Classes, Classes> ClassesOf(const TextLines& master, const TextLines& source) {
  std::map<std::string, int> numbers;
  std::pair<Classes, Classes> out;
  for (const std::string& line : master)
    out.first.push_back(numbers.emplace(line, static_cast<int>(numbers.size()) + 1).first->second);
  for (const std::string& line : source)
    out.second.push_back(numbers.emplace(line, static_cast<int>(numbers.size()) + 1).first->second);
  return out;
}

// The bound must never change the records of ordinary files: sources of 15,000 lines after
// years of edits (scattered hunks, some of hundreds of lines, blocks moved and
// re-indented, a function of 900 lines moved, a region rewritten from scratch), a log
// of two runs and two CSV exports of 50,000 lines with thousands of changes. The
// heuristic must mark exactly what it marks without the bound.
TEST(DiffSearchTest, HeuristicBoundKeepsTheRecordsOfOrdinaryFiles) {
  struct Pair {
    std::string name;
    TextLines master, source;
  };
  std::vector<Pair> pairs;
  for (unsigned seed = 1; seed <= 6; ++seed) {
    lindrel::testing::RealisticEdits edits(seed);
    const int changed = 1000 * static_cast<int>(seed);
    TextLines master = edits.Code(15000);
    TextLines source = edits.EditedCode(master, changed);
    pairs.push_back({"source file, " + std::to_string(changed) + " lines changed", master, source});
  }
  lindrel::testing::RealisticEdits edits(99);
  TextLines master = edits.Code(15000);
  TextLines source = master;
  source.insert(source.end() - 500, master.begin() + 1000, master.begin() + 1900);
  source.erase(source.begin() + 1000, source.begin() + 1900);
  pairs.push_back({"a function of 900 lines moved", master, source});
  source = master;
  const TextLines rewritten = edits.Code(3000);
  std::copy(rewritten.begin(), rewritten.end(), source.begin() + 3000);
  pairs.push_back({"3,000 lines rewritten", master, source});
  master = edits.Log(50000);
  pairs.push_back({"log of two runs", master, edits.OtherRun(master, 5000)});
  auto [first, second] = edits.CsvExports(50000, 5000);
  pairs.push_back({"CSV exports", first, second});

  for (const Pair& pair : pairs) {
    const auto [master, source] = ClassesOf(pair.master, pair.source);
    const Flags unbounded = Mark<testing::ReferenceSearch>(master, source, false, true);
    EXPECT_EQ(Mark<DiffSearch>(master, source, false, true), unbounded) << pair.name;
    EXPECT_TRUE(MarksRebuildSource(master, source, unbounded)) << pair.name;
  }
}

TEST(DiffSearchTest, StopFlagEndsTheSearch) {
  Classes master;
  for (int i = 1; i <= 4000; ++i) master.push_back(i);
  std::mt19937 random(5);
  Classes source = master;
  std::shuffle(source.begin(), source.end(), random);

  std::atomic<bool> stop{true};
  bool finished = true;
  Mark<DiffSearch>(master, source, true, false, &finished, &stop);
  EXPECT_FALSE(finished);

  stop = false;
  const Flags flags = Mark<DiffSearch>(master, source, true, false, &finished, &stop);
  EXPECT_TRUE(finished);
  EXPECT_TRUE(MarksRebuildSource(master, source, flags));
}

// Hashing and numbering the lines of large files takes seconds before any search starts:
// the flag stops that too, and only that.
TEST(DiffSearchTest, StopFlagEndsTheLineClassPasses) {
  std::string content;
  for (int i = 0; i < 300000; ++i) content += "line " + std::to_string(i % 1000) + "\n";
  InputFile files[2];
  for (InputFile& file : files) {
    ASSERT_TRUE(file.buffer.Reserve(content.size() + 64));
    std::copy(content.begin(), content.end(), file.buffer.data());
    file.buffered = content.size();
    file.suffixBegin = content.size();
  }
  const EngineSettings settings;
  std::atomic<bool> stop{true};
  ComparedLines stopped[2];
  EXPECT_EQ(AssignLineClasses(files, 0, settings, stopped, &stop), 0);
  EXPECT_LT(stopped[0].count() + stopped[1].count(), 300000) << "the first pass went on";

  stop = false;
  ComparedLines tables[2];
  EXPECT_EQ(AssignLineClasses(files, 0, settings, tables, &stop), 1001);
  EXPECT_EQ(tables[1].count(), 300000);
}

// A whole run on files whose exact comparison would take far longer than a minute: the
// flag set from another thread ends it quickly, without records.
TEST(DiffSearchTest, StopFlagEndsALongRunWithoutRecords) {
  lindrel::testing::TempEnvironment env;
  std::vector<int> order(150000);
  for (int i = 0; i < static_cast<int>(order.size()); ++i) order[static_cast<size_t>(i)] = i;
  std::string master, source;
  for (int i : order) master += "line " + std::to_string(i) + "\n";
  std::shuffle(order.begin(), order.end(), std::mt19937(11));
  for (int i : order) source += "line " + std::to_string(i) + "\n";
  const std::vector<std::string> arguments{"Lindrel", env.Write("m", master).string(),
                                           env.Write("s", source).string(), "-d"};

  std::atomic<bool> stop{false};
  testing::RecordingSink sink;
  std::chrono::steady_clock::time_point stopped;
  std::thread stopper([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    stopped = std::chrono::steady_clock::now();
    stop = true;
  });
  const int result = RunEngine(arguments, sink, &stop);
  const auto returned = std::chrono::steady_clock::now();
  stopper.join();
  EXPECT_EQ(result, kStopped);
  EXPECT_TRUE(sink.records.empty());
  EXPECT_LT(returned - stopped, std::chrono::seconds(2));
}

}  // namespace
}  // namespace lindrel::engine
