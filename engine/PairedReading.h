// Reading the rest of both sides at once. Two large regular files are mapped and walked
// side by side, slice by slice, and while a slice of each is still in cache their equal
// start is compared, and after the first difference their equal end, so that the trim of
// the identical ends does not bring the files in from memory a second time.
#pragma once

#include "engine/IdenticalEnds.h"
#include "engine/InputFile.h"

namespace lindrel::engine {

// Reads the rest of both files as ReadRest does each, and tells in `known` what the walk
// found of their identical ends (nothing when they were not walked side by side). Returns
// the file whose read failed (a read error, a stop, memory), or nullptr.
InputFile* ReadRestOfBoth(InputFile (&files)[2], bool alwaysText, KnownEqualEnds& known);

}  // namespace lindrel::engine
