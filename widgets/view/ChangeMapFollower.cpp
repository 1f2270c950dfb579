#include "widgets/view/ChangeMapFollower.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTimer>

#include "widgets/view/ChangeMap.h"
#include "widgets/view/ComparisonGrid.h"
#include "widgets/view/GridSet.h"

namespace lindrel::widgets {
namespace {

RowFore KindOf(long changeType) {
  switch (changeType) {
    case 'd': return RowFore::OnlyInMaster;
    case 'a': return RowFore::OnlyInSource;
    default: return RowFore::Changed;
  }
}

}  // namespace

ChangeMapFollower::ChangeMapFollower(GridSet& grids, QWidget* owner)
    : QObject(owner), grids_(grids) {
  map_ = new ChangeMap(owner);
  connect(map_, &ChangeMap::ChangeClicked, this, &ChangeMapFollower::ChangeClicked);
  connect(map_, &ChangeMap::RowClicked, this, [this](int gridRow) {
    grids_.ShowRowInView(gridRow);
    ScheduleFrame();
  });
  // The rows on screen change with scrolling, the scroll range and row heights (a
  // layout, the detail view enlarging a row), whoever causes them.
  for (ComparisonGrid* grid : {grids_.Master(), grids_.Source(), grids_.AllInOneGrid()}) {
    connect(grid->verticalScrollBar(), &QScrollBar::rangeChanged, this,
            &ChangeMapFollower::ScheduleFrame);
    connect(grid->verticalHeader(), &QHeaderView::sectionResized, this,
            &ChangeMapFollower::ScheduleFrame);
  }
}

void ChangeMapFollower::SetMarks(const std::vector<GridRecord>& records) {
  const std::vector<RecordRows>& rows = grids_.RecordRowsList();
  std::vector<ChangeMark> marks;
  marks.reserve(rows.size());
  for (size_t i = 0; i < rows.size() && i < records.size(); ++i)
    marks.push_back({rows[i].masterFirst, rows[i].count, KindOf(records[i].changeType)});
  map_->SetMarks(grids_.MasterRows().GridRowCount() - 1, std::move(marks));
  ScheduleFrame();
}

void ChangeMapFollower::Clear() { map_->Clear(); }

void ChangeMapFollower::ScheduleFrame() {
  if (frameScheduled_) return;
  frameScheduled_ = true;
  // Row heights come a few thousand at a time during a layout; one look serves them all.
  QTimer::singleShot(0, this, [this] {
    frameScheduled_ = false;
    UpdateFrame();
  });
}

void ChangeMapFollower::UpdateFrame() {
  if (map_->Rows() == 0) {
    map_->SetFrame(0, 0);
    return;
  }
  const auto [first, last] = grids_.RowsOnScreen();
  map_->SetFrame(first, last);
}

}  // namespace lindrel::widgets
