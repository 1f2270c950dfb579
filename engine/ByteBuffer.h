// A growable block of bytes that is not zero-filled when it grows: a file's content is
// read straight into it, so even a large file costs one allocation and no extra pass.
// A large file can instead be mapped copy-on-write (MapFile): its pages are then those of
// the page cache, and only the pages written to are copied. Owned by one run; not shared
// between threads.
#pragma once

#include <cstddef>

namespace lindrel::engine {

// Passes that walk a mapped file give back the part they have left behind (Release) each
// time they have walked this many bytes further.
size_t ReleaseStep();
// Tests only: sets the step for every later pass; 0 restores the default.
void TEST_SetReleaseStep(size_t bytes);

class ByteBuffer {
 public:
  ByteBuffer() = default;
  ~ByteBuffer();
  ByteBuffer(const ByteBuffer&) = delete;
  ByteBuffer& operator=(const ByteBuffer&) = delete;

  // Makes room for at least `capacity` bytes, keeping the content. False when memory runs
  // out (the old content is then still there).
  bool Reserve(size_t capacity) { return capacity <= capacity_ || Grow(capacity); }

  // Replaces the content with a private, writable mapping of the first `size` bytes of
  // the regular file `fd`, followed by `extra` bytes of zeros. Pages past the file's
  // end, should it shrink meanwhile, read as zeros (see MappedRanges.h). False (errno
  // set, the buffer unchanged) when the file cannot be mapped.
  bool MapFile(int fd, size_t size, size_t extra);
  // True when part of a mapped file vanished (the file was shortened while mapped) and
  // reads as zeros: the content is not the file's.
  bool ContentLost() const;

  // Gives the pages of [from, to) of a mapped file's content back (from the page holding
  // `from` to the last page wholly before `to`): they stay in the page cache, and the next
  // access maps them in again (a minor fault) with the same bytes. Pages the run has
  // written to (KeepFrom) are kept, and so is content that was read rather than mapped.
  // Only a memory saving: what the buffer holds never changes.
  void Release(size_t from, size_t to) const;
  // The bytes from `offset` on are written to by the run: their pages, private copies
  // from then on, are never released (they would come back as the file's bytes).
  void KeepFrom(size_t offset) {
    if (offset < releasableEnd_) releasableEnd_ = offset;
  }

  void swap(ByteBuffer& other) noexcept;

  char* data() { return data_; }
  const char* data() const { return data_; }
  size_t capacity() const { return capacity_; }

 private:
  bool Grow(size_t capacity);

  char* data_ = nullptr;
  size_t capacity_ = 0;
  size_t mappedLength_ = 0;   // non-zero when the block is a mapping of its own
  bool fileMapping_ = false;  // the mapping holds a file (mappedLength_ exact, not huge pages)
  int watchSlot_ = -1;
  size_t releasableEnd_ = 0;  // Release leaves the pages from here on alone
};

}  // namespace lindrel::engine
