#include "dircompare/ContentComparer.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>
#include <tuple>

#include "dircompare/ScanEnvironment.h"
#include "lindrel/Errors.h"

namespace lindrel::dircompare {
namespace {

bool Exists(const std::string& path) {
  struct stat info {};
  // lstat: a dangling link still names something; opening it is what fails.
  return ::lstat(path.c_str(), &info) == 0;
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  bool ok() const { return fd_ >= 0; }

 private:
  int fd_;
};

// Reads exactly `size` bytes; false on a read error or an early end of file.
bool ReadFully(int fd, char* buffer, std::size_t size) {
  while (size > 0) {
    const ssize_t got = ::read(fd, buffer, size);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    buffer += got;
    size -= static_cast<std::size_t>(got);
  }
  return true;
}

}  // namespace

ContentComparer::ContentComparer(std::size_t blockSize)
    : blockSize_(blockSize == 0 ? 1 : blockSize) {}

ContentResult ContentComparer::Compare(const std::string& masterPath, const std::string& sourcePath,
                                       ScanEnvironment& env) {
  // A file that vanished since it was listed was not compared: never "same".
  if (!Exists(masterPath)) {
    env.QueueError(kErrorInvalidMasterFile, " " + masterPath);
    return ContentResult::kCannotOpen;
  }
  if (!Exists(sourcePath)) {
    env.QueueError(kErrorInvalidSourceFile, " " + sourcePath);
    return ContentResult::kCannotOpen;
  }
  Descriptor master(env.OpenForReading(masterPath));
  Descriptor source(env.OpenForReading(sourcePath));
  if (!master.ok() || !source.ok()) return ContentResult::kCannotOpen;

  struct stat masterInfo {
  }, sourceInfo{};
  if (::fstat(master.get(), &masterInfo) != 0 || ::fstat(source.get(), &sourceInfo) != 0) {
    return ContentResult::kCannotOpen;
  }
  // A FIFO or a device has no content to compare (and two of them would look like two
  // empty files).
  if (!S_ISREG(masterInfo.st_mode) || !S_ISREG(sourceInfo.st_mode)) {
    return ContentResult::kCannotOpen;
  }
  // Files of different sizes differ whatever their common prefix holds.
  if (masterInfo.st_size != sourceInfo.st_size) return ContentResult::kDifferent;

  if (!blocks_) {
    constexpr std::size_t kPage = 4096;
    const std::size_t stride = (blockSize_ + kPage - 1) / kPage * kPage;
    blocks_.reset(static_cast<char*>(std::aligned_alloc(kPage, 2 * stride)));
    if (!blocks_) throw std::bad_alloc();
    masterBlock_ = blocks_.get();
    sourceBlock_ = blocks_.get() + stride;
  }
  auto remaining = static_cast<std::size_t>(masterInfo.st_size < 0 ? 0 : masterInfo.st_size);
  while (remaining > 0) {
    if (env.AbortRequested()) return ContentResult::kAborted;
    const std::size_t step = remaining < blockSize_ ? remaining : blockSize_;
    // A file that shrank while being compared cannot be read to the size it had; what
    // was read of it is not the file, whatever it holds again by now.
    for (const auto& [fd, block, path] : {std::tuple(master.get(), masterBlock_, &masterPath),
                                          std::tuple(source.get(), sourceBlock_, &sourcePath)}) {
      if (!ReadFully(fd, block, step)) {
        env.QueueError(kErrorReadingFile, *path);
        return ContentResult::kCannotOpen;
      }
    }
    if (std::memcmp(masterBlock_, sourceBlock_, step) != 0) {
      return ContentResult::kDifferent;
    }
    remaining -= step;
  }
  return ContentResult::kSame;
}

}  // namespace lindrel::dircompare
