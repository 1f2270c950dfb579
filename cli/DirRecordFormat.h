// Directory records (the component's own values, lindrel::DirRecord) as the command line
// shows them: one table line per record (a short status and the path relative to the
// compared roots) or one JSON object. Pure functions over plain values; any thread.
#pragma once

#include <string>
#include <string_view>

#include "cli/TableEscape.h"
#include "lindrel/Records.h"

namespace lindrel::cli {

// The entry's path below the roots named by `root` (record 0): "docs/guide.txt" for a
// file, "docs/" for a directory. A path outside the roots is shown whole.
std::string RelativePath(const DirRecord& record, const DirRecord& root);

// True when the entry is on one side only or differs in size, date or content.
bool Differs(const DirRecord& record);

// True when a file of the entry could not be read for the content comparison.
bool Unreadable(const DirRecord& record);

// "same", "differs", "master-only", "source-only", "unreadable", or "dir" for a
// directory present on both sides.
const char* StatusWord(const DirRecord& record);

// What differs, for a file present on both sides: "content, master larger, master newer".
std::string DifferenceDetail(const DirRecord& record);

// One table line without its line feed: status, two blanks, path, and the detail.
std::string TableLine(const DirRecord& record, const DirRecord& root);

// The record as one JSON object.
std::string DirRecordJson(long index, const DirRecord& record, const DirRecord& root);

}  // namespace lindrel::cli
