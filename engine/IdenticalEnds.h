// Trimming of the byte-for-byte identical start and end of the two contents, so that only
// the lines in between are split, hashed and compared. Works on one run's two files, after
// FinishText; sets prefixEnd and suffixBegin of both and returns the prefix line count.
#pragma once

#include <cstddef>

#include "engine/InputFile.h"

namespace lindrel::engine {

// What reading the two contents side by side already found of their identical ends, in
// positions of the content as read (before FinishText).
struct KnownEqualEnds {
  size_t prefixBytes = 0;      // the first prefixBytes bytes are equal on both sides
  size_t prefixLineFeeds = 0;  // line feeds among them
  // When tailKnown: the master's bytes from tailFrom to masterLength equal as many last
  // bytes of the source, whose content was sourceLength long.
  bool tailKnown = false;
  size_t tailFrom = 0;
  size_t masterLength = 0;
  size_t sourceLength = 0;
};

// `horizonLines` lines before the first and after the last difference are kept in the
// comparison as well. Returns the number of lines before prefixEnd (equal on both sides).
// `known` only saves work: the result is the same without it.
size_t TrimIdenticalEnds(InputFile (&files)[2], long long horizonLines,
                         const KnownEqualEnds& known = {});

}  // namespace lindrel::engine
