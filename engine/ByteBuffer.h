// A growable block of bytes that is not zero-filled when it grows: a file's content is
// read straight into it, so even a large file costs one allocation and no extra pass.
// Owned by one run; not shared between threads.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <utility>

namespace lindrel::engine {

class ByteBuffer {
 public:
  ByteBuffer() = default;
  ~ByteBuffer() { std::free(data_); }
  ByteBuffer(const ByteBuffer&) = delete;
  ByteBuffer& operator=(const ByteBuffer&) = delete;
  ByteBuffer(ByteBuffer&& other) noexcept
      : data_(std::exchange(other.data_, nullptr)), capacity_(std::exchange(other.capacity_, 0)) {}

  // Makes room for at least `capacity` bytes, keeping the content. False when memory runs
  // out (the old content is then still there).
  bool Reserve(size_t capacity) {
    if (capacity <= capacity_) return true;
    return Resize(capacity);
  }

  // Makes the block exactly `capacity` bytes (at least 1), keeping what fits.
  bool Resize(size_t capacity) {
    if (capacity == 0) capacity = 1;
    void* grown = std::realloc(data_, capacity);
    if (grown == nullptr) return false;
    data_ = static_cast<char*>(grown);
    capacity_ = capacity;
    return true;
  }

  char* data() { return data_; }
  const char* data() const { return data_; }
  size_t capacity() const { return capacity_; }

 private:
  char* data_ = nullptr;
  size_t capacity_ = 0;
};

}  // namespace lindrel::engine
