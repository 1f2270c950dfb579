// The results of CLindrelCtrl as values: spans over the records of an ended comparison,
// single records and copies.
#include "control/LindrelCtrlImpl.h"

namespace lindrel {

namespace {

FileChange ToFileChange(const engine::ChangeRecord& r) {
  return FileChange{static_cast<ChangeType>(r.kind), r.masterStart, r.masterEnd, r.sourceStart,
                    r.sourceEnd};
}

DirRecord ToDirRecord(const dircompare::DirResultRecord& r) {
  return DirRecord{r.fileName,        r.dirMaster,       r.dirSource,
                   r.isFile(),        r.onlyInSource(),  r.onlyInMaster(),
                   r.sizeDifferent(), r.dateDifferent(), r.contentDifferent()};
}

// The view of `job`'s last run, made from the store by `make` when it is missing or
// belongs to an earlier run. While the job runs its store still grows, and a vector made
// now would have to move when it grew; so there is no view until the job has ended.
template <typename Record, typename Make>
std::span<const Record> ViewOf(CLindrelCtrl::Impl::RecordView<Record>& view, const JobState& job,
                               Make make) {
  if (job.active) return {};
  const unsigned long run = job.run;
  if (!view.made || view.run != run) {
    view.records = make();
    view.run = run;
    view.made = true;
  }
  return view.records;
}

}  // namespace

std::span<const FileChange> CLindrelCtrl::FileCompareChanges() {
  Impl& d = *d_;
  return ViewOf(d.fileView, d.fileJob, [&d] {
    std::vector<FileChange> records;
    for (const engine::ChangeRecord& r : d.fileResults.Snapshot())
      records.push_back(ToFileChange(r));
    return records;
  });
}

std::optional<FileChange> CLindrelCtrl::FileCompareChange(long resultIndex) {
  const auto record = d_->fileResults.Get(resultIndex);
  if (!record) return std::nullopt;
  return ToFileChange(*record);
}

FileEqualStart CLindrelCtrl::FileCompareEqualStart() const {
  if (d_->fileJob.active) return {};
  return d_->fileResults.EqualStart();
}

std::span<const DirRecord> CLindrelCtrl::DirCompareRecords() {
  Impl& d = *d_;
  return ViewOf(d.dirView, d.dirJob, [this] { return DirCompareRecordsFrom(0); });
}

std::optional<DirRecord> CLindrelCtrl::DirCompareRecord(long resultIndex) {
  const auto record = d_->dir.results().Get(resultIndex);
  if (!record) return std::nullopt;
  return ToDirRecord(*record);
}

std::vector<DirRecord> CLindrelCtrl::DirCompareRecordsFrom(long first) {
  std::vector<DirRecord> records;
  if (first < 0) return records;
  const dircompare::DirResultStore& store = d_->dir.results();
  // The count is taken once: records counted later belong to the host's next call.
  const long count = store.Count();
  if (first < count) records.reserve(static_cast<std::size_t>(count - first));
  for (long i = first; i < count; ++i) {
    auto record = store.Get(i);
    if (!record) break;
    records.push_back(ToDirRecord(*record));
  }
  return records;
}

}  // namespace lindrel
