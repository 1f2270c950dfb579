// A growable block of bytes that is not zero-filled when it grows: a file's content is
// read straight into it, so even a large file costs one allocation and no extra pass.
// Owned by one run; not shared between threads.
#pragma once

#include <cstddef>

namespace lindrel::engine {

class ByteBuffer {
 public:
  ByteBuffer() = default;
  ~ByteBuffer();
  ByteBuffer(const ByteBuffer&) = delete;
  ByteBuffer& operator=(const ByteBuffer&) = delete;

  // Makes room for at least `capacity` bytes, keeping the content. False when memory runs
  // out (the old content is then still there).
  bool Reserve(size_t capacity) { return capacity <= capacity_ || Grow(capacity); }

  char* data() { return data_; }
  const char* data() const { return data_; }
  size_t capacity() const { return capacity_; }

 private:
  bool Grow(size_t capacity);

  char* data_ = nullptr;
  size_t capacity_ = 0;
  size_t mappedLength_ = 0;  // non-zero when the block is a mapping of its own
};

}  // namespace lindrel::engine
