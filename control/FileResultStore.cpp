#include "control/FileResultStore.h"

namespace lindrel {

void FileResultStore::StoreChangeRecord(const engine::ChangeRecord& record) {
  std::lock_guard lock(mutex_);
  records_.push_back(record);
  switch (record.kind) {
    case engine::kAddition: ++counters_.additions; break;
    case engine::kChange: ++counters_.changes; break;
    case engine::kDeletion: ++counters_.deletions; break;
    default: break;  // stored without a counter
  }
}

void FileResultStore::StoreEqualStart(long lines, long long bytes) {
  std::lock_guard lock(mutex_);
  equalStart_ = {lines, bytes};
}

void FileResultStore::Clear() {
  std::lock_guard lock(mutex_);
  records_.clear();
  counters_ = Counters{};
  equalStart_ = {};
}

long FileResultStore::Count() const {
  std::lock_guard lock(mutex_);
  return static_cast<long>(records_.size());
}

std::optional<engine::ChangeRecord> FileResultStore::Get(long index) const {
  std::lock_guard lock(mutex_);
  if (index < 0 || static_cast<std::size_t>(index) >= records_.size()) return std::nullopt;
  return records_[static_cast<std::size_t>(index)];
}

std::vector<engine::ChangeRecord> FileResultStore::Snapshot() const {
  std::lock_guard lock(mutex_);
  return records_;
}

FileEqualStart FileResultStore::EqualStart() const {
  std::lock_guard lock(mutex_);
  return equalStart_;
}

FileResultStore::Counters FileResultStore::GetCounters() const {
  std::lock_guard lock(mutex_);
  return counters_;
}

}  // namespace lindrel
