// ProgressLine: one self-overwriting status line on the error stream ("lindrel: 1234
// entries, 2.5 s"), drawn only when that stream is a terminal and at most ten times a
// second. Clear it before anything else is written to the terminal. Owner thread only.
#pragma once

#include <chrono>
#include <ostream>

namespace lindrel::cli {

class ProgressLine {
 public:
  ProgressLine(std::ostream& err, bool enabled) : err_(err), enabled_(enabled) {}
  ~ProgressLine() { Clear(); }
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  void Update(long entries, std::chrono::milliseconds elapsed);
  void Clear();

 private:
  std::ostream& err_;
  bool enabled_;
  bool shown_ = false;
  std::chrono::steady_clock::time_point lastDrawn_{};
};

}  // namespace lindrel::cli
