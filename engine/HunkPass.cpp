#include "engine/HunkPass.h"

namespace lindrel::engine {

namespace {

bool IsIgnorable(const ComparedLines& table, Lin i, bool ignoreBlankLines,
                 const IgnorePatterns& patterns, const std::atomic<bool>* stop) {
  const char* line = table.line(i);
  if (ignoreBlankLines && line[0] == '\n') return true;  // a line of blanks is not empty
  return patterns.MatchesLine(line, table.length(i), stop);
}

// Stops at the first line that is not ignorable, and (answering false) once `stop` is set.
bool AllIgnorable(const ComparedLines& table, Lin first, Lin count, bool ignoreBlankLines,
                  const IgnorePatterns& patterns, const std::atomic<bool>* stop) {
  for (Lin i = first; i < first + count; ++i) {
    if (!IsIgnorable(table, i, ignoreBlankLines, patterns, stop)) return false;
  }
  return true;
}

bool StopRequested(const std::atomic<bool>* stop) {
  return stop != nullptr && stop->load(std::memory_order_relaxed);
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

std::optional<size_t> DeliverRecords(const std::vector<Change>& script,
                                     const ComparedLines (&tables)[2], bool ignoreBlankLines,
                                     const IgnorePatterns& patterns, ChangeSink& sink,
                                     const std::atomic<bool>* stop) {
  const bool ignoring = ignoreBlankLines || !patterns.empty();
  // Every hunk is judged before the first record goes out, so that a stop while the
  // patterns are matched leaves the sink as it found it.
  std::vector<bool> trivial(script.size(), false);
  if (ignoring) {
    for (size_t i = 0; i < script.size(); ++i) {
      const Change& change = script[i];
      trivial[i] =
          AllIgnorable(tables[0], change.line0, change.deleted, ignoreBlankLines, patterns, stop) &&
          AllIgnorable(tables[1], change.line1, change.inserted, ignoreBlankLines, patterns, stop);
      if (StopRequested(stop)) return std::nullopt;
    }
  }
  size_t delivered = 0;
  for (size_t i = 0; i < script.size(); ++i) {
    const Change& change = script[i];
    if ((change.deleted == 0 && change.inserted == 0) || trivial[i]) continue;
    sink.StoreChangeRecord(RecordOf(change, tables[0].prefixLines));
    ++delivered;
  }
  return delivered;
}

}  // namespace lindrel::engine
