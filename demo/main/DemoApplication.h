// The LindrelDemo program: application identity, the child windows it registers with the
// main window, and the run itself. main.cpp only creates the QApplication.
//
// Threading: GUI thread only.
#pragma once

#include "demo/main/MainWindow.h"

class QApplication;
#include <QStringList>

namespace lindrel::demo {

// The child windows of the program, by name. Windows not built yet are absent; the main
// window then leaves their commands without effect.
MainWindow::ChildFactories DemoChildFactories();

// Opens what `operands` name, as the command line "LindrelDemo MASTER SOURCE" does: two
// files are compared in the Compare Files window at once, two directories in the Compare
// Directories window, subfolders included and without pauses whatever its stored options
// say; anything else (a name holding a NUL among
// them) is explained in a message.
void OpenFromCommandLine(MainWindow& window, const QStringList& operands);

// Sets the application's names, reads the command line (`argc` and `argv` as the
// QApplication left them, Qt's own options taken out), shows the main window, opens what
// the command line names and runs the event loop.
int RunDemo(QApplication& app, int argc, const char* const* argv);

}  // namespace lindrel::demo
