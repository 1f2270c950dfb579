// The lines of a listing as both listing formats write them: a prefix, the line's bytes
// as they stand in its file (a CR LF stays CR LF), and, after a last line that has no
// line feed, the marker line that patch tools read as "this line has no line end".
// Functions over their arguments alone; any thread.
#pragma once

#include <string>

#include "cli/LineStream.h"

namespace lindrel::cli {

inline constexpr const char* kNoNewlineMarker = "\\ No newline at end of file\n";

// Appends the current line of `file` after `prefix` and moves the stream to the next
// line. With a colour, `colour` comes first and `reset` just before the line feed. False
// when there is no line left or a read fails.
bool AppendListedLine(std::string& text, LineStream& file, const char* prefix,
                      const char* colour = "", const char* reset = "");

// What went wrong with `file` for a message: its path and the read error, or, when the
// lines simply ran out, that it changed after it was compared.
std::string ListingFailure(const LineStream& file);

}  // namespace lindrel::cli
