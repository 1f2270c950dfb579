// FileGridModel: the model of one side-by-side grid (msfgMaster or msfgSource) of the
// comparison view: column 0 the line number, column 1 the line's text.
//
// The window addresses the grid by grid row, as the rest of its code does: row 0 is the
// header (column 1 holds "[Master] " or "[Source] " and the file name), rows 1 and up are
// lines or padding rows. In the Qt model the header is the horizontal header and model
// row i is grid row i + 1. Padding rows show four blanks as their number and no text.
//
// Threading: GUI thread only.
#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <memory>
#include <vector>

#include "lindrel/widgets/ComparisonPalette.h"
#include "widgets/view/AlignedRows.h"
#include "widgets/view/GridLines.h"
#include "widgets/view/Testable.h"

namespace lindrel::widgets {

class LINDREL_WIDGETS_TESTABLE FileGridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  static constexpr int kNumberColumn = 0;
  static constexpr int kTextColumn = 1;

  explicit FileGridModel(QObject* parent = nullptr);

  // Shows `lines` with `rows` (each row's line must be 0 or a line of `lines`).
  void Reset(std::shared_ptr<const GridLines> lines, std::vector<GridRow> rows);
  // Shows `lines` unpadded and uncoloured, grid row n being line n, without a row kept
  // for each line.
  void Reset(std::shared_ptr<const GridLines> lines);
  // Replaces the rows, keeping the lines.
  void SetRows(std::vector<GridRow> rows);
  // Header only.
  void Clear();

  const QString& HeaderText() const { return header_; }
  void SetHeaderText(const QString& text);

  // --- By grid row (0 = header) ------------------------------------------------------
  int GridRowCount() const { return RowCount() + 1; }
  QString NumberText(int gridRow) const;
  QString LineText(int gridRow) const;
  // What the grid shows of LineText(gridRow): its first kShownCharacters characters. A
  // row is never taller than its grid, which such a prefix overfills at any width and
  // font a screen allows, so a line of millions of characters costs no more to show,
  // size or scroll past than one of a few thousand.
  QString ShownText(int gridRow) const { return LineText(gridRow, kShownCharacters); }
  // The first `maxCharacters` characters of LineText(gridRow), decoding no more.
  QString LineText(int gridRow, qsizetype maxCharacters) const;
  // The same, read from the file without keeping its pages (GridLines::TextAside).
  QString LineTextAside(int gridRow, qsizetype maxCharacters) const;
  // Gives back the pages of a mapped file (GridLines::GiveBackPages).
  void GiveBackPages() const;
  static constexpr qsizetype kShownCharacters = 200000;
  bool IsLineTextEmpty(int gridRow) const;
  // At least the number of characters of LineText(gridRow), found cheaply.
  qsizetype TextLengthBound(int gridRow) const;
  // The row at `gridRow`; a row outside the grid reads as an uncoloured padding row, so
  // a view that still holds an older row count never reads past the rows.
  GridRow Row(int gridRow) const;
  // A row belongs to a difference when its text cell has the change or the
  // current-change colour.
  bool IsDifferenceRow(int gridRow) const;
  void SetRowBack(int gridRow, RowBack back);
  // The back of `count` rows from `firstRow` (rows outside the grid are skipped).
  void SetRowsBack(int firstRow, int count, RowBack back);
  // The first grid row showing line `line` of the file, 0 when none. Found in an index
  // kept with the rows, not by walking them.
  int RowOfLine(long line) const;

  // The colours rows are drawn in from now on.
  void SetColours(const ComparisonPalette& colours);
  // The largest line number shown.
  int LineCount() const { return lines_ ? lines_->Count() : 0; }

  // --- QAbstractTableModel -------------------------------------------------------------
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  std::shared_ptr<const GridLines> lines_;
  void IndexLines();
  int RowCount() const { return plain_ ? LineCount() : static_cast<int>(rows_.size()); }
  // Gives a plain grid a row for each line, before one is coloured.
  void KeepRows();

  bool plain_ = false;  // row n is line n; rows_ is empty
  std::vector<GridRow> rows_;
  // Rows as AlignRows makes them (every line once, in order, padding between) are indexed
  // by their runs of padding: from line `line` on, `padding` padding rows stand above.
  struct Gap {
    std::int32_t line;
    std::int32_t padding;
  };
  std::vector<Gap> gaps_;
  std::int32_t linesInOrder_ = 0;        // lines 1 to this are shown, in order
  std::vector<std::int32_t> rowOfLine_;  // other rows: by line number; 0 = not shown
  QString header_;
  ComparisonPalette colours_;
};

}  // namespace lindrel::widgets
