#include "engine/ByteBuffer.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "engine/LargeBlocks.h"
#include "engine/MappedRanges.h"

namespace lindrel::engine {

namespace {

// Large enough that a pass makes few system calls, small enough that what it holds of a
// file at any time is a small part of a large one.
constexpr size_t kReleaseStep = size_t{4} << 20;

std::atomic<size_t> releaseStep{kReleaseStep};

size_t PageSize() {
  static const size_t page = [] {
    const long size = ::sysconf(_SC_PAGESIZE);
    return size > 0 ? static_cast<size_t>(size) : size_t{4096};
  }();
  return page;
}

}  // namespace

size_t ReleaseStep() { return releaseStep.load(std::memory_order_relaxed); }

void TEST_SetReleaseStep(size_t bytes) { releaseStep.store(bytes == 0 ? kReleaseStep : bytes); }

ByteBuffer::~ByteBuffer() {
  if (fileMapping_) {
    StopWatchingMappedRange(watchSlot_);
    ::munmap(data_, mappedLength_);
  } else if (mappedLength_ != 0) {
    ReleaseBlock(data_, mappedLength_);
  } else {
    std::free(data_);
  }
}

void ByteBuffer::swap(ByteBuffer& other) noexcept {
  std::swap(data_, other.data_);
  std::swap(capacity_, other.capacity_);
  std::swap(mappedLength_, other.mappedLength_);
  std::swap(fileMapping_, other.fileMapping_);
  std::swap(watchSlot_, other.watchSlot_);
  std::swap(releasableEnd_, other.releasableEnd_);
}

bool ByteBuffer::MapFile(int fd, size_t size, size_t extra) {
  const size_t page = PageSize();
  if (size == 0 || size > static_cast<size_t>(-1) / 2 || extra > page) {
    errno = EINVAL;
    return false;
  }
  const size_t fileLength = (size + page - 1) / page * page;
  // Zeros behind the file's pages, for the appended line feed and the padding when the
  // content fills its last page.
  const size_t length = (size + extra + page - 1) / page * page;
  void* region =
      ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (region == MAP_FAILED) return false;
  if (::mmap(region, fileLength, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_FIXED, fd, 0) ==
      MAP_FAILED) {
    const int error = errno;
    ::munmap(region, length);
    errno = error;
    return false;
  }
  const int slot = WatchMappedRange(region, fileLength);
  if (slot < 0) {
    ::munmap(region, length);
    errno = ENOMEM;
    return false;
  }
  ByteBuffer mapped;
  mapped.data_ = static_cast<char*>(region);
  mapped.capacity_ = length;
  mapped.mappedLength_ = length;
  mapped.fileMapping_ = true;
  mapped.watchSlot_ = slot;
  mapped.releasableEnd_ = size;
  swap(mapped);
  return true;
}

bool ByteBuffer::ContentLost() const { return fileMapping_ && MappedRangeLost(watchSlot_); }

void ByteBuffer::Release(size_t from, size_t to) const {
  if (!fileMapping_) return;
  const size_t page = PageSize();
  // The page holding `from` may still be read; it only costs a minor fault then.
  const size_t first = from / page * page;
  const size_t last = std::min(to, releasableEnd_) / page * page;
  // Only advice as far as the result goes: pages that stay cost memory, nothing else. A
  // private mapping's untouched pages are the page cache's, so dropping them loses nothing.
  if (first < last) ::madvise(data_ + first, last - first, MADV_DONTNEED);
}

bool ByteBuffer::Grow(size_t capacity) {
  if (fileMapping_) {
    // Never needed for a mapped file (its room is there from the start); a copy keeps the
    // rule that the content survives.
    ByteBuffer copy;
    if (!copy.Reserve(capacity)) return false;
    std::memcpy(copy.data_, data_, capacity_);
    swap(copy);
    return true;
  }
  if (capacity < kLargeBlock && mappedLength_ == 0) {
    void* grown = std::realloc(data_, capacity);
    if (grown == nullptr) return false;
    data_ = static_cast<char*>(grown);
    capacity_ = capacity;
    return true;
  }
  // A file's content: mapped with huge pages (see LargeBlocks.h), moved when it grows.
  if (capacity > static_cast<size_t>(-1) - kLargeBlock) return false;
  const size_t length = MappedBlockLength(capacity);
  if (mappedLength_ != 0) {
    void* moved = ::mremap(data_, mappedLength_, length, MREMAP_MAYMOVE);
    if (moved == MAP_FAILED) return false;
    ::madvise(moved, length, MADV_HUGEPAGE);
    data_ = static_cast<char*>(moved);
  } else {
    char* block = static_cast<char*>(AllocateBlock(length));
    if (block == nullptr) return false;
    if (capacity_ != 0) std::memcpy(block, data_, capacity_);
    std::free(data_);
    data_ = block;
  }
  mappedLength_ = length;
  capacity_ = length;
  return true;
}

}  // namespace lindrel::engine
