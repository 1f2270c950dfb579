// JSON text helpers for the machine-readable outputs. Pure functions; any thread.
#pragma once

#include <string>
#include <string_view>

namespace lindrel::cli {

// `text` as a quoted JSON string. Valid UTF-8 passes through; control characters, quotes
// and backslashes are escaped. A byte that is not part of valid UTF-8 (file names are
// bytes on Linux) becomes the lone surrogate escape "\udcXX", XX its value (0x80 to
// 0xFF), as Python's "surrogateescape" writes it: valid UTF-8 never holds a surrogate,
// so the output always parses and the bytes can be recovered exactly.
std::string JsonString(std::string_view text);

}  // namespace lindrel::cli
