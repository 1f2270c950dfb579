#include "reports/ForcedAlignment.h"

#include <algorithm>

namespace lindrel::reports {

namespace {

// Appends `count` plain blank rows in front of the end entry of a table that holds
// lines, so the other side's inserted rows keep a counterpart.
void AppendBlankRows(LineTable& table, long count) {
  const long lines = NumberOfLines(table);
  if (lines <= 0) return;
  const auto at = table.entries.begin() + lines;
  table.entries.insert(at, static_cast<std::size_t>(count), LineEntry{});
}

bool InsertRows(const ForcedAlignment& entry, LineTable& receiving, LineTable& other,
                int mark) {
  const long lines = NumberOfLines(receiving);
  if (lines < 0) return false;
  // Row lines + 1 is the end entry: inserting before it adds rows at the very end.
  if (entry.count < 1 || entry.first < 1 || entry.first > lines + 1) return true;
  AppendBlankRows(other, entry.count);
  const auto at = receiving.entries.begin() + (entry.first - 1);
  receiving.entries.insert(at, static_cast<std::size_t>(entry.count),
                           LineEntry{0, mark, {}});
  return true;
}

bool SwapBlocks(const ForcedAlignment& entry, LineTable& table) {
  const long lines = NumberOfLines(table);
  if (lines < 0) return false;
  const long count = entry.count;
  // Both blocks must lie among the rows in front of the end entry.
  const auto inside = [&](long first) {
    return first >= 1 && first <= lines && count <= lines - first + 1;
  };
  if (count < 1 || !inside(entry.first) || !inside(entry.second)) return true;

  const auto rowsAt = [&](long first) {
    const auto begin = table.entries.begin() + (first - 1);
    return std::vector<LineEntry>(begin, begin + count);
  };
  std::vector<LineEntry> blockA = rowsAt(entry.first);
  std::vector<LineEntry> blockB = rowsAt(entry.second);
  // Block A is written first, so where the blocks overlap block B wins.
  const auto writeAt = [&](long first, std::vector<LineEntry>& block) {
    for (long k = 0; k < count; ++k) {
      LineEntry& row = table.entries[static_cast<std::size_t>(first - 1 + k)];
      row = std::move(block[static_cast<std::size_t>(k)]);
      row.mark = kMovedMark;
    }
  };
  writeAt(entry.second, blockA);
  writeAt(entry.first, blockB);
  return true;
}

}  // namespace

void ForcedAlignmentList::Add(const ForcedAlignment& entry) {
  pending_ = true;
  entries_.push_back(entry);
}

void ForcedAlignmentList::Undo() {
  pending_ = true;
  if (!entries_.empty()) entries_.pop_back();
}

void ForcedAlignmentList::Clear() {
  std::vector<ForcedAlignment>().swap(entries_);
}

void ForcedAlignmentList::Apply(LineTable& master, LineTable& source, ApplyOne applyOne) {
  if (applyOne == nullptr) applyOne = ApplyForcedAlignment;
  for (const ForcedAlignment& entry : entries_) {
    if (!applyOne(entry, master, source)) break;
  }
  // Only now: an entry that throws (out of memory) leaves the list pending, so the next
  // report rebuilds the tables and applies every entry again instead of none.
  pending_ = false;
}

bool ApplyForcedAlignment(const ForcedAlignment& entry, LineTable& master, LineTable& source) {
  switch (entry.kind) {
    case kInsertSourceRows: return InsertRows(entry, source, master, kSourcePadMark);
    case kInsertMasterRows: return InsertRows(entry, master, source, kMasterPadMark);
    case kSwapSourceBlocks: return SwapBlocks(entry, source);
    case kSwapMasterBlocks: return SwapBlocks(entry, master);
    default: return true;
  }
}

}  // namespace lindrel::reports
