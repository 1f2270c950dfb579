// The per-process scratch directory for files that are rewritten on every use (the
// report layer's paragraph files, the demo's word files). Created with mkdtemp under
// $TMPDIR (default /tmp) on first use, created again if something removed it, and
// removed when the process exits. Thread-safe.
#pragma once

#include <optional>
#include <string>

namespace lindrel::platform {

// The directory without a final "/", or nothing when it cannot be created.
std::optional<std::string> ScratchDirectory();

}  // namespace lindrel::platform
