// FileCompareCreateReport and the alignment methods, through the component and the real
// engine (word comparisons included).
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "TestConfig.h"
#include "control/ControlInternals.h"
#include "control/LindrelCtrlImpl.h"
#include "engine/InputStream.h"
#include "engine/RunEngine.h"

#include "lindrel/MessageLoop.h"
#include "reports/HtmlColour.h"
#include "reports/HtmlReport.h"
#include "reports/WordMarker.h"
#include "reports/WordText.h"
#include "tests/reports/HtmlRows.h"
#include "tests/reports/ReportTestSupport.h"
#include "tests/support/RecordingListener.h"

namespace lindrel {
namespace {

using namespace std::chrono_literals;
using lindrel::testing::RecordingListener;
using lindrel::testing::TempEnvironment;
using reports::testing::HtmlRow;
using reports::testing::ParseHtmlRows;

const std::string kGoldenDir = LINDREL_SOURCE_DIR "/tests/reports/golden/";

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

class ReportRequestsTest : public ::testing::Test {
 protected:
  ReportRequestsTest() { Internals(ctrl).reports.TEST_SetClock(reports::testing::FixedTime); }

  // Writes the two files and compares them on this thread.
  void Compare(const std::string& master, const std::string& source) {
    ctrl.SetFileMaster(env.Write("master.txt", master).string());
    ctrl.SetFileSource(env.Write("source.txt", source).string());
    ASSERT_TRUE(ctrl.FileCompareBeginSynchronous());
  }

  std::string Report(long format, long style, long expectedResult = 0) {
    const std::string target = env.Path("report.out").string();
    std::filesystem::remove(target);
    EXPECT_EQ(ctrl.FileCompareCreateReport(target, format, style), expectedResult)
        << "format " << format << " style " << style;
    return TempEnvironment::Read(target);
  }

  std::vector<HtmlRow> SideBySideRows() { return ParseHtmlRows(Report(1, 2)); }

