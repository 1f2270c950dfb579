#include "engine/InputStream.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>

#include "engine/ByteBuffer.h"
#include "engine/InputFile.h"

namespace lindrel::engine {

namespace {

// Raw reads go straight into the caller's buffer in slices of this size, so each slice is
// still in cache when it is converted.
constexpr size_t kSlice = 256 * 1024;

constexpr char kEndOfContent = 26;

std::atomic<long long> failReadsAfter{-1};
std::atomic<unsigned> pauseBeforeReadsMs{0};
std::atomic<unsigned long> mappedFiles{0};

using ReadStepHook = std::function<void(TEST_ReadStep, unsigned long long)>;
std::atomic<bool> readStepHooked{false};
std::mutex readStepMutex;
std::shared_ptr<const ReadStepHook> readStepHook;  // under readStepMutex

void ReadStep(TEST_ReadStep step, unsigned long long offset) {
  if (!readStepHooked.load(std::memory_order_relaxed)) return;
  std::shared_ptr<const ReadStepHook> hook;
  {
    std::lock_guard lock(readStepMutex);
    hook = readStepHook;
  }
  if (hook) (*hook)(step, offset);
}

}  // namespace

void TEST_FailReadsAfter(long long rawBytes) { failReadsAfter.store(rawBytes); }
void TEST_PauseBeforeReads(unsigned ms) { pauseBeforeReadsMs.store(ms); }
unsigned long TEST_MappedFileCount() { return mappedFiles.load(); }

void TEST_OnReadStep(std::function<void(TEST_ReadStep step, unsigned long long offset)> hook) {
  std::lock_guard lock(readStepMutex);
  readStepHook = hook ? std::make_shared<const ReadStepHook>(std::move(hook)) : nullptr;
  readStepHooked.store(readStepHook != nullptr);
}

InputStream::~InputStream() {
  // A close failure after the run has already decided its result changes nothing.
  if (fd_ >= 0 && ownsDescriptor_) ::close(fd_);
}

bool InputStream::Open(const std::string& path, bool textMode) {
  ownsDescriptor_ = true;
  textMode_ = textMode;
  if (path.find('\0') != std::string::npos) {
    errno = ENOENT;  // the part before the NUL byte would be another name
    return false;
  }
  // Without O_NONBLOCK a FIFO would hold the run in open() until a writer came, beyond
  // the reach of any abort. Only regular files are read: a FIFO or a device (/dev/zero)
  // has no end the run could wait for.
  fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd_ < 0) return false;
  struct stat info {};
  if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
    const int error = S_ISREG(info.st_mode) ? errno : EINVAL;
    ::close(fd_);
    fd_ = -1;
    errno = error;
    return false;
  }
  if (const int flags = ::fcntl(fd_, F_GETFL); flags >= 0) {
    (void)::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK);
  }
  openedSize_ = static_cast<unsigned long long>(std::max<off_t>(info.st_size, 0));
  return true;
}

void InputStream::AttachStandardInput(bool textMode) {
  fd_ = STDIN_FILENO;
  ownsDescriptor_ = false;
  textMode_ = textMode;
}

void InputStream::AttachBytes(std::string_view bytes, bool textMode) {
  bytes_ = bytes;
  fromBytes_ = true;
  ownsDescriptor_ = false;
  textMode_ = textMode;
}

bool InputStream::Close() {
  const int fd = fd_;
  fd_ = -1;
  if (fd < 0 || !ownsDescriptor_) return true;
  return ::close(fd) == 0;
}

std::ptrdiff_t InputStream::ReadRaw(char* destination, size_t count) {
  const long long limit = failReadsAfter.load();
  if (limit >= 0) {
    const unsigned long long allowed = static_cast<unsigned long long>(limit);
    if (rawBytesRead_ >= allowed) {
      errno = EIO;
      return -1;
    }
    count = static_cast<size_t>(std::min<unsigned long long>(count, allowed - rawBytesRead_));
  }
  if (fromBytes_) {
    const size_t got = std::min(count, bytes_.size());
    if (got > 0) std::memcpy(destination, bytes_.data(), got);
    bytes_.remove_prefix(got);
    rawBytesRead_ += got;
    return static_cast<std::ptrdiff_t>(got);
  }
  if (const unsigned pause = pauseBeforeReadsMs.load(); pause > 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(pause));
  }
  ReadStep(TEST_ReadStep::kRead, rawBytesRead_);
  for (;;) {
    const ssize_t got = ::read(fd_, destination, count);
    if (got > 0 || (got == 0 && count == 0)) {
      rawBytesRead_ += static_cast<unsigned long long>(got);
      return got;
    }
    if (got == 0) {
      // The end before the size the file had when it was opened: it was shortened while
      // it was read, and what was read is not the file (whatever it holds by now).
      if (rawBytesRead_ < openedSize_) {
        errno = EIO;
        return -1;
      }
      return 0;
    }
    if (errno != EINTR) return -1;
  }
}

