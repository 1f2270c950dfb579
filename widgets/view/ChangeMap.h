// ChangeMap: the narrow strip beside the comparison view's grids that shows the whole
// comparison at once: a mark for every change record at its rows, in the colour of its
// kind (changed red, only in the master blue, only in the source green), the current
// change drawn full width and outlined, and a frame around the rows on screen.
//
// Positions are grid rows (padding included), so the map agrees with both views: the
// all-in-one grid has the master grid's rows. The marks are drawn from one entry per
// record, never by walking the rows, and kept in an image that is redrawn only when the
// records or the strip's size change; a repaint for a move or a scroll draws that image,
// one mark and the frame, whatever the size of the files.
//
// A click on a mark (or a drag onto one) asks for that change; a click elsewhere asks
// for the row under the pointer to be shown. The window does both. Reached by Tab, the
// arrow keys, Home and End ask for the neighbouring, first and last change; its
// accessible description says which change is current.
//
// Threading: GUI thread only.
#pragma once

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <limits>
#include <vector>

#include "lindrel/widgets/ComparisonPalette.h"
#include "widgets/view/AlignedRows.h"
#include "widgets/view/Testable.h"

namespace lindrel::widgets {

// One change record on the map: `count` rows from grid row `firstRow`; the kind is the
// text colour of its rows. A record of no known kind has count 0 and is not drawn.
struct ChangeMark {
  std::int32_t firstRow = 0;
  std::int32_t count = 0;
  RowFore kind = RowFore::Changed;
};

class LINDREL_WIDGETS_TESTABLE ChangeMap : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kWidth = 14;
  static constexpr int kMinimumMarkHeight = 3;  // a one-row change in a long file still shows

  explicit ChangeMap(QWidget* parent = nullptr);

  // The rows of the grids (header not counted) and one mark per record, in record order
  // (so by rows). Clears the current change.
  void SetMarks(int rows, std::vector<ChangeMark> marks);
  void Clear();
  // The current change (1-based record number), 0 for none.
  void SetCurrent(int change);
  // The first and last grid rows on screen; 0, 0 for none.
  void SetFrame(int firstRow, int lastRow);

  int Rows() const { return rows_; }
  const std::vector<ChangeMark>& Marks() const { return marks_; }
  int Current() const { return current_; }
  int FrameFirst() const { return frameFirst_; }
  int FrameLast() const { return frameLast_; }

  // Where things are drawn, in the strip's coordinates.
  // The pixels of `count` rows from `firstRow`; at least kMinimumMarkHeight high.
  QRect RowsRect(int firstRow, int count) const;
  // The mark of change `change` (1-based); empty for none.
  QRect MarkRect(int change) const;
  // The change whose mark covers height `y`, 0 for none.
  int ChangeAt(int y) const;
  // The grid row at height `y` (1 ... Rows()), 0 when there are no rows.
  int RowAt(int y) const;

  // What a screen reader hears of the current change ("Change 3 of 7, changed, rows 41
  // to 43"; "No changes").
  QString CurrentDescription() const;

  // The colours the strip is drawn in from now on.
  void SetColours(const ComparisonPalette& colours);

  QSize sizeHint() const override { return {kWidth, 100}; }
  QSize minimumSizeHint() const override { return {kWidth, 20}; }

 signals:
  void ChangeClicked(int change);
  void RowClicked(int gridRow);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // The strip's drawing area (inside a one-pixel margin).
  QRect Track() const;
  // The height, in the track, at which grid row `row` begins (row Rows() + 1 is the end).
  int YOf(std::int64_t row) const;
  void DrawMarks();
  void Pointed(int y);
  void Describe();

  int rows_ = 0;
  std::vector<ChangeMark> marks_;
  int current_ = 0;
  int frameFirst_ = 0;
  int frameLast_ = 0;
  QImage marksImage_;  // the marks but the current one, at the strip's size
  bool marksDirty_ = true;
  ComparisonPalette colours_;
  // What the pointer last asked for while dragging: -change, or a row.
  static constexpr int kNothingPointed = std::numeric_limits<int>::min();
  int lastPointed_ = kNothingPointed;
};

}  // namespace lindrel::widgets
