// BusyPointer: the hourglass pointer for the whole program while one lives.
//
// Threading: GUI thread only.
#pragma once

#include <QApplication>
#include <QCursor>

namespace lindrel::widgets {

class BusyPointer {
 public:
  BusyPointer() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
  ~BusyPointer() { QApplication::restoreOverrideCursor(); }
  BusyPointer(const BusyPointer&) = delete;
  BusyPointer& operator=(const BusyPointer&) = delete;
};

}  // namespace lindrel::widgets
