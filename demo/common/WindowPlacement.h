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
// Threading: GUI thread only.
#pragma once

#include <QString>

class QWidget;

namespace lindrel::demo {

enum class WindowState { Normal = 0, Minimised = 1, Maximised = 2 };

// The path of the placement store; "" when the Lindrel directory is unavailable.
QString PlacementStorePath();

void RestorePlacement(QWidget& window, const QString& windowName);
// False when the store cannot be written.
bool SavePlacement(const QWidget& window, const QString& windowName);

// Pixels and twips at the screen's logical resolution of `window`.
int TwipsPerPixel(const QWidget& window);

}  // namespace lindrel::demo
