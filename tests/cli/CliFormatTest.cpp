// The command line's formatting helpers, in-process: text-mode lines, JSON strings, hunk
// headings and their range checks, directory paths.
#include <gtest/gtest.h>

#include "cli/DirRecordFormat.h"
#include "cli/JsonText.h"
#include "cli/NormalListing.h"
#include "cli/TextModeFile.h"
#include "tests/support/TempEnvironment.h"

namespace lindrel::cli {
namespace {

// Pure helpers, but every test of the project runs in a private Lindrel directory.
class CliFormatTest : public ::testing::Test {
 protected:
  lindrel::testing::TempEnvironment env_;
};

TEST_F(CliFormatTest, TextModeLinesMatchTheEngine) {
  struct Case {
    std::string bytes;
    std::vector<std::string> lines;
    bool endsWithoutNewline;
  } cases[] = {
      {"", {}, false},
      {"\n", {""}, false},
      {"a\nb", {"a", "b"}, true},
      {"a\r\nb\r\n", {"a", "b"}, false},
      {"a\rb\r\r\n", {"a\rb\r"}, false},       // a lone CR stays in its line
      {"a\nb\x1a" "c\nd\n", {"a", "b"}, true},  // Ctrl-Z ends the content
      {"\x1a" "abc", {}, false},
      {std::string("x\0y\n", 4), {std::string("x\0y", 3)}, false},
  };
  for (const Case& c : cases) {
    const TextModeFile file = TextModeFile::FromBytes(c.bytes);
    ASSERT_EQ(file.lineCount(), static_cast<long>(c.lines.size())) << c.bytes;
    for (long n = 1; n <= file.lineCount(); ++n) EXPECT_EQ(file.Line(n), c.lines[n - 1]) << c.bytes;
    EXPECT_EQ(file.EndsWithoutNewline(), c.endsWithoutNewline) << c.bytes;
  }
  std::string error;
  EXPECT_FALSE(TextModeFile::Load("/nonexistent/file", error).has_value());
  EXPECT_EQ(error, "No such file or directory");
  EXPECT_FALSE(TextModeFile::Load("/", error).has_value());
  EXPECT_EQ(error, "Is a directory");
}

TEST_F(CliFormatTest, JsonStringsAlwaysParse) {
  struct Case {
    std::string text;
    std::string json;
  } cases[] = {
      {"plain", "\"plain\""},
      {"q\"b\\", "\"q\\\"b\\\\\""},
      {"t\tn\nr\r", "\"t\\tn\\nr\\r\""},
      {std::string("\x01\x7f", 2), "\"\\u0001\\u007f\""},
      {"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80", "\"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80\""},
      {"bad\xff", "\"bad\\u00ff\""},
      {"cut\xc3", "\"cut\\u00c3\""},
      {"\xc0\xaf", "\"\\u00c0\\u00af\""},           // overlong form
      {"\xed\xa0\x80", "\"\\u00ed\\u00a0\\u0080\""},  // surrogate
  };
  for (const Case& c : cases) EXPECT_EQ(JsonString(c.text), c.json) << c.text;
}

TEST_F(CliFormatTest, HunkHeadingsAndRanges) {
  struct Case {
    ChangeRecord record;
    std::string heading;
    bool fitsThreeAndFour;  // fits a master of 3 lines and a source of 4
  } cases[] = {
      {{'c', 2, 2, 2, 2}, "2c2", true},
      {{'a', 3, 3, 4, 4}, "3a4", true},
      {{'a', 0, 0, 1, 4}, "0a1,4", true},
      {{'d', 2, 3, 1, 1}, "2,3d1", true},
      {{'d', 1, 3, 0, 0}, "1,3d0", true},
      {{'c', 1, 3, 2, 4}, "1,3c2,4", true},
      {{'c', 3, 4, 1, 1}, "3,4c1", false},  // past the master's end
      {{'a', 2, 2, 4, 5}, "2a4,5", false},  // past the source's end
      {{'d', 0, 0, 1, 1}, "0d1", false},    // a deletion of no line
      {{'a', 1, 2, 1, 1}, "1a1", false},    // an addition's master side is one position
      {{'c', 2, 1, 1, 1}, "2,1c1", false},  // reversed range
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HunkHeading(c.record), c.heading);
    EXPECT_EQ(RecordsFitFiles({c.record}, 3, 4), c.fitsThreeAndFour) << c.heading;
  }
  EXPECT_FALSE(RecordsFitFiles({{'x', 1, 1, 1, 1}}, 3, 4));
}

TEST_F(CliFormatTest, DirectoryRecordPaths) {
  const DirRecord root{"", "/m/", "/s/", 0, 0, 0, 0, 0, 0};
  struct Case {
    DirRecord record;
    std::string path;
    std::string status;
  } cases[] = {
      {{"f.txt", "/m/d/", "/s/d/", 1, 1, 0, 0, 0, 0}, "d/f.txt", "source-only"},
      {{"n", "", "/s/x/n/", 0, 1, 0, 0, 0, 0}, "x/n/", "source-only"},
      {{"f", "/m/", "/s/", 1, 0, 0, 0, 0, 2}, "f", "unreadable"},
      {{"f", "/m/", "/s/", 1, 0, 0, 1, -1, 0}, "f", "differs"},
      {{"f", "/elsewhere/", "/s/", 1, 0, 0, 0, 0, 0}, "/elsewhere/f", "same"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RelativePath(c.record, root), c.path);
    EXPECT_EQ(StatusWord(c.record), c.status) << c.path;
  }
  EXPECT_EQ(DifferenceDetail({"f", "/m/", "/s/", 1, 0, 0, 1, -1, 1}),
            "content, master larger, master older");
  EXPECT_EQ(EscapeForTable(std::string("a\nb\\c\x01", 6)), "a\\nb\\\\c\\001");
}

}  // namespace
}  // namespace lindrel::cli
