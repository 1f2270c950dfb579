#include "engine/BoundaryShift.h"

namespace lindrel::engine {

void ShiftBoundaries(const ComparedLines (&tables)[2], ChangedFlags& flags) {
  for (int f = 0; f < 2; ++f) {
    char* changed = flags.side(f);
    const char* otherChanged = flags.side(1 - f);
    const int* classes = tables[f].classes.data();
    const Lin end = flags.count(f);
    Lin i = 0;
    Lin j = 0;  // the corresponding position on the other side
    Lin precedingEnd = -1;
    Lin otherMark = -1;
    for (;;) {
      while (i < end && !changed[i]) {
        // Changed lines of the other side here belong to the preceding batch of changes;
        // the guard after the other side's last flag stops this.
        while (otherChanged[j++]) otherMark = j;
        ++i;
      }
      if (i == end) break;

      Lin start = i;
      const Lin otherStart = j;
      for (;;) {
        while (i < end && changed[i]) ++i;
        const Lin runEnd = i;
        if (runEnd != end && classes[start] == classes[runEnd] && !otherChanged[j] &&
            start != precedingEnd && otherStart != otherMark) {
          changed[runEnd] = 1;
          changed[start] = 0;
          ++start;
          ++i;
          ++j;
        } else {
          break;
        }
      }
      precedingEnd = i;
      otherMark = j;
    }
  }
}

}  // namespace lindrel::engine
