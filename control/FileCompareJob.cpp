// The file-comparison job of CLindrelCtrl: begin checks, the worker, abort and results.
#include <sys/stat.h>

#include <chrono>
#include <thread>

#include "control/LindrelCtrlImpl.h"
#include "engine/ArgumentVector.h"
#include "engine/EngineResult.h"
#include "engine/IgnorePatterns.h"
#include "engine/RunEngine.h"
#include "platform/FileSearch.h"
#include "platform/ThreadPriority.h"
#include "platform/TickCount.h"
#include "platform/WorkerThread.h"

namespace lindrel {

namespace {

constexpr long kAbortWaitMs = 29'999;

// The job reads the properties once; taking them on the owner thread at begin keeps the
// worker away from values the host may change meanwhile.
engine::FileCompareOptions SnapshotOptions(const Properties& p) {
  engine::FileCompareOptions o;
  o.master = p.fileMaster;
  o.source = p.fileSource;
  o.ignoreCase = p.fileIgnoreCase == 1;
  o.ignoreWhiteSpace = p.fileIgnoreWhiteSpace == 1;
  o.ignoreEmptyLines = p.fileIgnoreEmptyLines == 1;
  o.quickCompare = p.fileQuickCompare == 1;
  o.showChangesInLargerSections = p.fileShowChangesInLargerSections == 1;
  o.compareFaster = p.fileCompareFaster == 1;
  o.useLineBracket = p.fileUseLineBracket == 1;
  o.lineBracket = p.fileLineBracket;
  o.useIgnoreRegularExpression = p.fileUseIgnoreRegularExpression == 1;
  o.ignoreRegularExpression = p.fileIgnoreRegularExpression;
  return o;
}

// True for an existing operand that is neither a regular file nor a directory (links
// followed).
bool IsSpecialFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode);
}

// Checks and resets shared by both begin methods. True when the job may start; the
// Started event has then been fired.
bool AcceptFileCompare(CLindrelCtrl::Impl& d) {
  if (d.fileJob.active) {
    d.FireError(kErrorSearchInProcess);
    return false;
  }
  if (!platform::DirectorySearchFindsEntry(d.props.fileMaster)) {
    d.FireError(kErrorInvalidMasterFile);
    return false;
  }
  if (!platform::DirectorySearchFindsEntry(d.props.fileSource)) {
    d.FireError(kErrorInvalidSourceFile);
    return false;
  }
  // A FIFO, a device or a socket has no end a comparison could wait for; the engine
  // refuses it too, but the host hears here which operand it was.
  if (IsSpecialFile(d.props.fileMaster)) {
    d.FireError(kErrorInvalidMasterFile, " " + d.props.fileMaster);
    return false;
  }
  if (IsSpecialFile(d.props.fileSource)) {
    d.FireError(kErrorInvalidSourceFile, " " + d.props.fileSource);
    return false;
  }
  // A pattern the engine would refuse is refused here, where the host hears why, rather
  // than dropped from the comparison without a word.
  if (const auto pattern = engine::RefusedIgnorePattern(SnapshotOptions(d.props))) {
    d.FireError(kErrorInvalidSearchString, *pattern + " (" + engine::kBackReferenceRefused + ")");
    return false;
  }
  d.fileResults.Clear();
  d.fileJob.Start(platform::TickCount());
  d.fileJob.abort = false;
  d.reports.OnFileCompareStarted();
  d.fileJob.active = true;
  d.FireFileCompareStarted();
  return true;
}

