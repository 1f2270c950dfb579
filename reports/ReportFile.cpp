#include "reports/ReportFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <memory>
#include <system_error>

#include "platform/Mutex.h"

namespace lindrel::reports {

namespace {
constexpr std::size_t kBufferSize = 1 << 20;
// Smaller replaced files are released on the caller's thread: a thread costs more.
constexpr off_t kReleaseInBackgroundSize = off_t{1} << 20;

// Closes the descriptors of replaced files on a thread of its own, one file at a time. The
// last thread is joined when the library is unloaded or the process ends, so none outlives
// the code it runs.
class Releaser {
 public:
  ~Releaser() {
    platform::MutexLock lock(mutex_);
    if (thread_.joinable()) thread_.join();
  }

  void Release(int fd) {
    platform::MutexLock lock(mutex_);
    // The previous file is long let go of, as a rule.
    if (thread_.joinable()) thread_.join();
    try {
      thread_ = std::thread([fd] { ::close(fd); });
    } catch (const std::system_error&) {
      ::close(fd);  // without a thread the caller waits
    }
  }

 private:
  platform::Mutex mutex_;
  std::thread thread_ GUARDED_BY(mutex_);
};

Releaser& TheReleaser() {
  static Releaser releaser;
  return releaser;
}
}  // namespace

ReportFile::~ReportFile() {
  StopWriteBehind();
  // An unfinished report never replaces its target.
  if (scratch_ && fd_ >= 0) ::close(fd_);
  report_.Abandon();
}

bool ReportFile::Open(const std::string& path) {
  StopWriteBehind();
  if (scratch_ && fd_ >= 0) ::close(fd_);
  report_.Abandon();
  scratch_ = false;
  failed_ = false;
  target_ = path;
  fd_ = report_.Create(path).ok() ? report_.fd() : -1;
  StartBuffer();
  return fd_ >= 0;
}

bool ReportFile::OpenScratch(const std::string& nearPath) {
  StopWriteBehind();
  if (scratch_ && fd_ >= 0) ::close(fd_);
  report_.Abandon();
  scratch_ = true;
  failed_ = false;
  fd_ = platform::CreateAnonymousFile(nearPath);
  StartBuffer();
  return fd_ >= 0;
}

void ReportFile::WriteNow(const char* data, std::size_t size) {
  WaitForWriteBehind();
  if (!failed_ && !platform::WriteAll(fd_, data, size)) failed_ = true;
}

bool ReportFile::WriteBehind() {
  if (noWriter_) return false;
  if (!writer_.joinable()) {
    try {
      writer_ = std::thread([this, fd = fd_, report = !scratch_] {
        std::unique_lock lock(mutex_);
        for (;;) {
          changed_.wait(lock, [&] { return stopWriter_ || pending_ != nullptr; });
          if (pending_ == nullptr) return;  // stopped with nothing left to write
          const char* data = pending_;
          const std::size_t size = pendingSize_;
          const bool skip = writeFailed_;
          lock.unlock();
          const bool written = skip || platform::WriteAll(fd, data, size);
          // The disk blocks of what is written are found now, on this thread: a file
          // renamed over another has them found before the rename returns (the file
          // system makes replaced files safe that way), and the report would wait there.
          if (report && written && !skip) (void)::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
          lock.lock();
          if (!written) writeFailed_ = true;
          pending_ = nullptr;
          changed_.notify_all();
        }
      });
    } catch (const std::system_error&) {
      noWriter_ = true;
      return false;
    }
  }
  {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return pending_ == nullptr; });
    if (!spare_) spare_ = std::make_unique_for_overwrite<char[]>(kBufferSize);
    pending_ = buffer_.get();
    pendingSize_ = used_;
    buffer_.swap(spare_);
  }
  changed_.notify_all();
  return true;
}

void ReportFile::WaitForWriteBehind() {
  if (!writer_.joinable()) return;
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return pending_ == nullptr; });
  if (writeFailed_) failed_ = true;
}

void ReportFile::StopWriteBehind() {
  if (!writer_.joinable()) return;
  WaitForWriteBehind();
  {
    std::lock_guard lock(mutex_);
    stopWriter_ = true;
  }
  changed_.notify_all();
  writer_.join();
  stopWriter_ = false;
  writeFailed_ = false;
}

void ReportFile::StartBuffer() {
  used_ = 0;
  capacity_ = 0;
  if (fd_ < 0) return;
  if (!buffer_) buffer_ = std::make_unique_for_overwrite<char[]>(kBufferSize);
  capacity_ = kBufferSize;
}

void ReportFile::WriteThroughFullBuffer(std::string_view text) {
  if (fd_ < 0) return;
  Flush();
  if (text.size() > capacity_) {
    WriteNow(text.data(), text.size());
    return;
  }
  std::memcpy(buffer_.get(), text.data(), text.size());
  used_ = text.size();
}

void ReportFile::Write(long number) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, number);
  Write(std::string_view(digits, static_cast<std::size_t>(result.ptr - digits)));
}

void ReportFile::Flush() {
  if (fd_ < 0 || used_ == 0) return;
  // A report that never fills half a buffer is written without a second thread.
  if (!failed_ && (writer_.joinable() || used_ >= capacity_ / 2) && WriteBehind()) {
    used_ = 0;
    return;
  }
  WriteNow(buffer_.get(), used_);
  used_ = 0;
}

void ReportFile::CopyFrom(ReportFile& other) {
  if (fd_ < 0 || other.fd_ < 0) return;
  Flush();
  other.Flush();
  WaitForWriteBehind();
  other.WaitForWriteBehind();
  if (other.failed_) failed_ = true;
  if (failed_) return;
  off_t from = 0;
  // Copied inside the kernel where the file system allows it; by reading otherwise, and
  // after any error, so that a real failure is seen by WriteAll.
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
    WriteNow(chunk.get(), static_cast<std::size_t>(n));
    if (failed_) return;
    from += n;
  }
}

bool ReportFile::Close() {
  if (fd_ < 0) return !failed_;
  Flush();
  StopWriteBehind();
  const int fd = fd_;
  fd_ = -1;
  capacity_ = 0;
  if (scratch_) {
    if (::close(fd) != 0) failed_ = true;
    return !failed_;
  }
  if (failed_) {
    report_.Abandon();
    return false;
  }
  const int replaced = HoldReplacedFile();
  if (!report_.Commit().ok()) failed_ = true;
  ReleaseInBackground(replaced);
  return !failed_;
}

int ReportFile::HoldReplacedFile() const {
  // O_PATH needs no permission on the file; links are followed to the file replaced.
  const int fd = ::open(target_.c_str(), O_PATH | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
      info.st_size < kReleaseInBackgroundSize) {
    ::close(fd);
    return -1;
  }
  return fd;
}

void ReportFile::ReleaseInBackground(int fd) {
  // The last reference to a replaced file frees its blocks (milliseconds for a report of
  // tens of megabytes); the caller need not wait for that.
  if (fd >= 0) TheReleaser().Release(fd);
}

}  // namespace lindrel::reports
