// The classic "normal" difference listing of a set of change records:
//
//   2c2          3a4,5          5,6d4
//   < old        > added        < gone
//   ---          > added        < gone
//   > new
//
// A line that is the last of its file and has no line feed is followed by the marker
// "\ No newline at end of file", so that patch tools reproduce the file byte for byte.
// Pure functions over immutable inputs; any thread.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/ChangeRecords.h"
#include "cli/TextModeFile.h"

namespace lindrel::cli {

// The hunk heading of one record ("2c2", "3a4,5", "5,6d4").
std::string HunkHeading(const ChangeRecord& record);

// True when every record's kind is known and its ranges lie within the two files, as a
// record of these two files must. False means a file changed after it was compared.
bool RecordsFitFiles(const std::vector<ChangeRecord>& records, long masterLines,
                     long sourceLines);

// Writes the listing. Preconditions: RecordsFitFiles holds for the files' line counts.
void WriteNormalListing(std::ostream& out, const std::vector<ChangeRecord>& records,
                        const TextModeFile& master, const TextModeFile& source);

}  // namespace lindrel::cli
