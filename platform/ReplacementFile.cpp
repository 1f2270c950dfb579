#include "platform/ReplacementFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/FileSearch.h"
#include "platform/OwnDescriptor.h"

namespace lindrel::platform {

namespace {

// Bytes WriteAll may still write before the injected fault; negative: no fault.
std::atomic<long long> writeBudget{-1};
std::atomic<TEST_CommitFault> commitFault{TEST_CommitFault::kNone};

// The process's umask, read without changing it (umask() would, for every thread).
mode_t CurrentUmask() {
  mode_t mask = 022;
  if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
    char line[256];
    while (std::fgets(line, sizeof line, status) != nullptr) {
      unsigned value = 0;
      if (std::sscanf(line, "Umask: %o", &value) == 1) {
        mask = static_cast<mode_t>(value);
        break;
      }
    }
    std::fclose(status);
  }
  return mask;
}

std::string DirectoryOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Opens an existing file that is not a regular one (a terminal, /dev/null, a FIFO with a
// reader) for writing in place: such a file cannot be replaced, and must not be.
int OpenSpecialForWriting(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return -1;
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) (void)::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  return fd;
}

}  // namespace

void TEST_FailWritesAfter(long long bytes) { writeBudget.store(bytes); }

void TEST_FailNextCommit(TEST_CommitFault fault) { commitFault.store(fault); }

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    std::size_t chunk = size;
    if (const long long budget = writeBudget.load(); budget >= 0) {
      if (budget == 0) {
        errno = ENOSPC;
        return false;
      }
      chunk = std::min<std::size_t>(chunk, static_cast<std::size_t>(budget));
    }
    const ssize_t n = ::write(fd, data, chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) {
      errno = EIO;
      return false;
    }
    if (writeBudget.load() >= 0) writeBudget.fetch_sub(n);
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

Status ResolveWriteTarget(const std::string& path, std::string& target) {
  target = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return Status::Ok();
    std::vector<char> buffer(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 1);
    const ssize_t length = ::readlink(target.c_str(), buffer.data(), buffer.size());
    if (length < 0) return Status::FromErrno(path, errno);
    std::string next(buffer.data(), static_cast<std::size_t>(length));
    if (next.empty() || next.front() != '/') {
      const auto slash = target.find_last_of('/');
      if (slash != std::string::npos) next = target.substr(0, slash + 1) + next;
    }
    target = std::move(next);
  }
  return Status::FromErrno(path, ELOOP);
}

ReplacementFile::~ReplacementFile() { Abandon(); }

Status ReplacementFile::Create(const std::string& target) {
  Abandon();
  target_ = target;
  if (HoldsNul(target)) return Status::FromErrno(target, ENOENT);
  // Looked at through the kernel's own resolution first: /dev/stdout on a pipe leads to a
  // name no readlink walk could follow.
  struct stat existing {};
  if (::stat(target.c_str(), &existing) == 0) {
    if (S_ISDIR(existing.st_mode)) return Status::FromErrno(target, EISDIR);
    // One of our own streams ("/dev/stdout" while output goes to ">>log") is written
    // through, at its offset and in its append mode: a rename would put the report in
    // place of everything the stream's file held.
    if (const int own = OwnDescriptorNamedBy(target); own >= 0) {
      fd_ = DuplicateForWriting(own);
      return fd_ >= 0 ? Status::Ok() : Status::FromErrno(target, errno);
    }
    if (!S_ISREG(existing.st_mode)) {
      fd_ = OpenSpecialForWriting(target);
      return fd_ >= 0 ? Status::Ok() : Status::FromErrno(target, errno);
    }
  }
  if (Status resolved = ResolveWriteTarget(target, finalPath_); !resolved.ok()) return resolved;
  std::string pattern = DirectoryOf(finalPath_) + "/." + NameOf(finalPath_) + ".XXXXXX";
  // mkostemp creates the name exclusively (never through a link, never over a file).
  fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd_ < 0) return Status::FromErrno(target, errno);
  temporary_ = std::move(pattern);
  return Status::Ok();
}

Status ReplacementFile::Write(std::string_view bytes) {
  if (fd_ < 0) return Status::FromErrno(target_, EBADF);
  if (!WriteAll(fd_, bytes.data(), bytes.size())) return Status::FromErrno(target_, errno);
  return Status::Ok();
}

Status ReplacementFile::Commit() {
  if (fd_ < 0) return Status::FromErrno(target_, EBADF);
  const int fd = fd_;
  fd_ = -1;
  if (temporary_.empty()) {  // a stream or a special file written in place
    return ::close(fd) == 0 ? Status::Ok() : Status::FromErrno(target_, errno);
  }
  struct stat existing {};
  const mode_t mode = ::stat(finalPath_.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)
                          ? (existing.st_mode & 07777)
                          : (0666 & ~CurrentUmask());
  // A mode that cannot be set leaves the report private, which loses nothing.
  (void)::fchmod(fd, mode);
  const TEST_CommitFault fault = commitFault.exchange(TEST_CommitFault::kNone);
  Status result = Status::Ok();
  if (::close(fd) != 0 || fault == TEST_CommitFault::kClose) {
    result = Status::FromErrno(target_, fault == TEST_CommitFault::kClose ? EIO : errno);
  }
  if (result.ok() && (fault == TEST_CommitFault::kRename ||
                      ::rename(temporary_.c_str(), finalPath_.c_str()) != 0)) {
    result = Status::FromErrno(target_, fault == TEST_CommitFault::kRename ? EIO : errno);
  }
  if (!result.ok()) ::unlink(temporary_.c_str());
  temporary_.clear();
  return result;
}

void ReplacementFile::Abandon() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
}

namespace {

int CreateAnonymousFileIn(const std::string& directory, const std::string& name) {
  int fd = ::open(directory.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fd >= 0) return fd;
  // File systems without unnamed files: a private name, removed at once.
  std::string pattern = directory + "/." + name + ".body.XXXXXX";
  fd = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd >= 0) ::unlink(pattern.c_str());
  return fd;
}

}  // namespace

int CreateAnonymousFile(const std::string& nearPath) {
  std::string finalPath;
  if (!ResolveWriteTarget(nearPath, finalPath).ok()) finalPath = nearPath;
  const int fd = CreateAnonymousFileIn(DirectoryOf(finalPath), NameOf(finalPath));
  if (fd >= 0) return fd;
  // A target in a directory that takes no new files (/dev/stdout, say): the temporary
  // directory serves.
  const char* tmp = std::getenv("TMPDIR");
  return CreateAnonymousFileIn(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp", "lindrel");
}

int OpenRegularFileForReading(const std::string& path) {
  if (HoldsNul(path)) {
    errno = ENOENT;
    return -1;
  }
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return -1;
  struct stat info {};
  int error = 0;
  if (::fstat(fd, &info) != 0) {
    error = errno;
  } else if (S_ISDIR(info.st_mode)) {
    error = EISDIR;
  } else if (!S_ISREG(info.st_mode)) {
    error = EINVAL;
  }
  if (error != 0) {
    ::close(fd);
    errno = error;
    return -1;
  }
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) (void)::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  return fd;
}

bool SameExistingFile(const std::string& a, const std::string& b) {
  struct stat first {};
  struct stat second {};
  return !HoldsNul(a) && !HoldsNul(b) && ::stat(a.c_str(), &first) == 0 &&
         ::stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}

}  // namespace lindrel::platform
