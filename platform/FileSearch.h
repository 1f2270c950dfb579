// "A directory search finds at least one entry": true for an existing file or directory,
// or for a pattern whose last component holds the wildcards '*' or '?' and matches at
// least one name in its directory. "*.*" matches every name, as it always has.
#pragma once

#include <string>
#include <string_view>

namespace lindrel::platform {

// True when `name` holds a NUL byte. The system reads a name only up to its first NUL, so
// such a name would stand for another one, silently: it names no file at all, and every
// helper below and in ReplacementFile.h finds, opens and replaces nothing by it.
inline bool HoldsNul(std::string_view name) { return name.find('\0') != std::string_view::npos; }

// False for a name holding a NUL byte.
bool DirectorySearchFindsEntry(const std::string& pathOrPattern);

// Wildcard match of a whole name: '*' any run of characters, '?' one character.
bool WildcardMatch(const std::string& pattern, const std::string& name);

}  // namespace lindrel::platform
