// MarkAhead: the word comparisons of an HTML report's difference rows on a second thread,
// ahead of the thread that writes the page (and turns each row's word records into its
// marked text). Rows are compared strictly in order, by one thread, as the writer would
// have compared them itself; the writer takes them in the same order. At most kWindow
// compared rows wait for the writer, so memory stays bounded however large the report.
//
// Threading: the object belongs to the writing thread; `mark` runs on the worker only,
// and nothing it touches may be used by the writer until the object is destroyed (which
// stops and joins the worker).
#pragma once

#include <atomic>
#include <cstddef>
#include <exception>
#include <functional>
#include <thread>
#include <vector>

#include "engine/ChangeRecord.h"

namespace lindrel::reports {

// One difference row's word comparison.
struct MarkedRow {
  bool marked = false;  // false: the word comparison failed
  std::vector<engine::ChangeRecord> records;
};

class MarkAhead {
 public:
  static constexpr std::size_t kWindow = 1024;
  static constexpr std::size_t kBatch = 128;  // rows handed over, and back, at a time

  // Starts marking rows 0 .. count-1 with `mark`, which gets a row with the `marked` flag
  // false and no records (their storage kept). Started() tells whether the system gave
  // the thread; without it nothing was marked.
  MarkAhead(std::size_t count, std::function<void(std::size_t, MarkedRow&)> mark);
  ~MarkAhead();
  MarkAhead(const MarkAhead&) = delete;
  MarkAhead& operator=(const MarkAhead&) = delete;

  bool Started() const { return worker_.joinable(); }

  // Swaps row `index`, which must be the next one in order, into `row`; what `row` held
  // goes back to the marker for its storage. Rethrows what marking threw.
  void Take(std::size_t index, MarkedRow& row);

 private:
  void Work();

  const std::size_t count_;
  std::function<void(std::size_t, MarkedRow&)> mark_;
  std::vector<MarkedRow> slots_;
  std::atomic<std::size_t> produced_{0};  // rows marked; kFailed after an exception
  std::atomic<std::size_t> consumed_{0};  // rows taken; kFailed once the writer gave up
  std::exception_ptr error_;              // written before produced_ becomes kFailed
  std::thread worker_;
};

}  // namespace lindrel::reports
