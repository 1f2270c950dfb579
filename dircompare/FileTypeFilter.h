// The file-type filter of a directory comparison (DirFileTypes). Pure function; any
// thread.
//
// The patterns are not parsed. ".*" anywhere lets every file through; otherwise a file
// passes when its extension (last dot to the end, upper-cased) occurs anywhere in the
// upper-cased pattern text. So separators do not matter, ".C" passes for "*.cpp", and a
// name without a dot never passes.
#pragma once

#include <string_view>

namespace lindrel::dircompare {

bool PassesFileTypeFilter(std::string_view fileName, std::string_view fileTypes);

}  // namespace lindrel::dircompare