int RunFileCompareJob(CLindrelCtrl::Impl& d, const engine::FileCompareOptions& options) {
  d.fileDifferWithoutRecords = false;
  // An abort stops a long read or search early; the store then keeps what was delivered
  // before, which is nothing, and the files are not known to differ.
  std::string unreadable;
  const int result = engine::RunEngine(engine::BuildEngineArguments(options), d.fileResults,
                                       &d.fileJob.abort, &unreadable);
  if (result == engine::kTrouble && !unreadable.empty()) {
    // What was compared is not the file: records delivered before the read failed (a
    // mapped file shortened under the run) describe nothing, and the host hears which
    // file it was before the completion, never a difference.
    d.fileResults.Clear();
    d.QueueFileJobError(kErrorReadingFile, unreadable);
  }
  if (result != engine::kStopped && result > 0 && d.fileResults.Count() == 0)
    d.fileDifferWithoutRecords = true;

  // The count goes with the event: a begin made before the host's loop delivers it
  // clears the results it describes.
  d.QueueCompletion(d.fileJob, PendingEventKind::kFileCompletion, d.fileResults.Count());
  return result;
}

// The system refused the worker after the begin had already reset the results and fired
// FileCompareStarted. The job ends as one aborted before its first step: no completion,
// nothing known about the files, and reports answer "aborted" rather than describe a
// comparison that never ran. Cleared before the host hears of it, so an OnError handler
// may begin again.
void EndUnstartedFileJob(CLindrelCtrl::Impl& d) {
  d.fileJob.ClaimAbort();
  d.fileDifferWithoutRecords = false;
  d.reports.OnFileCompareAborted();
  d.fileJob.StoreElapsed(platform::TickCount());
  d.fileJob.active = false;
}

}  // namespace

bool CLindrelCtrl::FileCompareBegin() {
  Impl& d = *d_;
  if (!AcceptFileCompare(d)) return false;
  // The previous worker has already queued its completion; collect the thread.
  if (d.fileWorker.joinable()) d.fileWorker.join();
  const engine::FileCompareOptions options = SnapshotOptions(d.props);
  const long priority = d.props.threadPriority;
  d.fileWorker = platform::StartWorkerThread([&d, options, priority] {
    platform::ApplyThreadPriority(priority);
    RunFileCompareJob(d, options);
  });
  if (!d.fileWorker.joinable()) {
    EndUnstartedFileJob(d);
    d.FireError(kErrorSearchInProcess, kNoWorkerDetail);
    return false;
  }
  return true;
}

bool CLindrelCtrl::FileCompareBeginSynchronous() {
  Impl& d = *d_;
  if (!AcceptFileCompare(d)) return false;
  return RunFileCompareJob(d, SnapshotOptions(d.props)) != engine::kTrouble;
}

void CLindrelCtrl::FileCompareAbort() {
  Impl& d = *d_;
  if (!d.fileJob.active) return;
  // Raised first: the engine stops, and a worker that has queued its completion stops
  // waiting for an event timer the host refuses, which frees the queue lock.
  d.fileJob.abort = true;
  // Even a completion the worker has queued already is taken back: the host asked while
  // the job read active, and no completion has been delivered since.
  d.WithdrawCompletion(d.fileJob, PendingEventKind::kFileCompletion);
  d.reports.OnFileCompareAborted();
  d.fileJob.StoreElapsed(platform::TickCount());
  const long start = platform::TickCount();
  while (d.fileJob.active && platform::TickCount() - start <= kAbortWaitMs)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

long CLindrelCtrl::GetFileCompareActive() const { return d_->fileJob.active ? 1 : 0; }
long CLindrelCtrl::GetFileCompareTime() const { return d_->fileJob.time; }

long CLindrelCtrl::FileCompareResultsCount() {
  if (d_->fileDifferWithoutRecords) return -1;
  return d_->fileResults.Count();
}

bool CLindrelCtrl::FileCompareResultsGet(long resultIndex, long& changeType, long& masterStart,
                                         long& masterEnd, long& sourceStart, long& sourceEnd) {
  auto record = d_->fileResults.Get(resultIndex);
  if (!record) return false;
  changeType = static_cast<unsigned char>(record->kind);
  masterStart = record->masterStart;
  masterEnd = record->masterEnd;
  sourceStart = record->sourceStart;
  sourceEnd = record->sourceEnd;
  return true;
}

}  // namespace lindrel
