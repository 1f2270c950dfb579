#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/engine/EngineTestSupport.h"

namespace lindrel::engine {
namespace {

using testing::EngineTest;
using testing::Lines;
using testing::MessageCapture;
using testing::Outcome;
using testing::R;
using testing::RunPaths;
using Records = std::vector<ChangeRecord>;
using Strings = std::vector<std::string>;

class DirectoryOperandsTest : public EngineTest {
 protected:
  std::string Dir(const std::string& name) {
    const std::filesystem::path path = env_.Path(name);
    std::filesystem::create_directories(path);
    return path.string();
  }
  std::string File(const std::string& name, const std::string& content) {
    return env_.Write(name, content).string();
  }
};

TEST_F(DirectoryOperandsTest, RegularFilePairsInNameOrderIntoOneSink) {
  const std::string m = Dir("m"), s = Dir("s");
  File("m/b.txt", Lines({"1", "2", "3"}));
  File("s/b.txt", Lines({"1", "two", "3"}));
  File("m/a.txt", Lines({"x"}));
  File("s/a.txt", Lines({"x", "y"}));
  File("m/same.txt", Lines({"q"}));
  File("s/same.txt", Lines({"q"}));
  const Outcome outcome = RunPaths(m, s);
  EXPECT_EQ(outcome.result, 1);
  EXPECT_EQ(outcome.records, (Records{R('a', 1, 1, 2, 2), R('c', 2, 2, 2, 2)}));
}

TEST_F(DirectoryOperandsTest, FirstPairDiffersSecondIdentical) {
  const std::string m = Dir("m"), s = Dir("s");
  File("m/one", Lines({"a", "b", "c"}));
  File("s/one", Lines({"a", "x", "c"}));
  File("m/two", Lines({"z"}));
  File("s/two", Lines({"z"}));
  const Outcome outcome = RunPaths(m + "/", s);  // a trailing "/" joins without doubling
  EXPECT_EQ(outcome.result, 1);
  EXPECT_EQ(outcome.records, (Records{R('c', 2, 2, 2, 2)}));
}

TEST_F(DirectoryOperandsTest, NamesOnOneSideSubdirectoriesAndKinds) {
  const std::string m = Dir("m"), s = Dir("s");
  File("m/A.TXT", "x\n");
  File("s/a.txt", "x\n");
  Dir("m/sub");
  Dir("s/sub");
  Dir("m/mixed");
  File("s/mixed", "");
  File("m/.hidden", "1\n");
  File("s/.hidden", "2\n");
  MessageCapture capture;
  const Outcome outcome = RunPaths(m, s);
  EXPECT_EQ(outcome.result, 1);
  EXPECT_TRUE(outcome.records.empty());
  EXPECT_EQ(capture.messages(),
            (Strings{"Only in " + m + ": A.TXT\n", "Only in " + s + ": a.txt\n",
                     "File " + m + "/mixed is a directory while file " + s + "/mixed is a regular empty file\n",
                     "Common subdirectories: " + m + "/sub and " + s + "/sub\n"}));
}

TEST_F(DirectoryOperandsTest, EmptyAndIdenticalDirectories) {
  EXPECT_EQ(RunPaths(Dir("e1"), Dir("e2")).result, 0);
  const std::string m = Dir("m"), s = Dir("s");
  Dir("m/sub");
  Dir("s/sub");
  File("m/f", "same\n");
  File("s/f", "same\n");
  EXPECT_EQ(RunPaths(m, s).result, 0);
}

TEST_F(DirectoryOperandsTest, NoEntryLimit) {
  const std::string m = Dir("m"), s = Dir("s");
  for (int i = 0; i < 1100; ++i) {
    const std::string name = "f" + std::to_string(10000 + i);
    File("m/" + name, "same\n");
    File("s/" + name, i == 1099 ? "other\n" : "same\n");
  }
  const Outcome outcome = RunPaths(m, s);
  EXPECT_EQ(outcome.result, 1);
  EXPECT_EQ(outcome.records, (Records{R('c', 1, 1, 1, 1)}));
}

TEST_F(DirectoryOperandsTest, DirectoryAgainstFileLooksTheNameUp) {
  const std::string m = Dir("m");
  File("m/notes.txt", Lines({"a", "b"}));
  const std::string source = File("elsewhere/notes.txt", Lines({"a", "c"}));
  EXPECT_EQ(RunPaths(m, source).records, (Records{R('c', 2, 2, 2, 2)}));
  EXPECT_EQ(RunPaths(source, m).records, (Records{R('c', 2, 2, 2, 2)}));

  MessageCapture capture;
  EXPECT_EQ(RunPaths(m, File("elsewhere/absent.txt", "a\n")).result, 2);
  EXPECT_EQ(RunPaths(m, "-").result, 2);
  const Strings messages = capture.messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0], m + "/absent.txt");
  EXPECT_EQ(messages[1], "can't compare - to a directory");

  Dir("m/inner");
  File("elsewhere/inner", "x\n");
  EXPECT_EQ(RunPaths(m, env_.Path("elsewhere/inner").string()).result, 1);
}

TEST_F(DirectoryOperandsTest, TroubleInsideADirectory) {
  const std::string m = Dir("m"), s = Dir("s");
  File("m/f", "a\n");
  File("s/f", "b\n");
  std::filesystem::create_symlink(env_.Path("nowhere"), env_.Path("m/dangling"));
  File("s/dangling", "x\n");
  std::filesystem::create_symlink(env_.Path("m/loop"), env_.Path("m/loop"));
  File("s/loop", "x\n");
  const Outcome outcome = RunPaths(m, s);
  EXPECT_EQ(outcome.result, 2);
  EXPECT_EQ(outcome.records, (Records{R('c', 1, 1, 1, 1)}));  // the other pair is still compared
}

TEST_F(DirectoryOperandsTest, SymbolicLinkLoopAsOperand) {
  std::filesystem::create_symlink(env_.Path("loop"), env_.Path("loop"));
  EXPECT_EQ(RunPaths(env_.Path("loop").string(), File("f", "x\n")).result, 2);
}

}  // namespace
}  // namespace lindrel::engine
