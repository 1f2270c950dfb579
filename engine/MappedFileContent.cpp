// The hosts' protected read-only mappings (lindrel/MappedReading.h).
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>

#include "engine/MappedRanges.h"
#include "lindrel/MappedReading.h"

namespace lindrel {

namespace {

std::size_t PageSize() {
  static const std::size_t page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  return page;
}

}  // namespace

MappedFileContent::~MappedFileContent() { Unmap(); }

bool MappedFileContent::Map(int fd, std::size_t size) {
  Unmap();
  if (size == 0 || !MappedReadingAllowed()) return false;
  const std::size_t page = PageSize();
  if (size > static_cast<std::size_t>(-1) - page) return false;
  const std::size_t length = (size + page - 1) / page * page;
  void* region = ::mmap(nullptr, length, PROT_READ, MAP_PRIVATE, fd, 0);
  if (region == MAP_FAILED) return false;
  const int slot = engine::WatchMappedRange(region, length);
  if (slot < 0) {
    ::munmap(region, length);
    return false;
  }
  data_ = static_cast<char*>(region);
  size_ = size;
  mappedLength_ = length;
  watchSlot_ = slot;
  return true;
}

void MappedFileContent::Unmap() {
  if (data_ == nullptr) return;
  engine::StopWatchingMappedRange(watchSlot_);
  ::munmap(data_, mappedLength_);
  data_ = nullptr;
  size_ = mappedLength_ = 0;
  watchSlot_ = -1;
}

bool MappedFileContent::Lost() const {
  return data_ != nullptr && engine::MappedRangeLost(watchSlot_);
}

void MappedFileContent::Release(std::size_t offset, std::size_t length) {
  if (data_ == nullptr || offset >= size_) return;
  const std::size_t page = PageSize();
  const std::size_t from = (offset + page - 1) / page * page;
  const std::size_t to = std::min(offset + length, size_) / page * page;
  if (to > from) ::madvise(data_ + from, to - from, MADV_DONTNEED);
}

void MappedFileContent::Prefetch(std::size_t offset, std::size_t length) {
  if (data_ == nullptr || offset >= size_) return;
  const std::size_t page = PageSize();
  const std::size_t from = offset / page * page;
  const std::size_t to = std::min(offset + length, size_);
#ifdef MADV_POPULATE_READ
  // Fails past a new end of a shortened file; the scan's reads then meet the guard.
  if (::madvise(data_ + from, to - from, MADV_POPULATE_READ) == 0) return;
#endif
  ::madvise(data_ + from, to - from, MADV_WILLNEED);
}

}  // namespace lindrel
