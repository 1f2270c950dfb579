// The edit script: the changes between the two compared line sequences in increasing
// line order, each a run of deleted master lines and inserted source lines at one place.
// Built and read by one run on its own thread.
#pragma once

#include <vector>

#include "engine/ChangedFlags.h"
#include "engine/ComparedLines.h"

namespace lindrel::engine {

struct Change {
  Lin line0;     // first master line (index among compared lines); for a pure insertion
                 // the index before which the source lines stand
  Lin line1;     // first source line, the same way
  Lin deleted;   // master lines
  Lin inserted;  // source lines

  friend bool operator==(const Change&, const Change&) = default;
};

// Collects the runs of changed flags into changes; no two are adjacent on both sides.
std::vector<Change> BuildScript(const ChangedFlags& flags);

}  // namespace lindrel::engine
