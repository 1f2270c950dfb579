// LineTable: one compared file loaded for the reports, one entry per line, cleaned and
// escaped, closed by an end entry whose text is the end marker.
//
// Entries hold views of their texts; the table owns the storage behind them (shared by
// copies of the table), so entries can be moved, inserted and swapped cheaply. A table is
// built and read on the thread that writes the report; share one only for reading.
#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/ByteBuffer.h"

namespace lindrel::reports {

// The text of the entry that closes every loaded table.
inline constexpr std::string_view kEndMarker = "*&^%$#@!END*&^%$#@!";

// Marks of an HTML table entry. Loaded lines carry kPlainMark; the automatic alignment
// sets the change kind letters; forced alignments set the rest.
enum LineMark : int {
  kPlainMark = 0,
  kSourcePadMark = 1,  // blank row inserted into the source by a forced alignment
  kMasterPadMark = 2,  // blank row inserted into the master by a forced alignment
  kMovedMark = 11,     // row moved by a forced block swap
  kAddedMark = 'a',
  kChangedMark = 'c',
  kDeletedMark = 'd',
};

struct LineEntry {
  long number = 0;  // 1-based line number; 0 for a filler or blank row (shown empty)
  int mark = kPlainMark;
  std::string_view text;  // cleaned and escaped line, stored by the table

  bool IsEnd() const { return text == kEndMarker; }
};

// The number column's text: the decimal line number, or "" for a filler.
std::string NumberText(const LineEntry& entry);

class LineTable {
 public:
  std::vector<LineEntry> entries;

  // Stores `text` for the lifetime of the table (and its copies); returns a view of it.
  std::string_view Keep(std::string text);
  // Takes over a whole file's content; views into it stay valid.
  std::string_view KeepContent(std::unique_ptr<char[]> content, std::size_t size);
  std::string_view KeepContent(std::unique_ptr<engine::ByteBuffer> content, std::size_t size);

 private:
  struct Storage {
    std::vector<std::unique_ptr<char[]>> contents;
    std::vector<std::unique_ptr<engine::ByteBuffer>> buffers;
    std::deque<std::string> texts;
  };
  std::shared_ptr<Storage> storage_ = std::make_shared<Storage>();
};

// Loads `path` (text mode) into `table`: entry k holds line k+1, then the end entry.
// The capacity hint presizes the table (clamped to 5000..50000); longer files grow it.
// Every physical line becomes exactly one entry, however long, so entry numbers always
// match the engine's line numbers. Answers the number of lines; -1 when the file cannot
// be opened (or memory runs out), kUnreadableFile when it was opened but could not be
// read to its end (a read error, or a file shortened while it was read): the table is
// then left as it was. `extraEntries` leaves room for entries a caller will insert
// afterwards.
inline constexpr long kUnreadableFile = -2;
long LoadLineTable(const std::string& path, LineTable& table, long capacityHint,
                   std::size_t extraEntries = 0);

// The number of lines: the index of the last end entry, or -1 when there is none.
long NumberOfLines(const LineTable& table);

// The stored form of one raw line: bytes of 32 and above kept, a tab as two blanks,
// other control bytes dropped (cleaning stops once more than 99,995 characters are
// kept), then "<" and ">" written as "&lt;" and "&gt;".
std::string CleanAndEscapeLine(std::string_view raw);

// Line `lineNumber` (1-based) of a loaded table, or "" when the table has no such line
// (records of a file that changed after the comparison).
std::string_view LineText(const LineTable& table, long lineNumber);

// The capacity a hint turns into.
std::size_t PresizeFromHint(long capacityHint);

}  // namespace lindrel::reports
