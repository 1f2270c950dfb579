// Trimming of the byte-for-byte identical start and end of the two contents, so that only
// the lines in between are split, hashed and compared. Works on one run's two files, after
// FinishText; sets prefixEnd and suffixBegin of both and returns the prefix line count.
#pragma once

#include <cstddef>

#include "engine/InputFile.h"

namespace lindrel::engine {

// `horizonLines` lines before the first and after the last difference are kept in the
// comparison as well. Returns the number of lines before prefixEnd (equal on both sides).
size_t TrimIdenticalEnds(InputFile (&files)[2], long long horizonLines);

}  // namespace lindrel::engine
