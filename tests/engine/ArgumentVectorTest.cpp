#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/ArgumentVector.h"

namespace lindrel::engine {
namespace {

using Strings = std::vector<std::string>;

TEST(ArgumentVectorTest, EntriesFollowTheFixedOrder) {
  const std::string formFeedPattern = "-I\f";
  using O = FileCompareOptions;
  const struct {
    const char* name;
    void (*set)(O&);
    Strings switches;
  } cases[] = {
      {"all off", [](O&) {}, {}},
      {"empty lines alone", [](O& o) { o.ignoreEmptyLines = true; }, {"-B", formFeedPattern}},
      {"bracket 3",
       [](O& o) { o.useLineBracket = true, o.lineBracket = 3; },
       {"--horizon-lines=3"}},
      {"negative bracket passed verbatim",
       [](O& o) { o.useLineBracket = true, o.lineBracket = -2; },
       {"--horizon-lines=-2"}},
      {"bracket without its switch", [](O& o) { o.lineBracket = 7; }, {}},
      {"patterns last, first pattern first",
       [](O& o) {
         o.useLineBracket = o.useIgnoreRegularExpression = true, o.lineBracket = 0,
         o.ignoreRegularExpression = "^#@@x$";
       },
       {"--horizon-lines=0", "-I^#", "-Ix$"}},
      {"empty pattern text", [](O& o) { o.useIgnoreRegularExpression = true; }, {}},
      {"trailing delimiter",
       [](O& o) { o.useIgnoreRegularExpression = true, o.ignoreRegularExpression = "abc@@"; },
       {"-Iabc"}},
      {"patterns without their switch", [](O& o) { o.ignoreRegularExpression = "abc"; }, {}},
      {"every switch",
       [](O& o) {
         o.ignoreCase = o.ignoreWhiteSpace = o.ignoreEmptyLines = o.quickCompare = true;
         o.showChangesInLargerSections = o.compareFaster = o.useLineBracket =
             o.useIgnoreRegularExpression = true;
         o.lineBracket = 12, o.ignoreRegularExpression = std::string(1, 'a');
       },
       {"-i", "-w", "-B", formFeedPattern, "-q", "-d", "-H", "--horizon-lines=12", "-Ia"}},
  };
  for (const auto& c : cases) {
    O options;
    options.master = "/m/master.txt";
    options.source = "/s/source.txt";
    c.set(options);
    Strings expected{"Lindrel", "/m/master.txt", "/s/source.txt"};
    expected.insert(expected.end(), c.switches.begin(), c.switches.end());
    EXPECT_EQ(BuildEngineArguments(options), expected) << c.name;
  }
}

TEST(ArgumentVectorTest, ManyPatternsAllPassedOn) {
  FileCompareOptions options;
  options.useIgnoreRegularExpression = true;
  for (int i = 0; i < 40; ++i)
    options.ignoreRegularExpression += std::string("p") + std::to_string(i) + "@@";
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
