#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/Engine.h"

namespace lindrel::engine {
namespace {

using Strings = std::vector<std::string>;

FileCompareOptions Paths() {
  FileCompareOptions o;
  o.master = "/m/master.txt";
  o.source = "/s/source.txt";
  return o;
}

TEST(ArgumentVectorTest, EntriesFollowTheFixedOrder) {
  const std::string formFeedPattern = std::string("-I") + '\f';
  struct Case {
    const char* name;
    void (*configure)(FileCompareOptions&);
    Strings switches;
  };
  const Case cases[] = {
      {"all off", [](FileCompareOptions&) {}, {}},
      {"empty lines alone", [](FileCompareOptions& o) { o.ignoreEmptyLines = true; },
       {"-B", formFeedPattern}},
      {"bracket 3",
       [](FileCompareOptions& o) {
         o.useLineBracket = true;
         o.lineBracket = 3;
       },
       {"--horizon-lines=3"}},
      {"negative bracket passed verbatim",
       [](FileCompareOptions& o) {
         o.useLineBracket = true;
         o.lineBracket = -2;
       },
       {"--horizon-lines=-2"}},
      {"bracket value without its switch", [](FileCompareOptions& o) { o.lineBracket = 7; }, {}},
      {"patterns after the horizon, first pattern first",
       [](FileCompareOptions& o) {
         o.useLineBracket = true;
         o.lineBracket = 0;
         o.useIgnoreRegularExpression = true;
         o.ignoreRegularExpression = "^#@@x$";
       },
       {"--horizon-lines=0", "-I^#", "-Ix$"}},
      {"empty pattern text adds nothing",
       [](FileCompareOptions& o) { o.useIgnoreRegularExpression = true; }, {}},
      {"trailing delimiter",
       [](FileCompareOptions& o) {
         o.useIgnoreRegularExpression = true;
         o.ignoreRegularExpression = "abc@@";
       },
       {"-Iabc"}},
      {"patterns without their switch",
       [](FileCompareOptions& o) { o.ignoreRegularExpression = "abc"; }, {}},
      {"every switch",
       [](FileCompareOptions& o) {
         o.ignoreCase = o.ignoreWhiteSpace = o.ignoreEmptyLines = o.quickCompare = true;
         o.showChangesInLargerSections = o.compareFaster = o.useLineBracket = true;
         o.lineBracket = 12;
         o.useIgnoreRegularExpression = true;
         o.ignoreRegularExpression = "a";
       },
       {"-i", "-w", "-B", formFeedPattern, "-q", "-d", "-H", "--horizon-lines=12", "-Ia"}},
  };
  for (const Case& c : cases) {
    FileCompareOptions options = Paths();
    c.configure(options);
    Strings expected{"Lindrel", "/m/master.txt", "/s/source.txt"};
    expected.insert(expected.end(), c.switches.begin(), c.switches.end());
    EXPECT_EQ(BuildEngineArguments(options), expected) << c.name;
  }
}

TEST(ArgumentVectorTest, ManyPatternsAllPassedOn) {
  FileCompareOptions options = Paths();
  options.useIgnoreRegularExpression = true;
  std::string text;
  for (int i = 0; i < 40; ++i) text += "p" + std::to_string(i) + "@@";
  options.ignoreRegularExpression = text;
  const Strings arguments = BuildEngineArguments(options);
  ASSERT_EQ(arguments.size(), 43u);
  EXPECT_EQ(arguments[3], "-Ip0");
  EXPECT_EQ(arguments[42], "-Ip39");
}

TEST(SplitPatternsTest, PiecesAreVerbatimAndEmptyOnesDropped) {
  const struct {
    const char* text;
    Strings pieces;
  } cases[] = {
      {"", {}},
      {"@@", {}},
      {"@@@@", {}},
      {"abc", {"abc"}},
      {"a@@b", {"a", "b"}},
      {"@@a@@@@b@@", {"a", "b"}},
      {" a @@ b ", {" a ", " b "}},
      {"a@@@b", {"a", "@b"}},  // occurrences do not overlap
      {"a@b", {"a@b"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitPatterns(c.text), c.pieces) << '"' << c.text << '"';
}

}  // namespace
}  // namespace lindrel::engine
