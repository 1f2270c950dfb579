// The comparison of two open files: the first look and the binary decision, then either
// the binary comparison or the text comparison (read, trim, hash, search, shift, script,
// hunk pass) that delivers the run's change records. Runs on the run's own thread.
#pragma once

#include "engine/EngineRun.h"
#include "engine/InputFile.h"

namespace lindrel::engine {

// Returns 0 when the files are the same under the run's settings, 1 when they differ,
// 2 when a file cannot be read or memory runs out, kStopped when the run's stop flag ended
// the search (no record has been delivered then).
int CompareOpenFiles(EngineRun& run, InputFile (&files)[2]);

}  // namespace lindrel::engine
