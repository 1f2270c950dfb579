// Reading a file in text mode: every CR LF pair is delivered as LF, a byte 26 (Ctrl-Z)
// ends the content, every other byte (a lone CR included) passes unchanged.
#pragma once

#include <string>
#include <string_view>

#include "platform/Status.h"

namespace lindrel::platform {

// Reads the whole file at `path` in text mode into `content`.
Status ReadTextFile(const std::string& path, std::string& content);

// Converts raw bytes to their text-mode reading, in place.
void ConvertToTextMode(std::string& bytes);

}  // namespace lindrel::platform