  TempEnvironment env;
  MessageLoop loop;
  RecordingListener listener;
  CLindrelCtrl ctrl{"reports", &loop, &listener};
};

// Eight lines that differ only in the last.
const std::string kEightMaster = "l1\nl2\nl3\nl4\nl5\nl6\nl7\nm8\n";
const std::string kEightSource = "l1\nl2\nl3\nl4\nl5\nl6\nl7\ns8\n";

TEST_F(ReportRequestsTest, EveryFormatMatchesItsGoldenFile) {
  ctrl.SetFileMaster(kGoldenDir + "master.txt");
  ctrl.SetFileSource(kGoldenDir + "source.txt");
  ctrl.SetReportFileMaster("master.txt");
  ctrl.SetReportFileSource("source.txt");
  ctrl.SetReportFileTitle("Golden report");
  ASSERT_TRUE(ctrl.FileCompareBeginSynchronous());
  ASSERT_EQ(ctrl.FileCompareResultsCount(), 4);

  struct Case {
    long format, style;
    const char* golden;
  } cases[] = {{2, 0, "report.txt"},
               {3, 0, "report.csv"},
               {4, 0, "report.tab"},
               {1, 2, "report-side-by-side.htm"},
               {1, 1, "report-all-in-one.htm"}};
  for (const Case& c : cases) {
    EXPECT_EQ(Report(c.format, c.style), TempEnvironment::Read(kGoldenDir + c.golden)) << c.golden;
  }
  EXPECT_TRUE(listener.events.size() == 1u);  // FileCompareStarted only: no errors
}

TEST_F(ReportRequestsTest, IdenticalFiles) {
  Compare("same\n", "same\n");
  EXPECT_TRUE(EndsWith(Report(2, 0), "\nCompare File Results: \n\t0 Differences found\n"));
  for (long format : {3L, 4L}) {
    EXPECT_EQ(Report(format, 0), "");
    EXPECT_FALSE(std::filesystem::exists(env.Path("report.out")));
  }
  for (long style : {1L, 2L}) {
    const std::string page = Report(1, style);
    EXPECT_EQ(page.find("<table"), std::string::npos);
    EXPECT_TRUE(EndsWith(page, "Deletions Found</font><br><br>\n  </body>\n</html>\n"));
    EXPECT_FALSE(std::filesystem::exists(env.Path("report.out.TMP")));
  }
}

TEST_F(ReportRequestsTest, QuotesAngleBracketsAndTabsInEveryFormat) {
  Compare("x\n<a>\tb\ny\n", "x\nc\ty\ny\n");
  for (long format : {2L, 3L, 4L}) {
    const std::string report = Report(format, 0);
    EXPECT_NE(report.find("&lt;a&gt;  b"), std::string::npos) << format;
    EXPECT_NE(report.find("c  y"), std::string::npos) << format;
    EXPECT_EQ(report.find('<'), std::string::npos) << format;
  }
  for (long style : {1L, 2L}) {
    const std::string page = Report(1, style);
    EXPECT_NE(page.find("&lt;a&gt;"), std::string::npos) << style;
    EXPECT_EQ(page.find("<a>"), std::string::npos) << style;
  }
}

TEST_F(ReportRequestsTest, CaptionsFallBackPerSide) {
  Compare("a\n", "b\n");
  ctrl.SetReportFileMaster("");
  ctrl.SetReportFileSource("New");
  const std::string path = ctrl.GetFileMaster();
  const std::string text = Report(2, 0);
  EXPECT_NE(text.find("Original File: " + path + "\nModified File: New\n"), std::string::npos);
  const std::string side = Report(1, 2);
  EXPECT_NE(side.find("bgcolor=\"C0C0C0\">" + path + "</td>"), std::string::npos);
  EXPECT_NE(side.find("bgcolor=\"C0C0C0\">New</td>"), std::string::npos);
  EXPECT_NE(Report(1, 1).find("<p align=\"center\"> <------------> New</p>"), std::string::npos);

  ctrl.SetReportFileSource("");
  EXPECT_NE(Report(1, 1).find(path + " <------------> " + ctrl.GetFileSource()), std::string::npos);
}

TEST_F(ReportRequestsTest, FormatsOutsideOneToFourWriteNothing) {
  Compare("a\n", "b\n");
  for (long format : {0L, 5L, -1L}) {
    EXPECT_EQ(Report(format, 2), "");
    EXPECT_FALSE(std::filesystem::exists(env.Path("report.out")));
  }
}

TEST_F(ReportRequestsTest, RefusesWhileRunningAndAfterAnAbort) {
  Compare("a\n", "b\n");
  Internals(ctrl).fileJob.active = true;  // as while a worker runs
  Report(2, 0, -2);
  Internals(ctrl).fileJob.active = false;
  Report(2, 0, 0);

  // An abort of a running job: the job ends a moment after the abort asked for it.
  Internals(ctrl).fileJob.active = true;
  Internals(ctrl).fileJob.ending = JobState::kRunning;
  std::thread job([&] {
    std::this_thread::sleep_for(50ms);
    Internals(ctrl).fileJob.active = false;
  });
  ctrl.FileCompareAbort();
  job.join();
  for (long format : {1L, 2L, 3L, 4L}) Report(format, 2, -1);
  EXPECT_FALSE(std::filesystem::exists(env.Path("report.out")));

  Compare("a\n", "b\n");  // a new comparison ends the refusal
  Report(2, 0, 0);
}

TEST_F(ReportRequestsTest, UnreadableFilesAnswerMinusThreeAndFour) {
  Compare("a\n", "b\n");
  const std::string master = ctrl.GetFileMaster();
  std::filesystem::rename(master, master + ".moved");
  Report(2, 0, -3);
  Report(1, 2, -3);
  EXPECT_FALSE(std::filesystem::exists(env.Path("report.out")));
  std::filesystem::rename(master + ".moved", master);
  Report(2, 0, 0);  // the tables stayed unloaded, so this call loads them

  // The text tables are cached now; the HTML tables are separate and still unloaded.
  std::filesystem::remove(ctrl.GetFileSource());
  Report(3, 0, 0);
  Report(1, 1, -4);
}

// A compared file shortened while a report loads it, and rewritten with the same bytes
// right after: the report is not written from what was read, and the host hears which file
// it was. The seam: the engine's read-step hook (the loader reads through the engine's
// stream); only the master reaches the second 256 KiB read.
TEST_F(ReportRequestsTest, AFileShortenedWhileLoadedIsNamedAndAnswersMinusThree) {
  std::string master;
  for (int i = 0; master.size() < 600000; ++i) master += "line " + std::to_string(i) + "\n";
  Compare(master, "line 0\nline 1\n");
  const std::string path = ctrl.GetFileMaster();
  for (const long format : {2L, 1L}) {
    SCOPED_TRACE(format);
    std::atomic<bool> shortened{false};
    engine::TEST_OnReadStep([&](engine::TEST_ReadStep, unsigned long long offset) {
      if (offset >= 256 * 1024 && !shortened.exchange(true)) {
        EXPECT_EQ(::truncate(path.c_str(), 4096), 0);
      }
    });
    listener.events.clear();
    Report(format, 2, -3);
    engine::TEST_OnReadStep({});
    env.Write("master.txt", master);
    EXPECT_TRUE(shortened);
    ASSERT_EQ(listener.events.size(), 1u);
    EXPECT_EQ(listener.events[0].code, kErrorReadingFile);
    EXPECT_EQ(listener.events[0].text, "Unable to read file: " + path);
    EXPECT_FALSE(std::filesystem::exists(env.Path("report.out")));
    Report(format, 2, 0);  // the tables were left unloaded
  }
}

TEST_F(ReportRequestsTest, TwoHtmlReportsInARowLoadTheFilesOnce) {
  Compare(kEightMaster, kEightSource);
  const std::string first = Report(1, 2);
  std::filesystem::remove(ctrl.GetFileMaster());
  const std::string second = Report(1, 2);
  EXPECT_EQ(first, second);
  Report(1, 1);
  EXPECT_EQ(Internals(ctrl).reports.TEST_TableLoads(), 1);
}

TEST_F(ReportRequestsTest, UnwritableTargetAnswersMinusFiveWith504) {
  Compare("a\n", "b\n");
  const std::string target = env.Path("missing-dir/report.txt").string();
  for (long format : {1L, 2L, 3L, 4L}) {
    listener.events.clear();
    EXPECT_EQ(ctrl.FileCompareCreateReport(target, format, 2), -5) << format;
    ASSERT_EQ(listener.Count("OnError"), 1u) << format;
    EXPECT_EQ(listener.events.back().code, 504);
    EXPECT_EQ(listener.events.back().text, "Unable to open file:  " + target);
  }
}

TEST_F(ReportRequestsTest, MarksTheChangedWordOfOneTwoThree) {
  Compare("one two three\n", "one 2 three\n");
  const std::vector<HtmlRow> side = ParseHtmlRows(Report(1, 2));
  ASSERT_EQ(side.size(), 1u);
  EXPECT_EQ(side[0].cells[1].content,
            "<font color=\"000000\">one <b><font color=\"FF0000\"> two </font></b>three");
  EXPECT_EQ(side[0].cells[2].content,
            "<font color=\"000000\">one <b><font color=\"FF0000\"> 2 </font></b>three");
  const std::vector<HtmlRow> merged = ParseHtmlRows(Report(1, 1));
  ASSERT_EQ(merged.size(), 1u);
  EXPECT_EQ(merged[0].cells[1].content,
            "<font color=\"000000\">one <b><u><font color=\"FF0000\"> 2 <b><strike><font "
            "color=\"FF0000\">two </font></strike></b> </font></u></b>three");
}

// The word comparison takes the owner's switches as they are at each report, and still
// leaves the last row's words in the paragraph files.
TEST_F(ReportRequestsTest, WordComparisonFollowsTheSwitchesOfEachReport) {
  Compare("keep\nOne two three\n", "keep\none 2 three\n");
  struct Case {
    long ignoreCase;
    bool firstWordMarked;
  };
  for (const Case c : {Case{1, false}, Case{0, true}, Case{1, false}}) {
    ctrl.SetFileIgnoreCase(c.ignoreCase);
    const std::vector<HtmlRow> rows = SideBySideRows();
    ASSERT_EQ(rows.size(), 2u);
    const std::string& source = rows[1].cells[2].content;
    EXPECT_EQ(source.find("<font color=\"000000\">one "),
              c.firstWordMarked ? std::string::npos : 0u)
        << source;
    EXPECT_NE(source.find("<font color=\"FF0000\">"), std::string::npos) << source;
  }
  const std::optional<reports::ParagraphPaths> paths = reports::ParagraphFilePaths();
  ASSERT_TRUE(paths);
  EXPECT_EQ(TempEnvironment::Read(paths->master), reports::ToParagraph("One two three"));
  EXPECT_EQ(TempEnvironment::Read(paths->source), reports::ToParagraph("one 2 three"));
}

// Rows after the first are compared from memory; the files still end with the last row.
TEST_F(ReportRequestsTest, ParagraphFilesEndWithTheLastDifferenceRow) {
  Compare("a\nfirst row x\nb\nsecond row y\nc\nthird row z\n",
          "a\nfirst row X\nb\nsecond row Y\nc\nthird row Z\n");
  ASSERT_EQ(ctrl.FileCompareResultsCount(), 3);
  for (long style : {1L, 2L}) {
    const std::string html = Report(1, style);
    EXPECT_NE(html.find("third row"), std::string::npos);
    const std::optional<reports::ParagraphPaths> paths = reports::ParagraphFilePaths();
    ASSERT_TRUE(paths);
    EXPECT_EQ(TempEnvironment::Read(paths->master), reports::ToParagraph("third row z")) << style;
    EXPECT_EQ(TempEnvironment::Read(paths->source), reports::ToParagraph("third row Z")) << style;
  }
}

TEST_F(ReportRequestsTest, HighDetailCountsWordGroups) {
  Compare("keep\na b c d e\n", "keep\nx b y d z\n");
  ASSERT_EQ(ctrl.FileCompareResultsCount(), 1);
  struct Case {
    long highDetail;
    const char* count;
  } cases[] = {{0, ">1    Change Found<"}, {1, ">3     Changes Found<"}};
  for (const Case& c : cases) {
    ctrl.SetReportHTMLHighDetail(c.highDetail);
    for (long style : {1L, 2L}) {
      EXPECT_NE(Report(1, style).find(c.count), std::string::npos) << c.highDetail << style;
    }
  }
}

// Counting words makes the body wait in a scratch file until the header is written;
// otherwise it goes straight into the report. Both ways must write the same body, also
// across many fills of the write buffer.
TEST_F(ReportRequestsTest, WordCountsChangeOnlyTheHeader) {
  std::string master, source;
  for (int i = 0; i < 30000; ++i) {
    const std::string line = "row " + std::to_string(i) + " with some words <and> marks\n";
    master += line;
    source += i % 7 == 3 ? "row " + std::to_string(i) + " with other words <and> signs\n" : line;
  }
  Compare(master, source);
  for (long style : {1L, 2L}) {
    ctrl.SetReportHTMLHighDetail(0);
    const std::string counted = Report(1, style);
    ctrl.SetReportHTMLHighDetail(1);
    const std::string wordCounted = Report(1, style);
    ASSERT_GT(counted.size(), 2u << 20) << "the body must span several buffer fills";
    const std::size_t body = counted.find("<div align");
    ASSERT_NE(body, std::string::npos);
    EXPECT_EQ(counted.substr(body), wordCounted.substr(wordCounted.find("<div align")))
        << "style " << style;
    EXPECT_NE(counted.substr(0, body), wordCounted.substr(0, wordCounted.find("<div align")));
  }
}

TEST_F(ReportRequestsTest, InsertedSourceRowsArePadRows) {
  Compare(kEightMaster, kEightSource);
  ctrl.AlignmentChangeAdd(1, 3, 0, 2);
  const std::vector<HtmlRow> rows = SideBySideRows();
  ASSERT_EQ(rows.size(), 10u);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const bool plain = i < 2;
    EXPECT_EQ(rows[i].cells[0].colour, plain ? "C0C0C0" : "FFFFFF") << "row " << i + 1;
    EXPECT_EQ(rows[i].cells[3].colour, plain ? "C0C0C0" : "FFFFFF") << "row " << i + 1;
  }
  for (std::size_t i : {2u, 3u}) {
    EXPECT_EQ(rows[i].cells[2].colour, "FFFF00");
    EXPECT_EQ(rows[i].SourceNumber(), "");
    EXPECT_EQ(rows[i].cells[2].content, "<font color=\"000000\">");
  }
  EXPECT_EQ(rows[4].SourceNumber(), "3");
  EXPECT_EQ(rows[4].cells[2].colour, "FFFFFF");
  EXPECT_EQ(rows[9].SourceNumber(), "8");
  EXPECT_EQ(rows[8].MasterNumber(), "");  // the master's two blank rows at its end
  EXPECT_EQ(rows[9].MasterNumber(), "");
  EXPECT_NE(rows[4].cells[2].content.find("l3"), std::string::npos);
}

TEST_F(ReportRequestsTest, SwappedSourceBlocksAreDifferenceRows) {
  Compare(kEightMaster, kEightSource);
  ctrl.AlignmentChangeAdd(3, 2, 5, 2);
  const std::vector<HtmlRow> rows = SideBySideRows();
  ASSERT_EQ(rows.size(), 8u);
  const char* expectedSource[] = {"1", "5", "6", "4", "2", "3", "7", "8"};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].SourceNumber(), expectedSource[i]) << "row " << i + 1;
    const bool moved = i == 1 || i == 2 || i == 4 || i == 5;
    const bool difference = moved || i == 7;
    EXPECT_EQ(rows[i].cells[0].colour, difference ? "FFFFFF" : "C0C0C0") << "row " << i + 1;
  }
  // The moved lines keep their texts: row 2 quotes source line 5 against master line 2.
  EXPECT_NE(rows[1].cells[2].content.find("l5"), std::string::npos);
  EXPECT_NE(rows[1].cells[1].content.find("l2"), std::string::npos);
}

