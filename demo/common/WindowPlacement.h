// Window placement of LindrelDemo's windows, kept between runs in the per-user settings
// store (a QSettings INI file "LindrelDemo.ini" in the Lindrel directory), group
// "Settings" + the window's name.
//
// Keys "Left", "Top" (default 1000), "Width", "Height" (default 6500), all in twips (15
// twips per pixel at 96 dpi), and "WindowState" (0 normal, 1 minimised, 2 maximised;
// default 2). Restore applies the position and size, then the state unless it is 0. Save
// writes the state, and the position and size only while the window is in the normal
// state, so a minimised or maximised window keeps the normal placement saved before.
//
// A stored placement is only a wish: a monitor that was there may be gone, and the file
// may hold anything. Restore keeps a window where the user can reach it: a top-level
// window on an available screen, a child window inside its parent; one that would lie
// off them, or be larger than them, is moved and shrunk onto them.
//
// Threading: GUI thread only.
#pragma once

#include <QString>

class QWidget;

namespace lindrel::demo {

enum class WindowState { Normal = 0, Minimised = 1, Maximised = 2 };

// The path of the placement store; "" when the Lindrel directory is unavailable.
QString PlacementStorePath();

void RestorePlacement(QWidget& window, const QString& windowName);
// False when the placement is not in the store afterwards, with the reason in `error`
// (when given). A store that held unreadable text is rewritten without it; that is not
// a failure.
bool SavePlacement(const QWidget& window, const QString& windowName, QString* error = nullptr);

// Moves (and if need be shrinks) `window` so that its title is on an available screen,
// or inside its parent for a child window. Nothing changes for a window that is already
// reachable.
void KeepReachable(QWidget& window);

// Pixels and twips at the screen's logical resolution of `window`.
int TwipsPerPixel(const QWidget& window);

}  // namespace lindrel::demo
