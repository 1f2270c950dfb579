// Reading the rest of both sides at once. Of two large regular files the equal start and
// the equal end are compared first, as they are read through small buffers (the end on a
// second thread); only the bytes between are then mapped and brought in, and the trim of
// the identical ends starts from what was found.
#pragma once

#include "engine/IdenticalEnds.h"
#include "engine/InputFile.h"

namespace lindrel::engine {

// Reads the rest of both files as ReadRest does each, and tells in `known` what was found
// of their identical ends (nothing for small files, pipes and texts). Returns the file
// whose read failed (a read error, a stop, memory), or nullptr.
InputFile* ReadRestOfBoth(InputFile (&files)[2], bool alwaysText, KnownEqualEnds& known);

}  // namespace lindrel::engine
