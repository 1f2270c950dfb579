// Comparisons of byte buffers against the same bytes compared as files: result, records
// and messages (the operand names aside) must agree.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/InputStream.h"
#include "engine/TextEngine.h"
#include "tests/engine/EngineTestSupport.h"

namespace lindrel::engine {
namespace {

using namespace testing;

// Texts built from a few short words, so that random pairs share lines and the records are
// more than one whole-file change; CR LF, lone CRs, byte 26, NUL bytes, blank lines, case
// and spacing variants and missing last line feeds all turn up.
class TextGenerator {
 public:
  explicit TextGenerator(std::uint32_t seed) : random_(seed) {}

  std::string Master() {
    std::string text;
    const unsigned lines = Below(14);
    for (unsigned i = 0; i < lines; ++i) text += Line();
    return Unterminated(text);
  }

  // A variant of `master`: lines kept, dropped, replaced or inserted.
  std::string Edit(const std::string& master) {
    std::string text;
    size_t start = 0;
    while (start < master.size()) {
      size_t end = master.find('\n', start);
      end = end == std::string::npos ? master.size() : end + 1;
      const unsigned pick = Below(10);
      if (pick < 6) text.append(master, start, end - start);
      if (pick == 7 || pick == 8) text += Line();
      if (pick == 9) text += Line() + Line();
      start = end;
    }
    if (Below(4) == 0) text += Line();
    return Unterminated(text);
  }

  unsigned Below(unsigned n) { return static_cast<unsigned>(random_() % n); }

 private:
  std::string Line() {
    static const char* const kWords[] = {"a",   "b",   "c", "A", "B",  " a",   "a  b",
                                         "\ta", "x y", "",  "",  "\r", nullptr};
    std::string line;
    const unsigned words = Below(3);
    for (unsigned i = 0; i <= words; ++i) {
      const char* word = kWords[Below(sizeof kWords / sizeof kWords[0])];
      // nullptr: a word holding a NUL, which makes the text binary.
      line += word != nullptr ? std::string(word) : std::string("n\0z", 3);
    }
    const unsigned special = Below(40);
    if (special == 0) line += '\x1a';  // the text ends here in text mode
    if (special == 1) line += ' ';
    line += Below(4) == 0 ? "\r\n" : "\n";
    return line;
  }

  std::string Unterminated(std::string text) {
    if (!text.empty() && Below(4) == 0) text.pop_back();
    return text;
  }

