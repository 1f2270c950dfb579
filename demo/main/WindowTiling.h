// Tile Horizontally and Tile Vertically of the main window's Window menu: the child
// windows on view (not minimised) share the area in equal bands, one window each, stacked
// top to bottom (Qt::Vertical) or placed side by side (Qt::Horizontal); the last band
// takes what the division leaves over.
//
// Threading: GUI thread only.
#pragma once

#include <Qt>

class QMdiArea;

namespace lindrel::demo {

void TileInBands(QMdiArea& area, Qt::Orientation stacking);

}  // namespace lindrel::demo
