#include "control/FileResultStore.h"

namespace lindrel {

void FileResultStore::StoreChangeRecord(const engine::ChangeRecord& record) {
  platform::MutexLock lock(mutex_);
  records_.push_back(record);
  // A kind outside the three is stored without a counter.
  counters_.Add(static_cast<ChangeType>(record.kind));
}

void FileResultStore::StoreEqualStart(long lines, long long bytes) {
  platform::MutexLock lock(mutex_);
  equalStart_ = {lines, bytes};
}

void FileResultStore::Clear() {
  platform::MutexLock lock(mutex_);
  records_.clear();
  counters_ = ChangeCounts{};
  equalStart_ = {};
}

long FileResultStore::Count() const {
  platform::MutexLock lock(mutex_);
  return static_cast<long>(records_.size());
}

std::optional<engine::ChangeRecord> FileResultStore::Get(long index) const {
  platform::MutexLock lock(mutex_);
  if (index < 0 || static_cast<std::size_t>(index) >= records_.size()) return std::nullopt;
  return records_[static_cast<std::size_t>(index)];
}

std::vector<engine::ChangeRecord> FileResultStore::Snapshot() const {
  platform::MutexLock lock(mutex_);
  return records_;
}

FileEqualStart FileResultStore::EqualStart() const {
  platform::MutexLock lock(mutex_);
  return equalStart_;
}

ChangeCounts FileResultStore::GetCounters() const {
  platform::MutexLock lock(mutex_);
  return counters_;
}

}  // namespace lindrel
