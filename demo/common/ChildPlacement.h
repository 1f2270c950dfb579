// ChildPlacement: the placement of a child window of the main window, restored in its
// frame (the sub-window around it) the first time the child is shown and saved when it
// closes, through the shared placement store (WindowPlacement.h). A child opened with
// nothing stored takes the default state, maximised in the main window's frame.
//
// Threading: GUI thread only.
#pragma once

#include <QString>

class QWidget;

namespace lindrel::demo {

class ChildPlacement {
 public:
  explicit ChildPlacement(QString windowName) : name_(std::move(windowName)) {}

  // From the child's showEvent: restores the placement once, when the child sits in a
  // frame of the main window.
  void Shown(QWidget& child);
  // Saves the placement of the child's frame; true when saved or when nothing was
  // restored (a child never shown has no placement of its own to keep). On failure
  // `error` (when given) says what failed.
  bool Save(const QWidget& child, QString* error = nullptr) const;

 private:
  QString name_;
  bool restored_ = false;
};

}  // namespace lindrel::demo
