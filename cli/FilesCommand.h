// `lindrel files MASTER SOURCE`: compares two files through the component and prints the
// change records as a normal or a unified listing, as raw records or as JSON; optionally
// writes a report of the comparison. "-" and held pipes are read as files (InputOperand.h).
// Owner thread only (it creates and pumps a component).
#pragma once

#include <string>
#include <vector>

#include "cli/Console.h"
#include "lindrel/ReportTypes.h"

namespace CLI {
class App;
}

namespace lindrel::cli {

struct FilesOptions {
  std::string master;
  std::string source;
  bool ignoreCase = false;
  bool ignoreAllSpace = false;
  bool ignoreBlankLines = false;
  std::vector<std::string> ignorePatterns;
  bool brief = false;
  bool minimal = false;
  bool speedLargeFiles = false;
  long horizonLines = -1;  // -1: not given
  long priority = 2;       // normal: a command-line user is waiting for the answer
  std::string format = "normal";
  std::string reportPath;
  std::string reportFormat;  // empty: from the report's extension
  std::string style = "side-by-side";
  std::string title;                // empty: "Comparison of MASTER and SOURCE"
  bool unified = false;             // -u
  long context = -1;                // -U N; -1: not given
  std::vector<std::string> labels;  // --label: MASTER's, then SOURCE's
  std::string color = "auto";
  // For git: /dev/null stands for the empty side of an added or removed file.
  bool devNullIsEmpty = false;
};

// The context of a unified listing when -u is given without -U.
inline constexpr long kDefaultContext = 3;

// Declares the subcommand's options and operands on `command`, bound to `options`.
void DefineFilesCommand(CLI::App& command, FilesOptions& options);

// Runs the comparison. Returns the exit status (Console.h).
int RunFiles(const FilesOptions& options, Console& console);

// The component's report format for a --report-format name, or for the extension of
// `path` when `name` is empty.
ReportFormat ReportFormatFor(const std::string& name, const std::string& path);

}  // namespace lindrel::cli
