// Builds the form twice and prints, for each way, the class and two values of the first
// placed component: "<way> <class> <ThreadPriority> <FileIgnoreCase>".
// Usage: lindrel_form_consumer FORM.ui DESIGNER_PLUGIN_DIR
#include <QApplication>
#include <QFile>
#include <QUiLoader>
#include <cstdio>
#include <memory>

#include <lindrel/widgets/LindrelWidget.h>

#include "ui_ComparisonForm.h"

namespace {

void Print(const char* way, QObject* component) {
  std::printf("%s %s %d %d\n", way, component ? component->metaObject()->className() : "none",
              component ? component->property("ThreadPriority").toInt() : -1,
              component ? int(component->property("FileIgnoreCase").toBool()) : -1);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 3) return 2;

  QWidget compiled;
  Ui::ComparisonForm form;
  form.setupUi(&compiled);
  Print("uic", form.fileComparer);

  QUiLoader loader;
  loader.clearPluginPaths();
  loader.addPluginPath(QString::fromLocal8Bit(argv[2]));
  QFile ui(QString::fromLocal8Bit(argv[1]));
  if (!ui.open(QIODevice::ReadOnly)) return 3;
  std::unique_ptr<QWidget> loaded(loader.load(&ui));
  Print("loader",
        loaded ? loaded->findChild<lindrel::widgets::LindrelWidget*>("fileComparer") : nullptr);
  return 0;
}
