// LindrelDemo: the desktop front end of the Lindrel comparison component.
#include <QApplication>

#include "demo/main/DemoApplication.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  return lindrel::demo::RunDemo(app, argc, argv);
}
