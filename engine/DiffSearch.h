// Myers' O(ND) difference search in its linear-space form: a forward and a backward
// breadth-first search over diagonals meet in the middle of a shortest edit script, the
// box is split there, and both halves are solved the same way. Lines found deleted or
// inserted are marked in the changed flags through their real indices.
//
// Without the heuristic the script is a shortest one. With it (-H) a box may be split
// early: at a long common stretch once its search has cost more than 200 steps, and at
// the furthest points its two searches reached once the cost passes a limit (1024 steps,
// more for boxes of over a million lines). The limit doubles, three times at most, while
// the searches close in on the middle fast, as those of ordinary files do; a search that
// barely moves, as in reordered or repetitive inputs, is split at the first, or already
// at 256 steps when the box is large and its sides have no stretch of lines in common. So
// no input makes the work quadratic, and ordinary files, heavily edited ones included,
// keep the records of the search without the bound.
//
// One DiffSearch serves one comparison on one thread; its diagonal vectors are allocated
// once and reused by every box. Another thread may ask it to stop through `stop`.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "engine/ChangedFlags.h"
#include "engine/ComparedLines.h"
#include "engine/ConfusingLines.h"
#include "engine/LargeBlocks.h"

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
  // furthest points reached, unless the search is closing in on the middle fast; and the
  // cost past which it always does. Exposed for tests.
  static Lin CostLimit(Lin lines);
  static Lin FinalCostLimit(Lin lines);

 private:
  struct Box {
    Lin xoff, xlim, yoff, ylim;
    // What is known of a stretch of lines its sides have in common: that there is none,
    // or that an enclosing box of `sharedRunIn` lines had one (0: nothing known).
    bool noSharedRun;
    Lin sharedRunIn;
  };
  struct Split {
    Lin x, y;
  };
  // The furthest points of the forward and the backward search inside a box.
  struct Reach {
    Lin forwardLines, backwardLines;  // lines of both sides passed over; 0: none
    Split forward, backward;
  };
  // What the search of one box found.
  struct Middle {
    enum Kind { kSplit, kTwoSplits, kAllChanged, kStopped } kind;
    Split first, second;  // second only for kTwoSplits
  };

  void Solve(Box box, std::vector<Box>& pending);
  Middle FindMiddle(Box& box);
  bool ShareNoClass(const Box& box);
  bool ShareARun(const Box& box);
  bool ForwardHeuristic(const Box& box, Lin c, Lin fmin, Lin fmax, Split& split) const;
  bool BackwardHeuristic(const Box& box, Lin c, Lin bmin, Lin bmax, Split& split) const;
  Reach Furthest(const Box& box, Lin fmin, Lin fmax, Lin bmin, Lin bmax) const;
  static Middle SplitAt(const Reach& reach);
  bool StopRequested() const { return stop_ != nullptr && stop_->load(std::memory_order_relaxed); }

  Lin xCount_, yCount_;
  // Copies of the kept classes with one spare entry before and after, where each box's
  // search plants sentinels that match nothing, so that its snakes need no bounds tests.
  UninitialisedArray<int> xStore_, yStore_;
  int* xv_;
  int* yv_;
  const KeptLines& xKept_;  // for the real indices
  const KeptLines& yKept_;
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
  std::vector<std::uint64_t> runHashes_;  // for ShareARun, kept between boxes
};

}  // namespace lindrel::engine
