#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/EngineRun.h"
#include "engine/SwitchParser.h"
#include "tests/engine/EngineTestSupport.h"

namespace lindrel::engine {
namespace {

using namespace testing;

struct Parsed {
  EngineSettings settings;
  size_t patterns = 0;
  Strings operands;
};

Parsed Parse(Strings arguments) {
  RecordingSink sink;
  EngineRun run(sink);
  arguments.insert(arguments.begin(), "Lindrel");
  Parsed parsed;
  parsed.operands = ParseSwitches(arguments, run);
  parsed.settings = run.settings;
  parsed.patterns = run.patterns.size();
  return parsed;
}

TEST(SwitchParserTest, EffectiveSwitchesInShortLongAndAbbreviatedForm) {
  const struct {
    const char* spelling;
    bool EngineSettings::*flag;
  } cases[] = {
      {"-i", &EngineSettings::ignoreCase},
      {"--ignore-case", &EngineSettings::ignoreCase},
      {"--ignore-all", &EngineSettings::ignoreAllSpace},
      {"-b", &EngineSettings::ignoreSpaceChange},
      {"--ignore-blank-lines", &EngineSettings::ignoreBlankLines},
      {"--binary", &EngineSettings::brief},
      {"-q", &EngineSettings::brief},
      {"--minimal", &EngineSettings::noDiscards},
      {"-H", &EngineSettings::speedLargeFiles},
      {"--ascii", &EngineSettings::alwaysText},
  };
  for (const auto& c : cases) {
    const Parsed parsed = Parse({"m", c.spelling, "s"});
    EXPECT_TRUE(parsed.settings.*c.flag) << c.spelling;
    EXPECT_EQ(parsed.operands, (Strings{"m", "s"})) << c.spelling;
  }
}

TEST(SwitchParserTest, OtherSwitchesAreReadAndHaveNoEffect) {
  const Parsed parsed = Parse({"m",
                               "-0",
                               "-c",
                               "-C",
                               "3",
                               "-e",
                               "-f",
                               "-l",
                               "-n",
                               "-N",
                               "-p",
                               "-r",
                               "-s",
                               "-t",
                               "-u",
                               "-U5",
                               "-y",
                               "-Dname",
                               "-Ffunc",
                               "-Llabel",
                               "-W80",
                               "-xpat",
                               "-Z",
                               "--bogus",
                               "--context",
                               "--unified=2",
                               "--side-by-side",
                               "--left-column",
                               "--new-line-format",
                               "%L",
                               "--changed-group-format=x",
                               "--recursive",
                               "--exclude=*.o",
                               "s"});
  EXPECT_EQ(parsed.operands, (Strings{"m", "s"}));
  const EngineSettings& s = parsed.settings;
  EXPECT_FALSE(s.someChangesIgnored || s.brief || s.noDiscards || s.speedLargeFiles ||
               s.alwaysText);
  EXPECT_EQ(s.horizonLines, 0);
  EXPECT_EQ(parsed.patterns, 0u);
}

TEST(SwitchParserTest, SwitchesApplyWhereverTheyStandAndDoubleDashEndsThem) {
  const Parsed parsed = Parse({"-i", "m", "-w", "s", "-q"});
  EXPECT_TRUE(parsed.settings.ignoreCase && parsed.settings.ignoreAllSpace &&
              parsed.settings.brief);
  EXPECT_EQ(parsed.operands, (Strings{"m", "s"}));

  const Parsed ended = Parse({"-i", "--", "-w", "s"});
  EXPECT_FALSE(ended.settings.ignoreAllSpace);
  EXPECT_EQ(ended.operands, (Strings{"-w", "s"}));
  EXPECT_EQ(Parse({"-I", "x", "m", "s", "t"}).operands, (Strings{"m", "s", "t"}));
}

TEST(SwitchParserTest, HorizonAcceptsDigitsOnly) {
  const struct {
    Strings switches;
    long long horizon;
    bool rejected;
  } cases[] = {
      {{"--horizon-lines=3"}, 3, false}, {{"--horizon-lines", "12"}, 12, false},
      {{"--horizon=5"}, 5, false},       {{"--horizon-lines=-2"}, 0, true},
      {{"--horizon-lines=+2"}, 0, true}, {{"--horizon-lines=2x"}, 0, true},
      {{"--horizon-lines="}, 0, true},   {{"--horizon-lines=4", "--horizon-lines=-1"}, 4, true},
  };
  for (const auto& c : cases) {
    MessageCapture capture;
    Strings arguments{"m", "s"};
    arguments.insert(arguments.end(), c.switches.begin(), c.switches.end());
    EXPECT_EQ(Parse(arguments).settings.horizonLines, c.horizon) << c.switches.back();
    EXPECT_EQ(capture.messages(),
              c.rejected ? Strings{"horizon must be a nonnegative integer"} : Strings{})
        << c.switches.back();
  }
  long long huge = 0;
  ASSERT_TRUE(ParseHorizon("99999999999999999999999999", huge));
  EXPECT_GT(huge, 1'000'000'000LL);
}

TEST(SwitchParserTest, PatternThatDoesNotCompileIsDropped) {
  MessageCapture capture;
  const Parsed parsed = Parse({"m", "s", "-Iok", "-Ia\\(", "--ignore-matching-lines=^#"});
  EXPECT_EQ(parsed.patterns, 2u);
  EXPECT_TRUE(parsed.settings.someChangesIgnored);
  const Strings messages = capture.messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].rfind("a\\(: ", 0), 0u) << messages[0];
}

}  // namespace
}  // namespace lindrel::engine