TEST_F(ReportRequestsTest, ClearKeepsTablesAlreadyBuilt) {
  Compare(kEightMaster, kEightSource);
  ctrl.AlignmentChangeAdd(1, 3, 0, 2);
  ASSERT_EQ(SideBySideRows().size(), 10u);
  EXPECT_TRUE(ctrl.AlignmentChangeClear());
  EXPECT_EQ(SideBySideRows().size(), 10u);
  // Undo on the now empty list still asks for a rebuild, which shows no forced rows.
  EXPECT_TRUE(ctrl.AlignmentChangeUndo());
  EXPECT_EQ(SideBySideRows().size(), 8u);
}

TEST_F(ReportRequestsTest, ANewComparisonIgnoresTheListUntilTheNextAdd) {
  Compare(kEightMaster, kEightSource);
  EXPECT_TRUE(ctrl.AlignmentChangeAdd(1, 3, 0, 2));
  ASSERT_EQ(SideBySideRows().size(), 10u);
  Compare(kEightMaster, kEightSource);
  EXPECT_EQ(SideBySideRows().size(), 8u);
  EXPECT_TRUE(ctrl.AlignmentChangeAdd(2, 1, 0, 1));
  const std::vector<HtmlRow> rows = SideBySideRows();
  ASSERT_EQ(rows.size(), 11u);  // both entries, applied in order to fresh tables
  EXPECT_EQ(rows[0].cells[1].colour, "FFFF00");
}

