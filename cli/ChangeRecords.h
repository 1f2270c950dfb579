// The change records of a file comparison as the command line handles them: the
// component's own values (lindrel::FileChange), read once it has completed, and their
// counts by kind. Plain values; any thread.
#pragma once

#include <span>

#include "lindrel/Records.h"

namespace lindrel::cli {

inline ChangeCounts CountChanges(std::span<const FileChange> records) {
  ChangeCounts counters;
  for (const FileChange& r : records) counters.Add(r.type);
  return counters;
}

}  // namespace lindrel::cli
