// Lines are grouped through a hash, and only the grouping may reach the records: the
// word-at-a-time hash must give every record the byte-by-byte hash gives, under every
// switch that changes which lines are equal or which changes count.
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/LineClasses.h"
#include "tests/engine/EngineTestSupport.h"

namespace lindrel::engine {
namespace {

using namespace testing;

// Lines built from pieces of different lengths, so that equal and nearly equal lines end
// at every offset of a word, and differ in any byte of it: in case, in white space, in a
// byte far from the start.
class HashedLines {
 public:
  explicit HashedLines(unsigned seed) : random_(seed) {}

  int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

  std::string Line() {
    static const char* const kPieces[] = {"a",        "A", " ",  "\t", "word", "Word",
                                          "01234567", "_", "  ", "#",  "x y",  "\f"};
    std::string line;
    for (int n = Uniform(0, 6); n > 0; --n) line += kPieces[Uniform(0, std::size(kPieces) - 1)];
    return line;
  }

  // A copy of `line` with one byte changed, added or taken away, or the same line.
  std::string Edit(std::string line) {
    const int roll = Uniform(1, 5);
    const size_t at = line.empty() ? 0 : static_cast<size_t>(Uniform(0, line.size() - 1));
    if (roll == 1 && !line.empty()) line[at] = line[at] == 'a' ? 'A' : 'a';
    if (roll == 2) line.insert(at, 1, ' ');
    if (roll == 3 && !line.empty()) line.erase(at, 1);
    return line;
  }

  // `count` master lines drawn from `distinct` lines; of every hundred source lines about
  // `edited` are edited, added or left out.
  std::pair<std::string, std::string> Pair(int count, int distinct, int edited) {
    std::vector<std::string> pool;
    for (int i = 0; i < distinct; ++i) pool.push_back(Line() + (i % 2 ? std::to_string(i) : ""));
    std::vector<std::string> master, source;
    for (int i = 0; i < count; ++i) {
      master.push_back(pool[static_cast<size_t>(Uniform(0, distinct - 1))]);
      const int roll = Uniform(1, 100);
      if (roll > edited) {
        source.push_back(master.back());
      } else if (roll % 3 == 0) {
        source.push_back(Edit(master.back()));
      } else if (roll % 3 == 1) {
        source.push_back(Line());
      }
    }
    return {Content(master), Content(source)};
  }

  // With LF or CR LF, with or without the last line feed, sometimes ended early by byte 26.
  std::string Content(const std::vector<std::string>& lines) {
    const std::string end = Uniform(1, 4) == 1 ? "\r\n" : "\n";
    std::string text;
    for (const std::string& line : lines) text += line + end;
    if (!text.empty() && Uniform(1, 3) == 1) text.pop_back();
    if (text.size() > 4 && Uniform(1, 8) == 1) text.insert(text.size() - 3, 1, '\x1a');
    return text;
  }

 private:
  std::mt19937 random_;
};

class LineHashTest : public EngineTest {
 protected:
  void TearDown() override {
    TEST_HashLinesByteByByte(false);
    TEST_WideLineOffsets(false);
  }

  void ExpectSameRecords(const std::string& master, const std::string& source,
                         const std::vector<std::string>& switches) {
    const Outcome words = Compare(master, source, switches);
    TEST_HashLinesByteByByte(true);
    const Outcome bytes = Compare(master, source, switches);
    TEST_HashLinesByteByByte(false);
    EXPECT_EQ(words.result, bytes.result) << ::testing::PrintToString(switches);
    EXPECT_EQ(words.records, bytes.records)
        << ::testing::PrintToString(switches) << "\nmaster: " << ::testing::PrintToString(master)
        << "\nsource: " << ::testing::PrintToString(source);
  }

  const std::vector<std::vector<std::string>> switchSets_ = {
      {},           {"-i"},   {"-w"},           {"-b"}, {"-B"},      {"-i", "-w"},
      {"-i", "-b"}, {"-I^#"}, {"-B", "-Iword"}, {"-a"}, {"-d", "-H"}};
};

TEST_F(LineHashTest, WordHashGivesTheRecordsOfTheByteHash) {
  HashedLines random(2718);
  for (int i = 0; i < 150 && !HasFailure(); ++i) {
    const auto [master, source] = random.Pair(random.Uniform(0, 60), 12, 40);
    for (const auto& switches : switchSets_) ExpectSameRecords(master, source, switches);
  }
}

TEST_F(LineHashTest, LargePairsSplitOnTwoThreadsGiveTheRecordsOfTheByteHash) {
  // Past a megabyte the source is split on a second thread and both files are mapped.
  HashedLines random(31415);
  for (int i = 0; i < 2 && !HasFailure(); ++i) {
    const auto [master, source] = random.Pair(120000, 20000, 2);
    ASSERT_GT(source.size(), size_t{1} << 20);
    for (const auto& switches : {std::vector<std::string>{}, {"-i"}, {"-b"}})
      ExpectSameRecords(master, source, switches);
  }
}

// Buffers of 4 GiB and more keep line offsets and the classes' first lines in eight bytes
// instead of four; the records must not tell which.
TEST_F(LineHashTest, WideLineOffsetsGiveTheRecordsOfNarrowOnes) {
  HashedLines random(1618);
  for (int i = 0; i < 100 && !HasFailure(); ++i) {
    const auto [master, source] = random.Pair(random.Uniform(0, 60), 12, 40);
    for (const auto& switches : switchSets_) {
      const Outcome narrow = Compare(master, source, switches);
      TEST_WideLineOffsets(true);
      const Outcome wide = Compare(master, source, switches);
      TEST_WideLineOffsets(false);
      EXPECT_EQ(narrow.result, wide.result) << ::testing::PrintToString(switches);
      EXPECT_EQ(narrow.records, wide.records)
          << ::testing::PrintToString(switches) << "\nmaster: " << ::testing::PrintToString(master)
          << "\nsource: " << ::testing::PrintToString(source);
    }
  }
}

}  // namespace
}  // namespace lindrel::engine
