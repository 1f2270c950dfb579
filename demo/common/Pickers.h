// The demo's folder and file pickers (shared helpers of all its windows). Both run
// through the Qt layer's ModalDialogs, so tests answer them without blocking.
//
// Threading: GUI thread only.
#pragma once

#include <QString>

class QWidget;

namespace lindrel::demo {

// The folder browser titled "Select Directory", folders only; the chosen path, or ""
// when cancelled.
QString PickFolder(QWidget* parent);

// The open-file dialog titled "Open A File for Editing", filter "All files (*)", no
// initial name; the chosen path, or "" when cancelled.
QString PickFile(QWidget* parent);

}  // namespace lindrel::demo
