#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/EngineRun.h"
#include "engine/SwitchParser.h"
#include "tests/engine/EngineTestSupport.h"

namespace lindrel::engine {
namespace {

using testing::MessageCapture;
using testing::RecordingSink;
using Strings = std::vector<std::string>;

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

TEST(SwitchParserTest, EffectiveSwitchesSetTheirSettings) {
  const struct {
    Strings arguments;
    bool EngineSettings::*flag;
  } cases[] = {
      {{"-i"}, &EngineSettings::ignoreCase},
      {{"--ignore-case"}, &EngineSettings::ignoreCase},
      {{"-w"}, &EngineSettings::ignoreAllSpace},
      {{"--ignore-all"}, &EngineSettings::ignoreAllSpace},  // abbreviated
      {{"-b"}, &EngineSettings::ignoreSpaceChange},
      {{"-B"}, &EngineSettings::ignoreBlankLines},
      {{"--ignore-blank-lines"}, &EngineSettings::ignoreBlankLines},
      {{"-q"}, &EngineSettings::brief},
      {{"--brief"}, &EngineSettings::brief},
      {{"--binary"}, &EngineSettings::brief},
      {{"-d"}, &EngineSettings::noDiscards},
      {{"--minimal"}, &EngineSettings::noDiscards},
      {{"-H"}, &EngineSettings::speedLargeFiles},
      {{"--speed-large-files"}, &EngineSettings::speedLargeFiles},
      {{"-a"}, &EngineSettings::alwaysText},
      {{"--ascii"}, &EngineSettings::alwaysText},
  };
  for (const auto& c : cases) {
    Strings arguments{"m", "s"};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    const Parsed parsed = Parse(arguments);
    EXPECT_TRUE(parsed.settings.*c.flag) << c.arguments[0];
    EXPECT_EQ(parsed.operands, (Strings{"m", "s"})) << c.arguments[0];
  }
}

TEST(SwitchParserTest, DerivedSettings) {
  EXPECT_FALSE(Parse({"m", "s", "-q", "-d", "-H", "-a"}).settings.someChangesIgnored);
  for (const char* ignoring : {"-i", "-w", "-b", "-B", "-Ix"}) {
    EXPECT_TRUE(Parse({"m", "s", ignoring}).settings.someChangesIgnored) << ignoring;
  }
  EXPECT_TRUE(Parse({"m", "s", "-w"}).settings.lineLengthsVary);
  EXPECT_TRUE(Parse({"m", "s", "-b"}).settings.lineLengthsVary);
  EXPECT_FALSE(Parse({"m", "s", "-i", "-B"}).settings.lineLengthsVary);
}

TEST(SwitchParserTest, OtherSwitchesAreReadAndHaveNoEffect) {
  const Strings harmless{"-0", "-9", "-c", "-C", "3", "-e", "-f", "-h", "-l", "-n", "-N", "-p",
                         "-P", "-r", "-s", "-t", "-T", "-u", "-U5", "-v", "-y", "-Dname",
                         "-Ffunc", "-Llabel", "-Sfile", "-W80", "-xpat", "-Xfile", "-Z", "--bogus",
                         "--context", "--unified=2", "--ifdef=X", "--side-by-side",
                         "--left-column", "--suppress-common-lines", "--sdiff-merge-assist",
                         "--old-line-format=%L", "--new-line-format", "%L",
                         "--unchanged-line-format=x", "--line-format=x", "--old-group-format=x",
                         "--new-group-format=x", "--unchanged-group-format=x",
                         "--changed-group-format=x", "--recursive", "--exclude=*.o"};
  Strings arguments{"m"};
  arguments.insert(arguments.end(), harmless.begin(), harmless.end());
  arguments.push_back("s");
  const Parsed parsed = Parse(arguments);
  EXPECT_EQ(parsed.operands, (Strings{"m", "s"}));
  const EngineSettings defaults;
  EXPECT_FALSE(parsed.settings.someChangesIgnored || parsed.settings.brief ||
               parsed.settings.noDiscards || parsed.settings.speedLargeFiles ||
               parsed.settings.alwaysText);
  EXPECT_EQ(parsed.settings.horizonLines, defaults.horizonLines);
  EXPECT_EQ(parsed.patterns, 0u);
}

TEST(SwitchParserTest, SwitchesApplyWhereverTheyStandAndDoubleDashEndsThem) {
  const Parsed parsed = Parse({"-i", "m", "-w", "s", "-q"});
  EXPECT_TRUE(parsed.settings.ignoreCase && parsed.settings.ignoreAllSpace && parsed.settings.brief);
  EXPECT_EQ(parsed.operands, (Strings{"m", "s"}));

  const Parsed ended = Parse({"-i", "--", "-w", "s"});
  EXPECT_TRUE(ended.settings.ignoreCase);
  EXPECT_FALSE(ended.settings.ignoreAllSpace);
  EXPECT_EQ(ended.operands, (Strings{"-w", "s"}));

  EXPECT_EQ(Parse({"m"}).operands, (Strings{"m"}));
  EXPECT_EQ(Parse({"-I", "x", "m", "s", "t"}).operands, (Strings{"m", "s", "t"}));
}

TEST(SwitchParserTest, HorizonAcceptsDigitsOnly) {
  const struct {
    Strings arguments;
    long long horizon;
    bool rejected;
  } cases[] = {
      {{"--horizon-lines=3"}, 3, false},
      {{"--horizon-lines=0"}, 0, false},
      {{"--horizon-lines", "12"}, 12, false},
      {{"--horizon=5"}, 5, false},  // abbreviated
      {{"--horizon-lines=-2"}, 0, true},
      {{"--horizon-lines=+2"}, 0, true},
      {{"--horizon-lines=2x"}, 0, true},
      {{"--horizon-lines="}, 0, true},
      {{"--horizon-lines=4", "--horizon-lines=-1"}, 4, true},
  };
  for (const auto& c : cases) {
    MessageCapture capture;
    Strings arguments{"m", "s"};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    EXPECT_EQ(Parse(arguments).settings.horizonLines, c.horizon) << c.arguments.back();
    const Strings expected = c.rejected ? Strings{"horizon must be a nonnegative integer"} : Strings{};
    EXPECT_EQ(capture.messages(), expected) << c.arguments.back();
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
