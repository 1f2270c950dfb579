// A window that shows the comparison of two files in Lindrel's ComparisonView.
//   embed-view MASTER SOURCE [--screenshot FILE]
// With --screenshot the window is saved as a picture once the first change is shown.
#include <QApplication>
#include <QMainWindow>
#include <QStatusBar>
#include <QTimer>
#include <cstdio>

#include <lindrel/widgets/ComparisonView.h>
#include <lindrel/widgets/FileNames.h>
#include <lindrel/widgets/LindrelWidget.h>

using lindrel::widgets::ComparisonView;

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList args = lindrel::widgets::FileNameArguments(argc, argv);
  const bool screenshot = args.size() == 4 && args[2] == QLatin1String("--screenshot");
  if (args.size() != 2 && !screenshot) {
    std::fprintf(stderr, "usage: embed-view MASTER SOURCE [--screenshot FILE]\n");
    return 2;
  }

  QMainWindow window;
  auto* view = new ComparisonView(&window);
  window.setCentralWidget(view);
  window.resize(1000, 600);
  QObject::connect(view, &ComparisonView::Notice, window.statusBar(),
                   [&window](const QString& text) { window.statusBar()->showMessage(text); });
  window.show();

  // The view makes its own component and shows each comparison it completes.
  if (!view->Compare(args[0], args[1])) return 1;
  QObject::connect(view->Component(), &lindrel::widgets::LindrelWidget::FileCompareCompleted, view,
                   [&](long changes) {
                     window.setWindowTitle(QStringLiteral("%1 changes").arg(changes));
                     view->MoveFirst();
                     if (screenshot)
                       QTimer::singleShot(0, &app,
                                          [&] { app.exit(window.grab().save(args[3]) ? 0 : 1); });
                   });
  return app.exec();
}
