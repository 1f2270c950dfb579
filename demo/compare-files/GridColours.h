// The colours of the Compare Files window's grids and legend.
#pragma once

#include <QColor>

#include "demo/compare-files/AlignedRows.h"

namespace lindrel::demo::grid_colours {

inline const QColor kChange{0xEF, 0xEF, 0xEF};         // back of the rows of a change
inline const QColor kCurrentChange{0xC0, 0xC0, 0xC0};  // back of the current change
inline const QColor kChanged{0xFF, 0x00, 0x00};        // text of a changed line
inline const QColor kOnlyInMaster{0x00, 0x00, 0xFF};   // text of a deleted line
inline const QColor kOnlyInSource{0x00, 0x80, 0x00};   // text of an added line
inline const QColor kNumberOfDifference{0xFF, 0xFF, 0xFF};  // all-in-one number cells
inline const QColor kNumberOfSameLine{0xC0, 0xC0, 0xC0};

// The back colour of a row state; invalid for the normal back.
inline QColor Back(RowBack back) {
  switch (back) {
    case RowBack::Change: return kChange;
    case RowBack::CurrentChange: return kCurrentChange;
    case RowBack::Normal: break;
  }
  return {};
}

// The text colour of a row state; invalid for the normal text colour.
inline QColor Fore(RowFore fore) {
  switch (fore) {
    case RowFore::Changed: return kChanged;
    case RowFore::OnlyInMaster: return kOnlyInMaster;
    case RowFore::OnlyInSource: return kOnlyInSource;
    case RowFore::Normal: break;
  }
  return {};
}

}  // namespace lindrel::demo::grid_colours
