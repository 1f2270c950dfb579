// ChangeNavigator: which change of a comparison view is current, and the moves between
// changes: first, last, the next and previous change as a whole, and the row-by-row step
// (F7, Shift+F7) that visits the rows of a change before moving on. Showing a change
// scrolls it into view (one line of context above it), paints it as current, makes its
// first row current and marks its words.
//
// The records are read from the view's component as they are needed, so the moves see
// the records it holds now.
//
// Threading: GUI thread only.
#pragma once

#include <QObject>
#include <QString>

#include <functional>

#include "widgets/view/AlignedRows.h"

namespace lindrel::widgets {

class ChangeMap;
class DetailView;
class GridSet;
class LindrelWidget;

class ChangeNavigator : public QObject {
  Q_OBJECT

 public:
  // The parts outlive the navigator. `component` is the view's (nullptr when none);
  // `notice` receives the sentence that describes the change shown.
  ChangeNavigator(GridSet& grids, ChangeMap& map, DetailView& detail,
                  std::function<LindrelWidget*()> component,
                  std::function<void(const QString&)> notice, QObject* parent = nullptr);

  // The change last made current, 0 before the first.
  int Current() const { return current_; }
  // The number of records the component holds (0 without one).
  long Count() const;

  void First();
  void Last();
  void Next();
  void Previous();
  void NextChange();
  void PreviousChange();
  // Makes `change` current and shows it when it is a change of the records.
  void GoTo(int change);
  // Shows the current change in the view on screen (nothing without rows for the
  // records).
  void Show();

 signals:
  // Change `change` was shown as current.
  void Shown(int change);

 private:
  bool ReadRecord(int change, GridRecord& record) const;
  void ShowInGrids(const GridRecord& r);
  void ShowInAllInOne(const GridRecord& r);

  GridSet& grids_;
  ChangeMap& map_;
  DetailView& detail_;
  std::function<LindrelWidget*()> component_;
  std::function<void(const QString&)> notice_;
  int current_ = 0;
  int previous_ = -1;  // the change painted as current before
};

}  // namespace lindrel::widgets
