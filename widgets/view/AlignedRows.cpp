#include "widgets/view/AlignedRows.h"

#include <algorithm>

#include "widgets/view/HugePages.h"

namespace lindrel::widgets {
namespace {

// Appends one side's rows: its file lines in order and padding where asked.
class SideWriter {
 public:
  SideWriter(std::vector<GridRow>& rows, int lines) : rows_(rows), lines_(lines) {}

  // Lines up to `last` (inclusive) that have not been written yet.
  void LinesThrough(long last, RowBack back = RowBack::Normal, RowFore fore = RowFore::Normal) {
    const long end = std::min<long>(last, lines_);
    for (; next_ <= end; ++next_) rows_.push_back({static_cast<std::int32_t>(next_), back, fore});
  }
  void Padding(long count, RowBack back, RowFore fore) {
    for (long i = 0; i < count; ++i) rows_.push_back({0, back, fore});
  }
  // Rows written so far.
  long Written() const { return static_cast<long>(rows_.size()); }

 private:
  std::vector<GridRow>& rows_;
  int lines_;
  long next_ = 1;
};

}  // namespace

std::vector<GridRow> PlainRows(int lines) {
  std::vector<GridRow> rows;
  rows.reserve(static_cast<size_t>(std::max(lines, 0)));
  AdviseHugePages(rows.data(), rows.capacity() * sizeof(GridRow));
  for (int line = 1; line <= lines; ++line)
    rows.push_back({line, RowBack::Normal, RowFore::Normal});
  return rows;
}

AlignedRows AlignRows(int masterLines, int sourceLines, const std::vector<GridRecord>& records) {
  AlignedRows result;
  // A side never has more rows than both files have lines: its padding stands opposite
  // lines of the other side.
  const size_t most =
      static_cast<size_t>(std::max(masterLines, 0)) + static_cast<size_t>(std::max(sourceLines, 0));
  for (std::vector<GridRow>* side : {&result.master, &result.source}) {
    side->reserve(most);
    AdviseHugePages(side->data(), most * sizeof(GridRow));
  }
  SideWriter master(result.master, masterLines);
  SideWriter source(result.source, sourceLines);

  result.records.reserve(records.size());
  for (const GridRecord& r : records) {
    // Where the record's rows begin, once the lines before it are written.
    auto begin = [&] {
      return RecordRows{static_cast<std::int32_t>(master.Written() + 1),
                        static_cast<std::int32_t>(source.Written() + 1), 0};
    };
    RecordRows rows;
    switch (r.changeType) {
      case 'c': {
        master.LinesThrough(r.masterStart - 1);
        source.LinesThrough(r.sourceStart - 1);
        rows = begin();
        const long masterBefore = master.Written();
        const long sourceBefore = source.Written();
        master.LinesThrough(r.masterEnd, RowBack::Change, RowFore::Changed);
        source.LinesThrough(r.sourceEnd, RowBack::Change, RowFore::Changed);
        // Both sides get span + 1 rows; the shorter one is padded, padding in red too.
        const long span = std::max(r.masterEnd - r.masterStart, r.sourceEnd - r.sourceStart);
        master.Padding(span + 1 - (master.Written() - masterBefore), RowBack::Change,
                       RowFore::Changed);
        source.Padding(span + 1 - (source.Written() - sourceBefore), RowBack::Change,
                       RowFore::Changed);
        rows.count = static_cast<std::int32_t>(master.Written() - masterBefore);
        break;
      }
      case 'd':
        master.LinesThrough(r.masterStart - 1);
        source.LinesThrough(r.sourceStart);
        rows = begin();
        master.LinesThrough(r.masterEnd, RowBack::Change, RowFore::OnlyInMaster);
        source.Padding(r.masterEnd - r.masterStart + 1, RowBack::Change, RowFore::Normal);
        rows.count = static_cast<std::int32_t>(source.Written() + 1 - rows.sourceFirst);
        break;
      case 'a':
        master.LinesThrough(r.masterStart);
        source.LinesThrough(r.sourceStart - 1);
        rows = begin();
        source.LinesThrough(r.sourceEnd, RowBack::Change, RowFore::OnlyInSource);
        master.Padding(r.sourceEnd - r.sourceStart + 1, RowBack::Change, RowFore::Normal);
        rows.count = static_cast<std::int32_t>(master.Written() + 1 - rows.masterFirst);
        break;
      default: break;
    }
    result.records.push_back(rows);
  }
  master.LinesThrough(masterLines);
  source.LinesThrough(sourceLines);
  return result;
}

}  // namespace lindrel::widgets
