#include "engine/DiffSearch.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <limits>
#include <type_traits>

namespace lindrel::engine {

namespace {

// Snakes longer than this make the heuristic worth trying, and a heuristic split must end
// in this many matching lines, so that an early stop lands in a genuinely common stretch.
constexpr Lin kSnakeLimit = 20;

// The heuristic only starts after this many edit steps in one box.
constexpr Lin kHeuristicMinCost = 200;

// The cost bound of the heuristic. Ordinary files, heavily edited sources among them,
// find the middle of their boxes below this cost or make steady progress towards it;
// reordered or repetitive inputs cost their whole size and barely move.
constexpr Lin kMinCostLimit = 1024;

// A box whose two searches have together passed over at least this many lines per unit
// of cost is closing in on its middle: its limit doubles, up to kMaxLimitDoublings times.
// Ordinary files pass over ten or more at the limit; a search that finds no snakes, only
// two.
constexpr Lin kMinProgress = 4;
constexpr int kMaxLimitDoublings = 3;

// A box that makes little progress is split at this cost already when its two sides have
// no stretch of kRunLength lines in common: only chance matches could align it, as in
// reordered or repetitive inputs. A block moved in an ordinary file makes little progress
// until the search has paid for it, but it is such a stretch.
constexpr Lin kEarlyCostLimit = 256;
constexpr Lin kRunLength = 8;
// Only boxes of this many lines or more: a smaller one costs little more at the limit,
// and an ordinary file may hold one that small without a stretch in common (a region
// rewritten from scratch, of which only blank and brace lines were kept).
constexpr Lin kEarlyMinLines = 4 * kMinCostLimit;

constexpr Lin kBeyond = std::numeric_limits<Lin>::max();
constexpr Lin kNoMeet = std::numeric_limits<Lin>::min();
constexpr Lin kNoLimit = std::numeric_limits<Lin>::max();

// Planted just outside the box on each side; classes are positive, and the two sentinels
// differ, so a snake stops at the box's edge without testing for it.
constexpr int kMasterSentinel = -1;
constexpr int kSourceSentinel = -2;

Lin Abs(Lin v) { return v < 0 ? -v : v; }

// Copies `classes` behind the spare entry at the start of `store`, then frees them, so that
// the search does not hold both at once.
int* TakeClasses(UninitialisedArray<int>& store, BigVector<int>& classes) {
  int* const start = store.data() + 1;
  std::copy(classes.begin(), classes.end(), start);
  BigVector<int>().swap(classes);
  return start;
}

// One pass of the forward search over the diagonals dHigh, dHigh - 2, ... down to dLow.
// Each takes the further of its neighbours' reaches and follows its snake; outside the box
// the index is clamped onto a sentinel, so that nothing matches there. With kMeet the pass
// stops at the first diagonal whose reach meets the backward search's and returns it.
// `longest` keeps the longest snake seen.
template <bool kMeet>
inline Lin SweepForward(Lin* fd, const Lin* bd, const int* xv, const int* yv, Lin xlim, Lin ylim,
                        Lin dHigh, Lin dLow, Lin& longest) {
  if (dHigh < dLow) return kNoMeet;
  Lin high = fd[dHigh + 1];
  for (Lin d = dHigh; d >= dLow; d -= 2) {
    const Lin low = fd[d - 1];
    Lin x = std::max(low + 1, high);
    high = low;
    Lin y = x - d;
    if (xv[std::min(x, xlim)] == yv[std::min(y, ylim)]) {
      const Lin start = x;
      do {
        ++x;
        ++y;
      } while (xv[x] == yv[y]);
      longest = std::max(longest, x - start);
    }
    fd[d] = x;
    if (kMeet && bd[d] <= x) return d;
  }
  return kNoMeet;
}

// The same for the backward search, whose snakes run towards the box's start.
template <bool kMeet>
inline Lin SweepBackward(Lin* bd, const Lin* fd, const int* xv, const int* yv, Lin xoff, Lin yoff,
                         Lin dHigh, Lin dLow, Lin& longest) {
  if (dHigh < dLow) return kNoMeet;
  Lin high = bd[dHigh + 1];
  for (Lin d = dHigh; d >= dLow; d -= 2) {
    const Lin low = bd[d - 1];
    Lin x = std::min(low, high - 1);
    high = low;
    Lin y = x - d;
    if (xv[std::max(x, xoff) - 1] == yv[std::max(y, yoff) - 1]) {
      const Lin start = x;
      do {
        --x;
        --y;
      } while (xv[x - 1] == yv[y - 1]);
      longest = std::max(longest, start - x);
    }
    bd[d] = x;
    if (kMeet && x <= fd[d]) return d;
  }
  return kNoMeet;
}

// A pass over [low, high] of which only the diagonals in [meetLow, meetHigh] can meet the
// other search: the pass is cut in three so that the others skip the test.
template <typename Sweep>
Lin SweepRange(Lin high, Lin low, bool meetPossible, Lin meetHigh, Lin meetLow, Sweep sweep) {
  const Lin top = std::min(high, meetHigh);
  const Lin bottom = std::max(low, meetLow);
  if (!meetPossible || bottom > top) {
    sweep(std::false_type{}, high, low);
    return kNoMeet;
  }
  const Lin first = top - ((high - top) & 1);  // highest diagonal of the pass in the range
  sweep(std::false_type{}, high, first + 1);
  const Lin meet = sweep(std::true_type{}, first, bottom);
  if (meet != kNoMeet) return meet;
  const Lin next = first >= bottom ? first - 2 * ((first - bottom) / 2 + 1) : first;
  sweep(std::false_type{}, next, low);
  return kNoMeet;
}

}  // namespace

Lin DiffSearch::CostLimit(Lin lines) {
  // Grows with the square root of the box: a box then costs about as many steps as it has
  // lines before it is split, and each split takes a part of it proportional to the limit.
  Lin limit = kMinCostLimit;
  while (limit < kNoLimit / limit && limit * limit < lines) limit *= 2;
  return limit;
}

Lin DiffSearch::FinalCostLimit(Lin lines) {
  const Lin limit = CostLimit(lines);
  return limit <= (kNoLimit >> kMaxLimitDoublings) ? limit << kMaxLimitDoublings : kNoLimit;
}

DiffSearch::DiffSearch(KeptLines& master, KeptLines& source, ChangedFlags& flags, bool heuristic,
                       const std::atomic<bool>* stop)
    : xCount_(master.count()),
      yCount_(source.count()),
      xStore_(static_cast<size_t>(xCount_ + 2)),
      yStore_(static_cast<size_t>(yCount_ + 2)),
      xv_(TakeClasses(xStore_, master.classes)),
      yv_(TakeClasses(yStore_, source.classes)),
      xKept_(master),
      yKept_(source),
      xChanged_(flags.side(0)),
      yChanged_(flags.side(1)),
      heuristic_(heuristic),
      stop_(stop),
      forwardStore_(static_cast<size_t>(xCount_ + yCount_ + 3)),
      backwardStore_(static_cast<size_t>(xCount_ + yCount_ + 3)) {
  for (Lin x = 0; x < xCount_; ++x) maxClass_ = std::max(maxClass_, xv_[x]);
  xv_[-1] = xv_[xCount_] = kMasterSentinel;
  yv_[-1] = yv_[yCount_] = kSourceSentinel;
  fd_ = forwardStore_.data() + yCount_ + 1;
  bd_ = backwardStore_.data() + yCount_ + 1;
}

bool DiffSearch::Run() {
  // Boxes are solved from an explicit stack, first part before the next, so that a long
  // chain of uneven splits cannot exhaust the thread's stack.
  std::vector<Box> pending{{0, xCount_, 0, yCount_, false, 0}};
  while (!pending.empty() && !stopped_) {
    const Box box = pending.back();
    pending.pop_back();
    Solve(box, pending);
  }
  return !stopped_;
}

void DiffSearch::Solve(Box box, std::vector<Box>& pending) {
  Lin& xoff = box.xoff;
  Lin& xlim = box.xlim;
  Lin& yoff = box.yoff;
  Lin& ylim = box.ylim;
  while (xoff < xlim && yoff < ylim && xv_[xoff] == yv_[yoff]) ++xoff, ++yoff;
  while (xlim > xoff && ylim > yoff && xv_[xlim - 1] == yv_[ylim - 1]) --xlim, --ylim;

  const Middle middle =
      xoff == xlim || yoff == ylim ? Middle{Middle::kAllChanged, {}, {}} : FindMiddle(box);
  switch (middle.kind) {
    case Middle::kAllChanged:
      for (Lin x = xoff; x < xlim; ++x) xChanged_[xKept_.RealIndex(x)] = 1;
      for (Lin y = yoff; y < ylim; ++y) yChanged_[yKept_.RealIndex(y)] = 1;
      break;
    // The parts of a box whose sides share no stretch of lines share none either.
    case Middle::kSplit:
      pending.push_back(
          {middle.first.x, xlim, middle.first.y, ylim, box.noSharedRun, box.sharedRunIn});
      pending.push_back(
          {xoff, middle.first.x, yoff, middle.first.y, box.noSharedRun, box.sharedRunIn});
      break;
    case Middle::kTwoSplits:
      pending.push_back(
          {middle.second.x, xlim, middle.second.y, ylim, box.noSharedRun, box.sharedRunIn});
      pending.push_back({middle.first.x, middle.second.x, middle.first.y, middle.second.y,
                         box.noSharedRun, box.sharedRunIn});
      pending.push_back(
          {xoff, middle.first.x, yoff, middle.first.y, box.noSharedRun, box.sharedRunIn});
      break;
    case Middle::kStopped: stopped_ = true; break;
  }
}

DiffSearch::Middle DiffSearch::FindMiddle(Box& box) {
  const Lin xoff = box.xoff, xlim = box.xlim, yoff = box.yoff, ylim = box.ylim;
  int* const xv = xv_;
  int* const yv = yv_;
  // The sentinels stand just outside this box for the length of its search.
  struct Planted {
    int* at;
    int saved;
  } planted[4] = {{xv + xoff - 1, 0}, {xv + xlim, 0}, {yv + yoff - 1, 0}, {yv + ylim, 0}};
  for (Planted& p : planted) p.saved = *p.at;
  xv[xoff - 1] = xv[xlim] = kMasterSentinel;
  yv[yoff - 1] = yv[ylim] = kSourceSentinel;
  struct Restore {
    Planted* planted;
    ~Restore() {
      for (int i = 3; i >= 0; --i) *planted[i].at = planted[i].saved;
    }
  } restore{planted};

  Lin* const fd = fd_;
  Lin* const bd = bd_;
  const Lin dmin = xoff - ylim;
  const Lin dmax = xlim - yoff;
  const Lin fmid = xoff - yoff;
  const Lin bmid = xlim - ylim;
  const bool odd = ((fmid - bmid) & 1) != 0;
  Lin fmin = fmid, fmax = fmid;
  Lin bmin = bmid, bmax = bmid;
  fd[fmid] = xoff;
  bd[bmid] = xlim;

  const Lin lines = (xlim - xoff) + (ylim - yoff);
  Lin costLimit = heuristic_ ? CostLimit(lines) : kNoLimit;
  const Lin finalLimit = heuristic_ ? FinalCostLimit(lines) : kNoLimit;
  Lin work = 0;
  bool classesTested = false;
  Lin longest = 0;  // the longest snake of the current cost

  const auto forward = [&](auto meet, Lin dHigh, Lin dLow) {
    return SweepForward<decltype(meet)::value>(fd, bd, xv, yv, xlim, ylim, dHigh, dLow, longest);
  };
  const auto backward = [&](auto meet, Lin dHigh, Lin dLow) {
    return SweepBackward<decltype(meet)::value>(bd, fd, xv, yv, xoff, yoff, dHigh, dLow, longest);
  };

  for (Lin c = 1;; ++c) {
    if (StopRequested()) return {Middle::kStopped, {}, {}};
    longest = 0;

    if (fmin > dmin) {
      fd[--fmin - 1] = -1;
    } else {
      ++fmin;
    }
    if (fmax < dmax) {
      fd[++fmax + 1] = -1;
    } else {
      --fmax;
    }
    const Lin fmeet = SweepRange(fmax, fmin, odd, bmax, bmin, forward);
    if (fmeet != kNoMeet) {
      assert(2 * c - 1 != 1);  // a cost of 1 means one side of the box was empty
      return {Middle::kSplit, {bd[fmeet], bd[fmeet] - fmeet}, {}};
    }

    if (bmin > dmin) {
      bd[--bmin - 1] = kBeyond;
    } else {
      ++bmin;
    }
    if (bmax < dmax) {
      bd[++bmax + 1] = kBeyond;
    } else {
      --bmax;
    }
    const Lin bmeet = SweepRange(bmax, bmin, !odd, fmax, fmin, backward);
    if (bmeet != kNoMeet) return {Middle::kSplit, {bd[bmeet], bd[bmeet] - bmeet}, {}};

    // Two sides without a class in common can only be all changes. Testing that costs as
    // much as a search over the box's width, so it waits until the search has cost that.
    work += (fmax - fmin) / 2 + (bmax - bmin) / 2 + 2;
    if (!classesTested && work >= lines) {
      classesTested = true;
      if (ShareNoClass(box)) return {Middle::kAllChanged, {}, {}};
    }

    if (heuristic_ && c == kEarlyCostLimit && lines >= kEarlyMinLines) {
      const Reach reach = Furthest(box, fmin, fmax, bmin, bmax);
      const Lin passed = reach.forwardLines + reach.backwardLines;
      if (passed > 0 && passed < kMinProgress * c) {
        // The test reads the whole box. A part of a box that had a stretch in common is
        // read again only once it is half that box's size, so that the reads of a chain
        // of splits add up to little more than twice the first.
        if (!box.noSharedRun && (box.sharedRunIn == 0 || 2 * lines <= box.sharedRunIn)) {
          if (ShareARun(box)) {
            box.sharedRunIn = lines;
          } else {
            box.noSharedRun = true;
          }
        }
        if (box.noSharedRun) return SplitAt(reach);
      }
    }
    if (heuristic_ && c > kHeuristicMinCost && longest > kSnakeLimit) {
      Split split{};
      if (ForwardHeuristic(box, c, fmin, fmax, split)) return {Middle::kSplit, split, {}};
      if (BackwardHeuristic(box, c, bmin, bmax, split)) return {Middle::kSplit, split, {}};
    }
    if (c >= costLimit) {
      // Split where the two searches got furthest: they have worked about as long as the
      // parts they cut off are wide, so the work stays linear in the box. A search that
      // closes in fast is no worst case; it may go on, up to the final limit.
      const Reach reach = Furthest(box, fmin, fmax, bmin, bmax);
      if (costLimit < finalLimit && reach.forwardLines + reach.backwardLines >= kMinProgress * c) {
        costLimit *= 2;
      } else if (reach.forwardLines > 0 || reach.backwardLines > 0) {
        return SplitAt(reach);
      }
    }
  }
}

bool DiffSearch::ShareNoClass(const Box& box) {
  if (classMark_.empty()) classMark_.assign(static_cast<size_t>(maxClass_) + 1, 0);
  if (++boxSerial_ == 0) {
    std::fill(classMark_.begin(), classMark_.end(), 0u);
    boxSerial_ = 1;
  }
  for (Lin x = box.xoff; x < box.xlim; ++x) classMark_[static_cast<size_t>(xv_[x])] = boxSerial_;
  for (Lin y = box.yoff; y < box.ylim; ++y) {
    const int c = yv_[y];
    if (c <= maxClass_ && classMark_[static_cast<size_t>(c)] == boxSerial_) return false;
  }
  return true;
}

// Whether some kRunLength consecutive lines of one side stand in the same order on the
// other. Compared by hashes of the stretches: a rare false match only lets the search go
// on.
bool DiffSearch::ShareARun(const Box& box) {
  const auto hash = [](const int* classes) {
    std::uint64_t h = 0xcbf29ce484222325u;
    for (Lin k = 0; k < kRunLength; ++k) {
      h = (h ^ static_cast<std::uint32_t>(classes[k])) * 0x100000001b3u;
    }
    return h;
  };
  runHashes_.clear();
  for (Lin y = box.yoff; y + kRunLength <= box.ylim; ++y) runHashes_.push_back(hash(yv_ + y));
  std::sort(runHashes_.begin(), runHashes_.end());
  for (Lin x = box.xoff; x + kRunLength <= box.xlim; ++x) {
    if (std::binary_search(runHashes_.begin(), runHashes_.end(), hash(xv_ + x))) return true;
  }
  return false;
}

// The forward diagonal that got furthest for its distance from the start diagonal, when
// it ends in a long enough snake. The split is the point the forward search reached.
bool DiffSearch::ForwardHeuristic(const Box& box, Lin c, Lin fmin, Lin fmax, Split& split) const {
  const Lin fmid = box.xoff - box.yoff;
  Lin best = 0;
  for (Lin d = fmax; d >= fmin; d -= 2) {
    const Lin dd = d - fmid;
    const Lin x = fd_[d];
    const Lin y = x - d;
    const Lin value = 2 * (x - box.xoff) - dd;
    if (value <= 12 * (c + Abs(dd)) || value <= best) continue;
    // The split must leave both halves smaller than the box.
    if (x - box.xoff <= kSnakeLimit || y - box.yoff <= kSnakeLimit) continue;
    if (x >= box.xlim && y >= box.ylim) continue;
    // A diagonal can reach past one edge of the box while inside it on the other; such a
    // point is no split of the box, and its snake would be read outside the lines.
    if (x > box.xlim || y > box.ylim) continue;
    bool snake = true;
    for (Lin k = 1; k <= kSnakeLimit && snake; ++k) snake = xv_[x - k] == yv_[y - k];
    if (!snake) continue;
    best = value;
    split = {x, y};
  }
  return best > 0;
}

// The same from the backward search: the split is the point it reached.
bool DiffSearch::BackwardHeuristic(const Box& box, Lin c, Lin bmin, Lin bmax, Split& split) const {
  const Lin bmid = box.xlim - box.ylim;
  Lin best = 0;
  for (Lin d = bmax; d >= bmin; d -= 2) {
    const Lin dd = d - bmid;
    const Lin x = bd_[d];
    const Lin y = x - d;
    const Lin value = 2 * (box.xlim - x) + dd;
    if (value <= 12 * (c + Abs(dd)) || value <= best) continue;
    if (box.xlim - x <= kSnakeLimit || box.ylim - y <= kSnakeLimit) continue;
    if (x <= box.xoff && y <= box.yoff) continue;
    if (x < box.xoff || y < box.yoff) continue;
    bool snake = true;
    for (Lin k = 0; k < kSnakeLimit && snake; ++k) snake = xv_[x + k] == yv_[y + k];
    if (!snake) continue;
    best = value;
    split = {x, y};
  }
  return best > 0;
}

// The points inside the box that the forward and the backward search reached furthest
// from their corners, and how many lines (of both sides) each has passed over; 0 when a
// search has not left its corner inside the box.
DiffSearch::Reach DiffSearch::Furthest(const Box& box, Lin fmin, Lin fmax, Lin bmin,
                                       Lin bmax) const {
  const Lin lines = (box.xlim - box.xoff) + (box.ylim - box.yoff);
  Reach reach{};
  for (Lin d = fmax; d >= fmin; d -= 2) {
    const Lin x = fd_[d];
    const Lin y = x - d;
    if (x > box.xlim || y > box.ylim) continue;
    const Lin passed = (x - box.xoff) + (y - box.yoff);
    if (passed > reach.forwardLines && passed < lines) {
      reach.forwardLines = passed;
      reach.forward = {x, y};
    }
  }
  for (Lin d = bmax; d >= bmin; d -= 2) {
    const Lin x = bd_[d];
    const Lin y = x - d;
    if (x < box.xoff || y < box.yoff) continue;
    const Lin passed = (box.xlim - x) + (box.ylim - y);
    if (passed > reach.backwardLines && passed < lines) {
      reach.backwardLines = passed;
      reach.backward = {x, y};
    }
  }
  return reach;
}

// Where the two points lie in order, the box is cut at both, so that the work of both
// searches counts; otherwise at the one that got further.
DiffSearch::Middle DiffSearch::SplitAt(const Reach& reach) {
  const Lin forwardLines = reach.forwardLines, backwardLines = reach.backwardLines;
  const Split forward = reach.forward, backward = reach.backward;
  if (forwardLines > 0 && backwardLines > 0 && forward.x <= backward.x && forward.y <= backward.y)
    return {Middle::kTwoSplits, forward, backward};
  if (forwardLines > 0 && forwardLines >= backwardLines) return {Middle::kSplit, forward, {}};
  return {Middle::kSplit, backward, {}};
}

}  // namespace lindrel::engine
