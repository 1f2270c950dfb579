// ViewFinder: what a comparison view offers to find its way in the files: the find bar
// and its search, Go To Line, and the marks of the differing words in every changed row.
// It draws the matches and the word marks in the grids' cells as they are painted, and
// moves to a row the way a change is moved to: scrolled into view when it is not on
// screen, made current in every grid.
//
// Threading: GUI thread only.
#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

#include "lindrel/widgets/ComparisonPalette.h"
#include "widgets/view/ComparisonGrid.h"
#include "widgets/view/RowWordMarks.h"
#include "widgets/view/TextSearch.h"

namespace lindrel::widgets {

class DetailView;
class FindBar;
class GridSet;

class LINDREL_WIDGETS_TESTABLE ViewFinder : public QObject {
  Q_OBJECT

 public:
  // The parts outlive the finder; `bar` is laid out by the view. `options` gives the
  // comparison's word settings, `colours` the palette in use, `notice` takes sentences
  // for the host's status line.
  ViewFinder(GridSet& grids, DetailView& detail, FindBar& bar,
             std::function<WordCompareOptions()> options,
             std::function<const ComparisonPalette&()> colours,
             std::function<void(const QString&)> notice, QObject* parent = nullptr);
  ~ViewFinder() override;

  FindBar& Bar() const { return bar_; }
  void OpenBar();
  void CloseBar();
  // Looks for the bar's text after (or before) the current match, or from the current
  // row when there is none; the answer comes through Finished.
  void Find(bool forward);
  bool Finding() const { return search_.Running(); }
  const TextMatch& Current() const { return current_; }

  // Makes the row of line `line` of the master (or the source) current; false when the
  // file has no such line.
  bool GoToLine(bool source, long line);
  // The line of the current row in one file; 0 for none (a padding row, no rows).
  long CurrentLine(bool source) const;

  RowWordMarks& Marks() { return marks_; }
  void SetMarksOn(bool on);

  // A new result, or none: what was found and marked is of the rows that went.
  void Forget();
  // The grids paint again (new colours, marks switched).
  void Repaint();

 signals:
  void Finished(bool found);

 private:
  void Found(const TextMatch& match, bool wrapped);
  void ShowRow(int gridRow);
  int CurrentRow() const;
  std::vector<CellMark> MarksOf(const ComparisonGrid& grid, int gridRow, int column,
                                QStringView text);

  GridSet& grids_;
  DetailView& detail_;
  FindBar& bar_;
  std::function<const ComparisonPalette&()> colours_;
  std::function<void(const QString&)> notice_;
  TextSearch search_;
  RowWordMarks marks_;
  TextMatch current_;
  bool searchedForward_ = true;
};

}  // namespace lindrel::widgets
