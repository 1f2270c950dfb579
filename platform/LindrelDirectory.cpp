#include "platform/LindrelDirectory.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

namespace lindrel::platform {

namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// mkdir -p with mode 0700 for the directories it creates (as XDG asks for the user's
// configuration folders).
Status MakeDirectories(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0)
    return S_ISDIR(info.st_mode) ? Status::Ok() : Status::Error(path, "not a directory");
  auto slash = path.find_last_of('/');
  if (slash != std::string::npos && slash > 0) {
    if (Status parent = MakeDirectories(path.substr(0, slash)); !parent.ok()) return parent;
  }
  if (::mkdir(path.c_str(), 0700) == 0 || errno == EEXIST) return Status::Ok();
  return Status::FromErrno(path, errno);
}

}  // namespace

std::string JoinPath(const std::string& directory, const std::string& name) {
  if (directory.empty()) return name;
  if (directory.back() == '/') return directory + name;
  return directory + "/" + name;
}

std::optional<std::string> LindrelDirectory(Status* failure) {
  std::string directory = Environment("LINDREL_HOME");
  if (directory.empty()) {
    std::string xdg = Environment("XDG_CONFIG_HOME");
    if (!xdg.empty() && xdg.front() == '/') {
      directory = JoinPath(xdg, "lindrel");
    } else {
      std::string home = Environment("HOME");
      if (home.empty()) {
        if (failure) *failure = Status::Error("", "neither LINDREL_HOME nor HOME is set");
        return std::nullopt;
      }
      directory = JoinPath(home, ".config/lindrel");
    }
  }
  while (directory.size() > 1 && directory.back() == '/') directory.pop_back();
  if (Status made = MakeDirectories(directory); !made.ok()) {
    if (failure) *failure = made;
    return std::nullopt;
  }
  return directory;
}

}  // namespace lindrel::platform
