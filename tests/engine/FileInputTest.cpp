#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/EngineSettings.h"
#include "engine/FileReader.h"
#include "engine/IdenticalEnds.h"
#include "engine/InputStream.h"
#include "engine/LargeBlocks.h"
#include "engine/LineClasses.h"
#include "tests/engine/EngineTestSupport.h"

namespace lindrel::engine {
namespace {

using namespace testing;

// Turns read faults off again however a test ends.
struct ReadFault {
  explicit ReadFault(long long after) { TEST_FailReadsAfter(after); }
  ~ReadFault() { TEST_FailReadsAfter(-1); }
};

class TextModeTest : public EngineTest {
 protected:
  // The whole content of `raw` as delivered, read in requests of `request` bytes.
  std::string ReadAll(const std::string& raw, size_t request, bool textMode = true) {
    InputStream stream;
    EXPECT_TRUE(stream.Open(env_.Write("raw.bin", raw).string(), textMode));
    std::string content;
    std::string block(request, '\0');
    for (;;) {
      const std::ptrdiff_t got = stream.Fill(block.data(), request);
      EXPECT_GE(got, 0);
      if (got <= 0) break;
      content.append(block.data(), static_cast<size_t>(got));
    }
    EXPECT_TRUE(stream.Close());
    return content;
  }
};

TEST_F(TextModeTest, CrLfBecomesLfAndByte26EndsTheContent) {
  const struct {
    std::string raw, text;
  } cases[] = {
      {"a\r\nb\r\n", "a\nb\n"},
      {"a\rb\n", "a\rb\n"},  // a lone CR stays
      {"a\r", "a\r"},
      {"\r\r\n", "\r\n"},
      {"\r\n\r\n", "\n\n"},
      {"ab\x1a"
       "cd\n",
       "ab"},
      {"a\r\x1a\n", "a\r"},
      {std::string("x\0y\r\n", 5), std::string("x\0y\n", 4)},
      {"", ""},
  };
  for (const auto& c : cases) {
    for (size_t request : {1u, 2u, 3u, 8192u}) {
      EXPECT_EQ(ReadAll(c.raw, request), c.text) << "request " << request;
    }
    EXPECT_EQ(ReadAll(c.raw, 4, false), c.raw) << "binary mode";
  }
}

TEST_F(TextModeTest, LongContentWithCarriageReturnsAtSliceBoundaries) {
  // A CR as the last byte of many read slices, with and without its LF behind it.
  std::string raw, text;
  for (int i = 0; i < 200000; ++i) {
    const std::string line = std::string(static_cast<size_t>(i % 7), 'x');
    raw += line + (i % 3 == 0 ? "\r" : "\r\n");
    text += line + (i % 3 == 0 ? "\r" : "\n");
  }
  EXPECT_EQ(ReadAll(raw, raw.size() + 10), text);
  EXPECT_EQ(ReadAll(raw, 8192), text);
}

TEST_F(EngineTest, TextModeAppliesToTheComparison) {
  Check({
      {"CR LF against LF", "a\r\nb\r\n", "a\nb\n", {}, 0, {}},
      {"lone CR is part of its line", "a\rb\n", "a\nb\n", {}, 1, {R('c', 1, 1, 1, 2)}},
      // The content ends at a byte 26, so no line after it takes part in a record; but
      // files that differ there are not the same file: they differ without records.
      {"byte 26 ends the content",
       Lines({"a", "b"}) + "\x1a"
                           "junk\n",
       Lines({"a", "b"}),
       {},
       1,
       {}},
      {"equal after byte 26",
       Lines({"a"}) + "\x1a"
                      "junk",
       Lines({"a"}) + "\x1a"
                      "junk",
       {},
       0,
       {}},
      {"a byte 26 against none", Lines({"a"}) + "\x1a", Lines({"a"}), {}, 1, {}},
      {"differ after byte 26 only, quick",
       "a\x1a"
       "x",
       "a\x1a"
       "y",
       {"-q"},
       1,
       {}},
      {"differ after byte 26 only, ignoring",
       "A\x1a"
       "x\n",
       "a\x1a"
       "y\n",
       {"-i", "-B"},
       1,
       {}},
      {"records come from the content",
       "a\x1a"
       "x\n",
       "b\x1a"
       "y\n",
       {},
       1,
       {R('c', 1, 1, 1, 1)}},
      {"differ far after byte 26",
       "a\x1a" + std::string(300000, 'x') + "1",
       "a\x1a" + std::string(300000, 'x') + "2",
       {},
       1,
       {}},
      {"equal far after byte 26",
       "a\x1a" + std::string(300000, 'x'),
       "a\x1a" + std::string(300000, 'x'),
       {},
       0,
       {}},
      {"quick compare, CR LF against LF: sizes differ", "a\r\n", "a\n", {"-q"}, 1, {}},
      {"always text keeps CR", "a\r\n", "a\n", {"-a"}, 1, {R('c', 1, 1, 1, 1)}},
  });
}

TEST_F(EngineTest, ByteZeroInTheFirstBlockMakesTheComparisonBinary) {
  std::string early = Lines({"a", "b"});
  early[1] = '\0';
  // A byte 0 past the first block is an ordinary character of the line "a", 0, "b".
  const std::string late = std::string(8192, 'x') + "\n" + std::string("a\0b\n", 4) + "c\n";
  const std::string plain = std::string(8192, 'x') + "\n" + Lines({"a", "c"});
  {
    MessageCapture capture;
    const Outcome outcome = Compare(early, Lines({"a", "c"}));
    EXPECT_EQ(outcome.result, 1);
    EXPECT_TRUE(outcome.records.empty());
    ASSERT_EQ(capture.messages().size(), 1u);
    EXPECT_EQ(capture.messages()[0].rfind("Binary files ", 0), 0u);
  }
  EXPECT_EQ(Compare(early, early).result, 0);
  const Outcome text = Compare(late, plain);
  EXPECT_EQ(text.result, 1);
  EXPECT_EQ(text.records, (Records{R('c', 2, 2, 2, 2)}));
}

// The source is examined too when the master is text: a byte 0 in its first block alone
// makes the comparison binary, whether the sizes agree (the blocks are then compared) or
// not. A text comparison would report a changed line instead.
TEST_F(EngineTest, BinarySourceAgainstTextMaster) {
  const std::string master = Lines({"a", "b", "c"});
  std::string sameSize = master;
  sameSize[2] = '\0';  // "a\n\0\nc\n"
  const std::string longer = std::string("a\nb\0x\nc\n", 8);
  // Many blocks long, equal in size, the byte 0 early and the rest identical.
  const std::string bigMaster = std::string(20000, 'y') + "\n";
  std::string bigSource = bigMaster;
  bigSource[10] = '\0';
  const struct {
    const char* name;
    std::string master, source;
  } cases[] = {
      {"same size", master, sameSize},
      {"different size", master, longer},
      {"several blocks", bigMaster, bigSource},
  };
  for (const auto& c : cases) {
    MessageCapture capture;
    const Outcome outcome = Compare(c.master, c.source);
    EXPECT_EQ(outcome.result, 1) << c.name;
    EXPECT_TRUE(outcome.records.empty()) << c.name;
    const auto messages = capture.messages();
    ASSERT_EQ(messages.size(), 1u) << c.name;
    EXPECT_EQ(messages[0], "Binary files " + env_.Path("master.txt").string() + " and " +
                               env_.Path("source.txt").string() + " differ\n")
        << c.name;
  }
  // The same source with the binary test skipped (always text) is compared by lines.
  EXPECT_EQ(Compare(master, sameSize, {"-a"}).records, (Records{R('c', 2, 2, 2, 2)}));
}

TEST_F(EngineTest, IncompleteLastLines) {
  Check({
      {"master lacks the final line feed", "a\nx", "a\nx\n", {}, 1, {R('c', 2, 2, 2, 2)}},
      {"source lacks the final line feed", "a\nx\n", "a\nx", {}, 1, {R('c', 2, 2, 2, 2)}},
      {"ignore all white space makes them equal", "a\nx", "a\nx\n", {"-w"}, 0, {}},
      {"ignore blank lines makes them equal", "a\nx", "a\nx\n", {"-B"}, 0, {}},
      {"ignore case does not", "a\nx", "a\nx\n", {"-i"}, 1, {R('c', 2, 2, 2, 2)}},
      {"both incomplete and equal", "a\nx", "a\nx", {}, 0, {}},
      {"both incomplete, source longer", "x", "x\ny", {}, 1, {R('c', 1, 1, 1, 2)}},
      {"both incomplete, master longer", "x\ny", "x", {}, 1, {R('c', 1, 2, 1, 1)}},
      {"incomplete line added", "a\n", "a\nb", {}, 1, {R('a', 1, 1, 2, 2)}},
      {"empty master", "", "a\nb", {}, 1, {R('a', 0, 0, 1, 2)}},
      {"empty source", "a\n", "", {}, 1, {R('d', 1, 1, 0, 0)}},
  });
}

TEST(LineClassesTest, HashAndBucketOfAbc) {
  const EngineSettings plain;
  EXPECT_EQ(HashLine("abc\n", plain), 1601891u);
  EXPECT_EQ(BucketCountFor(6 + 5 + 1), 509u);
  EXPECT_EQ(BucketIndex(static_cast<uint32_t>(BucketCountFor(12)))(HashLine("abc\n", plain)), 68u);
  for (uint32_t buckets : {509u, 1048573u, 2147483647u}) {
    for (uint32_t hash : {0u, 1u, 508u, 509u, 1601891u, 0x7FFFFFFFu, 0xFFFFFFFEu, 0xFFFFFFFFu}) {
      EXPECT_EQ(BucketIndex(buckets)(hash), hash % buckets) << hash << " in " << buckets;
    }
  }

  EngineSettings folding;
  folding.ignoreCase = folding.ignoreAllSpace = true;
  EXPECT_EQ(HashLine(" A b\tC \n", folding), 1601891u);
  EngineSettings amount;
  amount.ignoreSpaceChange = true;
  EXPECT_EQ(HashLine("a \t b  \n", amount), HashLine("a b\n", plain));
}

TEST(LineClassesTest, BucketCountIsTheFirstPrimeNotBelowAThird) {
  const struct {
    size_t capacity, buckets;
  } cases[] = {{0, 509},
               {1527, 509},
               {1530, 1021},
               {3063, 1021},
               {3066, 2039},
               {3'000'000, 1048573},
               {size_t{1} << 40, 2147483647}};
  for (const auto& c : cases) EXPECT_EQ(BucketCountFor(c.capacity), c.buckets) << c.capacity;
}

TEST_F(EngineTest, LineEquivalenceUnderTheIgnoreSwitches) {
  const struct {
    const char *master, *source;
    std::vector<std::string> switches;
    bool equal;
  } cases[] = {
      {"ABC", "abc", {"-i"}, true},      {"ABC", "abc ", {"-i"}, false},  // lengths must match
      {"ABC", "abd", {"-i"}, false},     {"a b", "ab", {"-w"}, true},
      {"   \t", "", {"-w"}, true},       {"a\fb\r", "ab", {"-w"}, true},
      {"A B", "ab", {"-w", "-i"}, true}, {"a b", "ab", {"-i"}, false},
      {"a  \t b", "a b", {"-b"}, true},  {"a b \t", "a b", {"-b"}, true},
      {"ab", "a b", {"-b"}, false},      {" a", "a", {"-b"}, false},
  };
  for (const auto& c : cases) {
    // Surrounding lines keep the compared line away from the file ends.
    const Outcome outcome =
        Compare(Lines({"top", c.master, "end"}), Lines({"top", c.source, "end"}), c.switches);
    EXPECT_EQ(outcome.records, c.equal ? Records{} : Records{R('c', 2, 2, 2, 2)})
        << '"' << c.master << "\" \"" << c.source << '"';
  }
}

// The identical ends as the comparison sees them, for white-box checks of the horizon.
struct Trimmed {
  size_t prefixEnd, suffixBegin0, suffixBegin1, prefixLines;
};

Trimmed Trim(const std::string& master, const std::string& source, long long horizon) {
  InputFile files[2];
  const std::string contents[2] = {master, source};
  for (int i = 0; i < 2; ++i) {
    files[i].buffer.Reserve(contents[i].size() + 16);
    std::copy(contents[i].begin(), contents[i].end(), files[i].buffer.data());
    files[i].buffered = contents[i].size();
    FinishText(files[i], false);
  }
  const size_t lines = TrimIdenticalEnds(files, horizon);
  return {files[0].prefixEnd, files[0].suffixBegin, files[1].suffixBegin, lines};
}

TEST(IdenticalEndsTest, HorizonKeepsLinesAroundTheDifference) {
  const std::string master = Lines({"l1", "l2", "l3", "l4", "change me", "l6", "l7", "l8", "l9"});
  const std::string source = Lines({"l1", "l2", "l3", "l4", "changed", "l6", "l7", "l8", "l9"});
  const Trimmed none = Trim(master, source, 0);
  EXPECT_EQ(none.prefixEnd, 12u);  // the changed line starts the compared part
  EXPECT_EQ(none.prefixLines, 4u);
  EXPECT_EQ(master.substr(none.suffixBegin0), Lines({"l6", "l7", "l8", "l9"}));
  EXPECT_EQ(source.substr(none.suffixBegin1), Lines({"l6", "l7", "l8", "l9"}));

  const Trimmed two = Trim(master, source, 2);
  EXPECT_EQ(two.prefixEnd, 6u);
  EXPECT_EQ(two.prefixLines, 2u);
  EXPECT_EQ(master.substr(two.suffixBegin0), Lines({"l8", "l9"}));
  EXPECT_EQ(source.substr(two.suffixBegin1), Lines({"l8", "l9"}));

  const Trimmed all = Trim(master, source, 100);
  EXPECT_EQ(all.prefixEnd, 0u);
  EXPECT_EQ(all.suffixBegin0, master.size());

  // A prefix of many words, with line feeds in every byte position of a word.
  std::string longPrefix;
  for (int i = 0; i < 5000; ++i) longPrefix += std::string(static_cast<size_t>(i % 11), 'x') + "\n";
  EXPECT_EQ(Trim(longPrefix + "a\n", longPrefix + "b\n", 0).prefixLines, 5000u);
  EXPECT_EQ(Trim(longPrefix + "a\n", longPrefix + "b\n", 3).prefixLines, 4997u);
}

TEST(IdenticalEndsTest, SuffixNeverOverlapsThePrefix) {
  // "a\na\n" against "a\n": the prefix takes the first line, the suffix may not take it too.
  const Trimmed t = Trim(Lines({"a", "a"}), Lines({"a"}), 0);
  EXPECT_EQ(t.prefixEnd, 2u);
  EXPECT_LE(t.prefixEnd, t.suffixBegin1);
  EXPECT_EQ(t.suffixBegin0 - t.prefixEnd, 2u);
}

TEST_F(EngineTest, QuickCompare) {
  const std::string a = Lines({"a", "b"}), longer = Lines({"a", "b", "c"});
  const std::string sameSize = Lines({"a", "x"}), upper = Lines({"A", "B"});
  std::string big;  // several blocks
  for (int i = 0; i < 5000; ++i) big += "line " + std::to_string(i) + "\n";
  std::string bigChangedAtEnd = big;
  bigChangedAtEnd[big.size() - 3] = 'X';
  {
    // Different sizes, no ignore switch: decided without reading a byte.
    ReadFault noReads(0);
    const Outcome outcome = Compare(a, longer, {"-q"});
    EXPECT_EQ(outcome.result, 1);
    EXPECT_TRUE(outcome.records.empty());
    // With an ignore switch the first block of each file is read first.
    EXPECT_EQ(Compare(a, longer, {"-q", "-i"}).result, 2);
  }
  const struct {
    std::string master, source;
    std::vector<std::string> switches;
    int result;
  } cases[] = {
      {a, longer, {"-q", "-i"}, 1},   {a, sameSize, {"-q"}, 1}, {a, a, {"-q"}, 0},
      {a, upper, {"-q", "-i"}, 1},  // brief compares bytes whatever the ignore switches say
      {a, sameSize, {"-q", "-B"}, 1}, {big, big, {"-q"}, 0},    {big, bigChangedAtEnd, {"-q"}, 1},
  };
  for (const auto& c : cases) {
    const Outcome outcome = Compare(c.master, c.source, c.switches);
    EXPECT_EQ(outcome.result, c.result);
    EXPECT_TRUE(outcome.records.empty());
  }
}

TEST_F(EngineTest, MissingOrUnreadableFilesGiveTrouble) {
  const std::string source = env_.Write("source.txt", "a\n").string();
  {
    MessageCapture capture;
    const std::string vanished = env_.Path("vanished.txt").string();
    const Outcome outcome = testing::RunPaths(vanished, source);
    EXPECT_EQ(outcome.result, 2);
    EXPECT_TRUE(outcome.records.empty());
    EXPECT_EQ(capture.messages(), std::vector<std::string>{vanished});
  }
  EXPECT_EQ(testing::RunPaths(source, env_.Path("nowhere/x").string()).result, 2);
  EXPECT_EQ(testing::RunPaths(source, "").result, 2);
  EXPECT_EQ(testing::RunEngineArguments({"Lindrel", source}), 2);
  EXPECT_EQ(testing::RunEngineArguments({}), 2);
}

// Memory that runs out while the master's lines are split, as the source's are split on
// a thread of their own, is a failed run with its message, never the end of the process.
TEST_F(EngineTest, MemoryRunningOutWhileBothSidesAreSplitIsTrouble) {
  // Short master lines outgrow the tables sized for 32 bytes a line; the source's long
  // ones, more than a megabyte of them, are split on the second thread.
  std::string master = "first\n", source = "other\n";
  for (int i = 0; master.size() < (size_t{3} << 20); ++i) master += std::to_string(i % 10) + "\n";
  for (int i = 0; source.size() < (size_t{3} << 19); ++i) {
    source += std::string(90, 'x') + std::to_string(i) + "\n";
  }
  master += "last\n";
  const std::string m = env_.Write("master.txt", master).string();
  const std::string s = env_.Write("source.txt", source).string();
  ASSERT_EQ(RunPaths(m, s).result, 1);

  MessageCapture capture;
  TEST_FailBlocksFrom(size_t{2} << 20);
  const Outcome outcome = RunPaths(m, s);
  TEST_FailBlocksFrom(0);
  EXPECT_EQ(outcome.result, 2);
  EXPECT_TRUE(outcome.records.empty());
  EXPECT_EQ(capture.messages(), Strings{"virtual memory exhausted"});
}

TEST_F(EngineTest, SmallComparisonsTakeNoLargeBlock) {
  // A report compares the words of every changed row, thousands of small runs: a large
  // block, fresh pages each time, would cost more than the comparisons themselves.
  MessageCapture capture;
  TEST_FailBlocksFrom(kLargeBlock);
  const Outcome outcome = Compare("a\nb\nc\nd\n", "a\nx\nc\nd\ne\n", {});
  const Outcome ignoring = Compare("A b\n", "a  B\n", {"-i", "-b"});
  TEST_FailBlocksFrom(0);
  EXPECT_EQ(outcome.result, 1);
  EXPECT_EQ(outcome.records.size(), 2u);
  EXPECT_EQ(ignoring.result, 0);
  EXPECT_EQ(capture.messages(), Strings{});
}

TEST_F(EngineTest, ReadFailureAfterTheFirstBlockEndsTheRun) {
  std::string big;
  for (int i = 0; i < 3000; ++i) big += "line " + std::to_string(i) + "\n";
  std::string other = big;
  other[other.size() - 3] = 'X';
  for (const std::vector<std::string>& switches : {std::vector<std::string>{}, {"-a"}, {"-q"}}) {
    ReadFault fault(10000);
    MessageCapture capture;
    const Outcome outcome = Compare(big, other, switches);
    EXPECT_EQ(outcome.result, 2) << (switches.empty() ? "" : switches[0]);
    EXPECT_TRUE(outcome.records.empty());
    EXPECT_FALSE(capture.messages().empty());
  }
  ReadFault firstBlock(100);
  EXPECT_EQ(Compare(big, other).result, 2);
}

}  // namespace
}  // namespace lindrel::engine
