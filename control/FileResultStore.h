// FileResultStore: the change records of the last file comparison, with a counter per
// kind. The engine's thread appends while the owner thread may read; both are locked, so
// a record is complete before it is counted.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "engine/ChangeRecord.h"
#include "lindrel/Records.h"
#include "platform/Mutex.h"

namespace lindrel {

class FileResultStore final : public engine::ChangeSink {
 public:
  // Record number = the count before the record is added; the kind's counter grows by one.
  void StoreChangeRecord(const engine::ChangeRecord& record) override;
  void StoreEqualStart(long lines, long long bytes) override;

  void Clear();
  long Count() const;
  std::optional<engine::ChangeRecord> Get(long index) const;
  std::vector<engine::ChangeRecord> Snapshot() const;
  ChangeCounts GetCounters() const;
  FileEqualStart EqualStart() const;

 private:
  mutable platform::Mutex mutex_;
  std::vector<engine::ChangeRecord> records_ GUARDED_BY(mutex_);
  ChangeCounts counters_ GUARDED_BY(mutex_);
  FileEqualStart equalStart_ GUARDED_BY(mutex_);
};

}  // namespace lindrel
