// The command line's formatting helpers, in-process: text-mode lines, JSON strings, hunk
// headings and their range checks, directory paths.
#include <string>

#include <gtest/gtest.h>

#include "cli/DirRecordFormat.h"
#include "cli/JsonText.h"
#include "cli/LineStream.h"
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
      {"a\rb\r\r\n", {"a\rb\r"}, false},  // a lone CR stays in its line
      {"a\nb\x1a"
       "c\nd\n",
       {"a", "b"},
       true},  // Ctrl-Z ends the content
      {"\x1a"
       "abc",
       {},
       false},
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

// The listing's reader against the whole-file reader: the same lines (with their own line
// ends), also across its 1 MiB blocks, from any line skipped to.
TEST_F(CliFormatTest, LineStreamGivesTheTextModeLinesAsTheyStand) {
  std::string many;
  for (int i = 0; many.size() < (size_t{5} << 20); ++i)
    many += (i % 7 == 0 ? "row\r\n" : "row " + std::to_string(i) + "\n");
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"empty", ""},
      {"crlf and lone cr", "a\r\nb\rc\r\r\nlast\r"},
      {"ctrl-z",
       "a\nb\x1a"
       "c\nd\n"},
      {"line longer than a block", "x\n" + std::string((size_t{3} << 20) + 5, 'y') + "\nz"},
      {"many short lines", many},
      {"ctrl-z far in", many + "tail\x1a"
                               "gone\n"},
  };
  for (const auto& c : cases) {
    const TextModeFile reference = TextModeFile::FromBytes(c.bytes);
    const std::string path = env_.Write("lines", c.bytes).string();
    for (const long from :
         {1L, 2L, reference.lineCount() / 2, reference.lineCount(), reference.lineCount() + 1}) {
      if (from < 1) continue;
      LineStream stream;
      std::string error;
      ASSERT_TRUE(stream.Open(path, error)) << error;
      const bool exists = from <= reference.lineCount();
      ASSERT_EQ(stream.SkipTo(from), exists) << c.name << " from " << from;
      for (long n = from; n <= reference.lineCount() && n < from + 3; ++n) {
        std::string line;
        bool withoutNewline = false;
        ASSERT_TRUE(stream.Next(line, withoutNewline)) << c.name << " line " << n;
        const bool last = n == reference.lineCount() && reference.EndsWithoutNewline();
        EXPECT_EQ(withoutNewline, last) << c.name << " line " << n;
        // The line as it stands in the file: text mode's line plus the line end it took.
        const std::string content = c.bytes.substr(0, c.bytes.find('\x1a'));
        size_t start = 0;
        for (long k = 1; k < n; ++k) start = content.find('\n', start) + 1;
        const size_t feed = content.find('\n', start);
        const std::string expected =
            content.substr(start, feed == std::string::npos ? std::string::npos : feed + 1 - start);
        EXPECT_EQ(TextModeFile::FromBytes(expected).Line(1), reference.Line(n))
            << c.name << " line " << n;
        EXPECT_EQ(line, expected) << c.name << " line " << n;
      }
    }
  }
  LineStream missing;
  std::string error;
  EXPECT_FALSE(missing.Open("/nonexistent/file", error));
  EXPECT_EQ(error, "No such file or directory");
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
      {"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80",
       "\"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80\""},
      // Bytes outside valid UTF-8 as lone surrogates, never as other characters.
      {"bad\xff", "\"bad\\udcff\""},
      {"cut\xc3", "\"cut\\udcc3\""},
      {"\xc0\xaf", "\"\\udcc0\\udcaf\""},             // overlong form
      {"\xed\xa0\x80", "\"\\udced\\udca0\\udc80\""},  // surrogate
  };
  for (const Case& c : cases) EXPECT_EQ(JsonString(c.text), c.json) << c.text;
}

