// Creation, destruction and the host plumbing of CLindrelCtrl.
#include "lindrel/LindrelCtrl.h"

#include "control/LindrelCtrlImpl.h"
#include "control/StateFile.h"
#include "lindrel/MessageLoop.h"
#include "platform/TickCount.h"

namespace lindrel {

LindrelEvents::~LindrelEvents() = default;

CLindrelCtrl::Impl::Impl(CLindrelCtrl& ownerCtrl, EventHost& eventHost)
    : owner(ownerCtrl),
      host(eventHost),
      events(
          eventHost, [this](const PendingEvent& event) { Deliver(event); },
          // A worker stops retrying a refused timer once an abort waits for it (or, for
          // the directory flag, from creation until the first directory comparison); the
          // queue keeps asking in the background.
          [this] { return dirJob.abort.load() || fileJob.abort.load(); }) {
  dirJob.abort = true;
}

void CLindrelCtrl::Impl::PropertyChanged(long dispId) {
  modified = true;
  if (propertyChanged) propertyChanged(dispId);
}

void CLindrelCtrl::Impl::FireError(long code, const std::string& detail) {
  const char* message = ErrorMessage(code);
  if (message == nullptr || listener == nullptr) return;
  std::string text = std::string(message) + detail;
  listener->OnError(code, text);
}

void CLindrelCtrl::Impl::FireDirCompareStarted() {
  if (listener) listener->DirCompareStarted();
}

void CLindrelCtrl::Impl::FireFileCompareStarted() {
  if (listener) listener->FileCompareStarted();
}

void CLindrelCtrl::Impl::QueueError(long code, const std::string& detail) {
  events.Queue(PendingEvent{PendingEventKind::kError, code, detail, 0});
}

void CLindrelCtrl::Impl::QueueFileJobError(long code, const std::string& detail) {
  events.Queue(PendingEvent{PendingEventKind::kFileError, code, detail, fileJob.run}, {},
               [this] { return fileJob.ending == JobState::kRunning; });
}

void CLindrelCtrl::Impl::QueueCompletion(JobState& job, PendingEventKind kind, long code) {
  // Under the queue lock, so the host never sees the completion while the job still
  // looks active.
  events.Queue(
      PendingEvent{kind, code, {}, job.run},
      [&job] {
        if (job.ending == JobState::kCompleting) job.StoreElapsed(platform::TickCount());
        job.active = false;
      },
      [&job] { return job.ClaimCompletion(); });
}

void CLindrelCtrl::Impl::WithdrawCompletion(JobState& job, PendingEventKind kind) {
  const unsigned long run = job.run;
  const bool fileJob = kind == PendingEventKind::kFileCompletion;
  events.DropIf(
      [kind, run, fileJob](const PendingEvent& e) {
        return e.run == run &&
               (e.kind == kind || (fileJob && e.kind == PendingEventKind::kFileError));
      },
      [&job] { job.ending = JobState::kAborted; });
}

void CLindrelCtrl::Impl::Deliver(const PendingEvent& event) {
  switch (event.kind) {
    case PendingEventKind::kDirCompletion:
      if (listener) listener->DirCompareCompleted();
      break;
    case PendingEventKind::kFileCompletion:
      if (listener) listener->FileCompareCompleted(event.code);
      break;
    case PendingEventKind::kError:
    case PendingEventKind::kFileError: FireError(event.code, event.detail); break;
  }
}

bool CLindrelCtrl::Impl::ReadStateFile() {
  auto path = ResolveStateFilePath(props.stateFileName);
  if (!path) {
    FireError(kErrorStateFilePath);
    return false;
  }
  lindrel::ReadStateFile(*path, props);
  return true;
}

bool CLindrelCtrl::Impl::WriteStateFile() {
  auto path = ResolveStateFilePath(props.stateFileName);
  if (!path) {
    FireError(kErrorStateFilePath);
    return false;
  }
  // A failed write loses this run's settings and is reported to nobody: there is no one
  // left to tell while the component is being destroyed.
  (void)lindrel::WriteStateFile(*path, props, durableStateFile);
  return true;
}

CLindrelCtrl::CLindrelCtrl(const std::string& stateFileName, EventHost* eventHost,
                           LindrelEvents* listener)
    : d_(std::make_unique<Impl>(*this, eventHost ? *eventHost : MessageLoop::ForCurrentThread())) {
  d_->listener = listener;
  d_->props.stateFileName = stateFileName;
  d_->ReadStateFile();
}

CLindrelCtrl::~CLindrelCtrl() {
  d_->reports.ReleaseWordComparer();
  d_->dirJob.abort = true;
  DirCompareAbort();
  FileCompareAbort();
  d_->WriteStateFile();
  d_->events.Shutdown();
  // A job still running after the abort waits would otherwise outlive the object it
  // writes into; waiting for it here replaces a fixed pause.
  if (d_->fileWorker.joinable()) d_->fileWorker.join();
}

void CLindrelCtrl::SetEventListener(LindrelEvents* listener) { d_->listener = listener; }

void CLindrelCtrl::SetPropertyChangedHandler(std::function<void(long)> handler) {
  d_->propertyChanged = std::move(handler);
}

bool CLindrelCtrl::IsModified() const { return d_->modified; }
void CLindrelCtrl::SetModifiedFlag(bool modified) { d_->modified = modified; }

void CLindrelCtrl::LoadProperties(const std::string& savedStateFileName) {
  d_->props.stateFileName = savedStateFileName;
  d_->ReadStateFile();
}

void CLindrelCtrl::ResetProperties() {
  std::string stateFileName = std::move(d_->props.stateFileName);
  d_->props = Properties{};
  d_->props.stateFileName = std::move(stateFileName);
  d_->ReadStateFile();
}

void CLindrelCtrl::SetAboutBoxHandler(std::function<void()> handler) {
  d_->aboutBoxHandler = std::move(handler);
}

void CLindrelCtrl::AboutBox() {
  if (d_->aboutBoxHandler) d_->aboutBoxHandler();
}

}  // namespace lindrel
