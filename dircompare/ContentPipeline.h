// ContentPipeline: the content comparisons of a directory scan on a second thread, so
// that the walk (listing directories, matching names) goes on while files are read, and
// both threads read when the walk is done or too far ahead.
//
// The walk hands over everything it would have appended to the store or queued as an
// error, in its own order; the pipeline appends and queues it in that order, each record
// that waits for a comparison once the comparison is done. The owner therefore sees the
// same records and errors in the same order as from a walk that compares as it goes,
// only a little later.
//
// Threading: the object belongs to the scan's thread; only comparisons run on the helper,
// and they reach the environment only through AbortRequested and OpenForReading.
#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "dircompare/ContentComparer.h"
#include "dircompare/DirResultRecord.h"
#include "dircompare/DirResultStore.h"
#include "platform/Mutex.h"

namespace lindrel::dircompare {

class ScanEnvironment;

class ContentPipeline {
 public:
  ContentPipeline(DirResultStore& store, ScanEnvironment& env);
  // Stops the helper; what is still queued is dropped.
  ~ContentPipeline();
  ContentPipeline(const ContentPipeline&) = delete;
  ContentPipeline& operator=(const ContentPipeline&) = delete;

  // False when the system gave no thread: compare on the walk's thread instead.
  bool Started() const { return helper_.joinable(); }

  void Add(DirResultRecord record);
  void AddError(long code, std::string detail);
  // A file on both sides: the comparison sets its content flag, and the record is kept
  // when it is then the same in every respect and `keepSame`, or differs and
  // `keepDifferent`. False when the walk must stop (see Drain).
  bool AddCompared(DirResultRecord record, std::string masterPath, std::string sourcePath,
                   bool keepSame, bool keepDifferent);

  // Appends what is ready at the front; with `all`, waits for (or makes) every comparison
  // first. False once a comparison was cut short by an abort: nothing from there on is
  // appended, and the walk must stop.
  bool Drain(bool all);

 private:
  struct Item;

  void HelperLoop();
  // Runs the comparison of `item` on the calling thread with `comparer`.
  void Run(Item& item, ContentComparer& comparer);
  // Bounds what waits: while too much does, the walk's thread compares too, or waits.
  bool KeepUp();
  // Hands the staged comparisons to the helper.
  void Publish();
  // Takes the oldest comparison nobody has started; nullptr when there is none.
  Item* TakeJob() EXCLUDES(mutex_);
  bool AppendFront(Item& item);

  DirResultStore& store_;
  ScanEnvironment& env_;
  ContentComparer walkComparer_;             // for comparisons the walk's thread makes
  ContentComparer helperComparer_;           // the helper's own buffers
  std::deque<std::unique_ptr<Item>> items_;  // walk order; touched by the walk's thread only

  platform::Mutex mutex_;  // also guards every item's done flag, result and errors
  platform::CondVar jobAdded_;
  platform::CondVar jobDone_;
  std::deque<Item*> jobs_ GUARDED_BY(mutex_);  // comparisons not yet started, oldest first
  std::vector<Item*> staged_;    // comparisons not yet handed over (walk's thread only)
  std::size_t pendingJobs_ = 0;  // comparisons not yet appended (walk's thread only)
  bool stop_ GUARDED_BY(mutex_) = false;
  bool stopped_ = false;  // an aborted comparison was met
  std::thread helper_;
};

}  // namespace lindrel::dircompare
