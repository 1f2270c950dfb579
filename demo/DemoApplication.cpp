#include "demo/DemoApplication.h"

#include <QApplication>

namespace lindrel::demo {

MainWindow::ChildFactories DemoChildFactories() {
  // The Compare Files and Compare Directories windows register here as they arrive.
  return {};
}

int RunDemo(QApplication& app) {
  QApplication::setApplicationName(QStringLiteral("LindrelDemo"));
  QApplication::setOrganizationName(QStringLiteral("Morvantis"));
  MainWindow window(DemoChildFactories());
  window.show();
  return app.exec();
}

}  // namespace lindrel::demo
