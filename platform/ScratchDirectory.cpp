#include "platform/ScratchDirectory.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <vector>

namespace lindrel::platform {

namespace {

std::mutex& Mutex() {
  static std::mutex mutex;
  return mutex;
}

// Every directory this process made, removed at exit.
std::vector<std::string>& Created() {
  static std::vector<std::string> created;
  return created;
}

void RemoveAtExit() {
  std::error_code ignored;  // best effort: nothing can be reported at exit
  for (const auto& directory : Created()) std::filesystem::remove_all(directory, ignored);
}

bool IsDirectory(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

std::optional<std::string> ScratchDirectory() {
  std::lock_guard lock(Mutex());
  static std::string current;
  if (!current.empty() && IsDirectory(current)) return current;

  const char* tmp = std::getenv("TMPDIR");
  std::string base = (tmp && *tmp) ? tmp : "/tmp";
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  std::string pattern = base + "/lindrel-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) return std::nullopt;

  static bool registered = false;
  if (!registered) {
    // Statics are destroyed in reverse order of their construction and atexit
    // registration: the list must exist before the handler is registered, or it is
    // already gone when the handler runs.
    Created();
    registered = std::atexit(RemoveAtExit) == 0;
  }
  Created().push_back(pattern);
  current = pattern;
  return current;
}

}  // namespace lindrel::platform
