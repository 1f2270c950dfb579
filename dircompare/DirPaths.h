// Joining a directory path and a name. Pure function; any thread.
#pragma once

#include <string>
#include <string_view>

namespace lindrel::dircompare {

// `directory` followed by `name`, with one "/" between them. Directory paths normally
// end in "/" already (the component's setters append it), so usually nothing is added.
inline std::string JoinPath(std::string_view directory, std::string_view name) {
  std::string path(directory);
  if (!path.empty() && path.back() != '/') path += '/';
  path += name;
  return path;
}

}  // namespace lindrel::dircompare
