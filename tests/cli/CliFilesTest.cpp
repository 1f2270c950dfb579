// `lindrel files`: exit statuses, messages, the three output formats and the reports.
#include <gtest/gtest.h>

#include <string>
#include <vector>

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
      {{}, 2, "", "Usage: lindrel {files|dirs}"},
      {{"--help"}, 0, "files", ""},
      {{"files", "--help"}, 0, "--ignore-matching-lines", ""},
      {{"dirs", "--help"}, 0, "--recursive", ""},
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

}  // namespace
}  // namespace lindrel::testing
