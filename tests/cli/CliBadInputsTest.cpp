// The command line given inputs that never end, reports aimed at its own inputs, a full
// device as the export and a directory it may not read: each ends promptly with status 2,
// a message naming the culprit, and no user file changed.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliApp.h"
#include "tests/cli/CliRunner.h"
#include "tests/support/TempEnvironment.h"

namespace lindrel::testing {
namespace {

namespace fs = std::filesystem;

// Runs `argv` as the unprivileged "nobody" through setpriv, with `libraryPath` (when not
// empty) searched first for shared libraries, and captures its status and both streams.
CliRun SpawnAsNobody(const TempEnvironment& env, std::vector<std::string> argv,
                     const std::string& libraryPath) {
  argv.insert(argv.begin(),
              {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"});
  std::vector<std::string> environment;
  for (char** variable = environ; *variable != nullptr; ++variable) {
    if (std::string(*variable).rfind("LD_LIBRARY_PATH=", 0) != 0) environment.push_back(*variable);
  }
  if (!libraryPath.empty()) environment.push_back("LD_LIBRARY_PATH=" + libraryPath);
  std::vector<char*> envp;
  for (std::string& e : environment) envp.push_back(e.data());
  envp.push_back(nullptr);
  return RunCaptured(env, std::move(argv), envp.data());
}

// The program as "nobody" can run it, and where its library is then to be found.
struct UnprivilegedProgram {
  std::string path, libraryPath;
};

// Whether "nobody" can run the program and reach the test's files: a file compared with
// itself must come back the same.
bool RunsAsNobody(const TempEnvironment& env, const UnprivilegedProgram& program) {
  const std::string probe = env.Write("probe-for-nobody.txt", "probe\n").string();
  const CliRun run = SpawnAsNobody(env, {program.path, "files", probe, probe}, program.libraryPath);
  return run.status == 0 && run.out.empty() && run.err.empty();
}

// The build itself when "nobody" can run it. In a private folder (a clone under /root,
// or in any folder of mode 0700) it cannot: setpriv still starts the program, as the
// exec happens with root's rights, but the loader then cannot read the library from the
// build. A copy of both in the test's directory, which the caller opens to others, is
// run instead. Nothing when that fails too (the test's directory itself out of reach,
// say).
std::optional<UnprivilegedProgram> ProgramForNobody(const TempEnvironment& env) {
  UnprivilegedProgram program{LINDREL_CLI_PATH, ""};
  if (RunsAsNobody(env, program)) return program;
  const fs::path copies = env.Path("for-nobody");
  std::error_code error;
  fs::create_directories(copies, error);
  const fs::path library = LINDREL_LIBRARY_PATH;
  fs::copy_file(LINDREL_CLI_PATH, copies / "lindrel", error);
  fs::copy_file(library, copies / library.filename(), error);
  fs::permissions(copies,
                  fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                      fs::perms::others_read | fs::perms::others_exec,
                  error);
  program = {(copies / "lindrel").string(), copies.string()};
  if (RunsAsNobody(env, program)) return program;
  return std::nullopt;
}

// Runs the binary as the unprivileged "nobody" when the test runs as root (root reads
// every directory); as the test's own user otherwise. Nothing when no unprivileged
// process can run it.
std::optional<CliRun> RunUnprivileged(const TempEnvironment& env,
                                      const std::vector<std::string>& args) {
  if (::geteuid() != 0) return RunLindrel(env, args);
  if (::access("/usr/bin/setpriv", X_OK) != 0) return std::nullopt;
  const std::optional<UnprivilegedProgram> program = ProgramForNobody(env);
  if (!program) return std::nullopt;
  std::vector<std::string> argv{program->path};
  argv.insert(argv.end(), args.begin(), args.end());
  return SpawnAsNobody(env, argv, program->libraryPath);
}

class CliBadInputsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    file_ = env_.Write("file.txt", "one\ntwo\n").string();
    other_ = env_.Write("other.txt", "one\nTWO\n").string();
    fifo_ = env_.Path("fifo").string();
    ASSERT_EQ(::mkfifo(fifo_.c_str(), 0600), 0);
  }
  CliRun Run(const std::vector<std::string>& args) { return RunLindrel(env_, args); }

  TempEnvironment env_;
  std::string file_, other_, fifo_;
};

TEST_F(CliBadInputsTest, OperandsThatNeverEndAreRefused) {
  struct Case {
    std::vector<std::string> args;
    std::string inErr;
  } cases[] = {
      {{"files", fifo_, file_}, "lindrel: Invalid Master File, may not exist. " + fifo_ + "\n"},
      {{"files", file_, "/dev/zero"}, "lindrel: Invalid Source File, may not exist. /dev/zero\n"},
      {{"files", "--format", "json", file_, fifo_},
       "lindrel: Invalid Source File, may not exist. " + fifo_ + "\n"},
  };
  for (const Case& c : cases) {
    const CliRun run = Run(c.args);
    EXPECT_EQ(run.status, 2) << c.args[1];
    EXPECT_TRUE(Contains(run.err, c.inErr)) << run.err;
    EXPECT_EQ(run.out, "") << c.args[1];
  }
}

TEST_F(CliBadInputsTest, AReportNeverReplacesAnInput) {
  for (const char* format : {"html", "text", "csv", "tab"}) {
    const CliRun run = Run({"files", "--report", other_, "--report-format", format, file_, other_});
    EXPECT_EQ(run.status, 2) << format;
    EXPECT_TRUE(Contains(run.err, "lindrel: Unable to open file:  " + other_ + "\n")) << run.err;
    EXPECT_TRUE(Contains(run.err, "no report written to " + other_)) << run.err;
  }
  EXPECT_EQ(TempEnvironment::Read(file_), "one\ntwo\n");
  EXPECT_EQ(TempEnvironment::Read(other_), "one\nTWO\n");
}

TEST_F(CliBadInputsTest, AnExportOntoAFullDeviceIsTrouble) {
  env_.Write("m/a.txt", "a\n");
  env_.Write("s/a.txt", "a\n");
  const CliRun run =
      Run({"dirs", "--tab", "/dev/full", env_.Path("m").string(), env_.Path("s").string()});
  EXPECT_EQ(run.status, 2) << run.err;
  EXPECT_TRUE(Contains(run.err, "lindrel: Unable to open file:  /dev/full\n")) << run.err;
}

// Text mode ends the content at a byte 26; bytes that differ after it still make the
// files different, as `dirs` has always said.
TEST_F(CliBadInputsTest, FilesThatDifferOnlyAfterAByte26AreNotIdentical) {
  const std::string a = env_.Write("a.txt",
                                   "same\n\x1a"
                                   "one\n")
                            .string();
  const std::string b = env_.Write("b.txt",
                                   "same\n\x1a"
                                   "two\n")
                            .string();
  const std::string c = env_.Write("c.txt",
                                   "same\n\x1a"
                                   "one\n")
                            .string();
  const CliRun differ = Run({"files", a, b});
  EXPECT_EQ(differ.status, 1) << differ.err;
  EXPECT_EQ(differ.out, "Files " + a + " and " + b + " differ\n");
  const CliRun json = Run({"files", "--format", "json", a, b});
  EXPECT_EQ(json.status, 1);
  EXPECT_TRUE(Contains(json.out, "\"differ\": true")) << json.out;
  EXPECT_EQ(Run({"files", "-q", a, b}).status, 1);
  EXPECT_EQ(Run({"files", a, c}).status, 0);
  env_.Write("m/x.txt",
             "same\n\x1a"
             "one\n");
  env_.Write("s/x.txt",
             "same\n\x1a"
             "two\n");
  EXPECT_EQ(Run({"dirs", env_.Path("m").string(), env_.Path("s").string()}).status, 1);
}

// Read permission without search permission: the names can be listed but not examined.
TEST_F(CliBadInputsTest, ADirectoryThatCanBeListedButNotEnteredIsTrouble) {
  env_.Write("m/sub/a.txt", "a\n");
  env_.Write("s/sub/a.txt", "b\n");
  fs::permissions(env_.root(), fs::perms::owner_all | fs::perms::others_read |
                                   fs::perms::others_exec | fs::perms::group_read |
                                   fs::perms::group_exec);
  for (const char* locked : {"s/sub", "m"}) {
    fs::permissions(env_.Path(locked),
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::optional<CliRun> run =
        RunUnprivileged(env_, {"dirs", "-r", env_.Path("m").string(), env_.Path("s").string()});
    fs::permissions(env_.Path(locked), fs::perms::owner_all | fs::perms::group_read |
                                           fs::perms::group_exec | fs::perms::others_read |
                                           fs::perms::others_exec);
    if (!run) GTEST_SKIP() << "cannot run without root's permissions";
    EXPECT_EQ(run->status, 2) << locked << "\n" << run->err;
    EXPECT_TRUE(
        Contains(run->err, "lindrel: Invalid Search Path: " + env_.Path(locked).string() + "/\n"))
        << run->err;
  }
}

TEST_F(CliBadInputsTest, AnUnreadableDirectoryIsTroubleNotAnEmptyOne) {
  env_.Write("m/sub/a.txt", "a\n");
  env_.Write("s/sub/a.txt", "a\n");
  fs::permissions(env_.root(), fs::perms::owner_all | fs::perms::others_read |
                                   fs::perms::others_exec | fs::perms::group_read |
                                   fs::perms::group_exec);
  fs::permissions(env_.Path("s/sub"), fs::perms::none);
  const std::optional<CliRun> run =
      RunUnprivileged(env_, {"dirs", "-r", env_.Path("m").string(), env_.Path("s").string()});
  fs::permissions(env_.Path("s/sub"), fs::perms::owner_all);
  if (!run) GTEST_SKIP() << "no unprivileged process can run the program here";
  EXPECT_EQ(run->status, 2) << run->err;
  EXPECT_TRUE(
      Contains(run->err, "lindrel: Invalid Search Path: " + env_.Path("s/sub").string() + "/\n"))
      << run->err;
  // Its file is not listed as found on the master side only.
  EXPECT_FALSE(Contains(run->out, "master-only")) << run->out;
}

// An excluded directory is not entered: one that cannot be read is then no trouble.
TEST_F(CliBadInputsTest, AnExcludedDirectoryIsNotEntered) {
  env_.Write("m/sub/a.txt", "a\n");
  env_.Write("s/sub/a.txt", "b\n");
  env_.Write("m/top.txt", "same\n");
  env_.Write("s/top.txt", "same\n");
  fs::permissions(env_.root(), fs::perms::owner_all | fs::perms::others_read |
                                   fs::perms::others_exec | fs::perms::group_read |
                                   fs::perms::group_exec);
  fs::permissions(env_.Path("s/sub"), fs::perms::none);
  const std::string m = env_.Path("m").string(), s = env_.Path("s").string();
  const std::optional<CliRun> entered =
      RunUnprivileged(env_, {"dirs", "-r", "--ignore-dates", m, s});
  const std::optional<CliRun> excluded =
      RunUnprivileged(env_, {"dirs", "-r", "--ignore-dates", "--exclude", "SUB", m, s});
  fs::permissions(env_.Path("s/sub"), fs::perms::owner_all);
  if (!entered || !excluded) GTEST_SKIP() << "no unprivileged process can run the program here";
  EXPECT_EQ(entered->status, 2) << entered->err;
  EXPECT_EQ(excluded->status, 0) << excluded->err;
  EXPECT_EQ(excluded->err, "");
  EXPECT_EQ(excluded->out, "same         top.txt\n");
}

// Standard input is copied before anything is compared; a copy that cannot be completed
// (the disk is full) must not be compared as if it were the whole input.
TEST_F(CliBadInputsTest, StandardInputThatCannotBeStoredIsTrouble) {
  int pipeEnds[2];
  ASSERT_EQ(::pipe(pipeEnds), 0);
  const std::string input = "one\ntwo\nthree\n";
  ASSERT_EQ(::write(pipeEnds[1], input.data(), input.size()), static_cast<ssize_t>(input.size()));
  ::close(pipeEnds[1]);
  const int savedInput = ::dup(STDIN_FILENO);
  ASSERT_GE(savedInput, 0);
  ::dup2(pipeEnds[0], STDIN_FILENO);
  ::close(pipeEnds[0]);

  // No file may grow beyond 5 bytes: the copy's write fails with EFBIG, as a full disk
  // would fail it.
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const rlimit small{5, saved.rlim_max};
  void (*savedSignal)(int) = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  std::ostringstream out, err;
  cli::Console console{out, err};
  const char* argv[] = {"lindrel", "files", "-", file_.c_str()};
  const int status = cli::RunCli(4, argv, console);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, savedSignal);
  ::dup2(savedInput, STDIN_FILENO);
  ::close(savedInput);

  EXPECT_EQ(status, 2);
  EXPECT_EQ(err.str(), "lindrel: -: cannot be stored in a temporary file: File too large\n");
  EXPECT_EQ(out.str(), "");
  EXPECT_TRUE(TempEnvironment::EntryNames(env_.Path("tmp")).empty());
}

// Runs the program with the preload shim that shows `shortened` cut short to the first
// reader that opens it (the comparison), as a file an editor shortens and rewrites while
// it is compared.
CliRun RunWithFileShortened(const TempEnvironment& env, const std::string& shortened,
                            const std::vector<std::string>& args) {
  std::vector<std::string> environment;
  std::string sanitizerOptions = "verify_asan_link_order=0";  // the shim is preloaded first
  for (char** variable = environ; *variable != nullptr; ++variable) {
    const std::string entry = *variable;
    if (entry.rfind("ASAN_OPTIONS=", 0) == 0) {
      sanitizerOptions += ":" + entry.substr(13);
    } else if (entry.rfind("LD_PRELOAD=", 0) != 0) {
      environment.push_back(entry);
    }
  }
  environment.push_back("ASAN_OPTIONS=" + sanitizerOptions);
  environment.push_back(std::string("LD_PRELOAD=") + LINDREL_SHORTENED_FILE_SHIM);
  environment.push_back("LINDREL_TEST_SHORTENED=" + shortened);
  std::vector<char*> envp;
  for (std::string& e : environment) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::vector<std::string> argv{LINDREL_CLI_PATH};
  argv.insert(argv.end(), args.begin(), args.end());
  return RunCaptured(env, std::move(argv), envp.data());
}

// A failed read is trouble that names the file, never "differ" nor a listing of what was
// read, in every output form and in a directory comparison's content check.
TEST_F(CliBadInputsTest, AFileShortenedWhileComparedIsTroubleNamingIt) {
  std::string text;
  for (int i = 0; text.size() < 20000; ++i) text += "line " + std::to_string(i) + "\n";
  const std::string master = env_.Write("m/shortened.txt", text).string();
  const std::string source = env_.Write("s/shortened.txt", text).string();
  const std::vector<std::string> forms[] = {
      {"files", master, source},
      {"files", "-q", master, source},
      {"files", "--format", "records", master, source},
      {"files", "--format", "json", master, source},
  };
  for (const std::vector<std::string>& args : forms) {
    SCOPED_TRACE(args[1]);
    const CliRun run = RunWithFileShortened(env_, master, args);
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_TRUE(Contains(run.err, "lindrel: Unable to read file: " + master + "\n")) << run.err;
    EXPECT_EQ(run.out, "");  // neither "differ" nor a listing of what was read
  }
  // Whole again for everyone else: the same files are the same.
  EXPECT_EQ(Run({"files", master, source}).status, 0);

  const std::string masterDirectory = env_.Path("m").string() + "/";
  const CliRun run = RunWithFileShortened(env_, masterDirectory + "shortened.txt",
                                          {"dirs", masterDirectory, env_.Path("s").string()});
  EXPECT_EQ(run.status, 2) << run.err;
  EXPECT_TRUE(Contains(run.err, "Unable to read file: " + masterDirectory + "shortened.txt\n"))
      << run.err;
  EXPECT_FALSE(Contains(run.out, "same")) << run.out;
}

}  // namespace
}  // namespace lindrel::testing
