// Words, paragraph files and the two forms of the word marker, with a scripted comparer.
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "reports/ParagraphFiles.h"
#include "reports/WordMarker.h"
#include "reports/WordText.h"
#include "tests/reports/ReportTestSupport.h"

namespace lindrel::reports {
namespace {

using testing::Rec;
using testing::ScriptedWordComparer;
using testing::TempEnvironment;

const std::string kOpen = "<font color=\"000000\">";

TEST(WordTextTest, ParagraphHoldsOneWordPerLine) {
  struct Case {
    std::string text, paragraph;
  } cases[] = {
      {"", ""},
      {"one", "one"},
      {"one two three", "one \ntwo \nthree"},
      {"trailing ", "trailing \n"},
      {"a  b", "a \n \nb"},
      {"bell\aline\nend", "bell\a\nline\n\nend"},
  };
  for (const Case& c : cases) EXPECT_EQ(ToParagraph(c.text), c.paragraph) << c.text;
  // Written into storage that held a longer paragraph, one after the other.
  std::string reused = "a much longer \nparagraph \nthat was there \nbefore";
  for (const Case& c : cases) {
    WriteParagraph(c.text, reused);
    EXPECT_EQ(reused, c.paragraph) << c.text;
  }
}

TEST(WordTextTest, WordBoundaries) {
  const std::string text = "one two  three";
  struct Case {
    long n;
    std::size_t start, end;
  } cases[] = {{0, 0, 0}, {1, 0, 3}, {2, 3, 7}, {3, 7, 8}, {4, 8, 14}, {5, 14, 14}};
  for (const Case& c : cases) {
    EXPECT_EQ(WordStart(text, c.n), c.start) << c.n;
    EXPECT_EQ(WordEnd(text, c.n), c.end) << c.n;
  }
  EXPECT_EQ(TakeWords("one two three", 2, 2), "two ");
  EXPECT_EQ(TakeWords("one two three", 1, 2), "one two ");
  EXPECT_EQ(TakeWords("one two three", 3, 3), "three");
}

TEST(WordTextTest, MarkWordsWrapsTheRange) {
  struct Case {
    std::string text;
    long w1, w2;
    WordStyle style;
    std::string marked;
  } cases[] = {
      {"one two three",
       2,
       2,
       {true, false, false},
       "one <b><font color=\"FF0000\"> two </font></b>three"},
      {"one two three",
       1,
       1,
       {true, true, false},
       " <b><u><font color=\"FF0000\">one </font></u></b>two three"},
      {"one two",
       2,
       2,
       {true, false, true},
       "one <b><strike><font color=\"FF0000\"> two</font></strike></b>"},
  };
  for (const Case& c : cases) {
    std::string text = c.text;
    MarkWords(text, c.w1, c.w2, 0xFF0000, c.style);
    EXPECT_EQ(text, c.marked) << c.text;
  }
}

// Marking all runs in one pass must give what marking them one at a time, last first,
// gives: on texts with runs of separators at either end, runs next to each other, runs
// that overlap or reach past the last word, and numbers out of range.
TEST(WordTextTest, MarkRunsAsMarkingEachRunFromTheLast) {
  const char pieces[] = {'a', 'b', 'c', ' ', ' ', '\r', '\n', '\a', 'x', 'y'};
  const std::uint32_t colours[] = {0xFF0000, 0x009000, 0x0000FF, 0x123456};
  std::mt19937 random(7);
  MarkScratch scratch;
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    const int length = static_cast<int>(random() % 24);
    for (int i = 0; i < length; ++i) text += pieces[random() % std::size(pieces)];
    const long words = 12;
    std::vector<MarkedRun> runs;
    const bool wild = random() % 4 == 0;
    long next = static_cast<long>(random() % 3);
    for (int r = static_cast<int>(random() % 4); r > 0; --r) {
      long w1, w2;
      if (wild) {
        w1 = static_cast<long>(random() % (words + 2)) - 1;
        w2 = static_cast<long>(random() % (words + 2)) - 1;
      } else {
        w1 = next + static_cast<long>(random() % 2);
        w2 = w1 + static_cast<long>(random() % 3);
        next = w2 + 1 + static_cast<long>(random() % 3);
      }
      runs.push_back({w1,
                      w2,
                      colours[random() % std::size(colours)],
                      {true, random() % 2 == 0, random() % 3 == 0}});
    }
    std::string expected = text;
    for (auto r = runs.rbegin(); r != runs.rend(); ++r) {
      MarkWords(expected, r->w1, r->w2, r->colour, r->style);
    }
    ASSERT_EQ(MarkRuns(text, runs, scratch), expected)
        << "round " << round << " text \"" << text << "\"";
  }
}

class WordMarkerTest : public ::testing::Test {
 protected:
  WordMarker Marker() {
    return WordMarker(
        [this] {
          ++lookups;
          return &comparer;
        },
        {}, counters);
  }
  TempEnvironment env;
  ScriptedWordComparer comparer;
  ChangeCounts counters;
  int lookups = 0;
};

TEST_F(WordMarkerTest, OneTwoThreeSideBySide) {
  comparer.Script("one \ntwo \nthree", "one \n2 \nthree", {Rec('c', 2, 2, 2, 2)});
  WordMarker marker = Marker();
  auto marked = marker.MarkSideBySide("one two three", "one 2 three");
  ASSERT_TRUE(marked);
  EXPECT_EQ(marked->master, kOpen + "one <b><font color=\"FF0000\"> two </font></b>three");
  EXPECT_EQ(marked->source, kOpen + "one <b><font color=\"FF0000\"> 2 </font></b>three");
  EXPECT_EQ(counters.changes, 1);

  // The paragraph files stay behind with the row's words, in the scratch directory.
  auto paths = ParagraphFilePaths();
  ASSERT_TRUE(paths);
  EXPECT_EQ(TempEnvironment::Read(paths->master), "one \ntwo \nthree");
  EXPECT_EQ(TempEnvironment::Read(paths->source), "one \n2 \nthree");
  EXPECT_NE(paths->master.find("/cf_master_paragraph.TXT"), std::string::npos);
  EXPECT_EQ(paths->master.rfind(env.root().string() + "/tmp/", 0), 0u);
}

TEST_F(WordMarkerTest, AdditionsAndDeletions) {
  struct Case {
    std::string master, source;
    engine::ChangeRecord record;
    std::string sideMaster, sideSource, merged;
  } cases[] = {
      {"a b c", "a c", Rec('d', 2, 2, 1, 1), "a <b><font color=\"0000FF\"> b </font></b>c", "a c",
       "a <b><strike><font color=\"0000FF\"> b </font></strike></b>c"},
      {"x a", "a", Rec('d', 1, 1, 0, 0), " <b><font color=\"0000FF\">x </font></b>a", "a",
       " <b><strike><font color=\"0000FF\">x </font></strike></b>a"},
      {"a b", "a", Rec('d', 2, 2, 1, 1), "a <b><font color=\"0000FF\"> b</font></b>", "a",
       "a <b><strike><font color=\"0000FF\"> b</font></strike></b>"},
      {"a", "a b", Rec('a', 1, 1, 2, 2), "a", "a <b><font color=\"009000\"> b</font></b>",
       "a <b><u><font color=\"009000\"> b</font></u></b>"},
  };
  for (const Case& c : cases) {
    comparer.Script(ToParagraph(c.master), ToParagraph(c.source), {c.record});
    WordMarker marker = Marker();
    auto side = marker.MarkSideBySide(c.master, c.source);
    ASSERT_TRUE(side) << c.master;
    EXPECT_EQ(side->master, kOpen + c.sideMaster) << c.master;
    EXPECT_EQ(side->source, kOpen + c.sideSource) << c.master;
    auto merged = marker.MergeAllInOne(c.master, c.source);
    ASSERT_TRUE(merged) << c.master;
    EXPECT_EQ(*merged, kOpen + c.merged) << c.master;
  }
}

TEST_F(WordMarkerTest, CountsEveryRecordOfTheReport) {
  comparer.Script("a \nb \nc \nd \ne", "x \nb \ny \nd \nz",
                  {Rec('c', 1, 1, 1, 1), Rec('c', 3, 3, 3, 3), Rec('c', 5, 5, 5, 5)});
  comparer.Script("a", "a \nb", {Rec('c', 1, 1, 1, 1), Rec('a', 1, 1, 2, 2)});
  WordMarker marker = Marker();
  ASSERT_TRUE(marker.MarkSideBySide("a b c d e", "x b y d z"));
  ASSERT_TRUE(marker.MergeAllInOne("a", "a b"));
  EXPECT_EQ(counters.changes, 4);
  EXPECT_EQ(counters.additions, 1);
  EXPECT_EQ(counters.deletions, 0);
  EXPECT_EQ(lookups, 1);  // the comparer is looked up once, on first use
}

// A report compares and marks row after row into the same storage: a short row after a
// long one, and a failed row after a marked one, keep nothing of the row before.
TEST_F(WordMarkerTest, RowAfterRowInTheSameStorage) {
  comparer.Script("one \ntwo \nthree", "one \n2 \nthree", {Rec('c', 2, 2, 2, 2)});
  comparer.Script("a \nb \nc", "a \nc", {Rec('d', 2, 2, 1, 1)});
  WordMarker marker = Marker();
  WordMarks marks(counters);
  std::vector<engine::ChangeRecord> records;
  std::string master, source;

  ASSERT_TRUE(marker.CompareRow("one two three", "one 2 three", records));
  marks.SideBySide(records, "one two three", "one 2 three", master, source);
  EXPECT_EQ(master, kOpen + "one <b><font color=\"FF0000\"> two </font></b>three");
  EXPECT_EQ(source, kOpen + "one <b><font color=\"FF0000\"> 2 </font></b>three");

  ASSERT_TRUE(marker.CompareRow("a b c", "a c", records));
  EXPECT_EQ(records.size(), 1u);
  marks.SideBySide(records, "a b c", "a c", master, source);
  EXPECT_EQ(master, kOpen + "a <b><font color=\"0000FF\"> b </font></b>c");
  EXPECT_EQ(source, kOpen + "a c");
  marks.AllInOne(records, "a b c", "a c", master);
  EXPECT_EQ(master, kOpen + "a <b><strike><font color=\"0000FF\"> b </font></strike></b>c");

  EXPECT_FALSE(marker.CompareRow("unscripted", "pair", records));
  EXPECT_TRUE(records.empty());
  // Comparing counts nothing; marking counts each row's records once.
  EXPECT_EQ(counters.changes, 1);
  EXPECT_EQ(counters.deletions, 2);
}

TEST_F(WordMarkerTest, FailedComparisonGivesNoTexts) {
  WordMarker marker = Marker();
  EXPECT_FALSE(marker.MarkSideBySide("unscripted", "pair"));
  EXPECT_FALSE(marker.MergeAllInOne("unscripted", "pair"));
  WordMarker none([] { return static_cast<WordComparer*>(nullptr); }, {}, counters);
  EXPECT_FALSE(none.MarkSideBySide("a", "b"));
  EXPECT_EQ(counters.changes + counters.additions + counters.deletions, 0);
}

}  // namespace
}  // namespace lindrel::reports
