// `lindrel dirs`: the table, its filters, JSON, the tab export and the exit statuses.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliApp.h"
#include "tests/cli/CliRunner.h"
#include "tests/support/TempEnvironment.h"

namespace lindrel::testing {
namespace {

class CliDirsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    env_.Write("m/a.txt", "same\n");
    env_.Write("m/b.txt", "old\n");
    env_.Write("m/Only.txt", "only here\n");
    env_.Write("m/sub/x.txt", "1\n");
    env_.Write("m/gone/g.txt", "g\n");
    env_.Write("s/a.txt", "same\n");
    env_.Write("s/B.TXT", "new content\n");  // names match without regard to case
    env_.Write("s/src-only.txt", "new\n");
    env_.Write("s/sub/x.txt", "2\n");
    env_.Write("s/new/n.txt", "n\n");
    master_ = env_.Path("m").string();
    source_ = env_.Path("s").string();
  }
  CliRun Run(std::vector<std::string> options) {
    std::vector<std::string> args{"dirs", master_, source_, "--ignore-dates"};
    args.insert(args.end(), options.begin(), options.end());
    return RunLindrel(env_, args);
  }

  TempEnvironment env_;
  std::string master_, source_;
};

TEST_F(CliDirsTest, TableShowsOneLinePerRecordUnderEachFilter) {
  struct Case {
    std::vector<std::string> options;
    std::string table;
  } cases[] = {
      {{"-r"},
       "same         a.txt\n"
       "differs      b.txt  (content, master smaller)\n"
       "master-only  Only.txt\n"
       "source-only  src-only.txt\n"
       "master-only  gone/\n"
       "dir          sub/\n"
       "differs      sub/x.txt  (content)\n"
       "source-only  new/\n"},
      {{},  // not recursive: subdirectories are listed, not entered
       "same         a.txt\n"
       "differs      b.txt  (content, master smaller)\n"
       "master-only  Only.txt\n"
       "source-only  src-only.txt\n"
       "master-only  gone/\n"
       "dir          sub/\n"
       "source-only  new/\n"},
      {{"-r", "--no-content"},
       "same         a.txt\n"
       "differs      b.txt  (master smaller)\n"
       "master-only  Only.txt\n"
       "source-only  src-only.txt\n"
       "master-only  gone/\n"
       "dir          sub/\n"
       "same         sub/x.txt\n"
       "source-only  new/\n"},
      {{"-r", "--hide-same", "--hide-only-in-master", "--hide-only-in-source"},
       "differs      b.txt  (content, master smaller)\n"
       "master-only  gone/\n"  // directories only in master are always listed
       "dir          sub/\n"
       "differs      sub/x.txt  (content)\n"
       "source-only  new/\n"},
      {{"--recursive", "--hide-different", "--types", "*.TXT;*.md"},
       "same         a.txt\n"
       "master-only  Only.txt\n"
       "source-only  src-only.txt\n"
       "master-only  gone/\n"
       "dir          sub/\n"
       "source-only  new/\n"},
      {{"-r", "--types", "*.md"},
       "master-only  gone/\n"
       "dir          sub/\n"
       "source-only  new/\n"},
  };
  for (const Case& c : cases) {
    std::string line;
    for (const std::string& o : c.options) line += o + " ";
    const CliRun run = Run(c.options);
    EXPECT_EQ(run.status, 1) << line << run.err;
    EXPECT_EQ(run.out, c.table) << line;
    EXPECT_EQ(run.err, "") << line;  // no progress line when stderr is not a terminal
  }
}

TEST_F(CliDirsTest, ExitStatus) {
  env_.Write("copy/a.txt", "same\n");
  env_.Write("copy/sub/x.txt", "1\n");
  env_.Write("orig/a.txt", "same\n");
  env_.Write("orig/sub/x.txt", "1\n");
  const std::string copy = env_.Path("copy").string();
  const std::string orig = env_.Path("orig").string();
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string inErr;
  } cases[] = {
      {{"dirs", "-r", "--ignore-dates", orig, copy}, 0, ""},
      {{"dirs", "-r", "--ignore-dates", "--throttle", "--priority", "4", orig, copy}, 0, ""},
      {{"dirs", "-r", "--ignore-dates", master_, source_}, 1, ""},
      {{"dirs", env_.Path("none").string(), copy},
       2,
       "lindrel: " + env_.Path("none").string() + ": No such file or directory\n"},
      {{"dirs", orig, env_.Path("orig/a.txt").string()}, 2, ": Not a directory\n"},
      {{"dirs", orig}, 2, "Usage: lindrel dirs"},
      {{"dirs", "--format", "xml", orig, copy}, 2, "Usage: lindrel dirs"},
      {{"dirs", "--tab", env_.Path("no/dir/x.tab").string(), orig, copy},
       2,
       "lindrel: Unable to open file:  " + env_.Path("no/dir/x.tab").string() + "\n"},
  };
  for (const Case& c : cases) {
    const CliRun run = RunLindrel(env_, c.args);
    EXPECT_EQ(run.status, c.status) << c.args[1] << " " << run.err;
    if (c.inErr.empty())
      EXPECT_EQ(run.err, "");
    else
      EXPECT_TRUE(Contains(run.err, c.inErr)) << run.err;
  }

  // Dates count unless ignored: an older master file differs.
  std::filesystem::last_write_time(
      env_.Path("orig/a.txt"),
      std::filesystem::last_write_time(env_.Path("copy/a.txt")) - std::chrono::hours(1));
  const CliRun dated = RunLindrel(env_, {"dirs", orig, copy});
  EXPECT_EQ(dated.status, 1);
  EXPECT_TRUE(Contains(dated.out, "differs      a.txt  (master older)\n")) << dated.out;
}

