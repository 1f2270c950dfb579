// The HTML writers, from aligned tables, with a scripted word comparer.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "reports/HtmlReport.h"
#include "reports/WordText.h"
#include "tests/reports/ReportTestSupport.h"

namespace lindrel::reports {
namespace {

using testing::Rec;
using testing::ScriptedWordComparer;
using testing::TableOf;
using testing::TempEnvironment;

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

class HtmlReportTest : public ::testing::Test {
 protected:
  HtmlReportTest() {
    inputs.masterCaption = "master.txt";
    inputs.sourceCaption = "source.txt";
    inputs.timestamp = testing::kFixedTimestamp;
    inputs.onError = [this](long code, const std::string& detail) {
      errors.emplace_back(code, detail);
    };
    options.title = "Title";
    options.allInOneMasterCaption = "master.txt";
    options.allInOneSourceCaption = "source.txt";
    options.comparer = [this] { return &comparer; };
  }

  std::string Write(bool sideBySide, const LineTable& master, const LineTable& source) {
    const std::string target = env.Path("report.htm").string();
    const bool ok = sideBySide ? WriteHtmlSideBySide(target, inputs, options, master, source)
                               : WriteHtmlAllInOne(target, inputs, options, master, source);
    EXPECT_TRUE(ok);
    EXPECT_FALSE(std::filesystem::exists(target + ".TMP"));
    return TempEnvironment::Read(target);
  }

