// Whether the comparison took a file for binary data: its text-mode content (CR LF read
// as LF, ending at a byte 26) holds a byte 0 within its first 8192 bytes. Files that
// differ without line records are binary, or differ only after their byte 26.
#pragma once

#include <string>

namespace lindrel::cli {

// False too when the file cannot be read.
bool LooksBinary(const std::string& path);

}  // namespace lindrel::cli
