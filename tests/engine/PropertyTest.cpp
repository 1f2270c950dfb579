// Random file pairs against what any correct comparison must satisfy.
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/engine/EngineTestSupport.h"
#include "tests/engine/RecordChecks.h"

namespace lindrel::engine {
namespace {

using testing::ApplyRecords;
using testing::CheckRecordShape;
using testing::EngineTest;
using testing::MinimumCost;
using testing::Outcome;
using testing::RecordCost;
using testing::TextLines;
using Strings = std::vector<std::string>;

// Small alphabets, so that lines repeat and the filter and the search both have work.
const Strings kAlphabet = {"a", "b", "c", "", "a b", "A", "x\ty"};

class RandomPairs {
 public:
  explicit RandomPairs(unsigned seed) : random_(seed) {}

  int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  bool Chance(int percent) { return Uniform(1, 100) <= percent; }

  Strings RandomLines(int count, int alphabet) {
    Strings lines;
    for (int i = 0; i < count; ++i) lines.push_back(kAlphabet[static_cast<size_t>(Uniform(0, alphabet - 1))]);
    return lines;
  }

  // The master with a few random deletions, insertions and replacements.
  Strings Edited(const Strings& master, int alphabet) {
    Strings source;
    for (const std::string& line : master) {
      const int roll = Uniform(1, 100);
      if (roll <= 10) continue;
      if (roll <= 20) source.push_back(kAlphabet[static_cast<size_t>(Uniform(0, alphabet - 1))]);
      if (roll > 25 || roll <= 10) source.push_back(line);
      else source.push_back(kAlphabet[static_cast<size_t>(Uniform(0, alphabet - 1))] + "!");
    }
    return source;
  }

  std::string Content(const Strings& lines) {
    const bool crlf = Chance(15);
    const bool finalLineFeed = Chance(70);
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
      text += lines[i];
      if (i + 1 < lines.size() || finalLineFeed) text += crlf ? "\r\n" : "\n";
    }
    return text;
  }

  std::pair<std::string, std::string> Pair(int maxLines) {
    const int alphabet = Uniform(2, static_cast<int>(kAlphabet.size()));
    const Strings master = RandomLines(Uniform(0, maxLines), alphabet);
    const Strings source = Chance(70) ? Edited(master, alphabet) : RandomLines(Uniform(0, maxLines), alphabet);
    return {Content(master), Content(source)};
  }

 private:
  std::mt19937 random_;
};

class PropertyTest : public EngineTest {
 protected:
  // Runs one pair under `switches` and checks the records against the files.
  void CheckPair(const std::string& master, const std::string& source, const Strings& switches,
                 bool checkMinimal) {
    const bool textMode = std::find(switches.begin(), switches.end(), "-a") == switches.end();
    const Strings masterLines = TextLines(master, textMode);
    const Strings sourceLines = TextLines(source, textMode);
    const Outcome outcome = Compare(master, source, switches);
    std::string context = "switches:";
    for (const std::string& s : switches) context += " " + s;
    context += "\nmaster: " + ::testing::PrintToString(master) + "\nsource: " + ::testing::PrintToString(source);

    EXPECT_EQ(outcome.result, masterLines == sourceLines ? 0 : 1) << context;
    EXPECT_EQ(ApplyRecords(masterLines, sourceLines, outcome.records), sourceLines) << context;
    CheckRecordShape(outcome.records, masterLines.size(), sourceLines.size(), context);
    if (checkMinimal) {
      EXPECT_EQ(RecordCost(outcome.records), MinimumCost(masterLines, sourceLines)) << context;
    }
  }
};

TEST_F(PropertyTest, RecordsReproduceTheSourceUnderEverySwitchThatIgnoresNothing) {
  const std::vector<Strings> combinations = {
      {}, {"-d"}, {"-H"}, {"-d", "-H"}, {"--horizon-lines=1"}, {"--horizon-lines=3", "-d"}, {"-a"}};
  RandomPairs random(1234);
  for (int i = 0; i < 400 && !HasFailure(); ++i) {
    const auto [master, source] = random.Pair(i % 10 == 0 ? 120 : 25);
    for (const Strings& switches : combinations) CheckPair(master, source, switches, false);
  }
}

TEST_F(PropertyTest, WithoutDiscardsAndHeuristicTheScriptIsShortest) {
  RandomPairs random(98765);
  for (int i = 0; i < 600 && !HasFailure(); ++i) {
    const auto [master, source] = random.Pair(i % 10 == 0 ? 150 : 30);
    CheckPair(master, source, {"-d"}, true);
  }
}

TEST_F(PropertyTest, LargePairsUnderTheHeuristic) {
  // Long enough, and different enough, for boxes of more than 200 edit steps.
  RandomPairs random(4242);
  for (int i = 0; i < 6 && !HasFailure(); ++i) {
    Strings master, source;
    for (int block = 0; block < 80; ++block) {
      for (const std::string& line : random.RandomLines(random.Uniform(5, 40), 7)) master.push_back(line);
      for (const std::string& line : random.RandomLines(random.Uniform(5, 40), 7)) source.push_back(line);
      for (int k = 0; k < 30; ++k) {
        const std::string shared = "shared " + std::to_string(i) + " " + std::to_string(block) + " " + std::to_string(k);
        master.push_back(shared);
        source.push_back(shared);
      }
    }
    const std::string m = random.Content(master), s = random.Content(source);
    CheckPair(m, s, {"-H"}, false);
    CheckPair(m, s, {"-H", "-d"}, false);
    CheckPair(m, s, {}, false);
  }
}

}  // namespace
}  // namespace lindrel::engine
