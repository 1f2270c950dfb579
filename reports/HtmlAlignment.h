// The automatic alignment of the HTML tables: fillers opposite lines that exist on one
// side only, so that every change record occupies the same rows on both sides, and the
// kind letter as mark of every line and filler inside a record.
//
// Pure function of its inputs; runs on the caller's thread.
#pragma once

#include <vector>

#include "engine/ChangeRecord.h"
#include "reports/LineTable.h"

namespace lindrel::reports {

// Aligns freshly loaded tables. The result equals inserting each record's fillers from
// the last record to the first, but is built in one pass, so large files with many
// records stay linear. Records that do not fit the tables (the files changed after the
// comparison) or that break the increasing order are skipped.
void BuildAutomaticAlignment(const std::vector<engine::ChangeRecord>& records,
                             LineTable& master, LineTable& source);

// How many fillers the alignment will add to each table (an upper bound when records do
// not fit), so that loading can leave room for them.
struct FillerCounts {
  std::size_t master = 0;
  std::size_t source = 0;
};
FillerCounts CountFillers(const std::vector<engine::ChangeRecord>& records);

}  // namespace lindrel::reports
