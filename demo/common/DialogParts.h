// Pieces the demo's dialogs share: widgets named as the dialog's code knows them, the small
// browse button beside a path, and the row of closing buttons at a dialog's foot.
//
// Threading: GUI thread only.
#pragma once

#include <QString>
#include <QStringList>

#include <initializer_list>

class QDialog;
class QHBoxLayout;
class QPushButton;
class QWidget;

namespace lindrel::demo {

template <typename T>
T* Named(T* widget, const QString& name) {
  widget->setObjectName(name);
  return widget;
}

template <typename T>
T* Named(T* widget, const char* name) {
  return Named(widget, QString::fromUtf8(name));
}

// A narrow "&..." button that opens a picker. It is never a default button, so Enter in
// the dialog still closes it.
QPushButton* BrowseButton(const char* name, QWidget* parent);

// The closing row: a stretch, then `accept` (the default button) and `cancel`, which
// accept and reject `dialog`. Callers may put more buttons in front of the stretch.
QHBoxLayout* ClosingButtonRow(QDialog& dialog, QPushButton* accept, QPushButton* cancel);

// Tab and Shift+Tab go through `widgets` in this order (the order they have on screen,
// where it is not the order in which they were made).
void TabInOrder(std::initializer_list<QWidget*> widgets);

// True when no name of `names` holds a NUL (FileNames.h). Otherwise tells the user which
// one does, in a message over `dialog`, and answers false: the dialog then stays open for
// the name to be put right.
bool NoNameHoldsNul(QDialog& dialog, const QStringList& names);

}  // namespace lindrel::demo
