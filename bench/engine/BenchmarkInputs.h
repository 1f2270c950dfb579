// The generated file pairs the engine benchmarks run on: written once per process (fixed
// seeds, so every run measures the same bytes) into a private directory under $TMPDIR that
// is removed at exit. Built lazily on first use; not meant for concurrent first use.
#pragma once

#include <string>

namespace lindrel::bench {

struct FilePair {
  std::string master, source;
};

// 1,000,000 lines with about 1% scattered edits (deletions, insertions, replacements).
const FilePair& ScatteredEditsPair();
// About 50 MB, differing in one line in the middle.
const FilePair& OneMiddleLinePair();
// 20,000 lines on each side, no line in common.
const FilePair& CompletelyDifferentPair();
// 200,000 lines with 10% of them edited in clusters.
const FilePair& ClusteredEditsPair();
// `lines` distinct lines on each side, the source holding the master's lines in another
// order: the worst case of the search (about 2 * lines edit steps, no long common stretch).
const FilePair& ReorderedPair(int lines);
// 20,000 lines on each side, each side drawn at random from the same 16 distinct lines.
const FilePair& SixteenLinesPair();
// A source file of 15,000 lines and the same file after heavy edits touching about 6,000
// lines: hunks of every size, blocks moved and re-indented.
const FilePair& EditedSourcePair();

}  // namespace lindrel::bench
