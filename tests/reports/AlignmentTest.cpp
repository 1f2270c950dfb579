// The automatic alignment of the HTML tables and the forced alignments on top of it.
#include <new>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "reports/ForcedAlignment.h"
#include "reports/HtmlAlignment.h"
#include "tests/reports/ReportTestSupport.h"

namespace lindrel::reports {
namespace {

using testing::Rec;
using testing::TableOf;

// Rows in front of the end entry as "number|mark|text"; marks as letters where they are.
std::vector<std::string> Rows(const LineTable& table) {
  std::vector<std::string> rows;
  const long lines = NumberOfLines(table);
  for (long i = 0; i < lines; ++i) {
    const LineEntry& e = table.entries[static_cast<std::size_t>(i)];
    const std::string mark = e.mark >= 'a' ? std::string(1, static_cast<char>(e.mark))
                                           : std::to_string(e.mark);
    rows.push_back(NumberText(e) + "|" + mark + "|" + std::string(e.text));
  }
  return rows;
}

using RowList = std::vector<std::string>;

TEST(HtmlAlignmentTest, FillersStandOppositeOneSidedLines) {
  struct Case {
    const char* name;
    std::vector<engine::ChangeRecord> records;
    RowList master, source;
  } cases[] = {
      {"addition after line 4",
       {Rec('a', 4, 4, 5, 6)},
       {"1|0|m1", "2|0|m2", "3|0|m3", "4|0|m4", "|a|", "|a|"},
       {"1|0|m1", "2|0|m2", "3|0|m3", "4|0|m4", "5|a|s5", "6|a|s6"}},
      {"addition before the first line",
       {Rec('a', 0, 0, 1, 1)},
       {"|a|", "1|0|m1", "2|0|m2", "3|0|m3", "4|0|m4"},
       {"1|a|s1", "2|0|m1", "3|0|m2", "4|0|m3", "5|0|m4"}},
      {"deletion",
       {Rec('d', 2, 3, 1, 1)},
       {"1|0|m1", "2|d|m2", "3|d|m3", "4|0|m4"},
       {"1|0|m1", "|d|", "|d|", "2|0|m4"}},
      {"change of one line into three",
       {Rec('c', 2, 2, 2, 4)},
       {"1|0|m1", "2|c|m2", "|c|", "|c|", "3|0|m3", "4|0|m4"},
       {"1|0|m1", "2|c|s2", "3|c|s3", "4|c|s4", "5|0|m3", "6|0|m4"}},
      {"change of three lines into one",
       {Rec('c', 1, 3, 1, 1)},
       {"1|c|m1", "2|c|m2", "3|c|m3", "4|0|m4"},
       {"1|c|s1", "|c|", "|c|", "2|0|m4"}},
      {"several records keep their own rows",
       {Rec('a', 0, 0, 1, 1), Rec('c', 2, 2, 3, 4), Rec('d', 4, 4, 5, 5)},
       {"|a|", "1|0|m1", "2|c|m2", "|c|", "3|0|m3", "4|d|m4"},
       {"1|a|s1", "2|0|m1", "3|c|s3", "4|c|s4", "5|0|m3", "|d|"}},
      {"a record beyond the tables is skipped",
       {Rec('c', 9, 9, 9, 9), Rec('a', 4, 4, 5, 5)},
       {"1|0|m1", "2|0|m2", "3|0|m3", "4|0|m4", "|a|"},
       {"1|0|m1", "2|0|m2", "3|0|m3", "4|0|m4", "5|a|s5"}},
  };
  for (const Case& c : cases) {
    // Source texts: unchanged lines repeat the master's, the others are "s<number>".
    LineTable master = TableOf({"m1", "m2", "m3", "m4"});
    LineTable source;
    for (const std::string& row : c.source) {
      const std::string number = row.substr(0, row.find('|'));
      if (!number.empty()) {
        source.entries.push_back({std::stol(number), 0, source.Keep(row.substr(row.rfind('|') + 1))});
      }
    }
    source.entries.push_back({static_cast<long>(source.entries.size() + 1), 0, kEndMarker});
    BuildAutomaticAlignment(c.records, master, source);
    EXPECT_EQ(Rows(master), c.master) << c.name;
    EXPECT_EQ(Rows(source), c.source) << c.name;
    EXPECT_TRUE(master.entries.back().IsEnd()) << c.name;
    EXPECT_TRUE(source.entries.back().IsEnd()) << c.name;
  }
}

TEST(ForcedAlignmentTest, AppliesEachKind) {
  struct Case {
    const char* name;
    ForcedAlignment entry;
    RowList master, source;
  } cases[] = {
      {"kind 1 inserts source rows, the master grows at its end",
       {1, 3, 0, 2},
       {"1|0|m1", "2|0|m2", "3|0|m3", "4|0|m4", "|0|", "|0|"},
       {"1|0|s1", "2|0|s2", "|1|", "|1|", "3|0|s3", "4|0|s4"}},
      {"kind 2 inserts master rows",
       {2, 1, 0, 1},
       {"|2|", "1|0|m1", "2|0|m2", "3|0|m3", "4|0|m4"},
       {"1|0|s1", "2|0|s2", "3|0|s3", "4|0|s4", "|0|"}},
      {"kind 1 before the end entry appends",
       {1, 5, 0, 1},
       {"1|0|m1", "2|0|m2", "3|0|m3", "4|0|m4", "|0|"},
       {"1|0|s1", "2|0|s2", "3|0|s3", "4|0|s4", "|1|"}},
      {"kind 3 swaps source blocks",
       {3, 1, 3, 2},
       {"1|0|m1", "2|0|m2", "3|0|m3", "4|0|m4"},
       {"3|11|s3", "4|11|s4", "1|11|s1", "2|11|s2"}},
      {"kind 4 swaps master blocks",
       {4, 1, 4, 1},
       {"4|11|m4", "2|0|m2", "3|0|m3", "1|11|m1"},
       {"1|0|s1", "2|0|s2", "3|0|s3", "4|0|s4"}},
      {"overlapping blocks: block B is written last",
       {3, 1, 2, 2},
       {"1|0|m1", "2|0|m2", "3|0|m3", "4|0|m4"},
       {"2|11|s2", "3|11|s3", "2|11|s2", "4|0|s4"}},
  };
  for (const Case& c : cases) {
    LineTable master = TableOf({"m1", "m2", "m3", "m4"});
    LineTable source = TableOf({"s1", "s2", "s3", "s4"});
    EXPECT_TRUE(ApplyForcedAlignment(c.entry, master, source)) << c.name;
    EXPECT_EQ(Rows(master), c.master) << c.name;
    EXPECT_EQ(Rows(source), c.source) << c.name;
  }
}

TEST(ForcedAlignmentTest, EntriesThatDoNotFitChangeNothing) {
  const ForcedAlignment entries[] = {
      {1, 3, 0, 0},   {1, 3, 0, -2},  {1, 0, 0, 1},   {1, 6, 0, 1},  {2, -1, 0, 1},
      {3, 1, 4, 2},   {3, 0, 2, 1},   {3, 2, 5, 1},   {4, 1, 2, 0},  {4, 4, 1, 2},
      {3, 2, 3, -1},  {9, 1, 2, 1},   {0, 1, 1, 1},   {4, 2147483647, 1, 1},
  };
  for (const ForcedAlignment& entry : entries) {
    LineTable master = TableOf({"m1", "m2", "m3", "m4"});
    LineTable source = TableOf({"s1", "s2", "s3", "s4"});
    EXPECT_TRUE(ApplyForcedAlignment(entry, master, source)) << entry.kind << "," << entry.first;
    EXPECT_EQ(Rows(master), Rows(TableOf({"m1", "m2", "m3", "m4"}))) << entry.kind;
    EXPECT_EQ(Rows(source), Rows(TableOf({"s1", "s2", "s3", "s4"}))) << entry.kind;
  }
}

TEST(ForcedAlignmentTest, EmptyMasterGainsNoRows) {
  LineTable master = TableOf({});
  LineTable source = TableOf({"s1"});
  EXPECT_TRUE(ApplyForcedAlignment({1, 1, 0, 2}, master, source));
  EXPECT_EQ(Rows(master), RowList{});
  EXPECT_EQ(Rows(source), (RowList{"|1|", "|1|", "1|0|s1"}));
}

TEST(ForcedAlignmentTest, ListAppliesInOrderAndStopsAtAFailure) {
  ForcedAlignmentList list;
  EXPECT_FALSE(list.Pending());
  list.Add({1, 1, 0, 1});  // source rows shift down by one
  list.Add({3, 1, 2, 1});  // swaps the new blank row with s1
  LineTable master = TableOf({"m1", "m2"});
  LineTable source = TableOf({"s1", "s2"});
  EXPECT_TRUE(list.Pending());
  list.Apply(master, source);
  EXPECT_FALSE(list.Pending());
  EXPECT_EQ(Rows(source), (RowList{"1|11|s1", "|11|", "2|0|s2"}));

  // A master table without its end entry fails kind 2; the entries after it are skipped.
  ForcedAlignmentList failing;
  failing.Add({2, 1, 0, 1});
  failing.Add({3, 1, 2, 1});
  LineTable broken;
  broken.entries.push_back({1, 0, "m1"});
  LineTable intact = TableOf({"s1", "s2"});
  failing.Apply(broken, intact);
  EXPECT_EQ(Rows(intact), Rows(TableOf({"s1", "s2"})));
}

}  // namespace
}  // namespace lindrel::reports

namespace lindrel::reports {
namespace {

// Throws on the second entry of a list, as an insertion of billions of rows does.
bool ThrowOnSecond(const ForcedAlignment& entry, LineTable& master, LineTable& source) {
  if (entry.first == 2) throw std::bad_alloc();
  return ApplyForcedAlignment(entry, master, source);
}

TEST(ForcedAlignmentTest, AnEntryThatThrowsLeavesTheWholeListPending) {
  ForcedAlignmentList list;
  list.Add({1, 1, 0, 1});
  list.Add({1, 2, 0, 1});
  LineTable master = TableOf({"m1", "m2"});
  LineTable source = TableOf({"s1", "s2"});
  EXPECT_THROW(list.Apply(master, source, ThrowOnSecond), std::bad_alloc);
  EXPECT_TRUE(list.Pending());
  // The next build of the tables applies every entry.
  master = TableOf({"m1", "m2"});
  source = TableOf({"s1", "s2"});
  list.Apply(master, source);
  EXPECT_FALSE(list.Pending());
  EXPECT_EQ(Rows(source), (RowList{"|1|", "|1|", "1|0|s1", "2|0|s2"}));
}

}  // namespace
}  // namespace lindrel::reports
