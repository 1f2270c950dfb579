// `lindrel git-diff`: the command git runs as its external diff (GIT_EXTERNAL_DIFF, or
// the diff.external setting), with the arguments git passes:
//
//   PATH OLD-FILE OLD-HEX OLD-MODE NEW-FILE NEW-HEX NEW-MODE
//
// (/dev/null as the file of the missing side of an added or removed file), two more when
// git reports a rename or copy (NEW-PATH and the lines git would show above the
// listing), or PATH alone for a path that has merge conflicts. Prints a unified listing
// labelled a/PATH and b/PATH (/dev/null for a missing side) and exits 0 whether or not the
// files differ, since git takes any other status for a failure; 2 on trouble. Owner
// thread only.
#pragma once

#include <string>
#include <vector>

#include "cli/Console.h"

namespace CLI {
class App;
}

namespace lindrel::cli {

struct GitDiffOptions {
  long context = -1;  // -U N; -1: three lines
  std::string color = "auto";
  std::vector<std::string> arguments;  // what git passes, after the options
};

// Declares the subcommand's options on `command`, bound to `options`. The arguments git
// passes are taken as they come, after the options: the first that is no option of the
// command ends them, so a path beginning with "-" stays a path.
void DefineGitDiffCommand(CLI::App& command, GitDiffOptions& options);

// Runs it. Returns the exit status for git: 0 compared, 2 trouble.
int RunGitDiff(const GitDiffOptions& options, Console& console);

}  // namespace lindrel::cli