  TempEnvironment env;
  ReportInputs inputs;
  HtmlOptions options;
  ScriptedWordComparer comparer;
  std::vector<std::pair<long, std::string>> errors;
};

TEST_F(HtmlReportTest, NoRecordsWritesTheHeaderAndTheClosingLines) {
  const std::string expected =
      "<html>\n<head>\n</head>\n<body>\n<h1 align=\"center\">Title</h1>\n"
      "<p align=\"center\">Date and Time: Sun, 12/06/2026 3:05:50 PM</p>\n"
      "<p align=\"center\">Original:  master.txt<br>\nModified:  source.txt</p>\n"
      "<p align=\"center\">Compare File Results: <br>\n"
      "<font color=\"FF0000\">0     Changes Found</font><br>\n"
      "<font color=\"009000\">0     Additions Found</font><br>\n"
      "<font color=\"0000FF\">0     Deletions Found</font><br><br>\n"
      "  </body>\n</html>\n";
  for (bool sideBySide : {true, false}) {
    EXPECT_EQ(Write(sideBySide, TableOf({"same"}), TableOf({"same"})), expected);
  }
  EXPECT_EQ(comparer.calls, 0);
}

TEST_F(HtmlReportTest, HeaderOptions) {
  inputs.records = {Rec('c', 1, 1, 1, 1)};
  inputs.counters = {.changes = 1};
  options.doubleWideCharset = true;
  options.title.clear();
  const std::string page = Write(true, TableOf({"a"}), TableOf({"a"}));
  EXPECT_EQ(page.rfind("<html>\n<head>\n<meta http-equiv='Content-Type' "
                       "content='text/html; charset=Shift_JIS'>\n</head>\n<body>\n"
                       "<p align=\"center\">Date and Time: ",
                       0),
            0u);
  EXPECT_NE(page.find("<font color=\"FF0000\">1    Change Found</font><br>\n"), std::string::npos);
}

TEST_F(HtmlReportTest, CaptionsAndTitleCannotInjectMarkup) {
  inputs.records = {Rec('c', 1, 1, 1, 1)};
  inputs.masterCaption = "<script>alert(1)</script>";
  inputs.sourceCaption = "a&b \"q\"";
  options.title = "<b>T</b>";
  options.allInOneMasterCaption = inputs.masterCaption;
  options.allInOneSourceCaption = inputs.sourceCaption;
  for (bool sideBySide : {true, false}) {
    const std::string page = Write(sideBySide, TableOf({"x &lt; y"}), TableOf({"x &lt; y"}));
    EXPECT_EQ(page.find("<script>"), std::string::npos);
    EXPECT_EQ(page.find("<b>T</b>"), std::string::npos);
    EXPECT_NE(page.find("<h1 align=\"center\">&lt;b&gt;T&lt;/b&gt;</h1>"), std::string::npos);
    EXPECT_NE(page.find("Modified:  a&amp;b &quot;q&quot;</p>"), std::string::npos);
    EXPECT_EQ(Count(page, "&lt;script&gt;alert(1)&lt;/script&gt;"), 2u) << sideBySide;
    // Line texts keep their own escaping: "&" is not escaped again.
    EXPECT_NE(page.find("x &lt; y"), std::string::npos);
  }
}

TEST_F(HtmlReportTest, PadRowsTurnEveryLaterRowIntoADifferenceRow) {
  inputs.records = {Rec('c', 9, 9, 9, 9)};  // only its count matters here
  LineTable master = TableOf({"m1", "m2", "", "m3", "m4"});
  LineTable source = TableOf({"m1", "m2", "", "m3", "m4"});
  master.entries[2] = {0, 0, {}};
  source.entries[2] = {0, kSourcePadMark, {}};
  const std::string page = Write(true, master, source);
  EXPECT_EQ(Count(page, "nowrap bgcolor=\"C0C0C0\""), 4u);  // rows 1 and 2
  EXPECT_EQ(Count(page, "nowrap bgcolor=\"FFFFFF\""), 6u);  // the pad row and the two after
  EXPECT_EQ(Count(page, "<td width=\"48%\"bgcolor=\"FFFF00\">"), 1u);
  // Equal rows after the pad row gain only the default colour opener.
  EXPECT_NE(page.find("<td width=\"48%\"bgcolor=\"FFFFFF\">\n<font color=\"000000\">m4&nbsp;"),
            std::string::npos);

  master.entries[2].mark = kMasterPadMark;
  source.entries[2].mark = 0;
  const std::string mirrored = Write(true, master, source);
  EXPECT_EQ(Count(mirrored, "bgcolor=\"FFFF00\""), 1u);
  EXPECT_EQ(Count(Write(false, master, source), "FFFF00"), 0u);  // no yellow all in one
}

TEST_F(HtmlReportTest, FailedWordComparisonShowsTheTextsUnmarked) {
  inputs.records = {Rec('c', 1, 1, 1, 1)};
  options.comparer = [] { return static_cast<WordComparer*>(nullptr); };
  LineTable master = TableOf({"old"});
  LineTable source = TableOf({"new"});
  master.entries[0].mark = source.entries[0].mark = 'c';
  const std::string page = Write(true, master, source);
  EXPECT_NE(page.find("bgcolor=\"FFFFFF\">\nold&nbsp;</td>\n"), std::string::npos);
  EXPECT_NE(page.find("bgcolor=\"FFFFFF\">\nnew&nbsp;</td>\n"), std::string::npos);
  // All in one, the merged cell keeps both lines.
  const std::string merged = Write(false, master, source);
  EXPECT_NE(merged.find("bgcolor=\"FFFFFF\">\nold<br>\nnew&nbsp;</td>\n"), std::string::npos);
}

TEST_F(HtmlReportTest, TargetOrBodyFileNotWritable) {
  inputs.records = {Rec('c', 1, 1, 1, 1)};
  const std::string missingDir = env.Path("no/dir/r.htm").string();
  EXPECT_FALSE(WriteHtmlSideBySide(missingDir, inputs, options, TableOf({"a"}), TableOf({"b"})));

  // The body has no name of its own: a directory where "<target>.TMP" once went is left
  // alone and the report is written.
  const std::string target = env.Path("r.htm").string();
  std::filesystem::create_directory(target + ".TMP");
  EXPECT_TRUE(WriteHtmlAllInOne(target, inputs, options, TableOf({"a"}), TableOf({"b"})));
  EXPECT_TRUE(std::filesystem::is_directory(target + ".TMP"));
  EXPECT_NE(TempEnvironment::Read(target).find("</table>"), std::string::npos);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], std::make_pair(504L, missingDir));
}

}  // namespace
}  // namespace lindrel::reports
