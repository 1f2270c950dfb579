// The change records of a file comparison as the command line handles them: read back
// from the component once it has completed, then formatted. Plain values; any thread.
#pragma once

#include <vector>

#include "lindrel/LindrelCtrl.h"

namespace lindrel::cli {

struct ChangeRecord {
  long changeType = 0;  // 'a' 97, 'c' 99, 'd' 100, as FileCompareResultsGet gives it
  long masterStart = 0;
  long masterEnd = 0;
  long sourceStart = 0;
  long sourceEnd = 0;
};

struct ChangeCounters {
  long additions = 0;
  long changes = 0;
  long deletions = 0;
};

// Every record of the last comparison, in record order. Call only once it has completed.
inline std::vector<ChangeRecord> ReadChangeRecords(CLindrelCtrl& ctrl) {
  std::vector<ChangeRecord> records;
  const long count = ctrl.FileCompareResultsCount();
  for (long i = 0; i < count; ++i) {
    ChangeRecord r;
    if (!ctrl.FileCompareResultsGet(i, r.changeType, r.masterStart, r.masterEnd, r.sourceStart,
                                    r.sourceEnd))
      break;
    records.push_back(r);
  }
  return records;
}

inline ChangeCounters CountChanges(const std::vector<ChangeRecord>& records) {
  ChangeCounters counters;
  for (const ChangeRecord& r : records) {
    if (r.changeType == 'a') ++counters.additions;
    else if (r.changeType == 'c') ++counters.changes;
    else if (r.changeType == 'd') ++counters.deletions;
  }
  return counters;
}

}  // namespace lindrel::cli
