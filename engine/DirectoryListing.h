// Listing one directory for the engine's directory operands: the names of its entries that
// do not begin with ".", sorted by byte value. Reentrant; no shared state.
#pragma once

#include <string>
#include <vector>

namespace lindrel::engine {

// False (errno set) when `path` is not a directory that can be read to the end.
bool ListDirectory(const std::string& path, std::vector<std::string>& names);

// `directory` and `name` joined by one "/" (none added when the directory ends in one).
std::string JoinPath(const std::string& directory, const std::string& name);

// The text after the last "/" of `path`, or the whole path when it has none.
std::string BaseName(const std::string& path);

}  // namespace lindrel::engine
