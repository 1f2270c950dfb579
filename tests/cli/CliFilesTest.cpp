// `lindrel files`: exit statuses, messages, the output formats, colours, streams as
// operands and the reports.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "TestConfig.h"
#include "cli/CliApp.h"
#include "tests/cli/CliRunner.h"
#include "tests/support/TempEnvironment.h"

namespace lindrel::testing {
namespace {

class CliFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    master_ = env_.Write("master.txt", "one\ntwo\nthree\nfour\nfive\nsix\n").string();
    source_ = env_.Write("source.txt", "one\nTWO\nthree\nfour\nfour and a half\nsix\n").string();
    same_ = env_.Write("same.txt", "one\ntwo\nthree\nfour\nfive\nsix\n").string();
  }
  CliRun Run(const std::vector<std::string>& args) { return RunLindrel(env_, args); }

  TempEnvironment env_;
  std::string master_, source_, same_;
};

TEST_F(CliFilesTest, ExitStatusAndMessages) {
  const std::string binaryA = env_.Write("a.bin", std::string("ab\0cd\n", 6)).string();
  const std::string binaryB = env_.Write("b.bin", std::string("ab\0ce\n", 6)).string();
  const std::string missing = env_.Path("missing.txt").string();
  const std::string dir = env_.Path("somedir").string();
  std::filesystem::create_directories(dir);
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string inOut;  // expected in stdout ("" to expect it empty)
    std::string inErr;  // expected in stderr ("" to expect it empty)
  } cases[] = {
      {{"files", master_, same_}, 0, "", ""},
      {{"files", master_, source_}, 1, "2c2\n", ""},
      {{"files", "-q", master_, same_}, 0, "", ""},
      {{"files", "-q", master_, source_},
       1,
       "Files " + master_ + " and " + source_ + " differ\n",
       ""},
      {{"files", binaryA, binaryB},
       1,
       "Binary files " + binaryA + " and " + binaryB + " differ\n",
       ""},
      {{"files", missing, source_}, 2, "", "lindrel: Invalid Master File, may not exist.\n"},
      {{"files", master_, missing}, 2, "", "lindrel: Invalid Source File, may not exist.\n"},
      {{"files", missing, source_}, 2, "", missing + ": No such file or directory"},
      {{"files", dir, dir}, 2, "", "are directories"},
      {{"files", "--no-such-option", master_, source_}, 2, "", "Usage: lindrel files"},
      {{"files", master_}, 2, "", "Usage: lindrel files"},
      {{"files", "--priority", "5", master_, source_}, 2, "", "Usage: lindrel files"},
      {{"files", "--horizon-lines", "-1", master_, source_}, 2, "", "Usage: lindrel files"},
      {{"files", "--format", "unified", master_, source_}, 2, "", "Usage: lindrel files"},
      {{"files", "--style", "all-in-one", master_, source_}, 2, "", "--report"},
      {{}, 2, "", "Usage: lindrel {files|dirs|git-diff}"},
      {{"--help"}, 0, "git-diff", ""},
      {{"files", "--help"}, 0, "--ignore-matching-lines", ""},
      {{"files", "--help"}, 0, "--unified", ""},
      {{"dirs", "--help"}, 0, "--recursive", ""},
      {{"dirs", "--help"}, 0, "--exclude", ""},
      {{"git-diff", "--help"}, 0, "GIT_EXTERNAL_DIFF", ""},
      {{"--version"}, 0, "lindrel 1.", ""},
      {{"files", "--version"}, 0, "lindrel 1.", ""},
      {{"dirs", "--version"}, 0, "lindrel 1.", ""},
  };
  for (const Case& c : cases) {
    std::string line;
    for (const std::string& a : c.args) line += a + " ";
    const CliRun run = Run(c.args);
    EXPECT_EQ(run.status, c.status) << line << "\n" << run.err;
    if (c.inOut.empty())
      EXPECT_EQ(run.out, "") << line;
    else
      EXPECT_TRUE(Contains(run.out, c.inOut)) << line << "\nstdout: " << run.out;
    if (c.inErr.empty())
      EXPECT_EQ(run.err, "") << line;
    else
      EXPECT_TRUE(Contains(run.err, c.inErr)) << line << "\nstderr: " << run.err;
  }
}

