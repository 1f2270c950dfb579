// ContentComparer: decides whether two files hold the same bytes.
//
// It stops at the first differing block and never reads beyond the size each file had
// when it was opened. One comparer belongs to one thread (it owns its read buffers).
#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <string>

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
  // kCannotOpen: a file that was not compared is never the same. A file that was opened
  // but cannot be read to the size it had then (a read error, or shortened meanwhile)
  // queues error 602 naming it and answers kCannotOpen too. Checks for an abort between
  // blocks.
  ContentResult Compare(const std::string& masterPath, const std::string& sourcePath,
                        ScanEnvironment& env);

 private:
  std::size_t blockSize_;
  // Both blocks in one page-aligned allocation, made on first use: the kernel copies
  // into an unaligned buffer at about half the speed.
  struct FreeBlocks {
    void operator()(char* blocks) const { std::free(blocks); }
  };
  std::unique_ptr<char, FreeBlocks> blocks_;
  char* masterBlock_ = nullptr;
  char* sourceBlock_ = nullptr;
};

}  // namespace lindrel::dircompare