  std::mt19937 random_;
};

// NUL bytes are rare enough in the generated lines; these make most pairs text pairs.
std::string WithoutNulMostly(std::string text, TextGenerator& generator) {
  if (generator.Below(5) != 0) {
    for (char& c : text) {
      if (c == '\0') c = '0';
    }
  }
  return text;
}

Outcome RunTexts(TextEngine& engine, const std::string& master, const std::string& source) {
  RecordingSink sink;
  Outcome outcome;
  outcome.result = engine.Run(master, source, sink);
  outcome.records = std::move(sink.records);
  return outcome;
}

using TextEngineTest = EngineTest;

TEST_F(TextEngineTest, AgreesWithFileComparisonOnRandomPairs) {
  const std::vector<Strings> switchSets = {{},           {"-i"},
                                           {"-w"},       {"-B"},
                                           {"-q"},       {"-i", "-w"},
                                           {"-w", "-B"}, {"-i", "-w", "-B"},
                                           {"-B", "-q"}, {"-i", "-w", "-B", "-q"},
                                           {"-a"}};
  TextGenerator generator(20261207);
  int different = 0, withRecords = 0, comparisons = 0;
  for (const Strings& switches : switchSets) {
    // One engine for all pairs of a switch set: no run may leave anything to the next.
    TextEngine engine(switches);
    for (int i = 0; i < 150; ++i) {
      const std::string master = WithoutNulMostly(generator.Master(), generator);
      const std::string source =
          generator.Below(8) == 0 ? master : WithoutNulMostly(generator.Edit(master), generator);
      // Fresh names: truncating a file to rewrite it costs a flush on close.
      const std::string tag = std::to_string(comparisons++);
      const Outcome files = testing::RunPaths(env_.Write("m" + tag, master).string(),
                                              env_.Write("s" + tag, source).string(), switches);
      const Outcome texts = RunTexts(engine, master, source);
      SCOPED_TRACE(::testing::Message()
                   << "switches " << ::testing::PrintToString(switches) << " pair " << i
                   << " master " << ::testing::PrintToString(master) << " source "
                   << ::testing::PrintToString(source));
      ASSERT_EQ(texts.result, files.result);
      ASSERT_EQ(texts.records, files.records);
      RecordingSink oneShot;
      ASSERT_EQ(RunEngineOnTexts(switches, master, source, oneShot), files.result);
      ASSERT_EQ(oneShot.records, files.records);
      different += files.result == kDifferent ? 1 : 0;
      withRecords += files.records.size() > 1 ? 1 : 0;
    }
  }
  // The generator must give the comparison something to do.
  EXPECT_GT(different, 800);
  EXPECT_GT(withRecords, 300);
}

TEST_F(TextEngineTest, TextModeRulesMatchFiles) {
  struct Case {
    const char* name;
    std::string master, source;
    Strings switches;
  };
  const std::string big(20000, 'x');  // beyond the first look at a file
  const std::vector<Case> cases = {
      {"CR LF against LF", "a\r\nb\r\n", "a\nb\n", {}},
      {"lone CR stays", "a\rb\n", "a\nb\n", {}},
      {"CR at the very end", "a\nb\r", "a\nb\n", {}},
      {"byte 26 ends the text",
       "a\nb\n\x1a"
       "c\n",
       "a\nb\n",
       {}},
      {"byte 26 kept with -a",
       "a\nb\n\x1a"
       "c\n",
       "a\nb\n",
       {"-a"}},
      {"NUL makes it binary", std::string("a\0\n", 3), "a\n", {}},
      {"NUL after byte 26 is not seen", std::string("a\n\x1a\0", 4), "a\n", {}},
      {"NUL beyond the first block", big + "\n" + std::string(1, '\0') + "\n", big + "\nb\n", {}},
      {"brief, same size", "ab\n", "ba\n", {"-q"}},
      {"brief, other size", "ab\n", "b\n", {"-q"}},
      {"brief ignoring case", "AB\n", "ab\n", {"-q", "-i"}},
      {"incomplete last lines", "a\nb", "a\nc", {}},
      {"incomplete against complete", "a\nb", "a\nb\n", {}},
      {"incomplete blank-only difference", "a\n\n", "a\n", {"-B"}},
      {"empty against text", "", "a b\n", {"-w"}},
      {"both empty", "", "", {}},
  };
  for (const Case& c : cases) {
    MessageCapture fileMessages;
    const Outcome files = Compare(c.master, c.source, c.switches);
    const std::vector<std::string> fromFiles = fileMessages.messages();
    TextEngine engine(c.switches, (env_.root() / "master.txt").string(),
                      (env_.root() / "source.txt").string());
    MessageCapture textMessages;
    const Outcome texts = RunTexts(engine, c.master, c.source);
    EXPECT_EQ(texts.result, files.result) << c.name;
    EXPECT_EQ(texts.records, files.records) << c.name;
    EXPECT_EQ(textMessages.messages(), fromFiles) << c.name;
  }
}

TEST(TextEngineSwitchTest, OperandsAndOddSwitches) {
  struct Case {
    const char* name;
    Strings switches;
    int result;
    std::vector<ChangeRecord> records;
  };
  const std::vector<Case> cases = {
      {"an operand among the switches", {"-i", "stray"}, kTrouble, {}},
      {"everything after -- is an operand", {"--", "-i"}, kTrouble, {}},
      {"unknown switches are ignored",
       {"--no-such-switch", "-i"},
       kDifferent,
       {R('c', 2, 2, 2, 2)}},
      {"an ignore pattern", {"-I", "^#", "-i"}, kSame, {}},
      {"a pattern that does not compile is dropped", {"-I", "["}, kDifferent, {R('c', 1, 2, 1, 2)}},
  };
  for (const Case& c : cases) {
    RecordingSink sink;
    EXPECT_EQ(RunEngineOnTexts(c.switches, "a\n#x\n", "A\n#y\n", sink), c.result) << c.name;
    EXPECT_EQ(sink.records, c.records) << c.name;
  }
}

TEST(TextEngineSwitchTest, ReadFaultIsTrouble) {
  TEST_FailReadsAfter(2);
  RecordingSink sink;
  const int result = RunEngineOnTexts({}, Lines({"a", "b"}), Lines({"a", "c"}), sink);
  TEST_FailReadsAfter(-1);
  EXPECT_EQ(result, kTrouble);
  EXPECT_TRUE(sink.records.empty());
}

}  // namespace
}  // namespace lindrel::engine
