// The colours of the Compare Files window's row states, from the demo's palette.
#pragma once

#include <QColor>

#include "demo/common/Palette.h"
#include "demo/compare-files/AlignedRows.h"

namespace lindrel::demo::grid_colours {

using namespace palette;

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
