// The Compare Files window's change map: its marks from the change records, its frame
// from the rows on screen, and what a click on it does.
#include <QHeaderView>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>

#include "demo/compare-files/ChangeMap.h"
#include "demo/compare-files/CompareFilesWindow.h"
#include "demo/compare-files/ComparisonGrid.h"

namespace lindrel::demo {
namespace {

RowFore KindOf(long changeType) {
  switch (changeType) {
    case 'd': return RowFore::OnlyInMaster;
    case 'a': return RowFore::OnlyInSource;
    default: return RowFore::Changed;
  }
}

}  // namespace

void CompareFilesWindow::ConnectChangeMap() {
  connect(map_, &ChangeMap::ChangeClicked, this, [this](int change) {
    // As a choice in the drop-down: the change becomes current and is shown.
    if (settings_.showReportOnly || change < 1 || change > RecordCount()) return;
    currentChange_ = change;
    MoveToChange(true);
  });
  connect(map_, &ChangeMap::RowClicked, this, &CompareFilesWindow::ShowRowInView);
  // The rows on screen change with scrolling, the scroll range and row heights (a
  // layout, the detail view enlarging a row), whoever causes them.
  for (ComparisonGrid* grid : {msfgMaster_, msfgSource_, msfgAllInOne_}) {
    connect(grid->verticalScrollBar(), &QScrollBar::rangeChanged, this,
            &CompareFilesWindow::ScheduleChangeMapFrame);
    connect(grid->verticalHeader(), &QHeaderView::sectionResized, this,
            &CompareFilesWindow::ScheduleChangeMapFrame);
  }
}

void CompareFilesWindow::SetChangeMapMarks(const std::vector<GridRecord>& records) {
  std::vector<ChangeMark> marks;
  marks.reserve(recordRows_.size());
  for (size_t i = 0; i < recordRows_.size() && i < records.size(); ++i)
    marks.push_back(
        {recordRows_[i].masterFirst, recordRows_[i].count, KindOf(records[i].changeType)});
  map_->SetMarks(masterModel_.GridRowCount() - 1, std::move(marks));
  ScheduleChangeMapFrame();
}

void CompareFilesWindow::ScheduleChangeMapFrame() {
  if (mapFrameScheduled_) return;
  mapFrameScheduled_ = true;
  // Row heights come a few thousand at a time during a layout; one look serves them all.
  QTimer::singleShot(0, this, [this] {
    mapFrameScheduled_ = false;
    UpdateChangeMapFrame();
  });
}

void CompareFilesWindow::UpdateChangeMapFrame() {
  ComparisonGrid* grid = AllInOneShown() ? msfgAllInOne_ : msfgMaster_;
  const int rows = grid->model() != nullptr ? grid->model()->rowCount() : 0;
  if (rows == 0 || map_->Rows() == 0) {
    map_->SetFrame(0, 0);
    return;
  }
  // From the row heights, not from row positions: those a pending layout has not yet
  // caught up with.
  grid->SizeShownRows();
  const int first = std::min(grid->TopRow(), rows);
  const int height = grid->viewport()->height();
  int last = first;
  for (int filled = grid->rowHeight(first - 1); filled < height && last < rows; ++last)
    filled += grid->rowHeight(last);
  map_->SetFrame(first, last);
}

void CompareFilesWindow::ShowRowInView(int gridRow) {
  ComparisonGrid* grid = AllInOneShown() ? msfgAllInOne_ : msfgMaster_;
  const int rows = grid->model() != nullptr ? grid->model()->rowCount() : 0;
  if (gridRow < 1 || gridRow > rows) return;
  // The row in the middle of the view: the rows above it fill half of it, by their heights
  // (a wrapped line may fill it alone).
  const int half = grid->viewport()->height() / 2;
  int top = gridRow;
  for (int filled = grid->SizedRowHeight(gridRow);
       top > 1 && filled + grid->SizedRowHeight(top - 1) <= half; --top)
    filled += grid->rowHeight(top - 2);
  // The master grid leads; the source grid follows it.
  grid->SetTopRow(top);
  ScheduleChangeMapFrame();
}

void CompareFilesWindow::mnuViewChangeMap_Click() {
  map_->setVisible(map_->isHidden());
  settings_.showChangeMap = !map_->isHidden();
  Form_Resize();
}

}  // namespace lindrel::demo
