#include "engine/HunkPass.h"

namespace lindrel::engine {

namespace {

bool IsIgnorable(const LineTable& table, Lin i, bool ignoreBlankLines, const IgnorePatterns& patterns) {
  const char* line = table.line(i);
  if (ignoreBlankLines && line[0] == '\n') return true;  // a line of blanks is not empty
  return patterns.MatchesLine(line, table.length(i));
}

bool AllIgnorable(const LineTable& table, Lin first, Lin count, bool ignoreBlankLines,
                  const IgnorePatterns& patterns) {
  for (Lin i = first; i < first + count; ++i) {
    if (!IsIgnorable(table, i, ignoreBlankLines, patterns)) return false;
  }
  return true;
}

void SideNumbers(Lin first, Lin count, size_t prefixLines, long& start, long& end) {
  const long p = static_cast<long>(prefixLines);
  start = static_cast<long>(first) + p + 1;
  end = static_cast<long>(first + count - 1) + p + 1;
  if (end <= start) start = end;
}

}  // namespace

ChangeRecord RecordOf(const Change& change, size_t prefixLines) {
  ChangeRecord record;
  record.kind = change.inserted == 0 ? kDeletion : change.deleted == 0 ? kAddition : kChange;
  SideNumbers(change.line0, change.deleted, prefixLines, record.masterStart, record.masterEnd);
  SideNumbers(change.line1, change.inserted, prefixLines, record.sourceStart, record.sourceEnd);
  return record;
}

size_t DeliverRecords(const std::vector<Change>& script, const LineTable (&tables)[2],
                      bool ignoreBlankLines, const IgnorePatterns& patterns, ChangeSink& sink) {
  const bool ignoring = ignoreBlankLines || !patterns.empty();
  size_t delivered = 0;
  for (const Change& change : script) {
    if (change.deleted == 0 && change.inserted == 0) continue;
    if (ignoring &&
        AllIgnorable(tables[0], change.line0, change.deleted, ignoreBlankLines, patterns) &&
        AllIgnorable(tables[1], change.line1, change.inserted, ignoreBlankLines, patterns)) {
      continue;  // a trivial hunk
    }
    sink.StoreChangeRecord(RecordOf(change, tables[0].prefixLines));
    ++delivered;
  }
  return delivered;
}

}  // namespace lindrel::engine
