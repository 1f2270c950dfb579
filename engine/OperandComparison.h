// Deciding what kind of comparison two operand paths call for and making it: two files,
// a directory and a file (the file's name looked up in the directory), or two directories
// (every name present in both compared as a pair, one level deep, records in name order).
// Runs on the run's own thread.
#pragma once

#include <string>

#include "engine/EngineRun.h"
#include "engine/InputFile.h"

namespace lindrel::engine {

// Returns the engine result: 0 same, 1 different, 2 trouble.
int CompareOperands(EngineRun& run, const std::string& master, const std::string& source);

// Compares two regular files whose streams are already attached (to bytes in memory), as
// CompareOperands compares two regular files once they are open.
int CompareAttached(EngineRun& run, InputFile (&files)[2]);

}  // namespace lindrel::engine
