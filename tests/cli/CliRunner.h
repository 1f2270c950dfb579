// Runs the real `lindrel` binary with arguments, in the calling test's environment
// (LINDREL_HOME and TMPDIR of its TempEnvironment), and captures its exit status and
// both output streams through files, so neither stream can block the other.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/TempEnvironment.h"

extern char** environ;

namespace lindrel::testing {

struct CliRun {
  int status = -1;  // exit status, or -1 when the process did not exit normally
  std::string out;
  std::string err;
};

inline CliRun RunLindrel(const TempEnvironment& env, const std::vector<std::string>& args) {
  const std::filesystem::path outPath = env.Path("cli-stdout");
  const std::filesystem::path errPath = env.Path("cli-stderr");
  std::vector<std::string> argv{LINDREL_CLI_PATH};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> pointers;
  for (std::string& a : argv) pointers.push_back(a.data());
  pointers.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  pid_t pid = 0;
  CliRun run;
  const int spawned = posix_spawn(&pid, pointers[0], &actions, nullptr, pointers.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    ADD_FAILURE() << "cannot start " << pointers[0];
    return run;
  }
  int wstatus = 0;
  while (waitpid(pid, &wstatus, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(wstatus)) run.status = WEXITSTATUS(wstatus);
  run.out = TempEnvironment::Read(outPath);
  run.err = TempEnvironment::Read(errPath);
  return run;
}

}  // namespace lindrel::testing
