// Myers' O(ND) difference search in its linear-space form: a forward and a backward
// breadth-first search over diagonals meet in the middle of a shortest edit script, the
// box is split there, and both halves are solved the same way. Lines found deleted or
// inserted are marked in the changed flags through their real indices.
//
// Without the heuristic the script is a shortest one. With it (-H) a box may be split
// early: at a long common stretch once its search has cost more than 200 steps, and in
// any case at the furthest points its two searches reached once the cost passes a limit
// that grows with the box, so that no input makes the work quadratic.
//
// One DiffSearch serves one comparison on one thread; its diagonal vectors are allocated
// once and reused by every box. Another thread may ask it to stop through `stop`.
#pragma once

#include <atomic>
#include <vector>

#include "engine/ChangedFlags.h"
#include "engine/ConfusingLines.h"
#include "engine/LargeBlocks.h"
#include "engine/LineTable.h"

namespace lindrel::engine {

class DiffSearch {
 public:
  // `heuristic` lets a costly search stop early (-H). `stop`, when given, is polled while
  // the search runs; once it reads true the search ends as soon as it can. The search
  // takes the classes of both kept-line sequences (they are left empty; their real indices
  // stay and must outlive the search).
  DiffSearch(KeptLines& master, KeptLines& source, ChangedFlags& flags, bool heuristic,
             const std::atomic<bool>* stop = nullptr);

  // Marks the changed lines of the whole kept-line sequences. False when it was stopped;
  // the flags are then incomplete.
  bool Run();

  // The cost past which the heuristic splits a box of `lines` lines (both sides) at the
  // furthest points reached; exposed for tests.
  static Lin CostLimit(Lin lines);

 private:
  struct Box {
    Lin xoff, xlim, yoff, ylim;
  };
  struct Split {
    Lin x, y;
  };
  // What the search of one box found.
  struct Middle {
    enum Kind { kSplit, kTwoSplits, kAllChanged, kStopped, kNone } kind;
    Split first, second;  // second only for kTwoSplits
  };

  void Solve(Box box, std::vector<Box>& pending);
  Middle FindMiddle(const Box& box);
  bool ShareNoClass(const Box& box);
  bool ForwardHeuristic(const Box& box, Lin c, Lin fmin, Lin fmax, Split& split) const;
  bool BackwardHeuristic(const Box& box, Lin c, Lin bmin, Lin bmax, Split& split) const;
  Middle FurthestReach(const Box& box, Lin fmin, Lin fmax, Lin bmin, Lin bmax) const;
  bool StopRequested() const { return stop_ != nullptr && stop_->load(std::memory_order_relaxed); }

  Lin xCount_, yCount_;
  // Copies of the kept classes with one spare entry before and after, where each box's
  // search plants sentinels that match nothing, so that its snakes need no bounds tests.
  UninitialisedArray<int> xStore_, yStore_;
  int* xv_;
  int* yv_;
  const Lin* xIndex_;
  const Lin* yIndex_;
  char* xChanged_;
  char* yChanged_;
  bool heuristic_;
  const std::atomic<bool>* stop_;
  bool stopped_ = false;
  UninitialisedArray<Lin> forwardStore_, backwardStore_;
  Lin* fd_;  // indexed by diagonal, from -(yCount + 1) to xCount + 1
  Lin* bd_;
  // For the test whether the two sides of a box share a class: the box that last marked
  // each class, allocated on first use.
  int maxClass_ = 0;  // of the master: a class beyond it cannot be shared
  std::vector<unsigned> classMark_;
  unsigned boxSerial_ = 0;
};

}  // namespace lindrel::engine
