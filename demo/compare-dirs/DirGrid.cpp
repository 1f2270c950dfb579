#include "demo/compare-dirs/DirGrid.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QStyle>
#include <QTableView>

#include <algorithm>

#include "demo/common/WindowPlacement.h"

namespace lindrel::demo {

QTableView* MakeDirGrid(const char* name, QAbstractItemModel* model, QWidget* parent) {
  auto* grid = new QTableView(parent);
  grid->setObjectName(QString::fromUtf8(name));
  grid->setModel(model);
  grid->verticalHeader()->hide();
  // Rows of one height: the view never measures the rows it adds.
  grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  grid->horizontalHeader()->setStretchLastSection(false);
  grid->horizontalHeader()->setHighlightSections(false);
  grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid->setSelectionMode(QAbstractItemView::SingleSelection);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setWordWrap(false);
  grid->setIconSize(QSize(16, 16));
  // Tab goes on to the next control of the window; the arrow keys move between rows.
  grid->setTabKeyNavigation(false);
  return grid;
}

DirColumnWidths ColumnWidthsOf(const QTableView& grid) {
  DirColumnWidths twips{};
  const int perPixel = TwipsPerPixel(grid);
  for (int c = 0; c < DirGridModel::kColumns; ++c)
    twips[static_cast<size_t>(c)] = grid.columnWidth(c) * perPixel;
  return twips;
}

void ApplyColumnWidths(const DirColumnWidths& twips, QTableView& grid) {
  const int perPixel = TwipsPerPixel(grid);
  for (int c = 0; c < DirGridModel::kColumns; ++c)
    grid.setColumnWidth(c, std::max(1, twips[static_cast<size_t>(c)] / perPixel));
}

void FitDirColumns(QTableView& grid, bool shareFolderColumns) {
  const QFontMetrics cells(grid.font());
  const QFontMetrics headings(grid.horizontalHeader()->font());
  const int margin = 2 * grid.style()->pixelMetric(QStyle::PM_HeaderMargin) + 8;
  int flags = 0;
  for (int column = 2; column < DirGridModel::kColumns; ++column) {
    int widest = headings.horizontalAdvance(
        grid.model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
    for (const char* entry : {"CHANGED", "ERR: File", "[S] > [M]", "[M] > [S]"})
      widest = std::max(widest, cells.horizontalAdvance(QString::fromUtf8(entry)));
    const int width = std::max(grid.columnWidth(column), widest + margin);
    grid.setColumnWidth(column, width);
    flags += width;
  }
  if (shareFolderColumns) {
    const int room = (grid.viewport()->width() - flags) / 2;
    for (int column = 0; column < 2; ++column)
      grid.setColumnWidth(column, std::max(grid.columnWidth(column), room));
  }
}

}  // namespace lindrel::demo