TEST_F(ReportRequestsTest, ALineLongerThanTheLoaderBufferKeepsTheNumbering) {
  const std::string longLine(150000, 'w');
  Compare("a\n" + longLine + "\nold\n", "a\n" + longLine + "\nnew\n");
  const std::string text = Report(2, 0);
  EXPECT_NE(text.find("Change at line (3) ^^^^^^^^\n  Master\n    old\n  Source\n    new"),
            std::string::npos);
  const std::vector<HtmlRow> rows = SideBySideRows();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[2].MasterNumber(), "3");
  EXPECT_EQ(rows[2].cells[0].colour, "FFFFFF");
}

// Difference rows are marked on a second thread, ahead of the writer, when there are
// many: the page must be the one the writer marking every row itself gives, byte for byte,
// over more rows than the marker may hold ahead, with pad rows, one-sided rows, rows with
// nothing in common and word counts in the header.
TEST_F(ReportRequestsTest, RowsMarkedAheadGiveTheSamePage) {
  std::string master, source;
  for (int i = 0; i < 4000; ++i) {
    const std::string n = std::to_string(i);
    const std::string line = "row " + n + " keeps <its> words\n";
    switch (i % 11) {
      case 2:
        master += line;
        source += "row " + n + " changes <its> WORDS here\n";
        break;
      case 5:
        source += "inserted " + n + "\n";
        master += line;
        source += line;
        break;
      case 7: master += line; break;  // deleted
      case 9:
        master += "\tall\tnew " + n + "\n";
        source += line;
        break;
      default:
        master += line;
        source += line;
        break;
    }
  }
  Compare(master, source);
  ASSERT_GT(ctrl.FileCompareResultsCount(), 1000);
  struct Restore {
    ~Restore() { reports::TEST_SetMarkAheadMinimumRows(64); }
  } restore;
  for (long highDetail : {0L, 1L}) {
    ctrl.SetReportHTMLHighDetail(highDetail);
    for (long style : {1L, 2L}) {
      reports::TEST_SetMarkAheadMinimumRows(static_cast<std::size_t>(-1));
      const std::string alone = Report(1, style);
      const std::optional<reports::ParagraphPaths> paths = reports::ParagraphFilePaths();
      ASSERT_TRUE(paths);
      const std::string lastMaster = TempEnvironment::Read(paths->master);
      reports::TEST_SetMarkAheadMinimumRows(1);
      const std::string ahead = Report(1, style);
      ASSERT_GT(alone.size(), 1u << 20);
      EXPECT_TRUE(alone == ahead) << "high detail " << highDetail << " style " << style;
      EXPECT_EQ(TempEnvironment::Read(paths->master), lastMaster);
    }
  }
}

