#include "platform/OwnDescriptor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <string_view>
#include <vector>

namespace lindrel::platform {

namespace {

// The number N of a name "prefix" + "N", or -1.
int NumberAfter(std::string_view path, std::string_view prefix) {
  if (path.substr(0, prefix.size()) != prefix) return -1;
  const std::string_view digits = path.substr(prefix.size());
  int fd = -1;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), fd);
  if (error != std::errc() || end != digits.data() + digits.size() || digits.empty()) return -1;
  return fd;
}

// The descriptor one spelling names, or -1.
int DescriptorSpelledBy(std::string_view path) {
  if (path == "/dev/stdin") return STDIN_FILENO;
  if (path == "/dev/stdout") return STDOUT_FILENO;
  if (path == "/dev/stderr") return STDERR_FILENO;
  const std::string own = "/proc/" + std::to_string(::getpid()) + "/fd/";
  for (std::string_view prefix :
       {std::string_view("/dev/fd/"), std::string_view("/proc/self/fd/"),
        std::string_view("/proc/thread-self/fd/"), std::string_view(own)}) {
    if (const int fd = NumberAfter(path, prefix); fd >= 0) return fd;
  }
  return -1;
}

// The next name a symbolic link leads to, or "" when `path` is no link.
std::string LinkTarget(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return {};
  std::vector<char> buffer(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 1);
  const ssize_t length = ::readlink(path.c_str(), buffer.data(), buffer.size());
  if (length <= 0) return {};
  std::string next(buffer.data(), static_cast<std::size_t>(length));
  if (next.front() != '/') {
    const auto slash = path.find_last_of('/');
    if (slash != std::string::npos) next = path.substr(0, slash + 1) + next;
  }
  return next;
}

}  // namespace

int OwnDescriptorNamedBy(const std::string& path) {
  struct stat target {};
  if (::stat(path.c_str(), &target) != 0) return -1;
  // A spelling of a descriptor, directly or through links ("/dev/stdout" leads to
  // "/proc/self/fd/1"); a descriptor's own link is not followed further, since what it
  // leads to ("pipe:[…]", a deleted file) need not be a name at all.
  std::string hop = path;
  for (int hops = 0; hops < 40 && !hop.empty(); ++hops) {
    const int fd = DescriptorSpelledBy(hop);
    if (fd >= 0) return ::fcntl(fd, F_GETFD) >= 0 ? fd : -1;
    hop = LinkTarget(hop);
  }
  // Another name of the regular file standard output or error is open on ("log" while
  // output goes to ">>log"). Other files need no such care: a device or a FIFO opened
  // anew is the same stream, and a file standard input reads is no output of ours.
  if (!S_ISREG(target.st_mode)) return -1;
  for (int fd : {STDOUT_FILENO, STDERR_FILENO}) {
    struct stat stream {};
    if (::fstat(fd, &stream) == 0 && stream.st_dev == target.st_dev &&
        stream.st_ino == target.st_ino) {
      return fd;
    }
  }
  return -1;
}

int DuplicateForWriting(int fd) {
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0) return -1;
  if ((flags & O_ACCMODE) == O_RDONLY) {
    errno = EBADF;
    return -1;
  }
  return ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
}

}  // namespace lindrel::platform
