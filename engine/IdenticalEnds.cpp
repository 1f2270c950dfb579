#include "engine/IdenticalEnds.h"

#include <cstdint>
#include <cstring>

namespace lindrel::engine {

namespace {

uint64_t LoadWord(const char* p) {
  uint64_t word;
  std::memcpy(&word, p, sizeof word);
  return word;
}

// Offset of the first byte where the two contents differ. A sentinel planted at the end of
// the shorter content guarantees a difference there, so the scan needs no bounds test; the
// padding behind the content keeps every word read inside both buffers.
size_t FirstMismatch(InputFile (&files)[2]) {
  char* b0 = files[0].buffer.data();
  char* b1 = files[1].buffer.data();
  const size_t n0 = files[0].buffered;
  const size_t n1 = files[1].buffered;
  char* sentinel;
  if (n0 < n1) {
    sentinel = b0 + n0;
    *sentinel = static_cast<char>(~b1[n0]);
  } else {
    sentinel = b1 + n1;
    *sentinel = static_cast<char>(~b0[n1]);
  }
  size_t at = 0;
  while (LoadWord(b0 + at) == LoadWord(b1 + at)) at += sizeof(uint64_t);
  while (b0[at] == b1[at]) ++at;
  *sentinel = 0;  // back to padding
  return at;
}

// Offset (counted back from both ends) where the identical tails start, scanning no
// further back than `limit` on the master side.
size_t IdenticalTailStart(const InputFile (&files)[2], size_t limit) {
  const char* b0 = files[0].buffer.data();
  const char* b1 = files[1].buffer.data();
  size_t p0 = files[0].buffered;
  size_t p1 = files[1].buffered;
  while (p0 - limit >= sizeof(uint64_t) &&
         LoadWord(b0 + p0 - sizeof(uint64_t)) == LoadWord(b1 + p1 - sizeof(uint64_t))) {
    p0 -= sizeof(uint64_t);
    p1 -= sizeof(uint64_t);
  }
  while (p0 != limit && b0[p0 - 1] == b1[p1 - 1]) {
    --p0;
    --p1;
  }
  return p0;
}

bool AtLineStart(const char* buffer, size_t position) {
  return position == 0 || buffer[position - 1] == '\n';
}

}  // namespace

size_t TrimIdenticalEnds(InputFile (&files)[2], long long horizonLines) {
  const char* b0 = files[0].buffer.data();
  const char* b1 = files[1].buffer.data();
  const size_t n0 = files[0].buffered;
  const size_t n1 = files[1].buffered;

  size_t mismatch = FirstMismatch(files);
  // The line feed appended to an incomplete last line never counts as matching: when the
  // scan ran past the real content of one side only, that side's last line lacks the line
  // feed the other side has there. This holds even when both last lines are incomplete
  // ("x" against "x", "y"): the master's "x" has no line feed, the source's first "x" has.
  {
    const bool past0 = mismatch > n0 - (files[0].incompleteLastLine ? 1 : 0);
    const bool past1 = mismatch > n1 - (files[1].incompleteLastLine ? 1 : 0);
    if (past0 != past1) --mismatch;
  }
  size_t prefixEnd = mismatch;
  for (long long horizon = horizonLines; prefixEnd > 0; --prefixEnd) {
    if (b0[prefixEnd - 1] == '\n') {
      if (horizon == 0) break;
      --horizon;
    }
  }
  files[0].prefixEnd = files[1].prefixEnd = prefixEnd;

  if (files[0].incompleteLastLine != files[1].incompleteLastLine) {
    files[0].suffixBegin = n0;
    files[1].suffixBegin = n1;
  } else {
    // The suffix never reaches back into the prefix on either side.
    const size_t limit = prefixEnd + (n0 > n1 ? n0 - n1 : 0);
    const size_t tail0 = IdenticalTailStart(files, limit);
    const size_t tail1 = n1 - (n0 - tail0);
    long long lines = horizonLines;
    if (!(AtLineStart(b0, tail0) && AtLineStart(b1, tail1))) ++lines;
    size_t p0 = tail0;
    for (; lines > 0 && p0 != n0; --lines) {
      const void* lineFeed = std::memchr(b0 + p0, '\n', n0 - p0);
      p0 = static_cast<size_t>(static_cast<const char*>(lineFeed) - b0) + 1;
    }
    files[0].suffixBegin = p0;
    files[1].suffixBegin = tail1 + (p0 - tail0);
  }

  size_t lineCount = 0;
  for (size_t i = 0; i < prefixEnd; ++i) lineCount += b0[i] == '\n';
  return lineCount;
}

}  // namespace lindrel::engine
