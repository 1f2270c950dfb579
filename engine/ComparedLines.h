// The compared lines of one side: where each starts in the side's buffer and the number of
// its equivalence class. Lines are never copied; they stay in the file's one buffer.
// Belongs to one run.
#pragma once

#include <cstddef>
#include "engine/LargeBlocks.h"

namespace lindrel::engine {

// Line positions and counts: signed, so that the search may step one before the start.
using Lin = std::ptrdiff_t;

struct ComparedLines {
  // Start of every compared line, then one more entry just past the last compared line
  // (before the appended line feed of an incomplete last line).
  BigVector<const char*> starts;
  BigVector<int> classes;  // class number of every compared line, from 1
  size_t prefixLines = 0;  // lines before the first compared line

  Lin count() const { return static_cast<Lin>(classes.size()); }
  const char* line(Lin i) const { return starts[static_cast<size_t>(i)]; }
  size_t length(Lin i) const {
    return static_cast<size_t>(starts[static_cast<size_t>(i) + 1] - starts[static_cast<size_t>(i)]);
  }
};

}  // namespace lindrel::engine
