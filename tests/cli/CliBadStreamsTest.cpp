// Bad-input catalogue, continued: reports and exports aimed at the command's own output
// streams, and combinations of options that cannot all be honoured. A stream keeps
// everything it held; an impossible request is refused before anything is compared.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <string>
#include <vector>

#include "tests/cli/CliRunner.h"
#include "tests/support/TempEnvironment.h"

namespace lindrel::testing {
namespace {

// Runs the binary with its output and error streams opened as a shell's ">" (O_TRUNC) or
// ">>" (O_APPEND) would.
int RunWithStreams(const std::vector<std::string>& args, const StreamTarget& out,
                   const StreamTarget& err) {
  std::vector<std::string> argv{LINDREL_CLI_PATH};
  argv.insert(argv.end(), args.begin(), args.end());
  return SpawnAndWait(std::move(argv), out, err);
}

class CliBadStreamsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    master_ = env_.Write("m/a.txt", "one\ntwo\n").string();
    source_ = env_.Write("s/a.txt", "one\nTWO\n").string();
  }

  TempEnvironment env_;
  std::string master_, source_;
};

TEST_F(CliBadStreamsTest, AReportOnAStreamIsWrittenThroughAndKeepsWhatTheStreamHeld) {
  const std::string log = env_.Path("log").string();
  const std::string m = env_.Path("m").string(), s = env_.Path("s").string();
  struct Case {
    std::vector<std::string> args;
    bool onError;  // the target is the error stream
    const char* inReport;
  } cases[] = {
      {{"files", "--report", "/dev/stdout", "--report-format", "text", master_, source_},
       false,
       "Change at line (2)"},
      {{"files", "--report", "/dev/stderr", "--report-format", "csv", master_, source_}, true, ","},
      {{"files", "--report", "/proc/self/fd/1", master_, source_}, false, "<td"},
      {{"files", "--report", log, "--report-format", "text", master_, source_},
       false,
       "Change at line (2)"},
      {{"dirs", "--tab", "/dev/stdout", m, s}, false, "Record\tFileName\t"},
  };
  for (const Case& c : cases) {
    const std::string what = c.args[1] + " " + c.args[2];
    env_.Write("log", "kept\n");
    const std::string other = env_.Path("other").string();
    const int status = c.onError ? RunWithStreams(c.args, {other, O_TRUNC}, {log, O_APPEND})
                                 : RunWithStreams(c.args, {log, O_APPEND}, {other, O_TRUNC});
    EXPECT_EQ(status, 1) << what << "\n" << TempEnvironment::Read(c.onError ? other : log);
    const std::string written = TempEnvironment::Read(log);
    EXPECT_EQ(written.rfind("kept\n", 0), 0u) << what << "\n" << written;
    EXPECT_TRUE(Contains(written, c.inReport)) << what << "\n" << written;
  }
  // A stream that truncated its file at the start still keeps what the command wrote to
  // it before the report: the listing comes first.
  env_.Write("log", "old\n");
  const std::string err = env_.Path("err").string();
  ASSERT_EQ(RunWithStreams(
                {"files", "--report", "/dev/stdout", "--report-format", "text", master_, source_},
                {log, O_TRUNC}, {err, O_TRUNC}),
            1);
  const std::string written = TempEnvironment::Read(log);
  EXPECT_EQ(written.rfind("2c2\n< two\n---\n> TWO\n", 0), 0u) << written;
  EXPECT_TRUE(Contains(written, "Change at line (2)")) << written;
  EXPECT_FALSE(Contains(written, "old\n")) << written;
}

TEST_F(CliBadStreamsTest, ImpossibleCombinationsAreRefusedBeforeComparing) {
  const std::string m = env_.Path("m").string(), s = env_.Path("s").string();
  struct Case {
    std::vector<std::string> args;
    std::string inErr;
  } cases[] = {
      {{"files", "--report", "", master_, source_}, "lindrel: --report: the path is empty\n"},
      {{"dirs", "--tab", "", m, s}, "lindrel: --tab: the path is empty\n"},
      {{"files", "--format", "json", "--report", "/dev/stdout", master_, source_},
       "lindrel: --report /dev/stdout: standard output already carries the JSON output; write to a "
       "file instead\n"},
      {{"files", "--format", "json", "--report", "/proc/self/fd/1", master_, source_},
       "lindrel: --report /proc/self/fd/1: standard output already carries the JSON output; write "
       "to a file instead\n"},
      {{"dirs", "--format", "json", "--tab", "/dev/fd/1", m, s},
       "lindrel: --tab /dev/fd/1: standard output already carries the JSON output; write to a file "
       "instead\n"},
  };
  for (const Case& c : cases) {
    const CliRun run = RunLindrel(env_, c.args);
    const std::string what = c.args[1] + " " + c.args[2] + " " + c.args[3];
    EXPECT_EQ(run.status, 2) << what;
    EXPECT_TRUE(Contains(run.err, c.inErr)) << what << "\n" << run.err;
    // Refused before the comparison: nothing was printed.
    EXPECT_EQ(run.out, "") << what;
  }
  // The same report beside a listing is no contradiction.
  const CliRun listing = RunLindrel(
      env_, {"files", "--report", "/dev/stdout", "--report-format", "tab", master_, source_});
  EXPECT_EQ(listing.status, 1) << listing.err;
  EXPECT_TRUE(Contains(listing.out, "2c2\n")) << listing.out;
}

}  // namespace
}  // namespace lindrel::testing
