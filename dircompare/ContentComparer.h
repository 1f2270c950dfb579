// ContentComparer: decides whether two files hold the same bytes.
//
// It stops at the first differing block and never reads beyond the size each file had
// when it was opened. One comparer belongs to one thread (it owns its read buffers).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace lindrel::dircompare {

class ScanEnvironment;

enum class ContentResult {
  kSame = 0,
  kDifferent = 1,
  kCannotOpen = 2,  // a file could not be opened, or not read to its end
  kAborted = -1,    // the scan was asked to stop; the answer is unknown
};

class ContentComparer {
 public:
  // `blockSize`: bytes read from each file per step. The answer does not depend on it.
  explicit ContentComparer(std::size_t blockSize = 128 * 1024);

  // A path that names nothing (a file that vanished since it was listed) queues error
  // 600 (master) or 601 (source) through `env`, naming the path, and answers
  // kCannotOpen: a file that was not compared is never the same. Checks for an abort
  // between blocks.
  ContentResult Compare(const std::string& masterPath, const std::string& sourcePath,
                        ScanEnvironment& env);

 private:
  std::size_t blockSize_;
  std::vector<char> masterBlock_;
  std::vector<char> sourceBlock_;
};

}  // namespace lindrel::dircompare
