// DirCompareState: the directory comparison of one component: its result store and the
// worker thread that fills it.
//
// Threads: Start and the destructor belong to the owner thread. The worker appends to
// the store, which the owner may read at any time (see DirResultStore). Start is called
// only when no comparison runs; the worker of the previous comparison may still be
// returning, and Start waits for that.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "dircompare/DirResultStore.h"
#include "dircompare/ScanEnvironment.h"
#include "dircompare/ScanOptions.h"

namespace lindrel::dircompare {

class DirCompareState {
 public:
  DirCompareState() = default;
  // Waits for a worker that is still running. The owner asks it to stop first; a scan
  // checks for that between entries and blocks, so the wait is short.
  ~DirCompareState();
  DirCompareState(const DirCompareState&) = delete;
  DirCompareState& operator=(const DirCompareState&) = delete;

  DirResultStore& results() { return results_; }
  const DirResultStore& results() const { return results_; }

  // Starts a worker that applies options.threadPriority to itself, appends the root
  // record, walks both trees and then calls `finished` (on the worker). The store is
  // not emptied here. False when the thread cannot be created; `finished` is not called
  // then.
  bool Start(ScanOptions options, std::unique_ptr<ScanEnvironment> env,
             std::function<void()> finished);

  // Runs on the worker right before each content comparison (paths of both files).
  void TEST_SetBeforeContentCompare(std::function<void(const std::string&, const std::string&)> hook) {
    testBeforeContentCompare_ = std::move(hook);
  }

 private:
  void Run();

  DirResultStore results_;
  // Owned by the running worker; replaced only after it has been joined.
  ScanOptions options_;
  std::unique_ptr<ScanEnvironment> env_;
  std::function<void()> finished_;
  std::function<void(const std::string&, const std::string&)> testBeforeContentCompare_;
  std::thread worker_;
};

}  // namespace lindrel::dircompare
