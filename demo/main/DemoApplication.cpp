#include "demo/main/DemoApplication.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include "demo/DemoPaths.h"
#include "demo/common/FileNames.h"
#include "demo/compare-dirs/CompareDirWindow.h"
#include "demo/compare-files/CompareFilesWindow.h"
#include "lindrel/widgets/ModalDialogs.h"

namespace lindrel::demo {

MainWindow::ChildFactories DemoChildFactories() {
  return {
      {QString::fromUtf8(MainWindow::kCompareDir),
       [](MainWindowServices& main) -> ComparisonWindow* { return new CompareDirWindow(&main); }},
      {QString::fromUtf8(MainWindow::kCompareFiles),
       [](MainWindowServices& main) -> ComparisonWindow* { return new CompareFilesWindow(&main); }},
  };
}

void OpenFromCommandLine(MainWindow& window, const QStringList& operands) {
  if (operands.isEmpty()) return;
  if (operands.size() != 2) {
    widgets::ShowMessage(&window, QMessageBox::Warning, QStringLiteral("LindrelDemo"),
                         QStringLiteral("LindrelDemo compares two files or two directories:\n"
                                        "LindrelDemo MASTER SOURCE"));
    return;
  }
  for (const QString& operand : operands) {
    if (!HoldsNul(operand)) continue;
    widgets::ShowMessage(
        &window, QMessageBox::Warning, QStringLiteral("LindrelDemo"),
        QStringLiteral("A name cannot hold a NUL byte: %1").arg(ShownFileName(operand)));
    return;
  }
  // Relative to where the program was started; kept whole, so that the file histories
  // still name the same files in a later run started elsewhere.
  const QString master = AbsoluteFileName(operands[0]);
  const QString source = AbsoluteFileName(operands[1]);
  if (IsDirectoryName(master) && IsDirectoryName(source)) {
    const QString name = QString::fromUtf8(MainWindow::kCompareDir);
    window.ShowChild(name);
    window.PressToolbarButton(name, true);
    if (auto* dirs = qobject_cast<CompareDirWindow*>(window.Child(name)))
      dirs->CompareWholeTrees(master, source);
    return;
  }
  if (IsDirectoryName(master) != IsDirectoryName(source) && FileNameExists(master) &&
      FileNameExists(source)) {
    widgets::ShowMessage(&window, QMessageBox::Warning, QStringLiteral("LindrelDemo"),
                         QStringLiteral("A file can only be compared with a file, and a directory "
                                        "with a directory: %1 and %2.")
                             .arg(ShownFileName(master), ShownFileName(source)));
    return;
  }
  const QString name = QString::fromUtf8(MainWindow::kCompareFiles);
  window.ShowChild(name);
  window.PressToolbarButton(name, true);
  // A missing path is reported by the window itself, as when it is typed in its dialog.
  if (auto* files = qobject_cast<CompareFilesWindow*>(window.Child(name)))
    files->ComparePair(master, source);
}

int RunDemo(QApplication& app, int argc, const char* const* argv) {
  QApplication::setApplicationName(QStringLiteral("LindrelDemo"));
  QApplication::setOrganizationName(QStringLiteral("Morvantis"));
  QApplication::setApplicationVersion(QStringLiteral(LINDREL_DEMO_VERSION));
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("LindrelDemo: compare two files or two directories."));
  parser.addHelpOption();
  // Prints "LindrelDemo VERSION" and ends the program with status 0.
  parser.addVersionOption();
  parser.addPositionalArgument(QStringLiteral("MASTER"),
                               QStringLiteral("The original file or directory."));
  parser.addPositionalArgument(QStringLiteral("SOURCE"),
                               QStringLiteral("The modified file or directory."));
  // The operands are file names: read from argv as bytes, since Qt's own list of the
  // arguments has already lost those that are not UTF-8.
  QStringList arguments = FileNameArguments(argc, argv);
  arguments.prepend(QApplication::applicationFilePath());
  parser.process(arguments);

  MainWindow window(DemoChildFactories());
  window.show();
  const QStringList operands = parser.positionalArguments();
  // Once the event loop runs, so that the window is on screen while the files load.
  QTimer::singleShot(0, &window, [&window, operands] { OpenFromCommandLine(window, operands); });
  return app.exec();
}

}  // namespace lindrel::demo