// The reader's side of JsonString: a JSON string literal back to bytes, a lone surrogate
// escape \udcXX to the byte XX.
std::string DecodeJsonString(const std::string& json) {
  std::string bytes;
  const auto appendUtf8 = [&](unsigned cp) {
    if (cp < 0x80) {
      bytes += static_cast<char>(cp);
    } else if (cp < 0x800) {
      bytes += static_cast<char>(0xC0 | (cp >> 6));
      bytes += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      bytes += static_cast<char>(0xE0 | (cp >> 12));
      bytes += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      bytes += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      bytes += static_cast<char>(0xF0 | (cp >> 18));
      bytes += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      bytes += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      bytes += static_cast<char>(0x80 | (cp & 0x3F));
    }
  };
  for (std::size_t i = 1; i + 1 < json.size(); ++i) {
    if (json[i] != '\\') {
      bytes += json[i];
      continue;
    }
    const char e = json[++i];
    switch (e) {
      case 'n': bytes += '\n'; break;
      case 'r': bytes += '\r'; break;
      case 't': bytes += '\t'; break;
      case 'b': bytes += '\b'; break;
      case 'f': bytes += '\f'; break;
      case 'u': {
        const unsigned cp = static_cast<unsigned>(std::stoul(json.substr(i + 1, 4), nullptr, 16));
        i += 4;
        if (cp >= 0xDC80 && cp <= 0xDCFF)
          bytes += static_cast<char>(cp - 0xDC00);
        else
          appendUtf8(cp);
        break;
      }
      default: bytes += e; break;
    }
  }
  return bytes;
}

TEST_F(CliFormatTest, JsonStringsGiveBackEveryByte) {
  // "\xc3\xbf" is the character y-umlaut; the lone byte 0xff must stay different from it.
  EXPECT_NE(JsonString("\xc3\xbf"), JsonString("\xff"));
  unsigned seed = 12345;
  for (int round = 0; round < 2000; ++round) {
    std::string name;
    const int length = round % 17;
    for (int k = 0; k < length; ++k) {
      seed = seed * 1103515245u + 12345u;
      // Mostly high bytes, so broken and valid sequences both occur.
      const unsigned byte = (seed >> 16) % 4 == 0 ? (seed >> 8) % 128 : 0x80 + (seed >> 8) % 128;
      name += static_cast<char>(byte == 0 ? 'x' : byte);
    }
    if (round % 3 == 0) name += "caf\xc3\xa9\xf0\x9f\x98\x80";
    EXPECT_EQ(DecodeJsonString(JsonString(name)), name) << "round " << round;
  }
}

TEST_F(CliFormatTest, HunkHeadingsAndRanges) {
  struct Case {
    FileChange record;
    std::string heading;
    bool fitsThreeAndFour;  // fits a master of 3 lines and a source of 4
  } cases[] = {
      {{ChangeType::Change, 2, 2, 2, 2}, "2c2", true},
      {{ChangeType::Addition, 3, 3, 4, 4}, "3a4", true},
      {{ChangeType::Addition, 0, 0, 1, 4}, "0a1,4", true},
      {{ChangeType::Deletion, 2, 3, 1, 1}, "2,3d1", true},
      {{ChangeType::Deletion, 1, 3, 0, 0}, "1,3d0", true},
      {{ChangeType::Change, 1, 3, 2, 4}, "1,3c2,4", true},
      {{ChangeType::Change, 3, 4, 1, 1}, "3,4c1", false},    // past the master's end
      {{ChangeType::Addition, 2, 2, 4, 5}, "2a4,5", false},  // past the source's end
      {{ChangeType::Deletion, 0, 0, 1, 1}, "0d1", false},    // a deletion of no line
      {{ChangeType::Addition, 1, 2, 1, 1},
       "1a1",
       false},  // an addition's master side is one position
      {{ChangeType::Change, 2, 1, 1, 1}, "2,1c1", false},  // reversed range
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HunkHeading(c.record), c.heading);
    EXPECT_EQ(RecordsFitFiles(std::vector<FileChange>{c.record}, 3, 4), c.fitsThreeAndFour)
        << c.heading;
  }
  const FileChange unknown{static_cast<ChangeType>('x'), 1, 1, 1, 1};
  EXPECT_FALSE(RecordsFitFiles(std::vector<FileChange>{unknown}, 3, 4));
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
