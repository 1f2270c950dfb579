// The changed flags of one comparison: one byte per compared line of each side (1 =
// deleted from the master or inserted into the source), in one zeroed block laid out as
// guard, master flags, guard, guard, source flags, guard. The guards stay 0 so that scans
// may look one place before the first and one after the last line. Belongs to one run.
#pragma once

#include "engine/LargeBlocks.h"

#include "engine/ComparedLines.h"

namespace lindrel::engine {

class ChangedFlags {
 public:
  ChangedFlags(Lin masterLines, Lin sourceLines)
      : block_(static_cast<size_t>(masterLines + sourceLines + 4), 0),
        count_{masterLines, sourceLines} {}

  // Flags of side 0 (master) or 1 (source); index -1 and count() are guards.
  char* side(int which) { return block_.data() + (which == 0 ? 1 : count_[0] + 3); }
  const char* side(int which) const { return block_.data() + (which == 0 ? 1 : count_[0] + 3); }
  Lin count(int which) const { return count_[which]; }

 private:
  BigVector<char> block_;
  Lin count_[2];
};

}  // namespace lindrel::engine
