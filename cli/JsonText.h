// JSON text helpers for the machine-readable outputs. Pure functions; any thread.
#pragma once

#include <string>
#include <string_view>

namespace lindrel::cli {

// `text` as a quoted JSON string. Valid UTF-8 passes through; control characters, quotes
// and backslashes are escaped; a byte that is not part of valid UTF-8 (file names are
// bytes on Linux) becomes the code point of the same value, so the output always parses.
std::string JsonString(std::string_view text);

}  // namespace lindrel::cli
