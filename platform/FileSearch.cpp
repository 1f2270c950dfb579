#include "platform/FileSearch.h"

#include <dirent.h>
#include <sys/stat.h>

#include <memory>

namespace lindrel::platform {

bool WildcardMatch(const std::string& pattern, const std::string& name) {
  if (pattern == "*.*") return true;
  // Iterative matcher with single-star backtracking: linear in practice, no recursion.
  std::size_t p = 0, n = 0, starP = std::string::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (starP != std::string::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool DirectorySearchFindsEntry(const std::string& pathOrPattern) {
  if (pathOrPattern.empty() || HoldsNul(pathOrPattern)) return false;
  struct stat info {};
  if (::lstat(pathOrPattern.c_str(), &info) == 0) return true;

  auto slash = pathOrPattern.find_last_of('/');
  std::string name = slash == std::string::npos ? pathOrPattern : pathOrPattern.substr(slash + 1);
  if (name.find_first_of("*?") == std::string::npos) return false;
  std::string directory = slash == std::string::npos ? "." : pathOrPattern.substr(0, slash + 1);

  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(directory.c_str()), &::closedir);
  if (!dir) return false;
  while (const dirent* entry = ::readdir(dir.get())) {
    std::string candidate = entry->d_name;
    if (candidate == "." || candidate == "..") continue;
    if (WildcardMatch(name, candidate)) return true;
  }
  return false;
}

}  // namespace lindrel::platform
