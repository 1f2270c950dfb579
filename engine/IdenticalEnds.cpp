#include "engine/IdenticalEnds.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace lindrel::engine {

namespace {

uint64_t LoadWord(const char* p) {
  uint64_t word;
  std::memcpy(&word, p, sizeof word);
  return word;
}

constexpr uint64_t kEveryByte = 0x0101010101010101ULL;
constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
constexpr uint64_t kHigh = 0x8080808080808080ULL;

// One per byte lane of `word` that holds a line feed (exact, no carries between lanes).
uint64_t LineFeedLanes(uint64_t word) {
  const uint64_t x = word ^ (kEveryByte * '\n');
  const uint64_t nonZero = ((x & kLow7) + kLow7) | x;
  return (~nonZero & kHigh) >> 7;
}

// The sum of the eight byte lanes of `lanes`, each at most 255.
size_t SumLanes(uint64_t lanes) {
  const uint64_t pairs = (lanes & 0x00FF00FF00FF00FFULL) + ((lanes >> 8) & 0x00FF00FF00FF00FFULL);
  return static_cast<size_t>((pairs * 0x0001000100010001ULL) >> 48);
}

struct Mismatch {
  size_t at;         // first differing byte
  size_t lineFeeds;  // line feeds before it
};

// The first byte where the two contents differ, and the line feeds before it, counted in
// the same pass. A sentinel planted at the end of the shorter content guarantees a
// difference there, so the scan needs no bounds test; the padding behind the content keeps
// every word read inside both buffers.
Mismatch FirstMismatch(InputFile (&files)[2], const KnownEqualEnds& known) {
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
  size_t lineFeeds = 0;
  if (known.prefixBytes <= std::min(n0, n1)) {
    at = known.prefixBytes;
    lineFeeds = known.prefixLineFeeds;
  }
  for (;;) {
    // Lanes count up to 255 words before they are summed.
    uint64_t lanes = 0;
    int words = 0;
    for (; words < 255; ++words, at += sizeof(uint64_t)) {
      const uint64_t word = LoadWord(b0 + at);
      if (word != LoadWord(b1 + at)) break;
      lanes += LineFeedLanes(word);
    }
    lineFeeds += SumLanes(lanes);
    if (words < 255) break;
  }
  for (; b0[at] == b1[at]; ++at) lineFeeds += b0[at] == '\n';
  *sentinel = 0;  // back to padding
  return {at, lineFeeds};
}

// Offset (counted back from both ends) where the identical tails start, scanning no
// further back than `limit` on the master side. The master's bytes from `knownFrom` on are
// known to equal the source's last ones: the scan starts where it would have reached.
size_t IdenticalTailStart(const InputFile (&files)[2], size_t limit, size_t knownFrom) {
  const char* b0 = files[0].buffer.data();
  const char* b1 = files[1].buffer.data();
  size_t p0 = files[0].buffered;
  size_t p1 = files[1].buffered;
  if (knownFrom < p0) {
    const size_t words = (p0 - std::max(knownFrom, limit)) / sizeof(uint64_t);
    p0 -= words * sizeof(uint64_t);
    p1 -= words * sizeof(uint64_t);
  }
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

// Where the master's bytes are known to equal the source's last ones, or its length.
size_t KnownTailStart(const InputFile (&files)[2], const KnownEqualEnds& known) {
  const size_t n0 = files[0].buffered;
  const size_t n1 = files[1].buffered;
  // Valid while both contents are as they were read, but for the same appended line feed.
  if (!known.tailKnown || known.masterLength > n0 || known.sourceLength > n1 ||
      n0 - known.masterLength != n1 - known.sourceLength || known.tailFrom > known.masterLength) {
    return n0;
  }
  return known.tailFrom;
}

}  // namespace

size_t TrimIdenticalEnds(InputFile (&files)[2], long long horizonLines,
                         const KnownEqualEnds& known) {
  const char* b0 = files[0].buffer.data();
  const char* b1 = files[1].buffer.data();
  const size_t n0 = files[0].buffered;
  const size_t n1 = files[1].buffered;

  const Mismatch first = FirstMismatch(files, known);
  size_t mismatch = first.at;
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
    const size_t tail0 = IdenticalTailStart(files, limit, KnownTailStart(files, known));
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

  // The line feeds between the prefix end and the raw mismatch were counted but are not in
  // the prefix.
  size_t lineCount = first.lineFeeds;
  for (size_t i = prefixEnd; i < first.at; ++i) lineCount -= b0[i] == '\n';
  return lineCount;
}

}  // namespace lindrel::engine
