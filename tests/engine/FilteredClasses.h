// Two class sequences as a text comparison holds them once its filter of confusing lines
// has run: the line tables, the changed flags and the kept lines the search works on.
#pragma once

#include <algorithm>
#include <vector>

#include "engine/ChangedFlags.h"
#include "engine/ComparedLines.h"
#include "engine/ConfusingLines.h"

namespace lindrel::engine::testing {

using Classes = std::vector<int>;

struct FilteredClasses {
  FilteredClasses(const Classes& master, const Classes& source, bool noDiscards)
      : flags(static_cast<Lin>(master.size()), static_cast<Lin>(source.size())) {
    tables[0].classes.assign(master.begin(), master.end());
    tables[1].classes.assign(source.begin(), source.end());
    int classes = 1;
    for (int c : master) classes = std::max(classes, c + 1);
    for (int c : source) classes = std::max(classes, c + 1);
    FilterConfusingLines(tables, classes, noDiscards, flags, kept);
  }

  ComparedLines tables[2];
  ChangedFlags flags;
  KeptLines kept[2];
};

}  // namespace lindrel::engine::testing
