// AlignedRows: the rows of the two side-by-side grids after a comparison, built in one
// pass from the change records.
//
// Each grid shows its file's lines in order, with blank padding rows so that the lines
// of every change record stand on the same rows on both sides. Padding goes directly
// after the last line of a change on the shorter side, after the master line an
// addition follows, and after the source line a deletion follows; when several records
// pad after the same line, they keep their record order. Rows of a change are red on the
// change colour on both sides, deleted master lines blue, added source lines green, and
// the padding opposite a deletion or an addition has the change colour with the normal
// text colour.
//
// For records as the component delivers them (in file order, not overlapping) the result
// is exactly what inserting each record's padding row by row, from the last record to
// the first, gives; it costs one pass instead of a shift of every row below each insert.
// Records that do not fit the files (a file changed after the comparison) never reach
// outside them: lines are shown once each, in order.
//
// Threading: plain values.
#pragma once

#include <cstdint>
#include <vector>

#include "widgets/view/Testable.h"

namespace lindrel::widgets {

// A change record as the component reports it (1-based inclusive ranges; an empty side
// holds the line before the change).
struct GridRecord {
  long changeType = 0;  // 'a', 'c' or 'd'
  long masterStart = 0;
  long masterEnd = 0;
  long sourceStart = 0;
  long sourceEnd = 0;
};

enum class RowBack : std::uint8_t { Normal, Change, CurrentChange };
enum class RowFore : std::uint8_t { Normal, Changed, OnlyInMaster, OnlyInSource };

struct GridRow {
  std::int32_t line = 0;  // 1-based line of the file; 0 for a padding row
  RowBack back = RowBack::Normal;
  RowFore fore = RowFore::Normal;

  bool IsPadding() const { return line == 0; }
  bool operator==(const GridRow&) const = default;
};

// The rows one record occupies: `count` rows from grid row `masterFirst` of the master
// grid and from `sourceFirst` of the source grid (its lines and the padding opposite or
// below them). Count 0 for a record of no known kind.
struct RecordRows {
  std::int32_t masterFirst = 0;
  std::int32_t sourceFirst = 0;
  std::int32_t count = 0;
};

struct AlignedRows {
  // Grid rows 1 and up (index 0 is grid row 1).
  std::vector<GridRow> master;
  std::vector<GridRow> source;
  // One per record, in record order.
  std::vector<RecordRows> records;
};

// The unpadded rows of a file of `lines` lines.
LINDREL_WIDGETS_TESTABLE std::vector<GridRow> PlainRows(int lines);

// Pads and colours the rows of two files of `masterLines` and `sourceLines` lines.
LINDREL_WIDGETS_TESTABLE AlignedRows AlignRows(int masterLines, int sourceLines,
                                               const std::vector<GridRecord>& records);

}  // namespace lindrel::widgets
