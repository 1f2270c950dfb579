// The unified difference listing of a set of change records, as patch and git apply read
// it:
//
//   --- old.c<TAB>2024-05-01 12:30:00.000000000 +0200
//   +++ new.c<TAB>2024-05-02 08:00:00.000000000 +0200
//   @@ -1,4 +1,4 @@
//    context
//   -old
//   +new
//    context
//
// Each change is shown with up to `context` unchanged lines before and after it; changes
// whose context lines would touch or overlap share one hunk. Removed and context lines
// come from the master, added lines from the source, each with its bytes as they stand in
// its file, and a line that is the last of its file without a line feed is followed by
// "\ No newline at end of file". So applying the listing to the master gives the source
// byte for byte whenever the two files agree in their line ends (see NormalListing.h for
// the one case they do not). With options that let lines compare equal although their
// bytes differ (ignored case, white space, blank or matching lines), the context shows the
// master's lines and such differences are not carried.
//
// Functions over their arguments alone; any thread.
#pragma once

#include <ostream>
#include <span>
#include <string>

#include "cli/ChangeRecords.h"
#include "cli/LineStream.h"
#include "cli/ListingColours.h"

namespace lindrel::cli {

// The line ranges of one record as a unified listing counts them: `first` is the first
// line of the range or, for an empty range, the line that would follow it.
struct UnifiedRanges {
  long masterFirst = 0;
  long masterCount = 0;
  long sourceFirst = 0;
  long sourceCount = 0;
};
UnifiedRanges RangesOf(const FileChange& record);

// A range in a hunk heading: "7" for one line, "7,3" for three from line 7, and for an
// empty range the line before it, "6,0".
std::string HunkRange(long first, long count);

// The lines of the master and the source a listing reads first (for the records given),
// so that callers can move both streams there at once.
struct FirstLines {
  long master = 1;
  long source = 1;
};
FirstLines UnifiedFirstLines(std::span<const FileChange> records, long context);

// Writes the "--- " and "+++ " lines with the given header texts, then the hunks, reading
// the lines from the two streams, which must stand before the first lines the listing
// reads (UnifiedFirstLines). `masterPath` is opened once more to look ahead for the end
// context of the last hunk. False when a record names a line its file does not have (the
// file changed after it was compared) or a read fails; `error` then says which file and
// why, and what was written so far stays written. Writes nothing when there are no
// records.
bool WriteUnifiedListing(std::ostream& out, std::span<const FileChange> records, long context,
                         const std::string& masterHeader, const std::string& sourceHeader,
                         LineStream& master, LineStream& source, std::string& error,
                         const ListingColours& colours = ListingColours::None());

}  // namespace lindrel::cli
