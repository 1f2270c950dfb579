// Bad-input catalogue, continued: option values a user can type that the comparison
// cannot honour as given. Each is refused with status 2 and a short message that names
// the option, before anything is compared; none may end in a crash or a verdict about
// files that were never looked at.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/cli/CliRunner.h"
#include "tests/support/TempEnvironment.h"

namespace lindrel::testing {
namespace {

class CliBadOptionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    master_ = env_.Write("m/a.txt", "one\ntwo\n").string();
    source_ = env_.Write("s/a.txt", "one\nTWO\n").string();
  }
  CliRun Run(const std::vector<std::string>& args) { return RunLindrel(env_, args); }

  TempEnvironment env_;
  std::string master_, source_;
};

TEST_F(CliBadOptionsTest, AHorizonThatIsNoWholeNumberGetsAShortAnswer) {
  const std::string expected =
      "lindrel: --horizon-lines: expected a whole number from 0 to 2147483647\n";
  for (const char* value :
       {"-1", "abc", "", "5 ", " 5", "1e3", "2147483648", "99999999999999999999999"}) {
    const CliRun run = Run({"files", "--horizon-lines", value, master_, source_});
    EXPECT_EQ(run.status, 2) << '"' << value << '"';
    EXPECT_EQ(run.err.substr(0, run.err.find('\n') + 1), expected) << '"' << value << '"';
    EXPECT_LT(run.err.size(), 200u) << run.err;
  }
  // Leading zeros are no octal prefix.
  for (const char* value : {"0", "3", "010", "0002147483647"}) {
    const CliRun run = Run({"files", "--horizon-lines", value, master_, source_});
    EXPECT_EQ(run.status, 1) << value << "\n" << run.err;
  }
}

TEST_F(CliBadOptionsTest, FileTypesThatCanSelectNoFileAreRefused) {
  const std::string m = env_.Path("m").string(), s = env_.Path("s").string();
  for (const char* types : {"*", "txt", "TXT;CPP", "*;?"}) {
    const CliRun run = Run({"dirs", "--types", types, m, s});
    EXPECT_EQ(run.status, 2) << types;
    EXPECT_TRUE(
        Contains(run.err, std::string("lindrel: --types '") + types + "': no file name can match"))
        << run.err;
    EXPECT_EQ(run.out, "") << types;
  }
  // Types with a dot select what they name; the files differ.
  for (const char* types : {"*.*", "*.txt", ".TXT", "*.doc;*.txt"}) {
    const CliRun run = Run({"dirs", "--types", types, m, s});
    EXPECT_EQ(run.status, 1) << types << "\n" << run.err;
    EXPECT_TRUE(Contains(run.out, "a.txt")) << types << "\n" << run.out;
  }
}

TEST_F(CliBadOptionsTest, APatternWithABackReferenceIsRefusedNotRun) {
  // On a long line the library's back-reference matcher grows until the process dies;
  // the refusal comes before any line is read.
  for (const char* pattern : {"\\(.*\\)\\1", "\\(a*\\)*\\1b", "^\\(x\\)[0-9]\\1"}) {
    const CliRun run = Run({"files", "-I", pattern, master_, source_});
    EXPECT_EQ(run.status, 2) << pattern;
    EXPECT_TRUE(Contains(run.err, std::string("lindrel: Invalid Search String:  ") + pattern +
                                      " (back-references are not supported)\n"))
        << run.err;
    EXPECT_EQ(run.out, "") << pattern;
  }
  // A backslash and a digit inside a bracket list are two ordinary characters.
  const CliRun bracket = Run({"files", "-I", "^[\\1]", master_, source_});
  EXPECT_EQ(bracket.status, 1) << bracket.err;
  EXPECT_EQ(bracket.err, "");
}

}  // namespace
}  // namespace lindrel::testing
