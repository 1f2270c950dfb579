// DirResultStore: the records of the last directory comparison, numbered densely from 0
// in the order they were produced.
//
// Threads: one writer (the comparison's worker) appends while any number of readers
// (the owner thread) read. A record is complete before Count() includes it, and a
// counted record never changes until Clear(). Every call is safe from any thread;
// Clear() must not race with a running comparison.
#pragma once

#include <deque>
#include <optional>

#include "dircompare/DirResultRecord.h"
#include "platform/Mutex.h"

namespace lindrel::dircompare {

class DirResultStore {
 public:
  void Append(DirResultRecord record);
  void Clear();
  long Count() const;
  // A copy of record `index`, or nothing when the index is outside 0..Count()-1.
  std::optional<DirResultRecord> Get(long index) const;

 private:
  mutable platform::Mutex mutex_;
  // A deque never moves stored records, which keeps appends cheap on long walks.
  std::deque<DirResultRecord> records_ GUARDED_BY(mutex_);
};

}  // namespace lindrel::dircompare
