// RowHeights: the heights of the rows of one view of the comparison view (the two
// side-by-side grids together, or the all-in-one grid), measured only as rows come into
// view.
//
// A row is as high as the most lines its text wraps to in any grid of the view, capped
// at the grid's largest row; until it is measured it has the height of one line. A row
// is measured before anything can see it: before a grid paints, when it scrolls, before
// it scrolls a row into view, and for the last screenful (the scroll range is made from
// it). So a file of a million lines costs the rows on screen to lay out, not a pass
// over every line; what the user sees is what measuring every row gives.
//
// Forget() starts again after a change of width, font or rows: the rows measured so far
// get one line back and are measured anew when shown. A grid whose model is reset shows
// its new rows from the first.
//
// Threading: GUI thread only.
#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

#include "widgets/view/Testable.h"

namespace lindrel::widgets {

class ComparisonGrid;
class WrappedLineCounter;

class LINDREL_WIDGETS_TESTABLE RowHeights {
 public:
  // One grid of the view and how to read its rows (grid rows, 1 and up).
  struct Side {
    ComparisonGrid* grid = nullptr;
    int textColumn = 0;
    // At least the number of characters of the row's text, found cheaply.
    std::function<qsizetype(int)> lengthBound;
    // What the grid shows of the row's text.
    std::function<QString(int)> text;
  };

  // Installs itself as the sizer of every grid of `sides`.
  explicit RowHeights(std::vector<Side> sides);
  ~RowHeights();
  RowHeights(const RowHeights&) = delete;
  RowHeights& operator=(const RowHeights&) = delete;

  // Every row back to one line and unmeasured; `alsoRow` (a grid row given its height by
  // someone else, 0 for none) too. Then the rows on screen are measured.
  void Forget(int alsoRow = 0);
  // Measures the rows on screen in every grid, and the last screenful.
  void SizeShown();
  // Measures grid row `gridRow` (nothing when it is measured already or outside).
  void Size(int gridRow);
  // True when grid row `gridRow` has been measured since the last Forget.
  bool IsSized(int gridRow) const;

 private:
  int RowCount() const;
  void SizeFrom(ComparisonGrid* grid, int firstRow);
  void SizeLastPage(ComparisonGrid* grid);
  static void KeepTopRow(ComparisonGrid& grid);

  std::vector<Side> sides_;
  std::vector<std::unique_ptr<WrappedLineCounter>> counters_;  // by side, made when needed
  std::vector<bool> sized_;                                    // by model row
  std::vector<int> raised_;  // model rows given more than one line since the last Forget
  std::vector<QMetaObject::Connection> connections_;
};

}  // namespace lindrel::widgets
