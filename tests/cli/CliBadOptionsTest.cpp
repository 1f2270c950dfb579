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

TEST_F(CliBadOptionsTest, ListingsAndGitRequestsThatCannotBeHonoured) {
  const std::string m = env_.Path("m").string(), s = env_.Path("s").string();
  struct Case {
    std::vector<std::string> args;
    std::string inErr;
  } cases[] = {
      {{"files", "-U", "-1", master_, source_},
       "lindrel: --unified: expected a whole number from 0 to 2147483647\n"},
      {{"files", "-U", "three", master_, source_}, "lindrel: --unified: expected a whole number"},
      {{"files", "--unified", "", master_, source_}, "lindrel: --unified: expected a whole number"},
      {{"files", "-U", "2x", master_, source_}, "lindrel: --unified: expected a whole number"},
      {{"files", "--label", "a", "--label", "b", "--label", "c", "-u", master_, source_},
       "lindrel: --label given 3 times; it names MASTER, then SOURCE\n"},
      {{"files", "-u", "--format", "json", master_, source_},
       "lindrel: the unified listing (-u, -U) cannot be combined with --format json\n"},
      {{"files", "-U", "1", "--format", "records", master_, source_}, "cannot be combined"},
      {{"files", "--color=sometimes", master_, source_}, "Usage: lindrel files"},
      {{"files", "-", "-"},
       "lindrel: - and - both name standard input, which can be read only once\n"},
      {{"files", "-", m}, "lindrel: -: a stream cannot be compared with the directory " + m + "\n"},
      {{"git-diff"}, "lindrel git-diff: expected the 7 arguments git passes (PATH OLD-FILE"},
      {{"git-diff", "a.txt", master_, "0", "100644", source_, "0"}, "got 6\n"},
      {{"git-diff", "a.txt", master_, "0", "100644", source_, "0", "100644", "x"}, "got 8\n"},
      {{"git-diff", "-U", "-2", "a.txt", master_, "0", "100644", source_, "0", "100644"},
       "--unified: expected a whole number"},
      {{"dirs", "-q", "--format", "json", m, s},
       "lindrel: -q prints no records; it cannot be combined with --format json\n"},
      {{"dirs", "--exclude", "", m, s}, "lindrel: --exclude '': a pattern is matched against"},
      {{"dirs", "-x", "sub/a.txt", m, s}, "lindrel: --exclude 'sub/a.txt': a pattern"},
  };
  for (const Case& c : cases) {
    std::string what;
    for (const std::string& a : c.args) what += a + " ";
    const CliRun run = Run(c.args);
    EXPECT_EQ(run.status, 2) << what;
    EXPECT_TRUE(Contains(run.err, c.inErr)) << what << "\n" << run.err;
    EXPECT_EQ(run.out, "") << what;
  }
  // Standard input under two names is still read only once.
  const CliRun twice = RunCaptured(
      env_, {"/bin/sh", "-c",
             "printf 'x\\n' | '" + std::string(LINDREL_CLI_PATH) + "' files /dev/stdin -"});
  EXPECT_EQ(twice.status, 2);
  EXPECT_EQ(twice.err,
            "lindrel: /dev/stdin and - both name standard input, which can be read only once\n");
  EXPECT_EQ(twice.out, "");

  // The same requests within bounds are honoured.
  EXPECT_EQ(Run({"files", "-U", "0", "--label", "a", "--label", "b", master_, source_}).status, 1);
  EXPECT_EQ(Run({"files", "-U", "2147483647", master_, source_}).status, 1);
  EXPECT_EQ(Run({"dirs", "-x", "*.txt", m, s}).status, 0);
}

}  // namespace
}  // namespace lindrel::testing
