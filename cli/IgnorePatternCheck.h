// Checks an ignore-line pattern the way the engine will compile it (GNU regular
// expressions, syntax value 0), so the command line can warn about a pattern the engine
// would silently drop. Touches the C library's process-wide syntax setting for the
// duration of the call: call it only while no comparison runs.
#pragma once

#include <string>

namespace lindrel::cli {

// The library's reason when `pattern` does not compile; empty when it does.
std::string IgnorePatternError(const std::string& pattern);

}  // namespace lindrel::cli
