#include "widgets/view/RowHeights.h"

#include <QHeaderView>
#include <QScrollBar>

#include <algorithm>

#include "widgets/view/ComparisonGrid.h"
#include "widgets/view/WrappedLineCounter.h"

namespace lindrel::widgets {

RowHeights::RowHeights(std::vector<Side> sides) : sides_(std::move(sides)) {
  counters_.resize(sides_.size());
  for (const Side& side : sides_) {
    side.grid->SetRowHeights(this);
    // A reset gives every row of the grid one line again, and the grid shows its new rows
    // from the first, laid out for them at once: the old rows' top row and scroll range,
    // kept until its next layout, would place rows measured meanwhile against other text
    // (a gap above the first row, hidden later), and could keep the grids of a view apart.
    if (side.grid->model() != nullptr) {
      connections_.push_back(QObject::connect(side.grid->model(), &QAbstractItemModel::modelReset,
                                              side.grid, [this, grid = side.grid] {
                                                sized_.clear();
                                                raised_.clear();
                                                grid->LayOutNow();
                                                grid->SetTopRow(1);
                                              }));
    }
  }
}

RowHeights::~RowHeights() {
  for (const QMetaObject::Connection& connection : connections_) QObject::disconnect(connection);
  for (const Side& side : sides_) side.grid->SetRowHeights(nullptr);
}

int RowHeights::RowCount() const {
  int rows = 0;
  for (const Side& side : sides_)
    if (side.grid->model() != nullptr) rows = std::max(rows, side.grid->model()->rowCount());
  return rows;
}

bool RowHeights::IsSized(int gridRow) const {
  return gridRow >= 1 && static_cast<size_t>(gridRow) <= sized_.size() &&
         sized_[static_cast<size_t>(gridRow - 1)];
}

void RowHeights::Forget(int alsoRow) {
  if (alsoRow > 0) raised_.push_back(alsoRow - 1);
  for (const Side& side : sides_) {
    ComparisonGrid& grid = *side.grid;
    QHeaderView* header = grid.verticalHeader();
    const int oneLine = grid.RowHeightFor(1);
    if (header->defaultSectionSize() != oneLine) header->setDefaultSectionSize(oneLine);
    const int rows = grid.model() != nullptr ? grid.model()->rowCount() : 0;
    // Without this each resize would look up the row's position, a walk over all rows.
    const bool wasEnabled = header->updatesEnabled();
    header->setUpdatesEnabled(false);
    for (int row : raised_)
      if (row < rows && header->sectionSize(row) != oneLine) header->resizeSection(row, oneLine);
    header->setUpdatesEnabled(wasEnabled);
    KeepTopRow(grid);
    grid.viewport()->update();
  }
  raised_.clear();
  sized_.assign(static_cast<size_t>(RowCount()), false);
  // Width, font and row cap may have changed with the layout.
  for (auto& counter : counters_) counter.reset();
  SizeShown();
}

void RowHeights::Size(int gridRow) {
  const int rows = RowCount();
  if (gridRow < 1 || gridRow > rows) return;
  // Rows may have come since the last Forget (a model reset).
  if (sized_.size() != static_cast<size_t>(rows)) sized_.assign(static_cast<size_t>(rows), false);
  const size_t index = static_cast<size_t>(gridRow - 1);
  if (sized_[index]) return;
  sized_[index] = true;

  // The larger count of all sides, so aligned rows stay aligned.
  int lines = 1;
  for (size_t s = 0; s < sides_.size(); ++s) {
    const Side& side = sides_[s];
    ComparisonGrid& grid = *side.grid;
    if (grid.model() == nullptr || gridRow > grid.model()->rowCount()) continue;
    if (!counters_[s]) {
      counters_[s] = std::make_unique<WrappedLineCounter>(
          grid.font(), grid.TextWidthIn(grid.columnWidth(side.textColumn)));
    }
    WrappedLineCounter& counter = *counters_[s];
    if (counter.SurelyFits(side.lengthBound(gridRow))) continue;
    // Each row is laid out for real: only the rows shown are counted, never a file's worth.
    counter.RefillLayoutBudget();
    lines = std::max(lines, counter.Lines(side.text(gridRow), grid.MaxRowLines()));
  }
  if (lines > 1) raised_.push_back(gridRow - 1);
  for (const Side& side : sides_) {
    ComparisonGrid& grid = *side.grid;
    if (grid.model() == nullptr || gridRow > grid.model()->rowCount()) continue;
    const int height = std::min(grid.RowHeightFor(lines), grid.MaxRowHeight());
    QHeaderView* header = grid.verticalHeader();
    if (header->sectionSize(gridRow - 1) == height) continue;
    const bool wasEnabled = header->updatesEnabled();
    header->setUpdatesEnabled(false);
    header->resizeSection(gridRow - 1, height);
    header->setUpdatesEnabled(wasEnabled);
    if (gridRow - 1 < grid.verticalScrollBar()->value()) KeepTopRow(grid);
  }
}

void RowHeights::KeepTopRow(ComparisonGrid& grid) {
  // The view scrolls by rows but places them by the header's pixel offset, which it
  // sets only when it scrolls: a row above the top that changes height would otherwise
  // shift every row on screen and mislead the view about which rows it shows.
  // As the view itself does: the last screen ends with the last row.
  const QScrollBar& bar = *grid.verticalScrollBar();
  if (bar.maximum() > 0 && bar.value() == bar.maximum())
    grid.verticalHeader()->setOffsetToLastSection();
  else
    grid.verticalHeader()->setOffsetToSectionPosition(bar.value());
}

void RowHeights::SizeFrom(ComparisonGrid* grid, int firstRow) {
  const int rows = grid->model() != nullptr ? grid->model()->rowCount() : 0;
  const int height = grid->viewport()->height();
  for (int row = std::max(firstRow, 1), filled = 0; row <= rows && filled < height; ++row) {
    Size(row);
    filled += grid->rowHeight(row - 1);
  }
}

void RowHeights::SizeLastPage(ComparisonGrid* grid) {
  // The grid's scroll range counts the rows that fill its last screen.
  const int height = grid->viewport()->height();
  for (int row = grid->model() != nullptr ? grid->model()->rowCount() : 0, filled = 0;
       row >= 1 && filled <= height; --row) {
    Size(row);
    filled += grid->rowHeight(row - 1);
  }
}

void RowHeights::SizeShown() {
  for (const Side& side : sides_) {
    SizeFrom(side.grid, side.grid->TopRow());
    SizeLastPage(side.grid);
  }
}

}  // namespace lindrel::widgets
