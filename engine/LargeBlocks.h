// Memory for the engine's large tables and buffers. Blocks of 256 KiB and more are mapped
// on their own, in whole 2 MiB huge pages: filling fresh memory page by page costs one page
// fault per 4 KiB, which for the tables of a million-line file adds up to more time than
// the comparison itself. Smaller blocks come from malloc. Safe from any thread.
#pragma once

#include <cstddef>
#include <new>
#include <vector>

namespace lindrel::engine {

// Blocks from this size on are mapped with huge pages.
constexpr size_t kLargeBlock = size_t{256} << 10;

// `bytes` of uninitialised memory (zero-filled when it is a fresh mapping), or nullptr.
void* AllocateBlock(size_t bytes);
// The length of the mapping behind a block of `bytes` (at least kLargeBlock): whole huge
// pages, all of it usable.
size_t MappedBlockLength(size_t bytes);
// Releases a block of `bytes` from AllocateBlock.
void ReleaseBlock(void* block, size_t bytes);
// Asks for huge pages behind the whole 2 MiB pages inside memory that came from elsewhere
// (a large std::vector, say) and is not yet filled. Only advice: nothing changes when the
// kernel declines, and ranges without a whole huge page are left alone.
void AdviseHugePages(void* begin, size_t bytes);

// Tests only: every later allocation of a block of `bytes` or more fails, as when memory
// runs out; 0 turns the fault off.
void TEST_FailBlocksFrom(size_t bytes);

// An allocator over those blocks, for std::vector.
template <typename T>
struct LargeBlockAllocator {
  using value_type = T;
  LargeBlockAllocator() = default;
  template <typename U>
  LargeBlockAllocator(const LargeBlockAllocator<U>&) {}

  T* allocate(size_t n) {
    if (n > static_cast<size_t>(-1) / sizeof(T)) throw std::bad_alloc();
    void* block = AllocateBlock(n * sizeof(T));
    if (block == nullptr) throw std::bad_alloc();
    return static_cast<T*>(block);
  }
  void deallocate(T* block, size_t n) { ReleaseBlock(block, n * sizeof(T)); }

  template <typename U>
  bool operator==(const LargeBlockAllocator<U>&) const {
    return true;
  }
};

template <typename T>
using BigVector = std::vector<T, LargeBlockAllocator<T>>;

// A fixed-size array whose elements start uninitialised: for tables every entry of which
// is written before it is read.
template <typename T>
class UninitialisedArray {
 public:
  explicit UninitialisedArray(size_t count)
      : count_(count), data_(LargeBlockAllocator<T>().allocate(count)) {}
  ~UninitialisedArray() { LargeBlockAllocator<T>().deallocate(data_, count_); }
  UninitialisedArray(const UninitialisedArray&) = delete;
  UninitialisedArray& operator=(const UninitialisedArray&) = delete;

  T* data() { return data_; }

 private:
  size_t count_;
  T* data_;
};

}  // namespace lindrel::engine
