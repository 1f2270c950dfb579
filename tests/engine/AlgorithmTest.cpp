#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "engine/BoundaryShift.h"
#include "engine/ChangedFlags.h"
#include "engine/ConfusingLines.h"
#include "engine/DiffSearch.h"
#include "engine/EditScript.h"
#include "tests/engine/FilteredClasses.h"

namespace lindrel::engine {
namespace {

using Marks = std::vector<char>;
using testing::Classes;

Marks Repeat(char mark, int count) { return Marks(static_cast<size_t>(count), mark); }
Marks Join(std::initializer_list<Marks> parts) {
  Marks all;
  for (const Marks& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST(ConfusingLinesTest, ProvisionalMarksFollowTheRunRules) {
  const Marks alternating = {1, 2, 1, 2, 1, 2, 1, 2, 1, 2};
  const struct {
    const char* name;
    Marks before, after;
  } cases[] = {
      {"provisional outside a run", {2, 2, 0, 2}, {0, 0, 0, 0}},
      {"run ends in provisional lines", {1, 1, 2, 2, 0}, {1, 1, 0, 0, 0}},
      {"provisional majority", {1, 2, 2, 2, 1}, {1, 0, 0, 0, 1}},
      {"from the top until three discards", Join({{1, 2}, Repeat(1, 10)}),
       Join({{1, 0}, Repeat(1, 10)})},
      {"deep inside stays discarded", Join({Repeat(1, 10), {2}, Repeat(1, 9)}),
       Join({Repeat(1, 10), {2}, Repeat(1, 9)})},
      {"short subrun deep inside stays", Join({Repeat(1, 10), {2, 2}, Repeat(1, 10)}),
       Join({Repeat(1, 10), {2, 2}, Repeat(1, 10)})},
      {"long subrun is cleared", Join({Repeat(1, 10), {2, 2, 2}, Repeat(1, 10)}),
       Join({Repeat(1, 10), {0, 0, 0}, Repeat(1, 10)})},
      {"scan stops at a discard eight lines in", Join({alternating, Repeat(1, 14)}),
       Join({{1, 0, 1, 0, 1, 0, 1, 0, 1, 2}, Repeat(1, 14)})},
      {"scan from the bottom", Join({Repeat(1, 10), {2, 1}}), Join({Repeat(1, 10), {0, 1}})},
      {"separate runs", {1, 2, 1, 0, 2, 0, 1, 1}, {1, 0, 1, 0, 0, 0, 1, 1}},
  };
  for (const auto& c : cases) {
    Marks marks = c.before;
    ResolveProvisionalMarks(marks.data(), static_cast<Lin>(marks.size()));
    EXPECT_EQ(marks, c.after) << c.name;
  }
}

// The filter's thresholds, each met exactly and passed by one. The master holds lines that
// the source lacks (class 1000 and up, discards), lines of class 7 that the source holds
// `sevens` times, and filler of class 9 that the source holds once. What is checked is
// which master lines the filter takes out.
TEST(ConfusingLinesTest, ThresholdsAreStrictlyMoreThan) {
  const auto filtered = [](const Classes& master, int sevens) {
    Classes source(static_cast<size_t>(sevens), 7);
    source.push_back(9);
    ComparedLines tables[2];
    tables[0].classes.assign(master.begin(), master.end());
    tables[1].classes.assign(source.begin(), source.end());
    ChangedFlags flags(tables[0].count(), tables[1].count());
    KeptLines kept[2];
    FilterConfusingLines(tables, 1100, false, flags, kept);
    return Marks(flags.side(0), flags.side(0) + master.size());
  };
  const auto withFiller = [](Classes lines, int total) {
    lines.resize(static_cast<size_t>(total), 9);
    return lines;
  };
  const Classes one = {1001, 1002, 1003, 7, 1004, 1005, 1006};
  const Classes twoTogether = {1001, 1002, 1003, 7, 7, 1004, 1005, 1006};
  // Runs of 12 and 11 lines with three provisional lines, never next to each other.
  const Classes quarter = {1001, 1002, 1003, 7, 1004, 7, 1005, 1006, 7, 1007, 1008, 1009};
  const Classes overQuarter = {1001, 1002, 1003, 7, 1004, 7, 1005, 7, 1006, 1007, 1008};
  const struct {
    const char* name;
    Classes master;
    int sevens;
    Marks expected;
  } cases[] = {
      // Below 256 lines a class must occur more than 5 times on the other side.
      {"5 occurrences: kept", one, 5, {1, 1, 1, 0, 1, 1, 1}},
      {"6 occurrences: discarded", one, 6, Repeat(1, 7)},
      {"255 lines, 6 occurrences: discarded", withFiller(one, 255), 6,
       Join({Repeat(1, 7), Marks(248, 0)})},
      // From 256 lines, more than 10.
      {"256 lines, 10 occurrences: kept", withFiller(one, 256), 10,
       Join({{1, 1, 1, 0, 1, 1, 1}, Marks(249, 0)})},
      {"256 lines, 11 occurrences: discarded", withFiller(one, 256), 11,
       Join({Repeat(1, 7), Marks(249, 0)})},
      // Provisional lines exactly a quarter of the run stay; more than a quarter go.
      {"a quarter provisional", quarter, 6, Repeat(1, 12)},
      {"more than a quarter provisional", overQuarter, 6, {1, 1, 1, 0, 1, 0, 1, 0, 1, 1, 1}},
      // In a run shorter than 16 a subrun of 2 provisional lines is already long.
      {"subrun of two", twoTogether, 6, {1, 1, 1, 0, 0, 1, 1, 1}},
  };
  for (const auto& c : cases) EXPECT_EQ(filtered(c.master, c.sevens), c.expected) << c.name;
}

// Filter, search, shift and script over class sequences, as a text comparison runs them.
std::vector<Change> Script(const Classes& master, const Classes& source, bool noDiscards = true,
                           bool heuristic = false) {
  testing::FilteredClasses pair(master, source, noDiscards);
  DiffSearch search(pair.kept[0], pair.kept[1], pair.flags, heuristic);
  search.Run();
  ShiftBoundaries(pair.tables, pair.flags);
  return BuildScript(pair.flags);
}

TEST(BoundaryShiftTest, SlidesOnlyWhereTheOtherSideIsUnchanged) {
  ComparedLines tables[2];
  tables[0].classes = {5, 1, 1, 6};
  tables[1].classes = {5, 1, 6};
  ChangedFlags flags(4, 3);
  flags.side(0)[1] = 1;
  ShiftBoundaries(tables, flags);
  EXPECT_EQ(std::vector<char>(flags.side(0), flags.side(0) + 4), (std::vector<char>{0, 0, 1, 0}));

  // The same run with a change on the other side at that place stays.
  tables[1].classes = {5, 9, 1, 6};
  ChangedFlags blocked(4, 4);
  blocked.side(0)[1] = 1;
  blocked.side(1)[1] = 1;
  ShiftBoundaries(tables, blocked);
  EXPECT_EQ(std::vector<char>(blocked.side(0), blocked.side(0) + 4),
            (std::vector<char>{0, 1, 0, 0}));
}

// Random sequences of one long stretch repeated between short noise: boxes cost far more
// than 200 edit steps, the search advances much faster than its cost grows, and a stretch
// can be matched with the wrong copy of itself.
void StretchesAndNoise(std::mt19937& random, Classes& master, Classes& source) {
  int next = 100;
  std::uniform_int_distribution<int> noise(1, 6), length(1, 6);
  for (int block = 0; block < 400; ++block) {
    for (int i = length(random); i > 0; --i) master.push_back(noise(random));
    for (int i = length(random); i > 0; --i) source.push_back(noise(random));
    for (int i = 40; i > 0; --i, ++next) {
      if (next == 140) next = 100;  // the same stretch in every block: splits can be wrong
      master.push_back(next);
      source.push_back(next);
    }
  }
}

Classes Apply(const Classes& master, const Classes& source, const std::vector<Change>& script) {
  Classes out;
  Lin i = 0;
  for (const Change& c : script) {
    out.insert(out.end(), master.begin() + i, master.begin() + c.line0);
    out.insert(out.end(), source.begin() + c.line1, source.begin() + c.line1 + c.inserted);
    i = c.line0 + c.deleted;
  }
  out.insert(out.end(), master.begin() + i, master.end());
  return out;
}

Lin Cost(const std::vector<Change>& script) {
  Lin cost = 0;
  for (const Change& c : script) cost += c.deleted + c.inserted;
  return cost;
}

TEST(DiffSearchTest, HeuristicStopsEarlyWithAValidScript) {
  std::mt19937 random(20240601);
  Classes master, source;
  StretchesAndNoise(random, master, source);
  const std::vector<Change> minimal = Script(master, source, true, false);
  const std::vector<Change> fast = Script(master, source, true, true);
  EXPECT_EQ(Apply(master, source, minimal), source);
  EXPECT_EQ(Apply(master, source, fast), source);
  // The early stop gives up minimality on this input, which shows that it happened.
  EXPECT_GT(Cost(fast), Cost(minimal));
}

// A trap for the heuristic, built so that its constants decide the script. Master:
// X S X' S W e1, source: X' S W e2, all blocks of distinct lines (X and X' of `noise`
// lines, S of `stretch`, W of 100). The shortest script deletes X and the first S. The
// forward search meets nothing but the first S, on its start diagonal: it reaches S after
// 2 * noise steps and runs to x = noise + stretch. Once the cost passes 200 and that point
// is worth more than 12 times the cost (2x > 12c), the heuristic splits there and the
// script keeps the first S: X against X' and then X' S W against W are all changes.
TEST(DiffSearchTest, HeuristicConstantsDecideTheSplitOnAFixedInput) {
  const auto block = [](int first, int count) {
    Classes lines;
    for (int i = 0; i < count; ++i) lines.push_back(first + i);
    return lines;
  };
  const auto join = [](std::initializer_list<Classes> parts) {
    Classes all;
    for (const Classes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
  };
  const Lin w = 100;
  const struct {
    const char* name;
    Lin noise, stretch;
    bool splits;
  } cases[] = {
      // Cost 202, 2x = 2426 > 12 * 202 = 2424.
      {"just worth it", 101, 1112, true},
      // Cost 202, 2x = 2424: not more than 12 times the cost.
      {"exactly twelve times", 101, 1111, false},
      // Cost 200, 2x = 2600: not more than 200 steps.
      {"cost of exactly 200", 100, 1200, false},
  };
  for (const auto& c : cases) {
    const Lin n = c.noise, k = c.stretch;
    const Classes x = block(1000, static_cast<int>(n)), x2 = block(3000, static_cast<int>(n));
    const Classes stretch = block(5000, static_cast<int>(k));
    const Classes tail = block(9000, static_cast<int>(w));
    const Classes master = join({x, stretch, x2, stretch, tail, {1}});
    const Classes source = join({x2, stretch, tail, {2}});
    const std::vector<Change> minimal = {{0, 0, n + k, 0}, {2 * n + 2 * k + w, n + k + w, 1, 1}};
    const std::vector<Change> split = {
        {0, 0, n, n}, {n + k, n + k, n + k, 0}, {2 * n + 2 * k + w, n + k + w, 1, 1}};
    EXPECT_EQ(Script(master, source, true, false), minimal) << c.name;
    EXPECT_EQ(Script(master, source, true, true), c.splits ? split : minimal) << c.name;
  }
}

// The same trap, reached through 101 changed pairs each followed by a common block of 20
// lines: on its start diagonal the forward search passes a block every 2 steps and is far
// enough ahead at cost 202, but only a snake longer than 20 lets the heuristic act. The
// last block has 21 lines (split, keeping every block) or 20 (shortest script).
TEST(DiffSearchTest, HeuristicNeedsASnakeLongerThanTwenty) {
  const Lin w = 100;
  for (const Lin last : {Lin{21}, Lin{20}}) {
    Classes prefix, prefix2;  // master's and source's: the pairs differ, the blocks agree
    std::vector<Change> split;
    int next = 20000;
    for (int i = 0; i < 101; ++i) {
      split.push_back({static_cast<Lin>(prefix.size()), static_cast<Lin>(prefix.size()), 1, 1});
      prefix.push_back(1000 + i);
      prefix2.push_back(2000 + i);
      for (Lin k = i == 100 ? last : 20; k > 0; --k, ++next) {
        prefix.push_back(next);
        prefix2.push_back(next);
      }
    }
    const Lin a = static_cast<Lin>(prefix.size());  // 2121 + last - 20
    Classes master = prefix, source = prefix2;
    master.insert(master.end(), prefix2.begin(), prefix2.end());
    for (int i = 0; i < w; ++i) master.push_back(9000 + i), source.push_back(9000 + i);
    master.push_back(1);
    source.push_back(2);
    const std::vector<Change> minimal = {{0, 0, a, 0}, {2 * a + w, a + w, 1, 1}};
    split.push_back({a, a, a, 0});
    split.push_back({2 * a + w, a + w, 1, 1});
    EXPECT_EQ(Script(master, source, true, false), minimal) << "last block " << last;
    EXPECT_EQ(Script(master, source, true, true), last > 20 ? split : minimal)
        << "last block " << last;
  }
}

}  // namespace
}  // namespace lindrel::engine
