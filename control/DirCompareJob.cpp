// The directory-comparison job of CLindrelCtrl: begin checks, the worker, abort and the
// directory results.
#include <chrono>
#include <memory>
#include <thread>

#include "control/LindrelCtrlImpl.h"
#include "dircompare/ScanEnvironment.h"
#include "dircompare/ScanOptions.h"
#include "dircompare/TabExport.h"
#include "platform/FileSearch.h"
#include "platform/TickCount.h"

namespace lindrel {

namespace {

constexpr long kAbortWaitMs = 29'999;

// The scan's view of the component: its abort flag and its pending-event queue.
class DirJobEnvironment final : public dircompare::ScanEnvironment {
 public:
  explicit DirJobEnvironment(CLindrelCtrl::Impl& d) : d_(d) {}
  bool AbortRequested() const override { return d_.dirJob.abort.load(); }
  void QueueError(long code, const std::string& detail) override { d_.QueueError(code, detail); }

 private:
  CLindrelCtrl::Impl& d_;
};

// The worker must not read properties the host may change while it runs: everything it
// needs is copied here, on the owner thread.
dircompare::ScanOptions SnapshotOptions(const Properties& p) {
  dircompare::ScanOptions o;
  o.master = p.dirMaster;
  o.source = p.dirSource;
  o.fileTypes = p.dirFileTypes;
  o.doSubDirectories = p.dirDoSubDirectories == 1;
  o.ignoreDateDifferences = p.dirIgnoreDateDifferences == 1;
  o.contentCompare = p.dirContentCompare == 1;
  o.showOnlyInMaster = p.dirShowOnlyInMaster == 1;
  o.showOnlyInSource = p.dirShowOnlyInSource == 1;
  o.showSameInBothPlaces = p.dirShowSameInBothPlaces == 1;
  o.showDifferentInBothPlaces = p.dirShowDifferentInBothPlaces == 1;
  o.threadPriority = p.threadPriority;
  o.throttle = p.dirThrottle == 1;
  return o;
}

}  // namespace

bool CLindrelCtrl::DirCompareBegin() {
  Impl& d = *d_;
  if (d.dirJob.active) {
    d.FireError(kErrorSearchInProcess);
    return false;
  }
  // A name holding a NUL byte would be walked as the part before it, another directory.
  if (d.props.dirSource.empty() || d.props.dirMaster.empty() ||
      platform::HoldsNul(d.props.dirSource) || platform::HoldsNul(d.props.dirMaster)) {
    d.FireError(kErrorInvalidSearchPath);
    return false;
  }
  if (d.props.dirFileTypes.empty()) d.props.dirFileTypes = "*.*";

  d.dirJob.Start(platform::TickCount());
  d.dirJob.abort = false;
  d.dir.results().Clear();
  // What the previous directory comparison left queued would otherwise be heard as news
  // of this one. A file comparison of this instance keeps its completion and its errors.
  d.events.DropIf([](const PendingEvent& event) {
    return event.kind != PendingEventKind::kFileCompletion &&
           event.kind != PendingEventKind::kFileError;
  });
  d.dirJob.active = true;
  d.FireDirCompareStarted();

  dircompare::ScanOptions options = SnapshotOptions(d.props);
  options.excludePatterns = d.dirExcludePatterns;
  const bool started =
      d.dir.Start(std::move(options), std::make_unique<DirJobEnvironment>(d),
                  [&d] { d.QueueCompletion(d.dirJob, PendingEventKind::kDirCompletion); });
  if (!started) {
    // No worker: the job ends at once, without records and without a completion, before
    // the host hears of it (an OnError handler may begin again). The abort flag is raised
    // again as before any directory comparison: no scan will need the event timer.
    d.dirJob.ClaimAbort();
    d.dirJob.abort = true;
    d.dirJob.StoreElapsed(platform::TickCount());
    d.dirJob.active = false;
    d.FireError(kErrorSearchInProcess, kNoWorkerDetail);
    return false;
  }
  return true;
}

void CLindrelCtrl::SetDirExcludePatterns(std::vector<std::string> patterns) {
  d_->dirExcludePatterns = std::move(patterns);
}

void CLindrelCtrl::DirCompareAbort() {
  Impl& d = *d_;
  if (!d.dirJob.active) return;
  // Raised first: the scan stops, and a worker that has queued its completion stops
  // waiting for an event timer the host refuses, which frees the queue lock. Whatever
  // completion the scan queued before the withdrawal, cut short or not, is taken back.
  d.dirJob.abort = true;
  d.WithdrawCompletion(d.dirJob, PendingEventKind::kDirCompletion);
  d.dirJob.StoreElapsed(platform::TickCount());
  const long start = platform::TickCount();
  while (d.dirJob.active && platform::TickCount() - start <= kAbortWaitMs)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

bool CLindrelCtrl::DirCompareResultsGet(long resultIndex, std::string& fileName,
                                        std::string& dirMaster, std::string& dirSource,
                                        long& isFile, long& onlyInSource, long& onlyInMaster,
                                        long& sizeDifferent, long& dateDifferent,
                                        long& contentDifferent) {
  const auto record = d_->dir.results().Get(resultIndex);
  if (!record) return false;
  fileName = record->fileName;
  dirMaster = record->dirMaster;
  dirSource = record->dirSource;
  isFile = record->isFile();
  onlyInSource = record->onlyInSource();
  onlyInMaster = record->onlyInMaster();
  sizeDifferent = record->sizeDifferent();
  dateDifferent = record->dateDifferent();
  contentDifferent = record->contentDifferent();
  return true;
}

bool CLindrelCtrl::DirSaveDataToTabFile(const std::string& fileName) {
  if (!dircompare::WriteTabFile(d_->dir.results(), fileName)) {
    d_->FireError(kErrorUnableToOpenFile, fileName);
    return false;
  }
  return true;
}

long CLindrelCtrl::GetDirCompareResultsCount() const { return d_->dir.results().Count(); }
long CLindrelCtrl::GetDirCompareActive() const { return d_->dirJob.active ? 1 : 0; }
long CLindrelCtrl::GetDirCompareTime() const { return d_->dirJob.time; }

}  // namespace lindrel