TEST_F(CliFilesTest, OutputFormatsOnKnownInputs) {
  const std::string master = env_.Write("m", "a\nb\nc\nd\ne\nf\ng").string();
  const std::string source = env_.Write("s", "new\na\nB\nc\nf\ng\nh\n").string();
  const CliRun normal = Run({"files", master, source});
  EXPECT_EQ(normal.status, 1);
  EXPECT_EQ(normal.out,
            "0a1\n> new\n"
            "2c3\n< b\n---\n> B\n"
            "4,5d4\n< d\n< e\n"
            "7c6,7\n< g\n\\ No newline at end of file\n---\n> g\n> h\n");

  const CliRun records = Run({"files", "--format", "records", master, source});
  EXPECT_EQ(records.status, 1);
  EXPECT_EQ(records.out, "a 0 0 1 1\nc 2 2 3 3\nd 4 5 4 4\nc 7 7 6 7\n");

  const CliRun json = Run({"files", "--format", "json", master, source});
  EXPECT_EQ(json.status, 1);
  for (const std::string& part :
       {"\"master\": {\"path\": \"" + master + "\", \"size\": 13, \"mtime\": \"",
        "\"source\": {\"path\": \"" + source + "\", \"size\": 16,", std::string("\"differ\": true"),
        std::string("\"recordCount\": 4"),
        std::string("{\"changeType\": 97, \"kind\": \"a\", \"masterStart\": 0, \"masterEnd\": 0, "
                    "\"sourceStart\": 1, \"sourceEnd\": 1}"),
        std::string("{\"changeType\": 100, \"kind\": \"d\", \"masterStart\": 4, \"masterEnd\": 5, "
                    "\"sourceStart\": 4, \"sourceEnd\": 4}"),
        std::string("\"counters\": {\"additions\": 1, \"changes\": 2, \"deletions\": 1}"),
        std::string("\"elapsedMs\": ")}) {
    EXPECT_TRUE(Contains(json.out, part)) << part << "\n" << json.out;
  }

  const CliRun sameJson = Run({"files", "--format", "json", master_, same_});
  EXPECT_EQ(sameJson.status, 0);
  EXPECT_TRUE(Contains(sameJson.out, "\"differ\": false")) << sameJson.out;
  EXPECT_TRUE(Contains(sameJson.out, "\"records\": []")) << sameJson.out;
}

