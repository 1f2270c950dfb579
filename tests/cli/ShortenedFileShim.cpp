// A preload shim for the command-line tests: the file named by LINDREL_TEST_SHORTENED
// looks shortened to LINDREL_TEST_SHORTENED_TO bytes (4096 when unset) to whoever opens it
// first in the process, which is the comparison's reading of it; every later descriptor
// sees the whole file again. That is a file shortened while it was compared and rewritten
// with the same bytes a moment later, made deterministic.
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

namespace {

std::atomic<int> shortenedFd{-1};
std::atomic<bool> taken{false};

template <typename Function>
Function Next(const char* name) {
  return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

bool NamesTheFile(const char* path) {
  const char* wanted = std::getenv("LINDREL_TEST_SHORTENED");
  return wanted != nullptr && path != nullptr && std::strcmp(wanted, path) == 0;
}

off_t ShortenedSize() {
  const char* size = std::getenv("LINDREL_TEST_SHORTENED_TO");
  return size != nullptr ? std::atoll(size) : 4096;
}

int Track(const char* path, int fd) {
  if (fd >= 0 && NamesTheFile(path) && !taken.exchange(true)) shortenedFd = fd;
  return fd;
}

// How much of `count` bytes at `offset` the shortened file still holds.
size_t Allowed(int fd, off_t offset, size_t count) {
  if (fd != shortenedFd.load()) return count;
  const off_t end = ShortenedSize();
  return offset >= end ? 0 : static_cast<size_t>(std::min<off_t>(end - offset, count));
}

mode_t ModeOf(int flags, va_list args) {
  return (flags & (O_CREAT | O_TMPFILE)) != 0 ? static_cast<mode_t>(va_arg(args, int)) : 0;
}

}  // namespace

extern "C" {

int open(const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = ModeOf(flags, args);
  va_end(args);
  return Track(path, Next<int (*)(const char*, int, ...)>("open")(path, flags, mode));
}

int open64(const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = ModeOf(flags, args);
  va_end(args);
  return Track(path, Next<int (*)(const char*, int, ...)>("open64")(path, flags, mode));
}

int openat(int directory, const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = ModeOf(flags, args);
  va_end(args);
  return Track(path,
               Next<int (*)(int, const char*, int, ...)>("openat")(directory, path, flags, mode));
}

int close(int fd) {
  int expected = fd;
  shortenedFd.compare_exchange_strong(expected, -1);
  return Next<int (*)(int)>("close")(fd);
}

ssize_t read(int fd, void* buffer, size_t count) {
  if (fd == shortenedFd.load()) count = Allowed(fd, ::lseek(fd, 0, SEEK_CUR), count);
  return Next<ssize_t (*)(int, void*, size_t)>("read")(fd, buffer, count);
}

ssize_t pread(int fd, void* buffer, size_t count, off_t offset) {
  count = Allowed(fd, offset, count);
  return Next<ssize_t (*)(int, void*, size_t, off_t)>("pread")(fd, buffer, count, offset);
}

ssize_t pread64(int fd, void* buffer, size_t count, off_t offset) {
  count = Allowed(fd, offset, count);
  return Next<ssize_t (*)(int, void*, size_t, off_t)>("pread64")(fd, buffer, count, offset);
}

}  // extern "C"
