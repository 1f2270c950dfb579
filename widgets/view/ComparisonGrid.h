// ComparisonGrid: a grid of the comparison view (msfgMaster, msfgSource,
// msfgAllInOne), a QTableView over one of the view's grid models.
//
// It speaks in grid rows as the view does (row 0 is the header, shown as the column
// header; grid row r is model row r - 1): the top row, the current row, the row under
// the mouse. Rows are sized for wrapped text by the RowHeights the view installs, as
// they come into view: the grid asks it to measure the rows on screen before it paints,
// when it scrolls and before it scrolls a row into view.
//
// A cell draws no more of its text than its size can show: a line of millions of
// characters is laid out only as far as the cell reaches, so painting it stays as quick
// as painting any other row.
//
// Threading: GUI thread only.
#pragma once

#include <QColor>
#include <QFont>
#include <QTableView>

#include <functional>
#include <vector>

#include "widgets/view/Testable.h"

namespace lindrel::widgets {

class RowHeights;

// A run of characters [begin, end) of a cell's text drawn on `back`, with a line of
// `edge` over it when that is valid; an empty run is a bar where text was taken out.
struct CellMark {
  int begin = 0;
  int end = 0;
  QColor back;
  QColor edge;
};
// The marks of the text `text` that the cell at `gridRow`, `column` draws.
using CellMarker = std::function<std::vector<CellMark>(const class ComparisonGrid& grid,
                                                       int gridRow, int column, QStringView text)>;

class LINDREL_WIDGETS_TESTABLE ComparisonGrid : public QTableView {
  Q_OBJECT

 public:
  explicit ComparisonGrid(const QString& name, QWidget* parent = nullptr);

  // The first row shown below the header (1 when the grid is empty).
  int TopRow() const;
  void SetTopRow(int gridRow);
  // The current row, 0 when there is none.
  int CurrentRow() const;
  void SetCurrentRow(int gridRow);
  // The row at a point of the viewport, 0 when none.
  int RowAt(const QPoint& viewportPoint) const;

  // Lays the grid out for the rows its model holds now rather than at its next layout:
  // until then, after a reset, its scroll range and top row are those of the old rows.
  void LayOutNow();

  // Repainting on or off around bulk changes.
  void SetRedraw(bool on);

  // Pixels of one line of text, and of a row of `lines` lines.
  int LineHeight() const;
  int RowHeightFor(int lines) const;
  // The width text can use in a cell of `columnWidth` pixels.
  int TextWidthIn(int columnWidth) const;
  // The tallest a row may be: the grid's height less 2000 twips, at least one line.
  int MaxRowHeight() const;
  // The fewest lines whose row is MaxRowHeight() high: more lines make no taller row.
  int MaxRowLines() const;
  // The most characters of a text that a cell of `cell` pixels can show, wrapped in the
  // grid's font: any more lie outside it.
  qsizetype CharactersShownIn(const QSize& cell) const;
  // What a cell of `cell` pixels draws of `text`: the lines it shows, wrapped in the
  // grid's font, and nothing below them; a run of letters and digits wider than the cell
  // only as far as it can be seen. Drawn, it looks as `text` would.
  QString ShownPart(const QString& text, const QSize& cell) const;

  // Who marks runs of text in the cells (nullptr for no marks). A cell with marks lays
  // its text out as an unmarked cell does, the marks behind the characters.
  void SetCellMarker(CellMarker marker) { marker_ = std::move(marker); }
  const CellMarker& Marker() const { return marker_; }

  // The sizer of the grid's rows (nullptr for none: rows keep the heights they are given).
  void SetRowHeights(RowHeights* heights) { heights_ = heights; }
  // Measures the rows on screen, and grid row `gridRow`, when they are not yet.
  void SizeShownRows();
  void SizeRow(int gridRow);
  // The height of grid row `gridRow` (>= 1), measured first when it is not yet.
  int SizedRowHeight(int gridRow);

  void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

  // Width of a line-number column: 1.15 x the width of a blank and the largest number.
  void SizeColumn(int largestNumber, int column);

 signals:
  // The right mouse button was pressed on grid row `gridRow` at `globalPos`.
  void RightClicked(int gridRow, const QPoint& globalPos);
  // The first row shown changed (scrolling, by the user or by code), or SetTopRow was
  // asked for the row shown already.
  void TopRowChanged(int gridRow);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  bool viewportEvent(QEvent* event) override;

 private:
  // The advance of the narrowest printable ASCII character, at least 1.
  int NarrowestWidth() const;

  mutable QFont narrowestFont_;  // the font narrowestWidth_ was measured in
  mutable int narrowestWidth_ = 0;
  mutable QFont advancesFont_;  // the font advances_ holds, by UTF-16 code unit
  mutable std::vector<float> advances_;
  // Pixels between a cell's border and its text, on each side.
  int CellMargin() const;

  RowHeights* heights_ = nullptr;
  CellMarker marker_;
};

}  // namespace lindrel::widgets
