// What text mode hides: the bytes from a byte 26 (control-Z), where the content ends, to
// the end of the file. Two files whose contents compare the same are still different
// files when these bytes differ, and the comparison must not call them identical.
#pragma once

#include "engine/EngineRun.h"
#include "engine/InputFile.h"

namespace lindrel::engine {

// Compares the hidden tails of two files whose contents have been read to their end:
// 0 when they are equal (in particular when neither content ended at a byte 26), 1 when
// they differ, 2 when one cannot be read (named to `run`), kStopped when the run's stop flag ended
// it.
int CompareHiddenTails(EngineRun& run, InputFile (&files)[2]);

}  // namespace lindrel::engine