TEST_F(CliFilesTest, OptionsReachTheComparison) {
  const std::string master =
      env_.Write("opt-m", "Alpha\nbeta gamma\n\nsame\n# note 1\nend\n").string();
  const std::string source =
      env_.Write("opt-s", "alpha\nbetagamma\nsame\n# note 2\nend\n").string();
  struct Case {
    std::vector<std::string> options;
    std::string records;
  } cases[] = {
      {{}, "c 1 3 1 2\nc 5 5 4 4\n"},
      {{"-i"}, "c 2 3 2 2\nc 5 5 4 4\n"},
      {{"--ignore-case", "--ignore-all-space"}, "d 3 3 2 2\nc 5 5 4 4\n"},
      {{"-i", "-w", "-B"}, "c 5 5 4 4\n"},
      {{"-i", "-w", "-B", "-I", "^#"}, ""},
      {{"-i", "-w", "--ignore-blank-lines", "--ignore-matching-lines", "^# note"}, ""},
      {{"-i", "-w", "-B", "-I", "^#", "-d", "-H", "--horizon-lines", "2", "--priority", "0"}, ""},
      {{"-q"}, ""},  // a quick comparison stores no records, yet the files differ
  };
  for (const Case& c : cases) {
    std::vector<std::string> args{"files", "--format", "records"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    args.push_back(master);
    args.push_back(source);
    const CliRun run = Run(args);
    std::string line;
    for (const std::string& o : c.options) line += o + " ";
    EXPECT_EQ(run.out, c.records) << line;
    const bool differ = !c.records.empty() || line == "-q ";
    EXPECT_EQ(run.status, differ ? 1 : 0) << line << run.err;
  }
}

TEST_F(CliFilesTest, IgnorePatternsThatCannotBePassedOnAreReported) {
  struct Case {
    std::vector<std::string> patterns;
    int status;
    std::string inErr;
  } cases[] = {
      // The engine would drop a pattern it cannot compile without a word.
      {{"x\\("}, 1, "lindrel: warning: ignoring invalid pattern 'x\\(': Unmatched ( or \\("},
      {{"[z"}, 1, "lindrel: warning: ignoring invalid pattern '[z'"},
      // The valid pattern still applies next to the invalid one.
      {{"x\\(", "^[Tt][Ww][Oo]$\\|^f"}, 0, "invalid pattern 'x\\('"},
      {{""}, 1, "lindrel: warning: ignoring the empty pattern"},
      // Joined with "@@", such a pattern would become two other patterns.
      {{"TWO@@five"}, 2, "contains \"@@\""},
      // Syntax 0: braces are literal characters, so this compiles and matches nothing here.
      {{"o\\{2\\}"}, 1, ""},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args{"files", "--format", "records"};
    for (const std::string& p : c.patterns) {
      args.push_back("-I");
      args.push_back(p);
    }
    args.push_back(master_);
    args.push_back(source_);
    const CliRun run = Run(args);
    EXPECT_EQ(run.status, c.status) << c.patterns[0] << "\n" << run.err;
    if (c.inErr.empty())
      EXPECT_EQ(run.err, "") << c.patterns[0];
    else
      EXPECT_TRUE(Contains(run.err, c.inErr)) << c.patterns[0] << "\nstderr: " << run.err;
  }
}

TEST_F(CliFilesTest, ReportsOfEachFormat) {
  struct Case {
    std::vector<std::string> options;
    std::string name;
    std::string signature;  // found in the report
  } cases[] = {
      {{"--report-format", "html"}, "r1.out", "<td"},
      {{"--report-format", "html", "--style", "all-in-one"}, "r2.out", "<td"},
      {{"--report-format", "text"}, "r3.out", "Change at line (2)"},
      {{"--report-format", "csv"}, "r4.out", ","},
      {{"--report-format", "tab"}, "r5.out", "\t"},
      {{}, "r6.csv", ","},  // the format follows the extension
      {{}, "r7.htm", "<td"},
  };
  for (const Case& c : cases) {
    const std::string report = env_.Path(c.name).string();
    std::vector<std::string> args{
        "files", master_, source_, "--report", report, "--title", "Report title " + c.name};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const CliRun run = Run(args);
    EXPECT_EQ(run.status, 1) << c.name << "\n" << run.err;
    EXPECT_EQ(run.err, "") << c.name;
    EXPECT_TRUE(Contains(run.out, "2c2\n")) << c.name;  // the listing is still printed
    const std::string written = TempEnvironment::Read(report);
    EXPECT_TRUE(Contains(written, c.signature)) << c.name;
    EXPECT_TRUE(Contains(written, "TWO")) << c.name;
  }
  // The HTML report carries the title; the text report is not HTML.
  EXPECT_TRUE(Contains(TempEnvironment::Read(env_.Path("r1.out")), "Report title r1.out"));
  EXPECT_FALSE(Contains(TempEnvironment::Read(env_.Path("r3.out")), "<td"));

  const std::string unwritable = env_.Path("no-such-dir/report.html").string();
  const CliRun failed = Run({"files", master_, source_, "--report", unwritable});
  EXPECT_EQ(failed.status, 2);
  EXPECT_TRUE(Contains(failed.err, "lindrel: Unable to open file:  " + unwritable + "\n"))
      << failed.err;
  EXPECT_TRUE(Contains(failed.err, "no report written to " + unwritable)) << failed.err;
}

TEST_F(CliFilesTest, StoredSettingsDoNotChangeTheResult) {
  // A state file left with every ignore switch on must not make these files look equal.
  env_.Write("home/lindrel-cli.INI",
             "[General]\nb_file_ignore_case=TRUE\nb_file_ignore_whitespace=TRUE\n"
             "b_file_quick=TRUE\nb_use_ignore_regular_expression=TRUE\n"
             "s_ignore_regular_expression=.\n");
  const CliRun run = Run({"files", "--format", "records", master_, source_});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "c 2 2 2 2\nc 5 5 5 5\n");
  // The desktop's state file is never touched.
  EXPECT_FALSE(std::filesystem::exists(env_.home() / "TVK.INI"));
}

