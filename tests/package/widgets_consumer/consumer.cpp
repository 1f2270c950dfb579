// Asks the installed widget for a size it must refuse, and prints the size it keeps.
#include <QApplication>
#include <cstdio>

#include <lindrel/widgets/LindrelWidget.h>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  lindrel::widgets::LindrelWidget component;
  component.resize(300, 200);
  std::printf("%dx%d\n", component.width(), component.height());
  return 0;
}
