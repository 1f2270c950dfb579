// Reading an engine argument vector: the full switch table of the engine is accepted
// (short and long, abbreviated long names, values after "=" or as the next entry, switches
// anywhere among the operands, "--" ending them); only the effective switches change the
// run's settings, every other accepted or unknown switch is read and ignored.
//
// Parsing uses the C library's getopt_long, whose state is process-wide: the parse runs
// under the process-wide C library lock, so runs on several threads may parse at once.
#pragma once

#include <string>
#include <vector>

#include "engine/EngineRun.h"

namespace lindrel::engine {

// Applies the switches of `arguments` (entry 0 the program name) to `run` and returns the
// operands in order.
std::vector<std::string> ParseSwitches(const std::vector<std::string>& arguments, EngineRun& run);

// True when `text` is a valid --horizon-lines value (decimal digits only); `lines` then
// holds it, saturated at a value far beyond any file's line count.
bool ParseHorizon(const std::string& text, long long& lines);

}  // namespace lindrel::engine