TEST_F(CliFilesTest, OddOperands) {
  // A path beginning with "-" is a file, not a switch for the engine.
  env_.Write("-dash.txt", "one\ntwo\n");
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(env_.root());
  CliRun run = Run({"files", "--format", "records", "--", "-dash.txt", "same.txt"});
  std::filesystem::current_path(previous);
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(run.out, "a 2 2 3 6\n");

  // A directory against a file compares the file of that name inside the directory.
  env_.Write("dir/source.txt", "one\nTWO\nthree\nfour\nfour and a half\nsix\n");
  run = Run({"files", "--format", "records", env_.Path("dir").string(), source_});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "");
}

TEST_F(CliFilesTest, UnifiedListingOnKnownInputs) {
  const std::string master = env_.Write("m", "a\nb\nc\nd\ne\nf\ng").string();
  const std::string source = env_.Write("s", "new\na\nB\nc\nf\ng\nh\n").string();
  // Twenty numbered lines, changed at line 5 and at line 12 or 13: the unchanged lines
  // between are six (the contexts of three lines touch) or seven (they do not).
  std::string numbered;
  for (int i = 1; i <= 20; ++i) numbered += std::to_string(i) + "\n";
  const std::string twenty = env_.Write("twenty", numbered).string();
  std::string touching = numbered, apart = numbered;
  touching.replace(touching.find("\n12\n") + 1, 3, "twelve\n");
  touching.replace(touching.find("\n5\n") + 1, 2, "five\n");
  apart.replace(apart.find("\n13\n") + 1, 3, "thirteen\n");
  apart.replace(apart.find("\n5\n") + 1, 2, "five\n");
  const std::string touchingPath = env_.Write("touching", touching).string();
  const std::string apartPath = env_.Write("apart", apart).string();
  const std::string header = "--- old\n+++ new\n";
  struct Case {
    std::vector<std::string> options;
    std::string m, s;
    std::string listing;  // after the header
  } cases[] = {
      {{"-U", "1"},
       master,
       source,
       "@@ -1,7 +1,7 @@\n+new\n a\n-b\n+B\n c\n-d\n-e\n f\n-g\n\\ No newline at end of "
       "file\n+g\n+h\n"},
      {{"-u"},
       master,
       source,
       "@@ -1,7 +1,7 @@\n+new\n a\n-b\n+B\n c\n-d\n-e\n f\n-g\n\\ No newline at end of "
       "file\n+g\n+h\n"},
      {{"-U", "0"},
       master,
       source,
       "@@ -0,0 +1 @@\n+new\n@@ -2 +3 @@\n-b\n+B\n@@ -4,2 +4,0 @@\n-d\n-e\n"
       "@@ -7 +6,2 @@\n-g\n\\ No newline at end of file\n+g\n+h\n"},
      {{"--unified", "3"},
       twenty,
       touchingPath,
       "@@ -2,14 +2,14 @@\n 2\n 3\n 4\n-5\n+five\n 6\n 7\n 8\n 9\n 10\n 11\n-12\n+twelve\n"
       " 13\n 14\n 15\n"},
      {{"-u"},
       twenty,
       apartPath,
       "@@ -2,7 +2,7 @@\n 2\n 3\n 4\n-5\n+five\n 6\n 7\n 8\n"
       "@@ -10,7 +10,7 @@\n 10\n 11\n 12\n-13\n+thirteen\n 14\n 15\n 16\n"},
      {{"-U", "30"},
       apartPath,
       twenty,
       "@@ -1,20 +1,20 @@\n 1\n 2\n 3\n 4\n-five\n+5\n 6\n 7\n 8\n 9\n 10\n 11\n 12\n"
       "-thirteen\n+13\n 14\n 15\n 16\n 17\n 18\n 19\n 20\n"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args{"files", "--label", "old", "--label", "new"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    args.push_back(c.m);
    args.push_back(c.s);
    const CliRun run = Run(args);
    EXPECT_EQ(run.status, 1) << c.options[0] << "\n" << run.err;
    EXPECT_EQ(run.out, header + c.listing) << c.options[0];
  }

  // Without labels each header names the file and its last-write time, in local time.
  const timespec times[2] = {{1714566600, 123456789}, {1714566600, 123456789}};  // 12:30 UTC
  ASSERT_EQ(::utimensat(AT_FDCWD, master.c_str(), times, 0), 0);
  const char* savedZone = std::getenv("TZ");
  const std::string zone = savedZone ? savedZone : "";
  ::setenv("TZ", "XYZ-2", 1);  // two hours east of UTC
  const CliRun dated = Run({"files", "-U", "0", master, source});
  if (savedZone)
    ::setenv("TZ", zone.c_str(), 1);
  else
    ::unsetenv("TZ");
  EXPECT_EQ(dated.out.substr(0, dated.out.find('\n') + 1),
            "--- " + master + "\t2024-05-01 14:30:00.123456789 +0200\n");
  EXPECT_EQ(dated.out.rfind("\n+++ " + source + "\t2"), dated.out.find('\n')) << dated.out;

  // One label names only the master; identical files print nothing.
  const CliRun one = Run({"files", "-u", "--label", "x", master, source});
  EXPECT_EQ(one.out.rfind("--- x\n+++ " + source + "\t", 0), 0u) << one.out;
  const CliRun same = Run({"files", "-u", master_, same_});
  EXPECT_EQ(same.status, 0);
  EXPECT_EQ(same.out, "");
  // Labels also name the files of a brief answer.
  const CliRun brief = Run({"files", "-q", "--label", "a/x", "--label", "b/x", master_, source_});
  EXPECT_EQ(brief.out, "Files a/x and b/x differ\n");
}

// Runs the command in this process with a console that does or does not claim to be a
// terminal.
CliRun RunInProcess(const std::vector<std::string>& args, bool outIsTerminal) {
  std::ostringstream out, err;
  cli::Console console{out, err, false, outIsTerminal};
  std::vector<const char*> argv{"lindrel"};
  for (const std::string& a : args) argv.push_back(a.c_str());
  CliRun run;
  run.status = cli::RunCli(static_cast<int>(argv.size()), argv.data(), console);
  run.out = out.str();
  run.err = err.str();
  return run;
}

TEST_F(CliFilesTest, ColoursOnlyWhereAsked) {
  const std::string master = env_.Write("cm", "keep\nold\r\nlast").string();
  const std::string source = env_.Write("cs", "keep\nnew\r\nlast\n").string();
  const std::string normal =
      "2,3c2,3\n< old\r\n< last\n\\ No newline at end of file\n---\n"
      "> new\r\n> last\n";
  const std::string coloured =
      "\033[36m2,3c2,3\033[m\n\033[31m< old\r\033[m\n\033[31m< last\033[m\n"
      "\\ No newline at end of file\n---\n\033[32m> new\r\033[m\n\033[32m> last\033[m\n";
  const std::string unifiedColoured =
      "--- a\n+++ b\n\033[36m@@ -1,3 +1,3 @@\033[m\n keep\n\033[31m-old\r\033[m\n"
      "\033[31m-last\033[m\n\\ No newline at end of file\n\033[32m+new\r\033[m\n"
      "\033[32m+last\033[m\n";
  struct Case {
    std::vector<std::string> options;
    bool terminal;
    const char* noColor;  // NO_COLOR, or null to leave it unset
    std::string out;
  } cases[] = {
      {{}, true, nullptr, coloured},
      {{"--color=auto"}, false, nullptr, normal},
      {{}, true, "1", normal},
      {{}, true, "", coloured},  // empty counts as not set
      {{"--color=always"}, false, nullptr, coloured},
      {{"--color", "always"}, true, "1", coloured},
      {{"--color=never"}, true, nullptr, normal},
      {{"--color=always", "-u", "--label", "a", "--label", "b"}, false, nullptr, unifiedColoured},
  };
  for (const Case& c : cases) {
    if (c.noColor)
      ::setenv("NO_COLOR", c.noColor, 1);
    else
      ::unsetenv("NO_COLOR");
    std::vector<std::string> args{"files"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    args.push_back(master);
    args.push_back(source);
    const CliRun run = RunInProcess(args, c.terminal);
    std::string what = c.terminal ? "terminal " : "file ";
    for (const std::string& o : c.options) what += o + " ";
    EXPECT_EQ(run.status, 1) << what << run.err;
    EXPECT_EQ(run.out, c.out) << what << (c.noColor ? "NO_COLOR" : "");
  }
  ::unsetenv("NO_COLOR");
  // Formats without lines stay as they are on a terminal.
  EXPECT_EQ(
      RunInProcess({"files", "--color=always", "--format", "records", master, source}, true).out,
      "c 2 3 2 3\n");
}

TEST_F(CliFilesTest, StandardInputAndPipesAreReadAsFiles) {
  const std::string lindrel = std::string("'") + LINDREL_CLI_PATH + "'";
  const std::string m = "'" + master_ + "'", s = "'" + source_ + "'";
  const std::string records = "c 2 2 2 2\nc 5 5 5 5\n";
  struct Case {
    std::string command;
    int status;
    std::string out;
  } cases[] = {
      {"cat " + m + " | " + lindrel + " files --format records - " + s, 1, records},
      {"cat " + s + " | " + lindrel + " files --format records " + m + " /dev/stdin", 1, records},
      {"cat " + s + " | " + lindrel + " files --format records " + m + " /proc/self/fd/0", 1,
       records},
      {lindrel + " files --format records - " + s + " < " + m, 1, records},
      {"bash -c \"" + lindrel + " files --format records <(cat " + m + ") <(cat " + s + ")\"", 1,
       records},
      {"cat " + m + " | " + lindrel + " files - " + m, 0, ""},
      {"cat " + m + " | " + lindrel + " files -q - " + s, 1,
       "Files - and " + source_ + " differ\n"},
      {"printf 'one\\ntwo' | " + lindrel + " files -u --label a - " + s, 1,
       "--- a\n+++ " + source_},
  };
  for (const Case& c : cases) {
    const CliRun run = RunCaptured(env_, {"/bin/sh", "-c", c.command});
    EXPECT_EQ(run.status, c.status) << c.command << "\n" << run.err;
    EXPECT_EQ(run.out.substr(0, c.out.size()), c.out) << c.command;
  }
  // The copy stands in for the stream in the JSON output and in the headers.
  const CliRun json = RunCaptured(
      env_, {"/bin/sh", "-c", "cat " + m + " | " + lindrel + " files --format json - " + s});
  EXPECT_TRUE(Contains(json.out, "\"master\": {\"path\": \"-\", \"size\": 28,")) << json.out;
  const CliRun unified =
      RunCaptured(env_, {"/bin/sh", "-c", "cat " + m + " | " + lindrel + " files -u - " + s});
  EXPECT_EQ(unified.out.rfind("--- -\t20", 0), 0u) << unified.out;
  // No copy is left behind.
  for (const std::string& name : TempEnvironment::EntryNames(env_.Path("tmp")))
    EXPECT_EQ(name.rfind("lindrel-input-", 0), std::string::npos) << name;
}

// Every long option that --help lists is described in the man page.
TEST_F(CliFilesTest, ManPageDescribesEveryOption) {
  const std::string manPage =
      TempEnvironment::Read(std::filesystem::path(LINDREL_SOURCE_DIR) / "docs" / "lindrel.1");
  ASSERT_FALSE(manPage.empty());
  const std::regex option("--[a-z][a-z-]*");
  std::set<std::string> options;
  for (const char* command : {"files", "dirs", "git-diff"}) {
    const CliRun help = Run({command, "--help"});
    ASSERT_EQ(help.status, 0) << command;
    for (auto it = std::sregex_iterator(help.out.begin(), help.out.end(), option);
         it != std::sregex_iterator(); ++it) {
      options.insert(it->str());
    }
  }
  EXPECT_GE(options.size(), 25u);  // the help texts were read
  for (const std::string& name : options) {
    std::string roff = "\\-\\-" + name.substr(2);
    for (std::size_t at = 4; (at = roff.find('-', at)) != std::string::npos; at += 2)
      roff.replace(at, 1, "\\-");
    EXPECT_TRUE(Contains(manPage, roff)) << name << " is not in docs/lindrel.1";
  }
}

}  // namespace
}  // namespace lindrel::testing
