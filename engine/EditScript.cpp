#include "engine/EditScript.h"

#include <algorithm>
#include <cassert>

namespace lindrel::engine {

std::vector<Change> BuildScript(const ChangedFlags& flags) {
  const char* changed0 = flags.side(0);
  const char* changed1 = flags.side(1);
  std::vector<Change> script;
  Lin i0 = flags.count(0);
  Lin i1 = flags.count(1);
  // Walk back from the ends; the guards before the first flags stop each run.
  while (i0 > 0 || i1 > 0) {
    if (changed0[i0 - 1] || changed1[i1 - 1]) {
      const Lin end0 = i0, end1 = i1;
      while (changed0[i0 - 1]) --i0;
      while (changed1[i1 - 1]) --i1;
      script.push_back({i0, i1, end0 - i0, end1 - i1});
    }
    if (i0 == 0 && i1 == 0) break;
    // Both sides have the same number of unchanged lines, so both have one here.
    assert(i0 > 0 && i1 > 0);
    if (i0 == 0 || i1 == 0) break;
    --i0;
    --i1;
  }
  std::reverse(script.begin(), script.end());
  return script;
}

}  // namespace lindrel::engine
