#include "engine/ConfusingLines.h"

#include <climits>

namespace lindrel::engine {

namespace {

// 5 below 256 lines, doubling with every factor of 4 from there (10, 20, 40, ...).
Lin ProvisionalThreshold(Lin lines) {
  Lin threshold = 5;
  for (Lin value = lines / 64; (value >>= 2) > 0;) threshold *= 2;
  return threshold;
}

// Subruns of this many provisional lines or more are too long to drop: 2 below 16 lines of
// run, 3 from 16, 5 from 64, 9 from 256 ...
Lin LongSubrun(Lin runLength) {
  Lin minimum = 1;
  for (Lin value = runLength / 4; (value >>= 2) > 0;) minimum *= 2;
  return minimum + 1;
}

// Clears provisional marks from one end of a run inward, until three discards in a row or
// a discard eight lines or more inside the run.
template <typename At>
void ClearFromEnd(Lin length, At at) {
  int consecutive = 0;
  for (Lin j = 0; j < length; ++j) {
    char& mark = at(j);
    if (j >= 8 && mark == 1) break;
    if (mark == 2) {
      mark = 0;
      consecutive = 0;
    } else if (mark == 0) {
      consecutive = 0;
    } else if (++consecutive == 3) {
      break;
    }
  }
}

void ResolveRun(char* run, Lin length) {
  Lin provisional = 0;
  for (Lin j = 0; j < length; ++j) provisional += run[j] == 2;
  if (provisional * 4 > length) {
    for (Lin j = 0; j < length; ++j) {
      if (run[j] == 2) run[j] = 0;
    }
    return;
  }
  const Lin minimum = LongSubrun(length);
  for (Lin j = 0; j < length;) {
    if (run[j] != 2) {
      ++j;
      continue;
    }
    Lin k = j;
    while (k < length && run[k] == 2) ++k;
    if (k - j >= minimum) {
      for (Lin m = j; m < k; ++m) run[m] = 0;
    }
    j = k;
  }
  ClearFromEnd(length, [run](Lin j) -> char& { return run[j]; });
  ClearFromEnd(length, [run, length](Lin j) -> char& { return run[length - 1 - j]; });
}

// The kept lines of one side; every other line is marked changed.
template <typename Index>
void Keep(const ComparedLines& table, bool noDiscards, const BigVector<char>& marks, char* changed,
          BigVector<int>& classes, BigVector<Index>& realIndex) {
  // Room for every line first, so that keeping one is a plain write.
  const size_t count = table.classes.size();
  classes.resize(count);
  realIndex.resize(count);
  int* const keptClasses = classes.data();
  Index* const keptIndex = realIndex.data();
  const int* const lineClasses = table.classes.data();
  size_t kept = 0;
  for (size_t i = 0; i < count; ++i) {
    if (noDiscards || marks[i] == 0) {
      keptClasses[kept] = lineClasses[i];
      keptIndex[kept++] = static_cast<Index>(i);
    } else {
      changed[i] = 1;
    }
  }
  classes.resize(kept);
  realIndex.resize(kept);
}

}  // namespace

void ResolveProvisionalMarks(char* m, Lin end) {
  for (Lin i = 0; i < end; ++i) {
    if (m[i] == 2) {
      m[i] = 0;  // not inside a run that begins with a discard
    } else if (m[i] != 0) {
      Lin j = i;
      while (j < end && m[j] != 0) ++j;
      while (j > i && m[j - 1] == 2) m[--j] = 0;  // a run never ends in provisional lines
      ResolveRun(m + i, j - i);
      i = j - 1;
    }
  }
}

void FilterConfusingLines(const ComparedLines (&tables)[2], int classCountPlusOne, bool noDiscards,
                          ChangedFlags& flags, KeptLines (&kept)[2]) {
  BigVector<char> marks[2];
  if (!noDiscards) {
    BigVector<int> occurrences[2];
    for (int f = 0; f < 2; ++f) {
      occurrences[f].assign(static_cast<size_t>(classCountPlusOne), 0);
      // Saturating: only "none" and "more than the threshold" matter.
      for (int c : tables[f].classes) {
        int& count = occurrences[f][static_cast<size_t>(c)];
        if (count < INT_MAX) ++count;
      }
    }
    for (int f = 0; f < 2; ++f) {
      const Lin threshold = ProvisionalThreshold(tables[f].count());
      const BigVector<int>& other = occurrences[1 - f];
      marks[f].resize(tables[f].classes.size());
      for (size_t i = 0; i < marks[f].size(); ++i) {
        const Lin matches = other[static_cast<size_t>(tables[f].classes[i])];
        marks[f][i] = matches == 0 ? 1 : matches > threshold ? 2 : 0;
      }
      ResolveProvisionalMarks(marks[f].data(), static_cast<Lin>(marks[f].size()));
    }
  }
  for (int f = 0; f < 2; ++f) {
    const ComparedLines& table = tables[f];
    KeptLines& side = kept[f];
    // Fewer than 2^32 lines unless the buffer takes wide offsets.
    side.wide = table.wide || static_cast<uint64_t>(table.count()) > UINT32_MAX;
    side.classes.clear();
    side.realIndex.clear();
    side.wideRealIndex.clear();
    if (side.wide) {
      Keep(table, noDiscards, marks[f], flags.side(f), side.classes, side.wideRealIndex);
    } else {
      Keep(table, noDiscards, marks[f], flags.side(f), side.classes, side.realIndex);
    }
  }
}

}  // namespace lindrel::engine
