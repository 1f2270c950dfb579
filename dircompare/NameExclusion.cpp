#include "dircompare/NameExclusion.h"

#include <fnmatch.h>

namespace lindrel::dircompare {

bool ExcludedName(std::string_view name, const std::vector<std::string>& patterns) {
  if (patterns.empty()) return false;
  const std::string terminated(name);
  for (const std::string& pattern : patterns)
    if (::fnmatch(pattern.c_str(), terminated.c_str(), FNM_CASEFOLD) == 0) return true;
  return false;
}

}  // namespace lindrel::dircompare
