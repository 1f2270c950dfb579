// The LindrelDemo program: application identity, the child windows it registers with the
// main window, and the run itself. main.cpp only creates the QApplication.
//
// Threading: GUI thread only.
#pragma once

#include "demo/MainWindow.h"

class QApplication;

namespace lindrel::demo {

// The child windows of the program, by name. Windows not built yet are absent; the main
// window then leaves their commands without effect.
MainWindow::ChildFactories DemoChildFactories();

// Sets the application's names, shows the main window and runs the event loop.
int RunDemo(QApplication& app);

}  // namespace lindrel::demo
