// Splitting the compared part of both files into lines and numbering every line with its
// equivalence class: two lines get the same number exactly when they are equal under the
// run's settings (ignore case, ignore all white space, ignore white-space amount). The
// class table is built for one run and dropped once the numbers are assigned.
#pragma once

#include <atomic>

#include <cstddef>
#include <cstdint>

#include "engine/ComparedLines.h"
#include "engine/EngineSettings.h"
#include "engine/InputFile.h"

namespace lindrel::engine {

// The hash of the line starting at `line` (up to, not including, its line feed): each byte
// of its normalised form is added after rotating the hash left by 7 bits. Normalised lines
// are hashed this way; unnormalised ones take a faster hash a word at a time.
uint32_t HashLine(const char* line, const EngineSettings& settings);

// Tests only: makes every later run of this process hash unnormalised lines byte by byte
// (with HashLine) instead of a word at a time, so that both can be shown to give the same
// records.
void TEST_HashLinesByteByByte(bool byteByByte);

// Tests only: makes every later run of this process keep line offsets and the classes'
// first lines in eight bytes, as it does for a buffer of 4 GiB or more, so that both
// widths can be shown to give the same records.
void TEST_WideLineOffsets(bool wide);

// Number of hash buckets for a class table of `classCapacity` entries: the first prime of
// the table (largest primes below the powers of two from 2^9 on) not below a third of it.
size_t BucketCountFor(size_t classCapacity);

// The bucket of a hash: its remainder by the bucket count, computed without a division
// instruction (Lemire's method, exact for all 32-bit operands).
class BucketIndex {
  __extension__ using Wide = unsigned __int128;

 public:
  explicit BucketIndex(uint32_t buckets) : buckets_(buckets), magic_(~uint64_t{0} / buckets + 1) {}
  uint32_t operator()(uint32_t hash) const {
    const uint64_t low = magic_ * hash;
    return static_cast<uint32_t>((static_cast<Wide>(low) * buckets_) >> 64);
  }
  uint32_t count() const { return buckets_; }

 private:
  uint32_t buckets_;
  uint64_t magic_;
};

// Fills both line tables from prefixEnd to suffixBegin of each file and returns the number
// of classes plus one, or 0 when `stop` (polled every few thousand lines) was raised: the
// tables are then incomplete. Throws std::bad_alloc when memory runs out. A mapped file's
// pages are given back behind the passes, and all of them once the classes are assigned
// (ByteBuffer::Release): a line read afterwards is mapped in again.
int AssignLineClasses(const InputFile (&files)[2], size_t prefixLines,
                      const EngineSettings& settings, ComparedLines (&tables)[2],
                      const std::atomic<bool>* stop = nullptr);

}  // namespace lindrel::engine
