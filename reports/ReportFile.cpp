#include "reports/ReportFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <memory>

namespace lindrel::reports {

namespace {

constexpr std::size_t kBufferSize = 1 << 20;

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

ReportFile::~ReportFile() {
  if (fd_ >= 0) Close();  // failure unreportable here; callers that care call Close()
}

bool ReportFile::Open(const std::string& path, bool readBack) {
  if (fd_ >= 0) Close();
  const int access = readBack ? O_RDWR : O_WRONLY;
  fd_ = ::open(path.c_str(), access | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  failed_ = false;
  buffer_.clear();
  buffer_.reserve(kBufferSize);
  return fd_ >= 0;
}

void ReportFile::Write(std::string_view text) {
  if (fd_ < 0) return;
  if (buffer_.size() + text.size() > kBufferSize) {
    Flush();
    if (text.size() > kBufferSize) {
      if (!WriteAll(fd_, text.data(), text.size())) failed_ = true;
      return;
    }
  }
  buffer_.append(text);
}

void ReportFile::Write(long number) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, number);
  Write(std::string_view(digits, static_cast<std::size_t>(result.ptr - digits)));
}

void ReportFile::Flush() {
  if (fd_ < 0 || buffer_.empty()) return;
  if (!WriteAll(fd_, buffer_.data(), buffer_.size())) failed_ = true;
  buffer_.clear();
}

void ReportFile::CopyFrom(ReportFile& other) {
  if (fd_ < 0 || other.fd_ < 0) return;
  Flush();
  other.Flush();
  if (other.failed_) failed_ = true;
  off_t from = 0;
  // Copied inside the kernel where the file system allows it; by reading otherwise.
  for (;;) {
    const ssize_t n = ::copy_file_range(other.fd_, &from, fd_, nullptr, kBufferSize * 16, 0);
    if (n == 0) return;
    if (n > 0) continue;
    if (errno == EINTR) continue;
    break;
  }
  auto chunk = std::make_unique_for_overwrite<char[]>(kBufferSize);
  for (;;) {
    const ssize_t n = ::pread(other.fd_, chunk.get(), kBufferSize, from);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      failed_ = true;
      return;
    }
    if (n == 0) return;
    if (!WriteAll(fd_, chunk.get(), static_cast<std::size_t>(n))) {
      failed_ = true;
      return;
    }
    from += n;
  }
}

bool ReportFile::Close() {
  if (fd_ < 0) return !failed_;
  Flush();
  if (::close(fd_) != 0) failed_ = true;
  fd_ = -1;
  return !failed_;
}

}  // namespace lindrel::reports
