#include "engine/LargeBlocks.h"

#include <sys/mman.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>

namespace lindrel::engine {

namespace {

constexpr size_t kHugePage = size_t{2} << 20;

std::atomic<size_t> failBlocksFrom{0};

size_t MappedLength(size_t bytes) { return (bytes + kHugePage - 1) / kHugePage * kHugePage; }

}  // namespace

size_t MappedBlockLength(size_t bytes) { return MappedLength(bytes); }

void TEST_FailBlocksFrom(size_t bytes) { failBlocksFrom.store(bytes); }

void* AllocateBlock(size_t bytes) {
  if (const size_t failFrom = failBlocksFrom.load(std::memory_order_relaxed);
      failFrom != 0 && bytes >= failFrom) {
    return nullptr;
  }
  if (bytes < kLargeBlock) return std::malloc(bytes == 0 ? 1 : bytes);
  if (bytes > static_cast<size_t>(-1) / 2) return nullptr;
  // Map one huge page more than needed and keep the aligned part: huge pages need 2 MiB
  // alignment, which a plain mapping does not promise.
  const size_t length = MappedLength(bytes);
  void* raw = ::mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE,
                     MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) return nullptr;
  const uintptr_t start = reinterpret_cast<uintptr_t>(raw);
  const uintptr_t aligned = (start + kHugePage - 1) / kHugePage * kHugePage;
  if (aligned != start) ::munmap(raw, aligned - start);
  const size_t tail = (start + length + kHugePage) - (aligned + length);
  if (tail != 0) ::munmap(reinterpret_cast<void*>(aligned + length), tail);
  void* block = reinterpret_cast<void*>(aligned);
  // Only advice: without huge pages the block works the same, with more page faults.
  ::madvise(block, length, MADV_HUGEPAGE);
  return block;
}

void AdviseHugePages(void* begin, size_t bytes) {
  const uintptr_t start = reinterpret_cast<uintptr_t>(begin);
  if (bytes < kHugePage || start > UINTPTR_MAX - bytes) return;
  const uintptr_t first = (start + kHugePage - 1) / kHugePage * kHugePage;
  const uintptr_t last = (start + bytes) / kHugePage * kHugePage;
  if (first < last) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

void ReleaseBlock(void* block, size_t bytes) {
  if (block == nullptr) return;
  if (bytes < kLargeBlock) {
    std::free(block);
  } else {
    ::munmap(block, MappedLength(bytes));
  }
}

}  // namespace lindrel::engine
