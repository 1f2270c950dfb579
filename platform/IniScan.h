// Reading values of an INI file without holding the file: it is read in blocks, and of
// each line only a bounded prefix is kept, so a value of any size costs one pass over
// its bytes and no more memory than the caller's buffer. The rules are those of
// IniDocument (IniFile.h): names match without regard to letter case, a value loses its
// surrounding blanks and one pair of surrounding double quotes, a missing file reads as
// empty.
//
// Only lines whose names or values sit behind more than 64 KiB of blanks read otherwise:
// such a name matches nothing and such a value reads empty. Thread-safe.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lindrel::platform {

// The value of the first `key` of `section`, cut to at most `valueBytes` bytes, or
// nothing when the key, the section or the file is missing or the file cannot be read.
std::optional<std::string> ScanProfileValue(const std::string& path, std::string_view section,
                                            std::string_view key, std::size_t valueBytes);

// Every key of `section` with its value cut to at most `valueBytes` bytes, in file
// order (a key may appear twice; the first one is the one that counts).
std::vector<std::pair<std::string, std::string>> ScanProfileSection(const std::string& path,
                                                                    std::string_view section,
                                                                    std::size_t valueBytes);

}  // namespace lindrel::platform