// The word-comparison component is created on the reporting thread, and only when a row
// needs it: rows against an empty side are answered without it.
TEST_F(ReportRequestsTest, RowsMarkedAheadCreateTheWordComparerOnlyWhenNeeded) {
  struct Restore {
    ~Restore() { reports::TEST_SetMarkAheadMinimumRows(64); }
  } restore;
  reports::TEST_SetMarkAheadMinimumRows(1);
  std::string master = "top\n", source = "top\n";
  for (int i = 0; i < 300; ++i) source += "only in the source " + std::to_string(i) + "\n";
  {
    CLindrelCtrl owner{"aheadowner", &loop};
    owner.SetFileMaster(env.Write("m1.txt", master).string());
    owner.SetFileSource(env.Write("s1.txt", source).string());
    ASSERT_TRUE(owner.FileCompareBeginSynchronous());
    EXPECT_EQ(owner.FileCompareCreateReport(env.Path("o1.htm").string(), 1, 2), 0);
  }
  EXPECT_FALSE(std::filesystem::exists(env.home() / "aheadowner_WORDS.INI"));
  {
    CLindrelCtrl owner{"aheadowner", &loop};
    owner.SetFileMaster(env.Write("m2.txt", source).string());
    owner.SetFileSource(env.Write("s2.txt", source + "one more\n").string());
    master = source;
    master.replace(master.find("source 150"), 10, "SOURCE 150");
    owner.SetFileMaster(env.Write("m2.txt", master).string());
    ASSERT_TRUE(owner.FileCompareBeginSynchronous());
    EXPECT_EQ(owner.FileCompareCreateReport(env.Path("o2.htm").string(), 1, 2), 0);
  }
  EXPECT_TRUE(std::filesystem::exists(env.home() / "aheadowner_WORDS.INI"));
}

