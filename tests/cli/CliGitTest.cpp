// git as a client of the command line: `lindrel git-diff` as its external diff and the
// desktop program (a stand-in script here) as its difftool, set up with the configuration
// lines the README gives, in a scratch repository. HOME points into the test's directory
// and GIT_CONFIG_NOSYSTEM is set, so no configuration of the machine or the user is read.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TestConfig.h"
#include "tests/cli/CliRunner.h"
#include "tests/support/TempEnvironment.h"

namespace lindrel::testing {
namespace {

namespace fs = std::filesystem;

// The `git config` lines of the README's section on the command line.
std::vector<std::string> ReadmeGitConfiguration() {
  const std::string readme = TempEnvironment::Read(fs::path(LINDREL_SOURCE_DIR) / "README.md");
  const std::size_t start = readme.find("## The command line");
  const std::size_t end = readme.find("\n## ", start + 1);
  std::vector<std::string> lines;
  if (start == std::string::npos) return lines;
  const std::string section = readme.substr(start, end - start);
  for (std::size_t at = 0; at < section.size();) {
    const std::size_t next = std::min(section.find('\n', at), section.size());
    const std::string line = section.substr(at, next - at);
    if (line.rfind("git config --global ", 0) == 0) lines.push_back(line);
    at = next + 1;
  }
  return lines;
}

// Stands in for the desktop program: records how it was called and what the command line
// finds between its two operands, a pair of trees or a pair of files.
constexpr const char* kStandInDemo = R"(#!/bin/sh
{
  echo "called with $# operands"
  if [ -d "$1" ]; then lindrel dirs -r --ignore-dates "$1" "$2"; else lindrel files "$1" "$2"; fi
  echo "status $?"
} >> "$DEMO_LOG" 2>&1
)";

class CliGitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (Sh("git --version").status != 0) GTEST_SKIP() << "git is not installed";
    const fs::path bin = env_.Path("bin");
    fs::create_directories(bin);
    fs::create_symlink(LINDREL_CLI_PATH, bin / "lindrel");
    env_.Write("bin/LindrelDemo", kStandInDemo);
    fs::permissions(bin / "LindrelDemo", fs::perms::owner_all);
    fs::create_directories(env_.Path("user"));
    environment_ = {"HOME=" + env_.Path("user").string(),
                    "GIT_CONFIG_NOSYSTEM=1",
                    "PATH=" + bin.string() + ":/usr/local/bin:/usr/bin:/bin",
                    "GIT_PAGER=cat",
                    "LANG=C",
                    "LINDREL_HOME=" + env_.home().string(),
                    "TMPDIR=" + env_.Path("tmp").string(),
                    "DEMO_LOG=" + env_.Path("demo.log").string()};

    const std::vector<std::string> configuration = ReadmeGitConfiguration();
    ASSERT_EQ(configuration.size(), 3u) << "the README's git configuration has changed";
    for (const std::string& line : configuration) ASSERT_EQ(Sh(line).status, 0) << line;

    env_.Write("repo/f.txt", "one\ntwo\nthree\n");
    env_.Write("repo/gone.txt", "gone\n");
    env_.Write("repo/sub/deep.txt", Numbered(1, 40));
    ASSERT_EQ(Git("init -q && git config user.email t@example.org && git config user.name T && "
                  "git add -A && git commit -qm start")
                  .status,
              0);
  }

  static std::string Numbered(int first, int last) {
    std::string text;
    for (int i = first; i <= last; ++i) text += "line " + std::to_string(i) + "\n";
    return text;
  }

  // Edits the working tree: a changed file, a changed file in a subfolder with two changes
  // far apart, a removed and an added file.
  void EditTree() {
    env_.Write("repo/f.txt", "one\nTWO\nthree\n");
    env_.Write("repo/sub/deep.txt", "line 0\n" + Numbered(1, 30) + Numbered(32, 40));
    fs::remove(env_.Path("repo/gone.txt"));
    env_.Write("repo/added.txt", "new\n");
  }

  CliRun Sh(const std::string& command) {
    std::vector<char*> envp;
    for (std::string& variable : environment_) envp.push_back(variable.data());
    envp.push_back(nullptr);
    return RunCaptured(env_, {"/bin/sh", "-c", command},
                       environment_.empty() ? nullptr : envp.data());
  }
  CliRun Git(const std::string& arguments) {
    return Sh("cd '" + env_.Path("repo").string() + "' && git " + arguments);
  }

  TempEnvironment env_;
  std::vector<std::string> environment_;
};

