// LineTable: one compared file loaded for the reports, one entry per line, cleaned and
// escaped, closed by an end entry whose text is the end marker.
//
// A table is a plain value: it is built and read on the thread that writes the report;
// share one between threads only for reading.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lindrel::reports {

// The text of the entry that closes every loaded table.
inline constexpr std::string_view kEndMarker = "*&^%$#@!END*&^%$#@!";

// Marks of an HTML table entry. Loaded lines carry kPlainMark; the automatic alignment
// sets the change kind letters; forced alignments set the rest.
enum LineMark : int {
  kPlainMark = 0,
  kSourcePadMark = 1,   // blank row inserted into the source by a forced alignment
  kMasterPadMark = 2,   // blank row inserted into the master by a forced alignment
  kMovedMark = 11,      // row moved by a forced block swap
  kAddedMark = 'a',
  kChangedMark = 'c',
  kDeletedMark = 'd',
};

struct LineEntry {
  std::string number;  // 1-based line number as text; empty for a filler
  int mark = kPlainMark;
  std::string text;    // cleaned and escaped line

  bool IsEnd() const { return text == kEndMarker; }
};

struct LineTable {
  std::vector<LineEntry> entries;
};

// Loads `path` (text mode) into `table`: entry k holds line k+1, then the end entry.
// The capacity hint presizes the table (clamped to 5000..50000); longer files grow it.
// Every physical line becomes exactly one entry, however long, so entry numbers always
// match the engine's line numbers. Answers the number of lines, or -1 when the file
// cannot be read (the table is then left as it was).
long LoadLineTable(const std::string& path, LineTable& table, long capacityHint);

// The number of lines: the index of the last end entry, or -1 when there is none.
long NumberOfLines(const LineTable& table);

// The stored form of one raw line: bytes of 32 and above kept, a tab as two blanks,
// other control bytes dropped (cleaning stops once more than 99,995 characters are
// kept), then "<" and ">" written as "&lt;" and "&gt;".
std::string CleanAndEscapeLine(std::string_view raw);

// Line `lineNumber` (1-based) of a loaded table, or "" when the table has no such line
// (records of a file that changed after the comparison).
const std::string& LineText(const LineTable& table, long lineNumber);

// The capacity a hint turns into.
std::size_t PresizeFromHint(long capacityHint);

}  // namespace lindrel::reports
