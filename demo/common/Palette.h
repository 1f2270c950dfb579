// The demo's colours, named by what they mean, for every window and legend: the grids of
// both comparison windows, their legends and the detail view's word marks. The comparison
// view's standard palette is the source of those it shares.
#pragma once

#include <QColor>

#include "lindrel/widgets/ComparisonPalette.h"

namespace lindrel::demo::palette {

inline const widgets::ComparisonPalette kView{};

// Backs.
inline const QColor kChange = kView.change;  // rows of a change; marked directory cells
inline const QColor kCurrentChange = kView.currentChange;  // rows of the current change
// Texts (and the legend's boxes).
inline const QColor kChanged = kView.changed;            // a changed line or file
inline const QColor kOnlyInMaster = kView.onlyInMaster;  // a line or entry only in the master
inline const QColor kOnlyInSource = kView.onlyInSource;  // a line or entry only in the source

}  // namespace lindrel::demo::palette
