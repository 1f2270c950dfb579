#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "engine/BoundaryShift.h"
#include "engine/ChangedFlags.h"
#include "engine/ConfusingLines.h"
#include "engine/DiffSearch.h"
#include "engine/EditScript.h"

namespace lindrel::engine {
namespace {

using Marks = std::vector<char>;
using Classes = std::vector<int>;

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
      {"from the top until three discards", Join({{1, 2}, Repeat(1, 10)}), Join({{1, 0}, Repeat(1, 10)})},
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

// Filter, search, shift and script over class sequences, as a text comparison runs them.
std::vector<Change> Script(const Classes& master, const Classes& source, bool noDiscards = true,
                           bool heuristic = false) {
  LineTable tables[2];
  tables[0].classes.assign(master.begin(), master.end());
  tables[1].classes.assign(source.begin(), source.end());
  int classes = 1;
  for (int c : master) classes = std::max(classes, c + 1);
  for (int c : source) classes = std::max(classes, c + 1);
  ChangedFlags flags(tables[0].count(), tables[1].count());
  KeptLines kept[2];
  FilterConfusingLines(tables, classes, noDiscards, flags, kept);
  DiffSearch search(kept[0], kept[1], flags, heuristic);
  search.Run();
  ShiftBoundaries(tables, flags);
  return BuildScript(flags);
}

TEST(BoundaryShiftTest, SlidesOnlyWhereTheOtherSideIsUnchanged) {
  LineTable tables[2];
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
  EXPECT_EQ(std::vector<char>(blocked.side(0), blocked.side(0) + 4), (std::vector<char>{0, 1, 0, 0}));
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

}  // namespace
}  // namespace lindrel::engine