TEST_F(CliGitTest, ExternalDiffListsChangedAddedAndRemovedFilesThatGitApplies) {
  EditTree();
  ASSERT_EQ(Git("add -A").status, 0);
  const CliRun diff = Git("diff --cached");
  // Any status but 0 would make git stop at the first file that differs.
  ASSERT_EQ(diff.status, 0) << diff.err;
  for (const char* part : {"--- /dev/null\n+++ b/added.txt\n@@ -0,0 +1 @@\n+new\n",
                           "--- a/f.txt\n+++ b/f.txt\n@@ -1,3 +1,3 @@\n one\n-two\n+TWO\n three\n",
                           "--- a/gone.txt\n+++ /dev/null\n@@ -1 +0,0 @@\n-gone\n",
                           "--- a/sub/deep.txt\n+++ b/sub/deep.txt\n@@ -1,3 +1,4 @@\n+line 0\n",
                           "@@ -28,7 +29,6 @@\n line 28\n line 29\n line 30\n-line 31\n"}) {
    EXPECT_TRUE(Contains(diff.out, part)) << part << "\n---- got:\n" << diff.out;
  }

  // The listing takes the tree from the commit to the edited one.
  env_.Write("changes.diff", diff.out);
  ASSERT_EQ(Git("reset -q --hard").status, 0);
  ASSERT_TRUE(fs::exists(env_.Path("repo/gone.txt")));
  const CliRun applied = Git("apply '" + env_.Path("changes.diff").string() + "'");
  ASSERT_EQ(applied.status, 0) << applied.err;
  EXPECT_EQ(TempEnvironment::Read(env_.Path("repo/f.txt")), "one\nTWO\nthree\n");
  EXPECT_EQ(TempEnvironment::Read(env_.Path("repo/sub/deep.txt")),
            "line 0\n" + Numbered(1, 30) + Numbered(32, 40));
  EXPECT_EQ(TempEnvironment::Read(env_.Path("repo/added.txt")), "new\n");
  EXPECT_FALSE(fs::exists(env_.Path("repo/gone.txt")));

  // The environment variable, here with an option, wins over the setting.
  const CliRun narrow = Sh("cd '" + env_.Path("repo").string() +
                           "' && GIT_EXTERNAL_DIFF='lindrel git-diff -U 0' git diff -- f.txt");
  EXPECT_EQ(narrow.status, 0) << narrow.err;
  EXPECT_EQ(narrow.out, "--- a/f.txt\n+++ b/f.txt\n@@ -2 +2 @@\n-two\n+TWO\n");
}

TEST_F(CliGitTest, RenamesAndConflictsGetGitsOtherArgumentCounts) {
  ASSERT_EQ(Git("mv sub/deep.txt moved.txt").status, 0);
  env_.Write("repo/moved.txt", Numbered(1, 41));
  ASSERT_EQ(Git("add -A && git commit -qm move").status, 0);
  const CliRun renamed = Git("show --ext-diff -M --format= HEAD");
  ASSERT_EQ(renamed.status, 0) << renamed.err;
  EXPECT_TRUE(Contains(renamed.out, "rename from sub/deep.txt\nrename to moved.txt\n"))
      << renamed.out;
  EXPECT_TRUE(Contains(renamed.out, "--- a/sub/deep.txt\n+++ b/moved.txt\n@@ -38,3 +38,4 @@\n"))
      << renamed.out;

  // Both branches change the same line: the merge leaves f.txt with conflicts.
  ASSERT_EQ(Git("checkout -qb other && echo left > f.txt && git commit -qam left && "
                "git checkout -q - && echo right > f.txt && git commit -qam right")
                .status,
            0);
  EXPECT_NE(Git("merge -q other").status, 0);
  // Against the index git has only the path to pass.
  const CliRun conflicted = Git("diff --cached");
  EXPECT_EQ(conflicted.status, 0) << conflicted.err;
  EXPECT_TRUE(Contains(conflicted.out, "* Unmerged path f.txt\n")) << conflicted.out;
}

TEST_F(CliGitTest, DifftoolHandsTheProgramFilesAndTrees) {
  EditTree();
  // One changed file: the program gets the committed text first, the edited one second.
  const CliRun file = Git("difftool -y -- f.txt");
  ASSERT_EQ(file.status, 0) << file.err;
  EXPECT_EQ(TempEnvironment::Read(env_.Path("demo.log")),
            "called with 2 operands\n2c2\n< two\n---\n> TWO\nstatus 1\n");

  // Both trees at once; the edit in the subfolder is only found by looking into it.
  fs::remove(env_.Path("demo.log"));
  ASSERT_EQ(Git("add -A").status, 0);
  const CliRun trees = Git("difftool -y --dir-diff --cached");
  ASSERT_EQ(trees.status, 0) << trees.err;
  const std::string log = TempEnvironment::Read(env_.Path("demo.log"));
  EXPECT_EQ(log.rfind("called with 2 operands\n", 0), 0u) << log;
  for (const char* line : {"source-only  added.txt\n", "differs      f.txt  (content)\n",
                           "master-only  gone.txt\n", "differs      sub/deep.txt  (content"}) {
    EXPECT_TRUE(Contains(log, line)) << line << "\n---- log:\n" << log;
  }
  EXPECT_TRUE(Contains(log, "status 1\n")) << log;
}

}  // namespace
}  // namespace lindrel::testing
