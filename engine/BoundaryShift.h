// Sliding runs of changed lines down where that describes the same edit: a run whose
// first line equals the unchanged line right after it moves down one line per such
// equality, as long as the other side has no change at that place. Works on one run's
// flags and line tables.
#pragma once

#include "engine/ChangedFlags.h"
#include "engine/ComparedLines.h"

namespace lindrel::engine {

void ShiftBoundaries(const ComparedLines (&tables)[2], ChangedFlags& flags);

}  // namespace lindrel::engine
