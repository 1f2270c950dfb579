// The change records of a file comparison as the command line handles them: the
// component's own values (lindrel::FileChange), read once it has completed, and their
// counts by kind. Plain values; any thread.
#pragma once

#include <span>

#include "lindrel/Records.h"

namespace lindrel::cli {

struct ChangeCounters {
  long additions = 0;
  long changes = 0;
  long deletions = 0;
};

inline ChangeCounters CountChanges(std::span<const FileChange> records) {
  ChangeCounters counters;
  for (const FileChange& r : records) {
    switch (r.type) {
      case ChangeType::Addition: ++counters.additions; break;
      case ChangeType::Change: ++counters.changes; break;
      case ChangeType::Deletion: ++counters.deletions; break;
    }
  }
  return counters;
}

}  // namespace lindrel::cli
