// The binary (and brief) comparison of two open files: byte for byte on the text-mode
// content, block by block, stopping at the first difference. Works on one run's files.
#pragma once

#include "engine/EngineRun.h"
#include "engine/InputFile.h"

namespace lindrel::engine {

// Returns 0 when the contents are the same, 1 when they differ (without reading anything
// when both are regular files of different sizes on disk), 2 on a read error (the file
// named to `run`). Sends "Files %s and %s differ\n" (brief) or "Binary files %s and %s
// differ\n" to the message sink when they differ.
int CompareBinary(EngineRun& run, InputFile (&files)[2], bool brief);

}  // namespace lindrel::engine
