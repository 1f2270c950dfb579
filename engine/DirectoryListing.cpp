#include "engine/DirectoryListing.h"

#include <dirent.h>

#include <algorithm>
#include <cerrno>
#include <memory>

namespace lindrel::engine {

bool ListDirectory(const std::string& path, std::vector<std::string>& names) {
  names.clear();
  std::unique_ptr<DIR, int (*)(DIR*)> directory(::opendir(path.c_str()), &::closedir);
  if (!directory) return false;
  // Every entry is listed: stopping at a fixed count would silently leave files out of the
  // comparison and call directories the same when they are not.
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(directory.get());
    if (entry == nullptr) {
      if (errno != 0) return false;
      break;
    }
    if (entry->d_name[0] == '.') continue;
    names.emplace_back(entry->d_name);
  }
  // std::string compares as unsigned bytes, like the C library's strcmp.
  std::sort(names.begin(), names.end());
  return true;
}

std::string JoinPath(const std::string& directory, const std::string& name) {
  if (!directory.empty() && directory.back() == '/') return directory + name;
  return directory + "/" + name;
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace lindrel::engine
