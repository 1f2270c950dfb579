// Escaping of names for the command line's one-line-per-record outputs (the table and the
// tab-delimited export). Pure function; any thread.
#pragma once

#include <string>
#include <string_view>

namespace lindrel::cli {

// `text` with control characters and backslashes written as C escapes (backslash, tab,
// line feed and carriage return as \\, \t, \n and \r, other bytes below 32 and 127 as
// \ooo), so a file name holding a line feed or a tab cannot break a record's line or
// shift its columns. Every other byte is kept.
std::string EscapeForTable(std::string_view text);

}  // namespace lindrel::cli
