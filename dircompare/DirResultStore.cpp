#include "dircompare/DirResultStore.h"

#include <utility>

namespace lindrel::dircompare {

void DirResultStore::Append(DirResultRecord record) {
  platform::MutexLock lock(mutex_);
  records_.push_back(std::move(record));
}

void DirResultStore::Clear() {
  platform::MutexLock lock(mutex_);
  records_.clear();
}

long DirResultStore::Count() const {
  platform::MutexLock lock(mutex_);
  return static_cast<long>(records_.size());
}

std::optional<DirResultRecord> DirResultStore::Get(long index) const {
  platform::MutexLock lock(mutex_);
  if (index < 0 || static_cast<std::size_t>(index) >= records_.size()) return std::nullopt;
  return records_[static_cast<std::size_t>(index)];
}

}  // namespace lindrel::dircompare
