// Random file pairs against what any correct comparison must satisfy.
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/engine/EngineTestSupport.h"
#include "tests/engine/RecordChecks.h"

namespace lindrel::engine {
namespace {

using namespace testing;

// Random file contents from small alphabets, so that lines repeat and both the filter and
// the search have work; with and without a final line feed, sometimes with CR LF.
class RandomFiles {
 public:
  explicit RandomFiles(unsigned seed) : random_(seed) {}

  int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

  Strings Lines(int count, int alphabet) {
    static const Strings kAlphabet = {"a", "b", "c", "", "a b", "A", "x\ty"};
    Strings lines;
    for (int i = 0; i < count; ++i)
      lines.push_back(kAlphabet[static_cast<size_t>(Uniform(0, alphabet - 1))]);
    return lines;
  }

  // The master with random deletions, insertions and replacements.
  Strings Edited(const Strings& master, int alphabet) {
    Strings source;
    for (const std::string& line : master) {
      const int roll = Uniform(1, 100);
      if (roll <= 20 && roll > 10) source.push_back(Lines(1, alphabet)[0]);
      if (roll > 25)
        source.push_back(line);
      else if (roll > 10)
        source.push_back(line + "!");
    }
    return source;
  }

  std::string Content(const Strings& lines) {
    const std::string end = Uniform(1, 100) <= 15 ? "\r\n" : "\n";
    const bool finalLineFeed = Uniform(1, 100) <= 70;
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i)
      text += lines[i] + (i + 1 < lines.size() || finalLineFeed ? end : "");
    return text;
  }

  std::pair<std::string, std::string> Pair(int maxLines) {
    const int alphabet = Uniform(2, 7);
    const Strings master = Lines(Uniform(0, maxLines), alphabet);
    const Strings source =
        Uniform(1, 10) <= 7 ? Edited(master, alphabet) : Lines(Uniform(0, maxLines), alphabet);
    return {Content(master), Content(source)};
  }

 private:
  std::mt19937 random_;
};

class PropertyTest : public EngineTest {
 protected:
  // Runs one pair and checks the records against the files as the engine reads them.
  void CheckPair(const std::string& master, const std::string& source, const Strings& switches,
                 bool shortest) {
    const bool textMode = std::find(switches.begin(), switches.end(), "-a") == switches.end();
    const Strings masterLines = testing::TextLines(master, textMode);
    const Strings sourceLines = testing::TextLines(source, textMode);
    const Outcome outcome = Compare(master, source, switches);
    std::string context = ::testing::PrintToString(switches) +
                          "\nmaster: " + ::testing::PrintToString(master) +
                          "\nsource: " + ::testing::PrintToString(source);
    EXPECT_EQ(outcome.result, masterLines == sourceLines ? 0 : 1) << context;
    EXPECT_EQ(testing::ApplyRecords(masterLines, sourceLines, outcome.records), sourceLines)
        << context;
    testing::CheckRecordShape(outcome.records, masterLines.size(), sourceLines.size(), context);
    if (shortest) {
      EXPECT_EQ(testing::RecordCost(outcome.records),
                testing::MinimumCost(masterLines, sourceLines))
          << context;
    }
  }
};

TEST_F(PropertyTest, RecordsReproduceTheSourceUnderEverySwitchThatIgnoresNothing) {
  const std::vector<Strings> combinations = {
      {}, {"-d"}, {"-H"}, {"-d", "-H"}, {"--horizon-lines=1"}, {"--horizon-lines=3", "-d"}, {"-a"}};
  RandomFiles random(1234);
  for (int i = 0; i < 400 && !HasFailure(); ++i) {
    const auto [master, source] = random.Pair(i % 10 == 0 ? 120 : 25);
    for (const Strings& switches : combinations) CheckPair(master, source, switches, false);
  }
}

TEST_F(PropertyTest, WithoutDiscardsAndHeuristicTheScriptIsShortest) {
  RandomFiles random(98765);
  for (int i = 0; i < 600 && !HasFailure(); ++i) {
    const auto [master, source] = random.Pair(i % 10 == 0 ? 150 : 30);
    CheckPair(master, source, {"-d"}, true);
  }
}

TEST_F(PropertyTest, LargePairsUnderTheHeuristic) {
  // Noise between shared stretches: boxes of more than 200 edit steps, with big snakes.
  RandomFiles random(4242);
  for (int i = 0; i < 6 && !HasFailure(); ++i) {
    Strings master, source;
    for (int block = 0; block < 80; ++block) {
      for (const std::string& line : random.Lines(random.Uniform(5, 40), 7)) master.push_back(line);
      for (const std::string& line : random.Lines(random.Uniform(5, 40), 7)) source.push_back(line);
      for (int k = 0; k < 30; ++k) {
        master.push_back("shared " + std::to_string(block * 100 + k));
        source.push_back(master.back());
      }
    }
    const std::string m = random.Content(master), s = random.Content(source);
    for (const Strings& switches : {Strings{"-H"}, Strings{"-H", "-d"}})
      CheckPair(m, s, switches, false);
  }
}

}  // namespace
}  // namespace lindrel::engine
