// The exclusions of a directory comparison: shell patterns ("*.o", ".git", "build?")
// matched against the name of each entry, a file or a directory, without regard to
// letter case as names are matched between the trees. An excluded entry is left out on
// both sides, and an excluded directory is not entered. Pure function; any thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lindrel::dircompare {

// True when `name` matches one of `patterns` (none: nothing is excluded).
bool ExcludedName(std::string_view name, const std::vector<std::string>& patterns);

}  // namespace lindrel::dircompare
