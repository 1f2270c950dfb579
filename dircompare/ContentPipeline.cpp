#include "dircompare/ContentPipeline.h"

#include <system_error>

#include "dircompare/ScanEnvironment.h"

namespace lindrel::dircompare {

namespace {

// Comparisons and records that may wait at once: enough to keep the helper busy across
// the listing of a few directories, few enough that memory stays small.
constexpr std::size_t kMaxPendingJobs = 512;
constexpr std::size_t kMaxItems = 4096;
// Comparisons are handed to the helper in batches, so that it is woken once per batch.
constexpr std::size_t kBatch = 16;

// The environment as a comparison on the helper sees it: errors are kept for the walk's
// thread to queue in order.
class ComparisonEnvironment final : public ScanEnvironment {
 public:
  ComparisonEnvironment(ScanEnvironment& scan, std::vector<std::pair<long, std::string>>& errors)
      : scan_(scan), errors_(errors) {}
  bool AbortRequested() const override { return scan_.AbortRequested(); }
  void QueueError(long code, const std::string& detail) override {
    errors_.emplace_back(code, detail);
  }
  int OpenForReading(const std::string& path) override { return scan_.OpenForReading(path); }

 private:
  ScanEnvironment& scan_;
  std::vector<std::pair<long, std::string>>& errors_;
};

}  // namespace

struct ContentPipeline::Item {
  enum class Kind { kRecord, kError, kCompared } kind = Kind::kRecord;
  DirResultRecord record;
  long code = 0;
  std::string detail;
  std::string masterPath, sourcePath;
  bool keepSame = false, keepDifferent = false;
  // Written by whoever runs the comparison, under the mutex.
  bool done = true;
  ContentResult result = ContentResult::kSame;
  std::vector<std::pair<long, std::string>> errors;
};

ContentPipeline::ContentPipeline(DirResultStore& store, ScanEnvironment& env)
    : store_(store), env_(env) {
  try {
    helper_ = std::thread([this] { HelperLoop(); });
  } catch (const std::system_error&) {
    // No helper: the walk compares as it goes.
  }
}

ContentPipeline::~ContentPipeline() {
  if (!helper_.joinable()) return;
  {
    platform::MutexLock lock(mutex_);
    stop_ = true;
  }
  jobAdded_.SignalAll();
  helper_.join();
}

void ContentPipeline::Add(DirResultRecord record) {
  auto item = std::make_unique<Item>();
  item->record = std::move(record);
  items_.push_back(std::move(item));
  KeepUp();
}

void ContentPipeline::AddError(long code, std::string detail) {
  auto item = std::make_unique<Item>();
  item->kind = Item::Kind::kError;
  item->code = code;
  item->detail = std::move(detail);
  items_.push_back(std::move(item));
}

bool ContentPipeline::AddCompared(DirResultRecord record, std::string masterPath,
                                  std::string sourcePath, bool keepSame, bool keepDifferent) {
  auto item = std::make_unique<Item>();
  item->kind = Item::Kind::kCompared;
  item->record = std::move(record);
  item->masterPath = std::move(masterPath);
  item->sourcePath = std::move(sourcePath);
  item->keepSame = keepSame;
  item->keepDifferent = keepDifferent;
  item->done = false;
  staged_.push_back(item.get());
  items_.push_back(std::move(item));
  ++pendingJobs_;
  if (staged_.size() >= kBatch) Publish();
  return KeepUp();
}

bool ContentPipeline::KeepUp() {
  // Far enough ahead: the walk reads too until the helper has caught up.
  while (!stopped_ && (pendingJobs_ > kMaxPendingJobs || items_.size() > kMaxItems)) {
    Publish();
    if (Item* job = TakeJob()) {
      Run(*job, walkComparer_);
    } else if (Drain(false) && (pendingJobs_ > kMaxPendingJobs || items_.size() > kMaxItems)) {
      platform::MutexLock lock(mutex_);
      while (!items_.front()->done) jobDone_.Wait(mutex_);
    }
    Drain(false);
  }
  return !stopped_;
}

void ContentPipeline::Publish() {
  if (staged_.empty()) return;
  {
    platform::MutexLock lock(mutex_);
    jobs_.insert(jobs_.end(), staged_.begin(), staged_.end());
  }
  staged_.clear();
  jobAdded_.Signal();
}

bool ContentPipeline::Drain(bool all) {
  Publish();
  while (!stopped_ && !items_.empty()) {
    Item& front = *items_.front();
    bool done;
    {
      platform::MutexLock lock(mutex_);
      done = front.done;
    }
    if (!done) {
      if (!all) return true;
      if (Item* job = TakeJob()) {
        Run(*job, walkComparer_);
      } else {
        platform::MutexLock lock(mutex_);
        while (!front.done) jobDone_.Wait(mutex_);
      }
      continue;
    }
    if (!AppendFront(front)) stopped_ = true;
    items_.pop_front();
  }
  return !stopped_;
}

bool ContentPipeline::AppendFront(Item& item) {
  switch (item.kind) {
    case Item::Kind::kRecord: store_.Append(std::move(item.record)); return true;
    case Item::Kind::kError: env_.QueueError(item.code, item.detail); return true;
    case Item::Kind::kCompared: break;
  }
  --pendingJobs_;
  for (const auto& [code, detail] : item.errors) env_.QueueError(code, detail);
  // An interrupted comparison has no answer; record nothing rather than a guess.
  if (item.result == ContentResult::kAborted) return false;
  item.record.flags.Set(DirFlag::kContentDifferent, static_cast<int>(item.result));
  const bool same = item.record.flags.Get(DirFlag::kDateDifferent) == 0 &&
                    item.record.flags.Get(DirFlag::kSizeDifferent) == 0 &&
                    item.record.flags.Get(DirFlag::kContentDifferent) == 0;
  if (same ? item.keepSame : item.keepDifferent) store_.Append(std::move(item.record));
  return true;
}

ContentPipeline::Item* ContentPipeline::TakeJob() {
  platform::MutexLock lock(mutex_);
  if (jobs_.empty()) return nullptr;
  Item* job = jobs_.front();
  jobs_.pop_front();
  return job;
}

void ContentPipeline::Run(Item& item, ContentComparer& comparer) {
  std::vector<std::pair<long, std::string>> errors;
  ComparisonEnvironment env(env_, errors);
  const ContentResult result = comparer.Compare(item.masterPath, item.sourcePath, env);
  {
    platform::MutexLock lock(mutex_);
    item.result = result;
    item.errors = std::move(errors);
    item.done = true;
  }
  jobDone_.SignalAll();
}

void ContentPipeline::HelperLoop() {
  for (;;) {
    Item* job;
    {
      platform::MutexLock lock(mutex_);
      while (!stop_ && jobs_.empty()) jobAdded_.Wait(mutex_);
      if (stop_) return;
      job = jobs_.front();
      jobs_.pop_front();
    }
    Run(*job, helperComparer_);
  }
}

}  // namespace lindrel::dircompare
