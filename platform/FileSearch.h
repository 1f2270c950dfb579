// "A directory search finds at least one entry": true for an existing file or directory,
// or for a pattern whose last component holds the wildcards '*' or '?' and matches at
// least one name in its directory. "*.*" matches every name, as it always has.
#pragma once

#include <string>

namespace lindrel::platform {

bool DirectorySearchFindsEntry(const std::string& pathOrPattern);

// Wildcard match of a whole name: '*' any run of characters, '?' one character.
bool WildcardMatch(const std::string& pattern, const std::string& name);

}  // namespace lindrel::platform
