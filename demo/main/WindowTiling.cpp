#include "demo/main/WindowTiling.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace lindrel::demo {
namespace {

QList<QMdiSubWindow*> ArrangeableWindows(QMdiArea& area) {
  QList<QMdiSubWindow*> windows;
  for (QMdiSubWindow* sub : area.subWindowList(QMdiArea::StackingOrder)) {
    if (sub->isVisibleTo(&area) && !sub->isMinimized()) windows << sub;
  }
  return windows;
}

}  // namespace

void TileInBands(QMdiArea& area, Qt::Orientation stacking) {
  QList<QMdiSubWindow*> windows = ArrangeableWindows(area);
  if (windows.isEmpty()) return;
  const QRect room = area.viewport()->rect();
  const bool stacked = stacking == Qt::Vertical;
  const int length = stacked ? room.height() : room.width();
  const int count = static_cast<int>(windows.size());
  const int band = length / count;
  for (int i = 0; i < count; ++i) {
    windows[i]->showNormal();
    const int size = i == count - 1 ? length - i * band : band;
    if (stacked)
      windows[i]->setGeometry(0, i * band, room.width(), size);
    else
      windows[i]->setGeometry(i * band, 0, size, room.height());
  }
}

}  // namespace lindrel::demo
