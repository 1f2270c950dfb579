// lindrel: the command-line front end of the Lindrel comparison component.
#include <unistd.h>

#include <iostream>

#include "cli/CliApp.h"

int main(int argc, char** argv) {
  // Listings of large files are written line by line; unsynchronised streams keep that fast.
  std::ios::sync_with_stdio(false);
  lindrel::cli::Console console{std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1,
                                ::isatty(STDOUT_FILENO) == 1};
  const int status = lindrel::cli::RunCli(argc, argv, console);
  std::cout.flush();
  return status;
}
