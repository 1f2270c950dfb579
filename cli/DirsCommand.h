// `lindrel dirs MASTER SOURCE`: compares two directory trees through the component and
// prints its records as they are found, as a table or as JSON, or only whether the trees
// differ; optionally exports them as a tab-delimited file. Owner thread only (it creates and pumps
// a component).
#pragma once

#include <string>
#include <vector>

#include "cli/Console.h"

namespace CLI {
class App;
}

namespace lindrel::cli {

struct DirsOptions {
  std::string master;
  std::string source;
  bool recursive = false;
  std::string types = "*.*";
  bool noContent = false;
  bool ignoreDates = false;
  bool hideOnlyInMaster = false;
  bool hideOnlyInSource = false;
  bool hideSame = false;
  bool hideDifferent = false;
  bool throttle = false;
  long priority = 2;
  std::string tabPath;
  std::string format = "table";
  std::vector<std::string> excludes;  // name patterns left out of the walk
  bool brief = false;                 // -q: only whether the trees differ
};

// Declares the subcommand's options and operands on `command`, bound to `options`.
void DefineDirsCommand(CLI::App& command, DirsOptions& options);

// Runs the comparison. Returns the exit status (Console.h).
int RunDirs(const DirsOptions& options, Console& console);

}  // namespace lindrel::cli
