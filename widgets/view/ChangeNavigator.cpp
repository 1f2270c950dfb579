#include "widgets/view/ChangeNavigator.h"

#include <algorithm>

#include "lindrel/widgets/LindrelWidget.h"
#include "widgets/view/ChangeMap.h"
#include "widgets/view/ComparisonGrid.h"
#include "widgets/view/DetailView.h"
#include "widgets/view/GridSet.h"

namespace lindrel::widgets {
namespace {

// What the status line says of change `change`.
QString ChangeStatus(int change, const GridRecord& r) {
  const QString n = QStringLiteral("[%1] ").arg(change);
  auto lines = [](long count) {
    return QString::number(count) +
           (count == 1 ? QStringLiteral(" line at line: ") : QStringLiteral(" lines at line: "));
  };
  switch (r.changeType) {
    case 'c': return n + QStringLiteral("Change at line: ") + QString::number(r.masterStart);
    case 'd':
      return n + QStringLiteral("Deletion of ") + lines(r.masterEnd - r.masterStart + 1) +
             QString::number(r.masterStart);
    case 'a':
      return n + QStringLiteral("Addition of ") + lines(r.sourceEnd - r.sourceStart + 1) +
             QString::number(r.masterStart);
    default: return {};
  }
}

// One line of context above a change, unless it starts at a file's first line.
int ContextOffset(const GridRecord& r) { return r.masterStart == 1 || r.sourceStart == 1 ? 0 : 1; }

// True when a change is found by its source lines (they are not fewer than the master's).
bool FoundBySource(const GridRecord& r) {
  return r.changeType == 'a' ||
         (r.changeType == 'c' && r.masterEnd - r.masterStart <= r.sourceEnd - r.sourceStart);
}

}  // namespace

ChangeNavigator::ChangeNavigator(GridSet& grids, ChangeMap& map, DetailView& detail,
                                 std::function<LindrelWidget*()> component,
                                 std::function<void(const QString&)> notice, QObject* parent)
    : QObject(parent),
      grids_(grids),
      map_(map),
      detail_(detail),
      component_(std::move(component)),
      notice_(std::move(notice)) {}

long ChangeNavigator::Count() const {
  LindrelWidget* component = component_();
  return component != nullptr ? component->FileCompareResultsCount() : 0;
}

bool ChangeNavigator::ReadRecord(int change, GridRecord& r) const {
  LindrelWidget* component = component_();
  return component != nullptr &&
         component->FileCompareResultsGet(change - 1, r.changeType, r.masterStart, r.masterEnd,
                                          r.sourceStart, r.sourceEnd);
}

void ChangeNavigator::First() {
  if (Count() < 1) return;
  current_ = 1;
  Show();
}

void ChangeNavigator::Last() {
  const long count = Count();
  if (count < 1) return;
  current_ = static_cast<int>(count);
  Show();
}

void ChangeNavigator::Next() {
  const long count = Count();
  if (count < 1) return;
  ComparisonGrid* master = grids_.Master();
  const int row = master->CurrentRow();
  if (row >= grids_.MasterRows().GridRowCount() - 1) return;
  // Inside a change the rows are visited one by one before moving on.
  master->SetCurrentRow(row + 1);
  if (grids_.MasterRows().IsDifferenceRow(row + 1)) {
    ComparisonGrid* allInOne = grids_.AllInOneGrid();
    if (grids_.AllInOne()) allInOne->SetCurrentRow(allInOne->CurrentRow() + 1);
    detail_.ShowCurrentRow();
    return;
  }
  current_ = std::min(current_ + 1, static_cast<int>(count));
  Show();
}

void ChangeNavigator::Previous() {
  const long count = Count();
  if (count < 1) return;
  ComparisonGrid* master = grids_.Master();
  const int row = master->CurrentRow();
  if (row == 0) return;
  if (row - 1 >= 1) master->SetCurrentRow(row - 1);
  if (grids_.MasterRows().IsDifferenceRow(row - 1)) {
    ComparisonGrid* allInOne = grids_.AllInOneGrid();
    if (grids_.AllInOne()) allInOne->SetCurrentRow(std::max(allInOne->CurrentRow() - 1, 1));
    detail_.ShowCurrentRow();
    return;
  }
  current_ = std::max(current_ - 1, 1);
  Show();
}

void ChangeNavigator::NextChange() {
  const long count = Count();
  if (count < 1) return;
  // Past the last change it stays there, as Next does.
  current_ = std::clamp(current_ + 1, 1, static_cast<int>(count));
  Show();
}

void ChangeNavigator::PreviousChange() {
  const long count = Count();
  if (count < 1) return;
  current_ = std::clamp(current_ - 1, 1, static_cast<int>(count));
  Show();
}

void ChangeNavigator::GoTo(int change) {
  if (change < 1 || change > Count()) return;
  current_ = change;
  Show();
}

void ChangeNavigator::Show() {
  // Without rows for the records (a file that could not be shown, no result) there is
  // nothing to move to.
  if (current_ < 1 || grids_.RecordRowsList().empty()) return;
  GridRecord r;
  if (!ReadRecord(current_, r)) return;
  if (grids_.AllInOne())
    ShowInAllInOne(r);
  else
    ShowInGrids(r);
}

void ChangeNavigator::ShowInGrids(const GridRecord& r) {
  ComparisonGrid* master = grids_.Master();
  ComparisonGrid* source = grids_.Source();
  grids_.SetRedraw(false);
  grids_.PaintChange(previous_, RowBack::Change);
  grids_.PaintChange(current_, RowBack::CurrentChange);
  const int row =
      FoundBySource(r) ? grids_.SourceRowOf(r.sourceStart) : grids_.MasterRowOf(r.masterStart);
  const int top = row - ContextOffset(r);
  // A change scrolls both grids; a deletion or an addition scrolls its own side, which
  // the other follows.
  if (r.changeType == 'c' || r.changeType == 'd') master->SetTopRow(top);
  if (r.changeType == 'c' || r.changeType == 'a') source->SetTopRow(top);
  // The change's first row becomes the current row, where stepping through it starts.
  if (row > 0) {
    master->SetCurrentRow(row);
    source->SetCurrentRow(row);
  }
  grids_.SetRedraw(true);
  previous_ = current_;
  map_.SetCurrent(current_);
  emit Shown(current_);
  if (const QString status = ChangeStatus(current_, r); !status.isEmpty()) notice_(status);
  detail_.ShowSideBySide(true);
}

void ChangeNavigator::ShowInAllInOne(const GridRecord& r) {
  ComparisonGrid* grid = grids_.AllInOneGrid();
  grid->SetRedraw(false);
  grids_.PaintChange(previous_, RowBack::Change);
  grids_.PaintChange(current_, RowBack::CurrentChange);
  const int row =
      FoundBySource(r) ? grids_.SourceRowOf(r.sourceStart) : grids_.MasterRowOf(r.masterStart);
  grid->SetTopRow(row - ContextOffset(r));
  if (row > 0) grid->SetCurrentRow(row);
  grid->SetRedraw(true);
  previous_ = current_;
  map_.SetCurrent(current_);
  emit Shown(current_);
  if (const QString status = ChangeStatus(current_, r); !status.isEmpty()) notice_(status);
  detail_.ShowAllInOne();
}

}  // namespace lindrel::widgets
