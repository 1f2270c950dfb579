// The state file: a component's settings in section "General" of an INI file, one key
// per writable property except StateFileName, read when the component loads its
// properties and written once when it is destroyed.
#pragma once

#include <optional>
#include <string>

#include "control/Properties.h"

namespace lindrel {

// The state file of `stateFileName`: a name containing "/" is used as given; otherwise
// the Lindrel directory, "/", the name (or "TVK" when empty) and ".INI". Nothing when the
// Lindrel directory is unavailable or the name holds a NUL byte.
std::optional<std::string> ResolveStateFilePath(const std::string& stateFileName);

// Sets every property except stateFileName from the file (defaults for missing keys).
// Values are stored as read: no setter rules apply, except that a thread priority outside
// 0..4 keeps the current value, as its setter would, and so does a text holding a NUL byte.
void ReadStateFile(const std::string& path, Properties& props);

// Writes every key, in the file's key order; keeps the file's other sections. False when
// the file could not be written. Without `durable` the file is replaced without waiting for
// the disk, for state that nothing needs back after a crash.
bool WriteStateFile(const std::string& path, const Properties& props, bool durable = true);

}  // namespace lindrel