std::ptrdiff_t InputStream::Fill(char* destination, size_t count) {
  size_t delivered = 0;
  while (delivered < count && !contentEnded_) {
    if (StopRequested()) {
      errno = ECANCELED;
      return -1;
    }
    char* slice = destination + delivered;
    const size_t wanted = std::min(count - delivered, kSlice);
    size_t have = 0;
    if (pendingByte_ >= 0) {
      slice[have++] = static_cast<char>(pendingByte_);
      pendingByte_ = -1;
    }
    if (have < wanted && !rawEnded_) {
      const std::ptrdiff_t got = ReadRaw(slice + have, wanted - have);
      if (got < 0) return -1;
      if (got == 0) rawEnded_ = true;
      have += static_cast<size_t>(got);
    }
    if (have == 0) {
      contentEnded_ = true;
      break;
    }
    if (!textMode_) {
      delivered += have;
      continue;
    }
    const std::ptrdiff_t kept = ConvertInPlace(slice, have);
    if (kept < 0) return -1;
    delivered += static_cast<size_t>(kept);
  }
  return static_cast<std::ptrdiff_t>(delivered);
}

std::ptrdiff_t InputStream::ReadHiddenTail(char* destination, size_t count) {
  if (!endedAtEndOfText_) return 0;
  size_t delivered = std::min(count, hiddenHead_.size());
  std::memcpy(destination, hiddenHead_.data(), delivered);
  hiddenHead_.erase(0, delivered);
  while (delivered < count && !rawEnded_) {
    if (StopRequested()) {
      errno = ECANCELED;
      return -1;
    }
    const std::ptrdiff_t got =
        ReadRaw(destination + delivered, std::min(count - delivered, kSlice));
    if (got < 0) return -1;
    if (got == 0) rawEnded_ = true;
    delivered += static_cast<size_t>(got);
  }
  return static_cast<std::ptrdiff_t>(delivered);
}

bool InputStream::MayWalkSlice(unsigned long long offset, size_t count) const {
  if (StopRequested()) {
    errno = ECANCELED;
    return false;
  }
  if (const unsigned pause = pauseBeforeReadsMs.load(); pause > 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(pause));
  }
  const long long limit = failReadsAfter.load();
  if (limit >= 0 && offset + count > static_cast<unsigned long long>(limit)) {
    errno = EIO;
    return false;
  }
  return true;
}

std::ptrdiff_t InputStream::ReadAt(char* destination, size_t count, size_t offset) const {
  if (!MayWalkSlice(offset, count)) return -1;
  ReadStep(TEST_ReadStep::kRead, offset);
  for (;;) {
    const ssize_t got = ::pread(fd_, destination, count, static_cast<off_t>(offset));
    if (got >= 0 || errno != EINTR) return got;
  }
}

