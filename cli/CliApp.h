// The `lindrel` command line: argument parsing and dispatch to the subcommands.
//
// RunCli parses argv (argv[0] is the program name), runs `files`, `dirs` or `git-diff` and
// returns the exit status: 0 nothing differs, 1 something differs, 2 trouble (bad
// arguments included); `git-diff` answers 0 whether or not the files differ. --help and
// --version answer 0. Runs on the calling thread, which becomes the owner of
// the component the command creates; not reentrant across threads of one process, since
// the component's engine is process-wide.
#pragma once

#include "cli/Console.h"

namespace lindrel::cli {

int RunCli(int argc, const char* const* argv, Console& console);

}  // namespace lindrel::cli
