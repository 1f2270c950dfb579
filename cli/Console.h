// Console: the streams a command writes to, and what it knows about the terminal.
//
// The binary passes std::cout and std::cerr; tests pass string streams. A command runs
// on one thread and is the only writer of its console while it runs.
#pragma once

#include <ostream>

namespace lindrel::cli {

struct Console {
  std::ostream& out;
  std::ostream& err;
  // Progress lines are drawn only on a terminal: in a pipe or a log they would be noise.
  bool errIsTerminal = false;
  // Listings are coloured by default only on a terminal.
  bool outIsTerminal = false;
};

// Exit statuses, as diff and cmp use them.
enum ExitStatus : int {
  kExitSame = 0,
  kExitDifferent = 1,
  kExitTrouble = 2,
};

}  // namespace lindrel::cli
