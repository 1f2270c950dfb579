// The difference search as it stood before its exact modes were made faster, kept word for
// word as the reference that the faster search must match flag for flag: without the
// heuristic every record of the exact modes must stay what it was. Header-only, tests only.
#pragma once

#include <cassert>
#include <limits>
#include <vector>

#include "engine/ChangedFlags.h"
#include "engine/ComparedLines.h"
#include "engine/ConfusingLines.h"
#include "engine/LargeBlocks.h"

namespace lindrel::engine::testing {

namespace reference {

// Snakes longer than this make the heuristic worth trying, and a heuristic split must end
// in this many matching lines, so that an early stop lands in a genuinely common stretch.
inline constexpr Lin kSnakeLimit = 20;

// The heuristic only starts after this many edit steps in one box.
inline constexpr Lin kHeuristicMinCost = 200;

inline constexpr Lin kBeyond = std::numeric_limits<Lin>::max();

inline Lin Abs(Lin v) { return v < 0 ? -v : v; }

}  // namespace reference

class ReferenceSearch {
 public:
  // `heuristic` lets a costly search stop early at a long common stretch (-H).
  ReferenceSearch(const KeptLines& master, const KeptLines& source, ChangedFlags& flags,
                  bool heuristic);

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
  const KeptLines& xKept_;
  const KeptLines& yKept_;
  Lin xCount_, yCount_;
  char* xChanged_;
  char* yChanged_;
  bool heuristic_;
  UninitialisedArray<Lin> forwardStore_, backwardStore_;
  Lin* fd_;  // indexed by diagonal, from -(yCount + 1) to xCount + 1
  Lin* bd_;
};

inline ReferenceSearch::ReferenceSearch(const KeptLines& master, const KeptLines& source,
                                        ChangedFlags& flags, bool heuristic)
    : xv_(master.classes.data()),
      yv_(source.classes.data()),
      xKept_(master),
      yKept_(source),
      xCount_(master.count()),
      yCount_(source.count()),
      xChanged_(flags.side(0)),
      yChanged_(flags.side(1)),
      heuristic_(heuristic),
      forwardStore_(static_cast<size_t>(xCount_ + yCount_ + 3)),
      backwardStore_(static_cast<size_t>(xCount_ + yCount_ + 3)) {
  fd_ = forwardStore_.data() + yCount_ + 1;
  bd_ = backwardStore_.data() + yCount_ + 1;
}

inline void ReferenceSearch::Run() {
  // Boxes are solved from an explicit stack, first half before second, so that a long
  // chain of uneven splits cannot exhaust the thread's stack.
  std::vector<Box> pending{{0, xCount_, 0, yCount_}};
  while (!pending.empty()) {
    const Box box = pending.back();
    pending.pop_back();
    Solve(box, pending);
  }
}

inline void ReferenceSearch::Solve(Box box, std::vector<Box>& pending) {
  Lin& xoff = box.xoff;
  Lin& xlim = box.xlim;
  Lin& yoff = box.yoff;
  Lin& ylim = box.ylim;
  while (xoff < xlim && yoff < ylim && xv_[xoff] == yv_[yoff]) ++xoff, ++yoff;
  while (xlim > xoff && ylim > yoff && xv_[xlim - 1] == yv_[ylim - 1]) --xlim, --ylim;

  if (xoff == xlim) {
    for (Lin y = yoff; y < ylim; ++y) yChanged_[yKept_.RealIndex(y)] = 1;
    return;
  }
  if (yoff == ylim) {
    for (Lin x = xoff; x < xlim; ++x) xChanged_[xKept_.RealIndex(x)] = 1;
    return;
  }
  const Split split = FindMiddle(box);
  pending.push_back({split.x, xlim, split.y, ylim});
  pending.push_back({xoff, split.x, yoff, split.y});
}

inline ReferenceSearch::Split ReferenceSearch::FindMiddle(const Box& box) {
  const Lin xoff = box.xoff, xlim = box.xlim, yoff = box.yoff, ylim = box.ylim;
  const Lin dmin = xoff - ylim;
  const Lin dmax = xlim - yoff;
  const Lin fmid = xoff - yoff;
  const Lin bmid = xlim - ylim;
  const bool odd = ((fmid - bmid) & 1) != 0;
  Lin fmin = fmid, fmax = fmid;
  Lin bmin = bmid, bmax = bmid;
  fd_[fmid] = xoff;
  bd_[bmid] = xlim;

  for (Lin c = 1;; ++c) {
    bool bigSnake = false;

    if (fmin > dmin) {
      fd_[--fmin - 1] = -1;
    } else {
      ++fmin;
    }
    if (fmax < dmax) {
      fd_[++fmax + 1] = -1;
    } else {
      --fmax;
    }
    for (Lin d = fmax; d >= fmin; d -= 2) {
      const Lin low = fd_[d - 1];
      const Lin high = fd_[d + 1];
      Lin x = low >= high ? low + 1 : high;
      Lin y = x - d;
      const Lin start = x;
      while (x < xlim && y < ylim && xv_[x] == yv_[y]) ++x, ++y;
      if (x - start > reference::kSnakeLimit) bigSnake = true;
      fd_[d] = x;
      if (odd && bmin <= d && d <= bmax && bd_[d] <= x) {
        assert(2 * c - 1 != 1);  // a cost of 1 means one side of the box was empty
        return {bd_[d], bd_[d] - d};
      }
    }

    if (bmin > dmin) {
      bd_[--bmin - 1] = reference::kBeyond;
    } else {
      ++bmin;
    }
    if (bmax < dmax) {
      bd_[++bmax + 1] = reference::kBeyond;
    } else {
      --bmax;
    }
    for (Lin d = bmax; d >= bmin; d -= 2) {
      const Lin low = bd_[d - 1];
      const Lin high = bd_[d + 1];
      Lin x = low < high ? low : high - 1;
      Lin y = x - d;
      const Lin start = x;
      while (x > xoff && y > yoff && xv_[x - 1] == yv_[y - 1]) --x, --y;
      if (start - x > reference::kSnakeLimit) bigSnake = true;
      bd_[d] = x;
      if (!odd && fmin <= d && d <= fmax && x <= fd_[d]) return {x, x - d};
    }

    if (heuristic_ && c > reference::kHeuristicMinCost && bigSnake) {
      Split split{};
      if (ForwardHeuristic(box, c, fmin, fmax, split)) return split;
      if (BackwardHeuristic(box, c, bmin, bmax, split)) return split;
    }
  }
}

// The forward diagonal that got furthest for its distance from the start diagonal, when
// it ends in a long enough snake. The split is the point the forward search reached.
inline bool ReferenceSearch::ForwardHeuristic(const Box& box, Lin c, Lin fmin, Lin fmax,
                                              Split& split) const {
  const Lin fmid = box.xoff - box.yoff;
  Lin best = 0;
  for (Lin d = fmax; d >= fmin; d -= 2) {
    const Lin dd = d - fmid;
    const Lin x = fd_[d];
    const Lin y = x - d;
    const Lin value = 2 * (x - box.xoff) - dd;
    if (value <= 12 * (c + reference::Abs(dd)) || value <= best) continue;
    // The split must leave both halves smaller than the box.
    if (x - box.xoff <= reference::kSnakeLimit || y - box.yoff <= reference::kSnakeLimit) continue;
    if (x >= box.xlim && y >= box.ylim) continue;
    bool snake = true;
    for (Lin k = 1; k <= reference::kSnakeLimit && snake; ++k) snake = xv_[x - k] == yv_[y - k];
    if (!snake) continue;
    best = value;
    split = {x, y};
  }
  return best > 0;
}

// The same from the backward search: the split is the point it reached.
inline bool ReferenceSearch::BackwardHeuristic(const Box& box, Lin c, Lin bmin, Lin bmax,
                                               Split& split) const {
  const Lin bmid = box.xlim - box.ylim;
  Lin best = 0;
  for (Lin d = bmax; d >= bmin; d -= 2) {
    const Lin dd = d - bmid;
    const Lin x = bd_[d];
    const Lin y = x - d;
    const Lin value = 2 * (box.xlim - x) + dd;
    if (value <= 12 * (c + reference::Abs(dd)) || value <= best) continue;
    if (box.xlim - x <= reference::kSnakeLimit || box.ylim - y <= reference::kSnakeLimit) continue;
    if (x <= box.xoff && y <= box.yoff) continue;
    bool snake = true;
    for (Lin k = 0; k < reference::kSnakeLimit && snake; ++k) snake = xv_[x + k] == yv_[y + k];
    if (!snake) continue;
    best = value;
    split = {x, y};
  }
  return best > 0;
}

}  // namespace lindrel::engine::testing
