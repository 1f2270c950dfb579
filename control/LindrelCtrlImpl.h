// The inside of a CLindrelCtrl: property values, job state, result stores, the pending-
// event queue and the state of the directory and report subsystems.
//
// Threads: the owner thread runs every host call. A worker touches only the atomics of
// its JobState, its own result store (which is safe for concurrent reads) and the
// pending-event queue (locked).
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "control/FileResultStore.h"
#include "control/JobState.h"
#include "control/PendingEventQueue.h"
#include "control/Properties.h"
#include "dircompare/DirCompareState.h"
#include "lindrel/LindrelCtrl.h"
#include "reports/ReportState.h"

namespace lindrel {

// The detail of the OnError 502 a begin fires when the system refuses its worker thread:
// the code tells the host to try again later, the detail tells the user why.
inline constexpr char kNoWorkerDetail[] = " The system refused a worker thread.";

struct CLindrelCtrl::Impl {
  Impl(CLindrelCtrl& owner, EventHost& host);

  CLindrelCtrl& owner;
  EventHost& host;

  Properties props;
  bool modified = false;
  std::function<void(long)> propertyChanged;
  std::function<void()> aboutBoxHandler;
  LindrelEvents* listener = nullptr;

  JobState fileJob;
  JobState dirJob;

  // File comparison results; the worker writes, the host reads.
  FileResultStore fileResults;
  // The last engine run found a difference but stored no record (quick or binary
  // comparison, or trouble).
  std::atomic<bool> fileDifferWithoutRecords{false};
  std::thread fileWorker;

  PendingEventQueue events;

  dircompare::DirCompareState dir;
  // SetDirExcludePatterns: not a property, so never in the state file.
  std::vector<std::string> dirExcludePatterns;
  reports::ReportState reports;

  // The records of an ended comparison as the public value types, made on the first
  // request after it ended and kept, unchanged and in place, until a later run of the job
  // asks for them: the spans handed out stay valid until the next accepted begin.
  template <typename Record>
  struct RecordView {
    bool made = false;
    unsigned long run = 0;  // the job's run the records belong to
    std::vector<Record> records;
  };
  RecordView<FileChange> fileView;  // owner thread only
  RecordView<DirRecord> dirView;    // owner thread only

  // Owner thread. Marks the component modified and sends the change notice of `dispId`.
  void PropertyChanged(long dispId);

  // Owner thread. Fires OnError with the code's message followed by `detail`; a code
  // without a message fires nothing.
  void FireError(long code, const std::string& detail = std::string());
  void FireDirCompareStarted();
  void FireFileCompareStarted();

  // Any thread. Queues an error for the owner thread (a job's error).
  void QueueError(long code, const std::string& detail = std::string());
  // File worker thread, before QueueCompletion. Queues an error of the file job's current
  // run unless an abort came first; an abort later takes it back with the completion.
  void QueueFileJobError(long code, const std::string& detail);
  // Worker thread, once its job's work is done. Queues the completion of the job's
  // current run (`code`: the count a file completion carries) unless an abort came first,
  // and ends the job: it reads inactive, and its time is the elapsed milliseconds (the
  // abort's, when there was one).
  void QueueCompletion(JobState& job, PendingEventKind kind, long code = 0);
  // Owner thread, while the job reads active. Marks the job aborted and takes back its
  // completion if the worker has queued it already: none of this run is ever fired.
  void WithdrawCompletion(JobState& job, PendingEventKind kind);

  // Reads and writes the state file (StateFileName). False when the path could not be
  // resolved (OnError 501 has been fired).
  bool ReadStateFile();
  bool WriteStateFile();
  // False for a component whose state file only records its last run (the word comparer
  // of the reports): it is then replaced without waiting for the disk.
  bool durableStateFile = true;

  // Fires one event drained from the queue (owner thread).
  void Deliver(const PendingEvent& event);
};

}  // namespace lindrel