TEST_F(ReportRequestsTest, WordComparisonsKeepTheOwnersStateFile) {
  Compare("one two\n", "one 2\n");
  {
    CLindrelCtrl owner{"owner", &loop};
    owner.SetReportFileTitle("owner title");
    owner.SetFileMaster(ctrl.GetFileMaster());
    owner.SetFileSource(ctrl.GetFileSource());
    ASSERT_TRUE(owner.FileCompareBeginSynchronous());
    EXPECT_EQ(owner.FileCompareCreateReport(env.Path("o.htm").string(), 1, 2), 0);
  }
  const std::string words = TempEnvironment::Read(env.home() / "owner_WORDS.INI");
  EXPECT_NE(words.find("cf_master_paragraph.TXT"), std::string::npos);
  const std::string settings = TempEnvironment::Read(env.home() / "owner.INI");
  EXPECT_NE(settings.find("owner title"), std::string::npos);
  EXPECT_NE(settings.find(ctrl.GetFileMaster()), std::string::npos);
  EXPECT_EQ(settings.find("cf_master_paragraph"), std::string::npos);
}

// Two components on two threads write high-detail reports at the same time: each
// header counts its own words, and no row is marked with the other report's words.
TEST(ReportThreadsTest, ConcurrentReportsKeepTheirOwnWordCounts) {
  TempEnvironment env;
  struct Side {
    std::string master, source, count, marked;
  } sides[] = {
      {"keep\na b c d e\n", "keep\nx b y d z\n", ">3     Changes Found<",
       "<b><font color=\"FF0000\"> y </font></b>"},
      {"keep\none two\n", "keep\none 2\n", ">1    Change Found<",
       "<b><font color=\"FF0000\"> 2</font></b>"},
  };
  std::vector<std::thread> threads;
  std::vector<int> failures(2, 0);
  for (int t = 0; t < 2; ++t) {
    threads.emplace_back([&, t] {
      const Side& side = sides[t];
      MessageLoop loop;
      CLindrelCtrl ctrl("thread" + std::to_string(t), &loop);
      ctrl.SetFileMaster(env.Write("m" + std::to_string(t), side.master).string());
      ctrl.SetFileSource(env.Write("s" + std::to_string(t), side.source).string());
      ctrl.SetReportHTMLHighDetail(1);
      if (!ctrl.FileCompareBeginSynchronous()) ++failures[t];
      const std::string target = env.Path("r" + std::to_string(t) + ".htm").string();
      for (int i = 0; i < 30; ++i) {
        if (ctrl.FileCompareCreateReport(target, 1, 2) != 0) ++failures[t];
        const std::string page = TempEnvironment::Read(target);
        if (page.find(side.count) == std::string::npos) ++failures[t];
        if (page.find(side.marked) == std::string::npos) ++failures[t];
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(failures, (std::vector<int>{0, 0}));
}

// Rows with one empty side are marked without a word comparison; the engine must agree
// that such a row is one block of all its words.
TEST(WordMarkerEngineTest, OneSidedRowsAreOneBlockForTheEngine) {
  TempEnvironment env;
  struct Sink : engine::ChangeSink {
    void StoreChangeRecord(const engine::ChangeRecord& r) override { records.push_back(r); }
    std::vector<engine::ChangeRecord> records;
  };
  const std::string texts[] = {"a", "a b", "a  b", "trailing ", " lead", "   ", "x y z w"};
  for (const std::string& text : texts) {
    const std::string empty = env.Write("empty.txt", "").string();
    const std::string words = env.Write("words.txt", reports::ToParagraph(text)).string();
    long lines = 0;
    for (char c : reports::ToParagraph(text)) lines += c == '\n';
    if (text.back() != ' ') ++lines;
    for (const char* flag : {"", "-w", "-B", "-i"}) {
      std::vector<std::string> args{"Lindrel", empty, words};
      if (*flag != '\0') args.push_back(flag);
      Sink added;
      EXPECT_EQ(engine::RunEngine(args, added), 1) << text;
      EXPECT_EQ(added.records, (std::vector<engine::ChangeRecord>{{'a', 0, 0, 1, lines}}))
          << "[" << text << "] " << flag;
      std::swap(args[1], args[2]);
      Sink deleted;
      EXPECT_EQ(engine::RunEngine(args, deleted), 1) << text;
      EXPECT_EQ(deleted.records, (std::vector<engine::ChangeRecord>{{'d', 1, lines, 0, 0}}))
          << "[" << text << "] " << flag;
    }

    // The marker answers such rows without asking its comparer.
    ChangeCounts counters;
    reports::WordMarker marker([] { return static_cast<reports::WordComparer*>(nullptr); }, {},
                               counters);
    auto marked = marker.MarkSideBySide("", text);
    ASSERT_TRUE(marked) << text;
    std::string expected = text;
    reports::MarkWords(expected, 1, lines, reports::kAddedColour, {true, false, false});
    EXPECT_EQ(marked->source, "<font color=\"000000\">" + expected) << text;
    EXPECT_EQ(counters.additions, 1);
  }
}

}  // namespace
}  // namespace lindrel
