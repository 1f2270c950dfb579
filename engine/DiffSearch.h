// Myers' O(ND) difference search in its linear-space form: a forward and a backward
// breadth-first search over diagonals meet in the middle of a shortest edit script, the
// box is split there, and both halves are solved the same way. Lines found deleted or
// inserted are marked in the changed flags through their real indices.
//
// One DiffSearch serves one comparison on one thread; its diagonal vectors are allocated
// once and reused by every box.
#pragma once

#include <vector>

#include "engine/ChangedFlags.h"
#include "engine/ConfusingLines.h"
#include "engine/LargeBlocks.h"
#include "engine/LineTable.h"

namespace lindrel::engine {

class DiffSearch {
 public:
  // `heuristic` lets a costly search stop early at a long common stretch (-H).
  DiffSearch(const KeptLines& master, const KeptLines& source, ChangedFlags& flags, bool heuristic);

  // Marks the changed lines of the whole kept-line sequences.
  void Run();

 private:
  struct Box {
    Lin xoff, xlim, yoff, ylim;
  };
  struct Split {
    Lin x, y;
  };

  void Solve(Box box, std::vector<Box>& pending);
  Split FindMiddle(const Box& box);
  bool ForwardHeuristic(const Box& box, Lin c, Lin fmin, Lin fmax, Split& split) const;
  bool BackwardHeuristic(const Box& box, Lin c, Lin bmin, Lin bmax, Split& split) const;

  const int* xv_;
  const int* yv_;
  const Lin* xIndex_;
  const Lin* yIndex_;
  Lin xCount_, yCount_;
  char* xChanged_;
  char* yChanged_;
  bool heuristic_;
  UninitialisedArray<Lin> forwardStore_, backwardStore_;
  Lin* fd_;  // indexed by diagonal, from -(yCount + 1) to xCount + 1
  Lin* bd_;
};

}  // namespace lindrel::engine
