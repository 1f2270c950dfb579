// Upper-casing of file names for case-insensitive matching. Pure functions; any thread.
//
// Only the ASCII letters a-z are folded. Other bytes (UTF-8 sequences included) are kept
// as they are, so the result never depends on the process locale and two names compare
// the same on every machine.
#pragma once

#include <string>
#include <string_view>

namespace lindrel::dircompare {

std::string ToUpperName(std::string_view name);

}  // namespace lindrel::dircompare
