// The compared lines of one side: where each starts in the side's buffer and the number of
// its equivalence class. Lines are never copied; they stay in the file's one buffer.
// Belongs to one run.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/LargeBlocks.h"

namespace lindrel::engine {

// Line positions and counts: signed, so that the search may step one before the start.
using Lin = std::ptrdiff_t;

struct ComparedLines {
  const char* base = nullptr;  // the side's buffer
  // Where every compared line starts, as an offset into the buffer, then one more entry
  // just past the last compared line (before the appended line feed of an incomplete last
  // line). Four bytes an entry while the buffer is below 4 GiB, else eight (`wide`).
  BigVector<uint32_t> starts;
  BigVector<uint64_t> wideStarts;
  bool wide = false;
  bool lastIncomplete = false;  // the last compared line is the file's incomplete last line
  BigVector<int> classes;       // class number of every compared line, from 1
  size_t prefixLines = 0;       // lines before the first compared line

  Lin count() const { return static_cast<Lin>(classes.size()); }
  size_t start(Lin i) const {
    return wide ? static_cast<size_t>(wideStarts[static_cast<size_t>(i)])
                : starts[static_cast<size_t>(i)];
  }
  const char* line(Lin i) const { return base + start(i); }
  size_t length(Lin i) const { return start(i + 1) - start(i); }
};

}  // namespace lindrel::engine
