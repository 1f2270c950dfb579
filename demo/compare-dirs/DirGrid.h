// fgFiles, the Compare Directories window's grid, and its column widths: in twips, as the
// settings file keeps them, and fitted to their entries.
//
// Threading: GUI thread only.
#pragma once

#include <array>

#include "demo/compare-dirs/DirGridModel.h"

class QAbstractItemModel;
class QTableView;
class QWidget;

namespace lindrel::demo {

using DirColumnWidths = std::array<int, DirGridModel::kColumns>;  // twips

// A grid of fixed-height rows, one selected at a time, over `model`.
QTableView* MakeDirGrid(const char* name, QAbstractItemModel* model, QWidget* parent);

DirColumnWidths ColumnWidthsOf(const QTableView& grid);
void ApplyColumnWidths(const DirColumnWidths& twips, QTableView& grid);

// Widens the flag columns (Contents, Size, Date) to their longest entry and, when
// `shareFolderColumns`, lets the two folder columns share the rest of the grid's width.
void FitDirColumns(QTableView& grid, bool shareFolderColumns);

}  // namespace lindrel::demo
