// The Lindrel directory: where state files, the demo's settings and default reports live.
// $LINDREL_HOME when set and not empty; else $XDG_CONFIG_HOME/lindrel when that is an
// absolute path; else $HOME/.config/lindrel. Created (mode 0700) on first use.
#pragma once

#include <optional>
#include <string>

#include "platform/Status.h"

namespace lindrel::platform {

// The directory without a final "/", or nothing when it cannot be determined or created;
// then `failure`, when given, says why. Safe from any thread that does not change the
// environment meanwhile.
std::optional<std::string> LindrelDirectory(Status* failure = nullptr);

// Joins a directory and a name with exactly one "/" between them.
std::string JoinPath(const std::string& directory, const std::string& name);

}  // namespace lindrel::platform
