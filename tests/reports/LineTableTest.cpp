// Loading compared files into line tables, and the report timestamp.
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "reports/LineTable.h"
#include "reports/ReportClock.h"
#include "tests/reports/ReportTestSupport.h"

namespace lindrel::reports {
namespace {

using testing::TempEnvironment;

TEST(LineTableTest, CleansAndEscapesEachLine) {
  struct Case {
    std::string raw;
    std::string stored;
  } cases[] = {
      {"plain text", "plain text"},
      {"a<b>c", "a&lt;b&gt;c"},
      {"tab\there", "tab  here"},
      {"bell\a and\x01 nul", "bell and nul"},
      {"carriage\r", "carriage"},
      {"& stays", "& stays"},
      {"\xc3\xa9t\xc3\xa9", "\xc3\xa9t\xc3\xa9"},  // bytes >= 128 kept (UTF-8)
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(CleanAndEscapeLine(c.raw), c.stored) << c.raw;
}

TEST(LineTableTest, CleaningStopsPastTheLimit) {
  EXPECT_EQ(CleanAndEscapeLine(std::string(200000, 'x')).size(), 99996u);
  // A tab that crosses the limit still counts as two blanks.
  EXPECT_EQ(CleanAndEscapeLine(std::string(99995, 'x') + "\t\tyz").size(), 99997u);
}

TEST(LineTableTest, LoadsFilesInTextMode) {
  struct Case {
    const char* name;
    std::string content;
    std::vector<std::string> lines;
  } cases[] = {
      {"empty", "", {}},
      {"one line without end", "only", {"only"}},
      {"crlf", "a\r\nb\r\n", {"a", "b"}},
      {"lone cr dropped", "a\rb\n", {"ab"}},
      {"ctrl-z ends the content", "a\nb\x1a\nc\n", {"a", "b"}},
      {"empty lines kept", "\n\nx\n", {"", "", "x"}},
      {"markup on a last line without end", "a\nx<y", {"a", "x&lt;y"}},
      {"ctrl-z right after a line end", "a\n\x1a" "b\n", {"a"}},
      {"ctrl-z first", "\x1a" "abc\n", {}},
      {"ctrl-z inside a line to clean", "t\tu\x1a" "v\n", {"t  u"}},
      {"cleaned line then plain line", "t\tb\nplain\n", {"t  b", "plain"}},
      {"crlf around markup", "<a>\r\nb\r\n", {"&lt;a&gt;", "b"}},
  };
  for (const Case& c : cases) {
    TempEnvironment env;
    LineTable table;
    const long lines = LoadLineTable(env.Write("f.txt", c.content).string(), table, 0);
    ASSERT_EQ(lines, static_cast<long>(c.lines.size())) << c.name;
    ASSERT_EQ(NumberOfLines(table), lines) << c.name;
    for (std::size_t i = 0; i < c.lines.size(); ++i) {
      EXPECT_EQ(table.entries[i].text, c.lines[i]) << c.name;
      EXPECT_EQ(NumberText(table.entries[i]), std::to_string(i + 1)) << c.name;
      EXPECT_EQ(table.entries[i].mark, 0) << c.name;
    }
    const LineEntry& end = table.entries[static_cast<std::size_t>(lines)];
    EXPECT_EQ(end.text, kEndMarker) << c.name;
    EXPECT_EQ(NumberText(end), std::to_string(lines + 1)) << c.name;
  }
}

TEST(LineTableTest, AVeryLongLineStaysOneLine) {
  // Longer than the 99,999-byte line buffer: the following lines keep the numbers the
  // comparison gave them.
  TempEnvironment env;
  const std::string content = "first\n" + std::string(250000, 'y') + "\nthird\n";
  LineTable table;
  ASSERT_EQ(LoadLineTable(env.Write("long.txt", content).string(), table, 5000), 3);
  EXPECT_EQ(LineText(table, 3), "third");
  EXPECT_EQ(table.entries[2].number, 3);
  EXPECT_EQ(LineText(table, 2), std::string(99996, 'y'));
}

TEST(LineTableTest, LargeFileOfShortMixedLinesLoadsEveryLine) {
  // Several megabytes (a buffer of whole huge pages) and far more lines than the file
  // size suggests, so the table grows while it loads; plain, cleaned and escaped lines
  // alternate so each kind follows each other kind.
  const std::string kinds[] = {"p", "", "<", "a\tb", "x\r", "q>r&", "\x01"};
  TempEnvironment env;
  std::string content;
  std::vector<std::string> expected;
  for (int i = 0; i < 1500000; ++i) {
    const std::string& raw = kinds[static_cast<std::size_t>(i * 3 + i / 7) % std::size(kinds)];
    content += raw + "\n";
    expected.push_back(CleanAndEscapeLine(raw));
  }
  content += "tail<";  // no line end
  expected.push_back("tail&lt;");
  LineTable table;
  ASSERT_EQ(LoadLineTable(env.Write("short.txt", content).string(), table, 0),
            static_cast<long>(expected.size()));
  for (std::size_t i = 0; i < expected.size(); ++i) {
    ASSERT_EQ(table.entries[i].text, expected[i]) << "line " << i + 1;
    ASSERT_EQ(table.entries[i].number, static_cast<long>(i + 1));
  }
  EXPECT_TRUE(table.entries[expected.size()].IsEnd());
}

// The cutter looks at sixteen bytes at a time; lines of every length, with the bytes it
// must find anywhere in them (and bytes above 127 that a signed comparison would confuse
// with control bytes), must cut as a plain byte-by-byte reading does.
TEST(LineTableTest, CutsAsAByteByByteReadingDoes) {
  const char specials[] = {'\n', '\n', '\n', '<', '>', '\t', '\r', '\x01', '\x1f', '\x1a'};
  const char ordinary[] = {'a', ' ', '=', '\x7f', '\x80', '\xe9', '\xff', ' ', ';', '?', '=', '@'};
  std::mt19937 random(20261207);
  TempEnvironment env;
  for (int round = 0; round < 300; ++round) {
    std::string content;
    const int size = static_cast<int>(random() % 400);
    const unsigned specialShare = 1 + random() % 30;
    for (int i = 0; i < size; ++i) {
      content += random() % specialShare == 0 ? specials[random() % std::size(specials)]
                                              : ordinary[random() % std::size(ordinary)];
    }
    // The literal reading: lines end at line feeds, the content at the first Ctrl-Z.
    std::vector<std::string> expected;
    std::string line;
    std::size_t i = 0;
    for (; i < content.size() && content[i] != '\x1a'; ++i) {
      if (content[i] == '\n') {
        expected.push_back(CleanAndEscapeLine(line));
        line.clear();
      } else {
        line += content[i];
      }
    }
    if (!line.empty()) expected.push_back(CleanAndEscapeLine(line));

    LineTable table;
    ASSERT_EQ(LoadLineTable(env.Write("cut.txt", content).string(), table, 0),
              static_cast<long>(expected.size()))
        << "round " << round;
    for (std::size_t n = 0; n < expected.size(); ++n) {
      ASSERT_EQ(table.entries[n].text, expected[n]) << "round " << round << " line " << n + 1;
    }
  }
}

TEST(LineTableTest, LoadsMoreLinesThanTheCapacityHint) {
  TempEnvironment env;
  std::string content;
  for (int i = 1; i <= 120000; ++i) content += "line " + std::to_string(i) + "\n";
  LineTable table;
  ASSERT_EQ(LoadLineTable(env.Write("big.txt", content).string(), table, 999999), 120000);
  EXPECT_EQ(LineText(table, 120000), "line 120000");
}

TEST(LineTableTest, UnreadableFileLeavesTheTableAsItWas) {
  TempEnvironment env;
  LineTable table = testing::TableOf({"kept"});
  EXPECT_EQ(LoadLineTable(env.Path("missing.txt").string(), table, 0), -1);
  EXPECT_EQ(LoadLineTable(env.root().string(), table, 0), -1);  // a directory
  EXPECT_EQ(LineText(table, 1), "kept");
}

TEST(LineTableTest, NumberOfLinesFindsTheLastEndEntry) {
  LineTable none;
  EXPECT_EQ(NumberOfLines(none), -1);
  LineTable noEnd;
  noEnd.entries.push_back({1, 0, "x"});
  EXPECT_EQ(NumberOfLines(noEnd), -1);
  // A file line that reads like the marker does not end the table early.
  LineTable table = testing::TableOf({std::string(kEndMarker), "after"});
  EXPECT_EQ(NumberOfLines(table), 2);
  EXPECT_EQ(LineText(table, 2), "after");
  EXPECT_EQ(LineText(table, 3), "");
  EXPECT_EQ(LineText(table, 0), "");
}

TEST(ReportClockTest, FormatsInEnglishWithTwelveHourClock) {
  struct Case {
    LocalTime time;
    const char* text;
  } cases[] = {
      {{2026, 12, 6, 0, 15, 5, 50}, "Sun, 12/06/2026 3:05:50 PM"},
      {{2024, 1, 2, 2, 0, 0, 0}, "Tue, 01/02/2024 12:00:00 AM"},
      {{2024, 7, 13, 6, 12, 30, 9}, "Sat, 07/13/2024 12:30:09 PM"},
      {{999, 3, 4, 1, 11, 59, 59}, "Mon, 03/04/0999 11:59:59 AM"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatReportTimestamp(c.time), c.text);
}

}  // namespace
}  // namespace lindrel::reports
