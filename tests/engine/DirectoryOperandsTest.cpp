#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/engine/EngineTestSupport.h"

namespace lindrel::engine {
namespace {

using namespace testing;

class DirectoryOperandsTest : public EngineTest {
 protected:
  std::string Dir(const std::string& name) {
    std::filesystem::create_directories(env_.Path(name));
    return env_.Path(name).string();
  }
  std::string File(const std::string& name, const std::string& content) {
    return env_.Write(name, content).string();
  }
  void Link(const std::string& name, const std::string& target) {
    std::filesystem::create_symlink(env_.Path(target), env_.Path(name));
  }
};

TEST_F(DirectoryOperandsTest, EveryNameOnceInByteOrderRecordsOfFilePairsInOneSink) {
  const std::string m = Dir("m"), s = Dir("s");
  File("m/b.txt", Lines({"1", "2", "3"}));
  File("s/b.txt", Lines({"1", "two", "3"}));
  File("m/a.txt", Lines({"x"}));
  File("s/a.txt", Lines({"x", "y"}));
  File("m/A.TXT", "x\n");  // letter case makes a different name
  Dir("m/sub");
  Dir("s/sub");
  Dir("m/mixed");
  File("s/mixed", "");
  File("m/.hidden", "1\n");
  File("s/.hidden", "2\n");
  // More entries than a fixed-size listing would hold; only the last pair differs.
  for (int i = 0; i < 1100; ++i) {
    const std::string name = std::to_string(10000 + i);
    File("m/" + name, "same\n");
    File("s/" + name, i == 1099 ? "other\n" : "same\n");
  }
  MessageCapture capture;
  const Outcome outcome = RunPaths(m + "/", s);  // a trailing "/" joins without doubling
  EXPECT_EQ(outcome.result, 1);
  EXPECT_EQ(outcome.records, (Records{R('c', 1, 1, 1, 1), R('a', 1, 1, 2, 2), R('c', 2, 2, 2, 2)}));
  EXPECT_EQ(capture.messages(),
            (Strings{std::string("Only in ") + m + "/: A.TXT\n",
                     std::string("File ") + m + "/mixed is a directory while file " + s +
                         "/mixed is a regular empty file\n",
                     std::string("Common subdirectories: ") + m + "/sub and " + s + "/sub\n"}));
}

TEST_F(DirectoryOperandsTest, IdenticalOrEmptyDirectoriesAreTheSame) {
  EXPECT_EQ(RunPaths(Dir("e1"), Dir("e2")).result, 0);
  Dir("m/sub");
  Dir("s/sub");
  File("m/f", "same\n");
  File("s/f", "same\n");
  EXPECT_EQ(RunPaths(env_.Path("m").string(), env_.Path("s").string()).result, 0);
}

TEST_F(DirectoryOperandsTest, TroubleWithOneNameStillComparesTheOthers) {
  const std::string m = Dir("m"), s = Dir("s");
  File("m/f", "a\n");
  File("s/f", "b\n");
  Link("m/dangling", "nowhere");
  File("s/dangling", "x\n");
  Link("m/loop", "m/loop");
  File("s/loop", "x\n");
  const Outcome outcome = RunPaths(m, s);
  EXPECT_EQ(outcome.result, 2);
  EXPECT_EQ(outcome.records, (Records{R('c', 1, 1, 1, 1)}));
  Link("loop", "loop");
  EXPECT_EQ(RunPaths(env_.Path("loop").string(), File("f", "x\n")).result, 2);
}

TEST_F(DirectoryOperandsTest, DirectoryAgainstFileLooksTheNameUp) {
  const std::string m = Dir("m");
  File("m/notes.txt", Lines({"a", "b"}));
  const std::string source = File("elsewhere/notes.txt", Lines({"a", "c"}));
  EXPECT_EQ(RunPaths(m, source).records, (Records{R('c', 2, 2, 2, 2)}));
  EXPECT_EQ(RunPaths(source, m).records, (Records{R('c', 2, 2, 2, 2)}));
  Dir("m/inner");
  EXPECT_EQ(RunPaths(m, File("elsewhere/inner", "x\n")).result, 1);  // a directory there

  MessageCapture capture;
  EXPECT_EQ(RunPaths(m, File("elsewhere/absent.txt", "a\n")).result, 2);
  EXPECT_EQ(RunPaths(m, "-").result, 2);
  EXPECT_EQ(capture.messages(), (Strings{m + "/absent.txt", "can't compare - to a directory"}));
}

}  // namespace
}  // namespace lindrel::engine
