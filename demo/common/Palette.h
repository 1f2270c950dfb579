// The demo's colours, named by what they mean, for every window and legend: the grids of
// both comparison windows, their legends and the detail view's word marks. The comparison
// view's standard palette is the source of those it shares; under a dark application
// palette the windows paint them as the view's dark variant (Shown).
#pragma once

#include <QColor>
#include <QGuiApplication>
#include <QPalette>

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

// `standard`, one of the colours above, as the windows paint it now: its counterpart in
// the dark variant while the application palette is dark, itself otherwise. What is
// stored (grid rows, settings) keeps the standard colours.
inline QColor Shown(const QColor& standard) {
  if (!widgets::ComparisonPalette::IsDark(QGuiApplication::palette())) return standard;
  static const widgets::ComparisonPalette dark = widgets::ComparisonPalette::Dark();
  if (standard == kChange) return dark.change;
  if (standard == kCurrentChange) return dark.currentChange;
  if (standard == kChanged) return dark.changed;
  if (standard == kOnlyInMaster) return dark.onlyInMaster;
  if (standard == kOnlyInSource) return dark.onlyInSource;
  return standard;
}

}  // namespace lindrel::demo::palette
