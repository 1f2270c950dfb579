// The filter that keeps confusing lines out of the search: lines whose class never occurs
// on the other side, and, inside runs of those, lines whose class occurs there far too
// often. Lines taken out are marked changed at once. Works on one run's tables.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/ChangedFlags.h"
#include "engine/ComparedLines.h"
#include "engine/LargeBlocks.h"

namespace lindrel::engine {

// The lines of one side that take part in the search: their classes, in order, and beside
// each its index among all compared lines.
struct KeptLines {
  BigVector<int> classes;
  // The indices in four bytes, or in eight (`wideRealIndex`) for a side whose line offsets
  // take eight.
  BigVector<uint32_t> realIndex;
  BigVector<Lin> wideRealIndex;
  bool wide = false;

  Lin count() const { return static_cast<Lin>(classes.size()); }
  Lin RealIndex(Lin i) const {
    return wide ? wideRealIndex[static_cast<size_t>(i)]
                : static_cast<Lin>(realIndex[static_cast<size_t>(i)]);
  }
};

// Builds the kept lines of both sides. With `noDiscards` every line is kept.
void FilterConfusingLines(const ComparedLines (&tables)[2], int classCountPlusOne, bool noDiscards,
                          ChangedFlags& flags, KeptLines (&kept)[2]);

// The marks of one side before the runs are examined (1 = no match on the other side,
// 2 = provisional, more than the threshold of matches there, 0 = keep), and the run rules
// applied to them in place; exposed for tests.
void ResolveProvisionalMarks(char* marks, Lin count);

}  // namespace lindrel::engine
