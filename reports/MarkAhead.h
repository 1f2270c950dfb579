// MarkAhead: the word marking of an HTML report's difference rows on a second thread,
// ahead of the thread that writes the page. Rows are marked strictly in order, by one
// thread, as the writer would have marked them itself; the writer takes them in the same
// order. At most kWindow marked rows wait for the writer, so memory stays bounded however
// large the report.
//
// Threading: the object belongs to the writing thread; `mark` runs on the worker only,
// and nothing it touches may be used by the writer until the object is destroyed (which
// stops and joins the worker).
#pragma once

#include <atomic>
#include <cstddef>
#include <exception>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace lindrel::reports {

struct MarkedRow {
  bool marked = false;  // false: the word comparison failed
  std::string master;   // all in one: the merged text
  std::string source;
};

class MarkAhead {
 public:
  static constexpr std::size_t kWindow = 1024;
  static constexpr std::size_t kBatch = 128;  // rows handed over, and back, at a time

  // Starts marking rows 0 .. count-1 with `mark`. Started() tells whether the system gave
  // the thread; without it nothing was marked.
  MarkAhead(std::size_t count, std::function<void(std::size_t, MarkedRow&)> mark);
  ~MarkAhead();
  MarkAhead(const MarkAhead&) = delete;
  MarkAhead& operator=(const MarkAhead&) = delete;

  bool Started() const { return worker_.joinable(); }

  // Row `index`, which must be the next one in order. Rethrows what marking threw.
  MarkedRow Take(std::size_t index);

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