MapOutcome InputStream::MapWhole(ByteBuffer& buffer, size_t size, size_t& delivered) {
  if (fd_ < 0 || fromBytes_ || !ownsDescriptor_ || contentEnded_ || size < kMapThreshold) {
    return MapOutcome::kNotMapped;
  }
  ByteBuffer mapped;
  if (!mapped.MapFile(fd_, size, 1 + kContentPadding)) return MapOutcome::kNotMapped;
  char* const data = mapped.data();
  size_t firstCr = size;
  // Slice by slice, so that a stop is heard and a slow disk is waited for a slice at a
  // time. Populating a slice reads it in as read() would, and tells of a file that has
  // shrunk meanwhile (EFAULT) before anything touches the missing pages.
  const size_t walkEnd = std::min(size, walkTo_);
  const size_t step = ReleaseStep();
  size_t released = 0;
  for (size_t offset = std::min(walkFrom_ / kSlice * kSlice, walkEnd); offset < walkEnd;
       offset += kSlice) {
    // The conversion below maps in again what it rewrites.
    if (releaseWalked_ && offset - released >= step) {
      mapped.Release(released, offset);
      released = offset;
    }
    const size_t count = std::min(kSlice, walkEnd - offset);
    if (!MayWalkSlice(offset, count)) return MapOutcome::kFailed;
    ReadStep(TEST_ReadStep::kMapSlice, offset);
#ifdef MADV_POPULATE_READ
    int populated;
    while ((populated = ::madvise(data + offset, count, MADV_POPULATE_READ)) != 0 &&
           errno == EINTR) {
    }
    if (populated != 0 && errno != EINVAL) {
      return errno == EFAULT ? MapOutcome::kNotMapped : MapOutcome::kFailed;
    }
#endif
    if (!textMode_) continue;
    if (std::memchr(data + offset, kEndOfContent, count) != nullptr) return MapOutcome::kNotMapped;
    if (firstCr == size) {
      if (const void* cr = std::memchr(data + offset, '\r', count)) {
        firstCr = static_cast<size_t>(static_cast<const char*>(cr) - data);
      }
    }
  }
  size_t length = size;
  if (firstCr < size && !ConvertMapped(data, size, firstCr, length)) return MapOutcome::kFailed;
  // What the conversion rewrote, and the last byte's page below, are the run's own copies.
  mapped.KeepFrom(length > 0 ? std::min(firstCr, length - 1) : 0);
  if (releaseWalked_) mapped.Release(released, walkEnd);
  // The last content byte's page becomes private too: the line feed that ends every scan
  // of the last line stays where it is whatever happens to the file.
  if (length > 0) {
    volatile char* last = data + length - 1;
    *last = *last;
  }
  std::memset(data + length, 0, size - length);
  buffer.swap(mapped);
  delivered = length;
  contentEnded_ = true;
  rawEnded_ = true;
  mappedFiles.fetch_add(1, std::memory_order_relaxed);
  ReadStep(TEST_ReadStep::kMapped, 0);
  return MapOutcome::kMapped;
}

// Text mode over the whole mapped content, from its first carriage return on: the same
// rules as ConvertInPlace without slice ends to look past.
bool InputStream::ConvertMapped(char* data, size_t size, size_t from, size_t& length) const {
  size_t written = from;
  size_t read = from;
  size_t nextCheck = from + kSlice;
  while (read < size) {
    if (read >= nextCheck) {
      if (StopRequested()) {
        errno = ECANCELED;
        return false;
      }
      nextCheck = read + kSlice;
    }
    const size_t window = std::min(size - read, kSlice);
    const void* cr = std::memchr(data + read, '\r', window);
    const size_t runEnd =
        cr != nullptr ? static_cast<size_t>(static_cast<const char*>(cr) - data) : read + window;
    if (written != read) std::memmove(data + written, data + read, runEnd - read);
    written += runEnd - read;
    read = runEnd;
    if (cr == nullptr) continue;
    // A CR LF pair: the CR goes, the LF is copied with the next run. Any other CR stays.
    ++read;
    if (read < size && data[read] == '\n') continue;
    data[written++] = '\r';
  }
  length = written;
  return true;
}

// Compacts one slice of raw bytes into text-mode content. The result is never longer than
// the input, so the conversion happens where the bytes were read.
std::ptrdiff_t InputStream::ConvertInPlace(char* bytes, size_t count) {
  const char* const rawEnd = bytes + count;
  const char* end = rawEnd;
  if (const void* stop = std::memchr(bytes, kEndOfContent, count)) {
    end = static_cast<const char*>(stop);
    contentEnded_ = true;
    endedAtEndOfText_ = true;
    hiddenHead_.assign(end, rawEnd);  // kept: the rest of the slice is written over
  }
  size_t written = 0;
  const char* read = bytes;
  while (read < end) {
    const char* cr =
        static_cast<const char*>(std::memchr(read, '\r', static_cast<size_t>(end - read)));
    const char* runEnd = cr != nullptr ? cr : end;
    const size_t run = static_cast<size_t>(runEnd - read);
    if (bytes + written != read) std::memmove(bytes + written, read, run);
    written += run;
    read = runEnd;
    if (cr == nullptr) break;

    read = cr + 1;
    if (read < end) {
      // A CR LF pair: drop the CR, the LF is copied with the next run.
      if (*read != '\n') bytes[written++] = '\r';
    } else if (read < rawEnd || rawEnded_) {
      bytes[written++] = '\r';  // followed by the end of the content
    } else {
      // The slice ends in a CR: look one byte ahead to know whether it ends a line.
      char next = 0;
      const std::ptrdiff_t got = ReadRaw(&next, 1);
      if (got < 0) return -1;
      if (got == 0) {
        rawEnded_ = true;
        bytes[written++] = '\r';
      } else if (next == '\n') {
        bytes[written++] = '\n';
      } else {
        bytes[written++] = '\r';
        pendingByte_ = static_cast<unsigned char>(next);
      }
    }
  }
  return static_cast<std::ptrdiff_t>(written);
}

}  // namespace lindrel::engine
