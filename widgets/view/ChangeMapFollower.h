// ChangeMapFollower: the change map beside a comparison view's grids (object name
// changeMap), kept up with them: its marks from the change records and the rows they
// occupy, its frame from the rows on screen of the view shown, whoever scrolls or resizes
// it. A click on a row of the map shows that row in the middle of the view; a click on a
// mark is passed on.
//
// Threading: GUI thread only.
#pragma once

#include <QObject>

#include <vector>

#include "widgets/view/AlignedRows.h"

class QWidget;

namespace lindrel::widgets {

class ChangeMap;
class GridSet;

class ChangeMapFollower : public QObject {
  Q_OBJECT

 public:
  // The map is made as a child of `owner`; `grids` outlives the follower.
  ChangeMapFollower(GridSet& grids, QWidget* owner);

  ChangeMap* Map() const { return map_; }
  // Marks one change per record at the rows the grids keep for it.
  void SetMarks(const std::vector<GridRecord>& records);
  void Clear();
  // Brings the frame up to the rows on screen once the events waiting have run.
  void ScheduleFrame();

 signals:
  // A mark was clicked: change `change` (1-based) is asked for.
  void ChangeClicked(int change);

 private:
  void UpdateFrame();

  GridSet& grids_;
  ChangeMap* map_ = nullptr;
  bool frameScheduled_ = false;
};

}  // namespace lindrel::widgets