TEST_F(CliDirsTest, JsonAndTabExportCarryEveryRecord) {
  const std::string tab = env_.Path("records.tab").string();
  const CliRun run = Run({"-r", "--format", "json", "--tab", tab});
  EXPECT_EQ(run.status, 1) << run.err;
  for (const std::string& part :
       {std::string("\"master\": \"") + master_ + "\"", std::string("\"count\": 9"),
        std::string("{\"index\": 0, \"status\": \"root\", \"path\": \"\", \"fileName\": \"\", "
                    "\"dirMaster\": \"") +
            master_ + "/\"",
        std::string("{\"index\": 2, \"status\": \"differs\", \"path\": \"b.txt\", \"fileName\": "
                    "\"b.txt\""),
        std::string("\"sizeDifferent\": -1, \"dateDifferent\": 0, \"contentDifferent\": 1}"),
        std::string("{\"index\": 8, \"status\": \"source-only\", \"path\": \"new/\", \"fileName\": "
                    "\"new\", \"dirMaster\": \"\""),
        std::string("\"elapsedMs\": ")}) {
    EXPECT_TRUE(Contains(run.out, part)) << part << "\n" << run.out;
  }
  EXPECT_EQ(run.out.front(), '{');
  EXPECT_EQ(run.out.substr(run.out.size() - 2), "}\n");

  const std::string exported = TempEnvironment::Read(tab);
  EXPECT_EQ(exported.rfind("Record\tFileName\tDirMaster\tDirSource\tIsFile\t", 0), 0u);
  EXPECT_EQ(std::count(exported.begin(), exported.end(), '\n'), 10);  // heading + 9 records
  EXPECT_TRUE(Contains(exported, "\n2\tb.txt\t")) << exported;
}

TEST_F(CliDirsTest, OddNamesStayOnOneLine) {
  env_.Write("m/line\nbreak.txt", "x\n");
  env_.Write("m/back\\slash.txt", "x\n");
  const CliRun run = Run({"--hide-same", "--hide-different", "--hide-only-in-source"});
  EXPECT_TRUE(Contains(run.out, "master-only  line\\nbreak.txt\n")) << run.out;
  EXPECT_TRUE(Contains(run.out, "master-only  back\\\\slash.txt\n")) << run.out;
  const CliRun json = Run({"--format", "json"});
  EXPECT_TRUE(Contains(json.out, "\"path\": \"line\\nbreak.txt\"")) << json.out;

  // The tab export: one line per record, names escaped as in the table.
  env_.Write("m/tab\tname.txt", "x\n");
  const std::string tab = env_.Path("odd.tab").string();
  const CliRun exported =
      Run({"--hide-same", "--hide-different", "--hide-only-in-source", "--tab", tab});
  EXPECT_EQ(exported.status, 1) << exported.err;
  const std::string text = TempEnvironment::Read(tab);
  EXPECT_TRUE(Contains(text, "\tline\\nbreak.txt\t")) << text;
  EXPECT_TRUE(Contains(text, "\tback\\\\slash.txt\t")) << text;
  EXPECT_TRUE(Contains(text, "\ttab\\tname.txt\t")) << text;
  // Every line is one whole record: ten columns.
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find('\n', start);
    EXPECT_EQ(std::count(text.begin() + start, text.begin() + end, '\t'), 9)
        << text.substr(start, end - start);
    start = end + 1;
  }
}

TEST_F(CliDirsTest, CurrentDirectoryAsRoot) {
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(env_.Path("m"));
  const CliRun run = RunLindrel(env_, {"dirs", "-r", "--ignore-dates", "--hide-same", ".", "../s"});
  std::filesystem::current_path(previous);
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_TRUE(Contains(run.out, "dir          sub/\n")) << run.out;
  EXPECT_TRUE(Contains(run.out, "differs      sub/x.txt  (content)\n")) << run.out;
}

