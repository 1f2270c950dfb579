// The colours of the comparison view's row states, from its palette.
#pragma once

#include <QColor>

#include "lindrel/widgets/ComparisonPalette.h"
#include "widgets/view/AlignedRows.h"

namespace lindrel::widgets::grid_colours {

// The back colour of a row state; invalid for the normal back.
inline QColor Back(const ComparisonPalette& colours, RowBack back) {
  switch (back) {
    case RowBack::Change: return colours.change;
    case RowBack::CurrentChange: return colours.currentChange;
    case RowBack::Normal: break;
  }
  return {};
}

// The text colour of a row state; invalid for the normal text colour.
inline QColor Fore(const ComparisonPalette& colours, RowFore fore) {
  switch (fore) {
    case RowFore::Changed: return colours.changed;
    case RowFore::OnlyInMaster: return colours.onlyInMaster;
    case RowFore::OnlyInSource: return colours.onlyInSource;
    case RowFore::Normal: break;
  }
  return {};
}

}  // namespace lindrel::widgets::grid_colours
