// The classic "normal" difference listing of a set of change records:
//
//   2c2          3a4,5          5,6d4
//   < old        > added        < gone
//   ---          > added        < gone
//   > new
//
// Each line is printed with its bytes as they stand in its file, its line end included (a
// CR LF stays CR LF), and a line that is the last of its file and has no line feed is
// followed by the marker "\ No newline at end of file", so that patch tools applying the
// listing to the master rebuild the source byte for byte. The one case they cannot: line
// ends that differ between the files where text mode reads the lines as equal (CR LF
// against LF), since such lines are in no record and keep the master's line ends.
// Functions over their arguments alone; any thread.
#pragma once

#include <ostream>
#include <span>
#include <string>

#include "cli/ChangeRecords.h"
#include "cli/LineStream.h"
#include "cli/ListingColours.h"

namespace lindrel::cli {

// The hunk heading of one record ("2c2", "3a4,5", "5,6d4").
std::string HunkHeading(const FileChange& record);

// True when every record's kind is known and its ranges lie within the two files, as a
// record of these two files must. False means a file changed after it was compared.
bool RecordsFitFiles(std::span<const FileChange> records, long masterLines, long sourceLines);

// Writes the listing, reading the lines of the records from the two streams, which must
// stand before the first line the records name. False when a record names a line that
// its file does not have (the file changed after it was compared) or a read fails;
// `error` then says which file and why, and what was written so far stays written.
bool WriteNormalListing(std::ostream& out, std::span<const FileChange> records, LineStream& master,
                        LineStream& source, std::string& error,
                        const ListingColours& colours = ListingColours::None());

}  // namespace lindrel::cli