TEST_F(CliDirsTest, UnreadableFileIsTrouble) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
  std::filesystem::permissions(env_.Path("s/a.txt"), std::filesystem::perms::none);
  const CliRun run = Run({});
  EXPECT_EQ(run.status, 2);
  EXPECT_TRUE(Contains(run.out, "unreadable   a.txt\n")) << run.out;
  EXPECT_TRUE(Contains(run.err, "lindrel: a.txt: cannot be read")) << run.err;
}

TEST_F(CliDirsTest, ProgressLineOnlyOnATerminal) {
  // In-process, with a console that claims its error stream is a terminal.
  std::ostringstream out, err;
  cli::Console console{out, err, true};
  const std::vector<std::string> args{"lindrel", "dirs", "-r", "--ignore-dates", master_, source_};
  std::vector<const char*> argv;
  for (const std::string& a : args) argv.push_back(a.c_str());
  EXPECT_EQ(cli::RunCli(static_cast<int>(argv.size()), argv.data(), console), 1);
  EXPECT_TRUE(Contains(err.str(), "lindrel: ")) << err.str();
  EXPECT_TRUE(Contains(err.str(), " entries, ")) << err.str();
  // Whatever was drawn has been erased again, and the table has no terminal codes.
  EXPECT_EQ(err.str().substr(err.str().size() - 4), "\r\033[K");
  EXPECT_FALSE(Contains(out.str(), "\033"));
  EXPECT_TRUE(Contains(out.str(), "differs      sub/x.txt  (content)\n")) << out.str();
}

TEST_F(CliDirsTest, ExcludedNamesAreLeftOutOnBothSides) {
  struct Case {
    std::vector<std::string> options;
    int status;
    std::string table;
  } cases[] = {
      // Names match without regard to case, as between the trees: b.txt and B.TXT go.
      {{"-r", "--exclude", "b.txt"},
       1,
       "same         a.txt\n"
       "master-only  Only.txt\n"
       "source-only  src-only.txt\n"
       "master-only  gone/\n"
       "dir          sub/\n"
       "differs      sub/x.txt  (content)\n"
       "source-only  new/\n"},
      // Directories go with what is in them.
      {{"-r", "-x", "sub", "-x", "*ONLY*"},
       1,
       "same         a.txt\n"
       "differs      b.txt  (content, master smaller)\n"
       "master-only  gone/\n"
       "source-only  new/\n"},
      {{"-r", "-x", "?.txt"},
       1,
       "master-only  Only.txt\n"
       "source-only  src-only.txt\n"
       "master-only  gone/\n"
       "dir          sub/\n"
       "source-only  new/\n"},
      {{"-r", "-x", "[bg]*", "-x", "*only*", "-x", "sub", "-x", "new"}, 0, "same         a.txt\n"},
  };
  for (const Case& c : cases) {
    std::string line;
    for (const std::string& o : c.options) line += o + " ";
    const CliRun run = Run(c.options);
    EXPECT_EQ(run.status, c.status) << line << run.err;
    EXPECT_EQ(run.out, c.table) << line;
  }
}

TEST_F(CliDirsTest, BriefSaysOnlyWhetherTheTreesDiffer) {
  const std::string tab = env_.Path("brief.tab").string();
  const CliRun differ = Run({"-r", "-q", "--tab", tab});
  EXPECT_EQ(differ.status, 1) << differ.err;
  EXPECT_EQ(differ.out, "Directories " + master_ + " and " + source_ + " differ\n");
  // The export still carries every record.
  EXPECT_TRUE(Contains(TempEnvironment::Read(tab), "\tsub/x.txt") ||
              Contains(TempEnvironment::Read(tab), "\tx.txt\t"))
      << TempEnvironment::Read(tab);

  env_.Write("same-a/x/y.txt", "1\n");
  env_.Write("same-b/x/y.txt", "1\n");
  const CliRun same =
      RunLindrel(env_, {"dirs", "-r", "-q", "--ignore-dates", env_.Path("same-a").string(),
                        env_.Path("same-b").string()});
  EXPECT_EQ(same.status, 0) << same.err;
  EXPECT_EQ(same.out, "");
  // Differences the filters hide still count, as without -q.
  const CliRun hidden =
      Run({"-r", "-q", "--hide-different", "--hide-only-in-master", "--hide-only-in-source"});
  EXPECT_EQ(
      hidden.status,
      Run({"-r", "--hide-different", "--hide-only-in-master", "--hide-only-in-source"}).status);
}

}  // namespace
}  // namespace lindrel::testing
