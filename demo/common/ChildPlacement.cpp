#include "demo/common/ChildPlacement.h"

#include <QMdiSubWindow>

#include "demo/common/WindowPlacement.h"

namespace lindrel::demo {

void ChildPlacement::Shown(QWidget& child) {
  if (restored_) return;
  auto* frame = qobject_cast<QMdiSubWindow*>(child.parentWidget());
  if (frame == nullptr) return;
  restored_ = true;
  RestorePlacement(*frame, name_);
}

bool ChildPlacement::Save(const QWidget& child, QString* error) const {
  if (!restored_) return true;
  const QWidget* frame =
      qobject_cast<QMdiSubWindow*>(child.parentWidget()) ? child.parentWidget() : &child;
  return SavePlacement(*frame, name_, error);
}

}  // namespace lindrel::demo
