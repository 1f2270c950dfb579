// Turning the edit script into change records: every change is one hunk; a hunk whose
// lines are all ignorable (empty lines under ignore blank lines, lines matching an
// ignore-line pattern) produces nothing; every other hunk produces one record, in 1-based
// file line numbers, delivered to the sink in order on the engine's thread.
#pragma once

#include <atomic>
#include <optional>
#include <vector>

#include "engine/ChangeRecord.h"
#include "engine/ComparedLines.h"
#include "engine/EditScript.h"
#include "engine/IgnorePatterns.h"

namespace lindrel::engine {

// The record of one change, with P = the prefix line count: start = first + P + 1 and
// end = last + P + 1 on each side; an empty side holds the line before the change.
ChangeRecord RecordOf(const Change& change, size_t prefixLines);

// Delivers the records of `script` to `sink`. Returns the number of records delivered,
// or nothing when `stop` (when given) was set while the hunks were tested against the
// ignore-line patterns: then no record has been delivered.
std::optional<size_t> DeliverRecords(const std::vector<Change>& script,
                                     const ComparedLines (&tables)[2], bool ignoreBlankLines,
                                     const IgnorePatterns& patterns, ChangeSink& sink,
                                     const std::atomic<bool>* stop = nullptr);

}  // namespace lindrel::engine
