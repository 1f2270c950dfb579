// Runs the real `lindrel` binary with arguments, in the calling test's environment
// (LINDREL_HOME and TMPDIR of its TempEnvironment), and captures its exit status and
// both output streams through files, so neither stream can block the other.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/TempEnvironment.h"

extern char** environ;

namespace lindrel::testing {

inline bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

struct CliRun {
  int status = -1;  // exit status, or -1 when the process did not exit normally
  std::string out;
  std::string err;
};

// Where a child's output and error streams go: a file opened with O_WRONLY | O_CREAT and
// `flags` (O_TRUNC as a shell's ">", O_APPEND as ">>").
struct StreamTarget {
  std::string path;
  int flags = O_TRUNC;
};

// Runs `argv` (argv[0] is the program's path) with stdin on /dev/null and the given
// environment (the caller's when null); answers the exit status, or -1 when it could not
// start or did not exit normally.
inline int SpawnAndWait(std::vector<std::string> argv, const StreamTarget& out,
                        const StreamTarget& err, char* const* envp = nullptr) {
  std::vector<char*> pointers;
  for (std::string& a : argv) pointers.push_back(a.data());
  pointers.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out.path.c_str(), O_WRONLY | O_CREAT | out.flags,
                                   0600);
  posix_spawn_file_actions_addopen(&actions, 2, err.path.c_str(), O_WRONLY | O_CREAT | err.flags,
                                   0600);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, pointers[0], &actions, nullptr, pointers.data(),
                                  envp != nullptr ? envp : environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;
  int wstatus = 0;
  while (waitpid(pid, &wstatus, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
}

// Runs `argv` with both streams captured in files of `env`.
inline CliRun RunCaptured(const TempEnvironment& env, std::vector<std::string> argv,
                          char* const* envp = nullptr) {
  const std::filesystem::path outPath = env.Path("cli-stdout");
  const std::filesystem::path errPath = env.Path("cli-stderr");
  CliRun run;
  run.status = SpawnAndWait(std::move(argv), {outPath.string()}, {errPath.string()}, envp);
  run.out = TempEnvironment::Read(outPath);
  run.err = TempEnvironment::Read(errPath);
  return run;
}

inline CliRun RunLindrel(const TempEnvironment& env, const std::vector<std::string>& args) {
  std::vector<std::string> argv{LINDREL_CLI_PATH};
  argv.insert(argv.end(), args.begin(), args.end());
  return RunCaptured(env, std::move(argv));
}

}  // namespace lindrel::testing
