// The settings of one engine run, reset to these defaults at the start of every run and
// owned by that run alone (never shared between threads).
#pragma once

namespace lindrel::engine {

struct EngineSettings {
  bool ignoreCase = false;         // -i
  bool ignoreAllSpace = false;     // -w
  bool ignoreSpaceChange = false;  // -b
  bool ignoreBlankLines = false;   // -B
  bool someChangesIgnored = false; // any of -i -w -b -B -I
  bool lineLengthsVary = false;    // -w or -b: equal lines may differ in length
  bool brief = false;              // -q
  bool noDiscards = false;         // -d
  bool speedLargeFiles = false;    // -H
  bool alwaysText = false;         // -a
  long long horizonLines = 0;      // --horizon-lines

  // True when lines are compared through their normalised form, not byte for byte.
  bool NormalisesLines() const { return ignoreCase || ignoreAllSpace || ignoreSpaceChange; }
};

}  // namespace lindrel::engine
