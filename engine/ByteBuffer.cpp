#include "engine/ByteBuffer.h"

#include <sys/mman.h>

#include <cstdlib>
#include <cstring>

#include "engine/LargeBlocks.h"

namespace lindrel::engine {

ByteBuffer::~ByteBuffer() {
  if (mappedLength_ != 0) {
    ReleaseBlock(data_, mappedLength_);
  } else {
    std::free(data_);
  }
}

bool ByteBuffer::Grow(size_t capacity) {
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
