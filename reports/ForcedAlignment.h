// ForcedAlignmentList: the host's corrections to the automatic alignment of the HTML
// tables (blank rows on one side, block swaps on one side), kept in order, with the flag
// that tells that the list changed since it was last applied.
//
// Owned by one component and used on its owner thread only.
#pragma once

#include <cstdint>
#include <vector>

#include "reports/LineTable.h"

namespace lindrel::reports {

enum ForcedAlignmentKind : std::int32_t {
  kInsertSourceRows = 1,
  kInsertMasterRows = 2,
  kSwapSourceBlocks = 3,
  kSwapMasterBlocks = 4,
};

struct ForcedAlignment {
  std::int32_t kind = 0;
  std::int32_t first = 0;   // row before which blank rows go, or first row of block A
  std::int32_t second = 0;  // first row of block B (swaps only)
  std::int32_t count = 0;   // blank rows, or rows per block
};

class ForcedAlignmentList {
 public:
  // Appends an entry and sets the pending flag. Any numbers are accepted; entries that
  // do not fit the tables are skipped when the list is applied.
  void Add(const ForcedAlignment& entry);
  // Removes the last entry, if any, and sets the pending flag.
  void Undo();
  // Empties the list and releases its storage; the pending flag stays as it is.
  void Clear();

  bool Pending() const { return pending_; }
  const std::vector<ForcedAlignment>& Entries() const { return entries_; }

  using ApplyOne = bool (*)(const ForcedAlignment&, LineTable&, LineTable&);

  // Applies every entry in order to automatically aligned tables with `applyOne` (tests
  // substitute it), then clears the pending flag. Stops at the first entry that fails (a
  // table without its end entry). When an entry throws, the flag stays set.
  void Apply(LineTable& master, LineTable& source, ApplyOne applyOne = nullptr);

 private:
  std::vector<ForcedAlignment> entries_;
  bool pending_ = false;
};

// Applies one entry. False when it failed; an entry that does not fit the tables (rows
// outside them, a count below 1) or of an unknown kind changes nothing and succeeds.
bool ApplyForcedAlignment(const ForcedAlignment& entry, LineTable& master, LineTable& source);

}  // namespace lindrel::reports
