// The review screenshots of the Compare Directories window (called by Screenshots.cpp):
// the window while a streamed scan runs, after it with the error list showing, and its
// two dialogs. The trees are made in `scratch`.
#include "CompareDirScreenshots.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QScreen>
#include <QTableView>
#include <QTimer>

#include <cstdio>

#include "demo/compare-dirs/CompareDirOptionsDialog.h"
#include "demo/compare-dirs/CompareDirReportOptionsDialog.h"
#include "demo/compare-dirs/CompareDirWindow.h"
#include "demo/main/DemoApplication.h"
#include "demo/main/MainWindow.h"
#include "lindrel/widgets/LindrelWidget.h"

namespace {

void Wait(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

void Write(const QString& path, const QByteArray& content) {
  QDir().mkpath(path.section('/', 0, -2));
  QFile file(path);
  if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(content);
}

bool Save(QWidget& window, const QString& path) {
  const QRect area = window.frameGeometry();
  const bool ok =
      window.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height()).save(path);
  std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
  return ok;
}

bool SaveDialog(QWidget& dialog, const QString& path) {
  dialog.show();
  Wait(300);
  const bool ok = dialog.grab().save(path);
  std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
  return ok;
}

void MakeTrees(const QString& master, const QString& source) {
  const char* kept[] = {
      "README.md",     "src/main.cpp",          "src/parser.cpp",         "src/parser.h",
      "docs/guide.md", "tests/parser_test.cpp", "tests/data/sample1.txt", "tests/data/sample2.txt"};
  // Unchanged files keep their dates; the others are newer in the source tree.
  const QDateTime before(QDate(2024, 3, 1), QTime(9, 30));
  for (const char* name : kept) {
    for (const QString& root : {master, source}) {
      Write(root + '/' + name, QByteArray("content of ") + name + "\n");
      QFile file(root + '/' + name);
      if (file.open(QIODevice::ReadWrite))
        file.setFileTime(before, QFileDevice::FileModificationTime);
    }
  }
  Write(master + "/src/lexer.cpp", "int lex();\n");
  Write(source + "/src/lexer.cpp", "int lex(const char* text);\n// more\n");
  Write(master + "/docs/changes.md", "v1\n");
  Write(source + "/docs/changes.md", "v2\n");
  Write(master + "/src/old_util.cpp", "// gone in v2\n");
  Write(master + "/build.bat", "rem old build\n");
  Write(source + "/CMakeLists.txt", "project(demo)\n");
  Write(source + "/src/tokens.h", "enum Token {};\n");
  Write(source + "/assets/logo.svg", "<svg/>\n");
  Write(source + "/assets/icon.png", "png\n");
}

// The main window at `geometry`, made active, with its Compare Directories child shown.
lindrel::demo::CompareDirWindow* ShowCompareDirWindow(lindrel::demo::MainWindow& window,
                                                      const QRect& geometry) {
  window.setWindowState(Qt::WindowNoState);
  window.setGeometry(geometry);
  window.show();
  // No window manager under xvfb makes the window active.
  window.activateWindow();
  Wait(300);
  const QString name = QString::fromUtf8(lindrel::demo::MainWindow::kCompareDir);
  auto* dirs = dynamic_cast<lindrel::demo::CompareDirWindow*>(window.LoadChild(name));
  if (dirs != nullptr) window.ShowChild(name);
  return dirs;
}

struct Contents {
  bool sameInBoth;
  bool subfolders;
  bool throttle;
};

// Compared by content, with every kind of difference listed; no beep when done.
void ChooseContents(lindrel::demo::CompareDirWindow& dirs, const Contents& contents) {
  auto* c = dirs.Lindrel1();
  c->SetDirContentCompare(true);
  c->SetDirShowOnlyInMaster(true);
  c->SetDirShowOnlyInSource(true);
  c->SetDirShowSameInBothPlaces(contents.sameInBoth);
  c->SetDirShowDifferentInBothPlaces(true);
  c->SetDirDoSubDirectories(contents.subfolders);
  c->SetDirThrottle(contents.throttle);
  dirs.Settings().beepWhenDone = false;
}

}  // namespace

bool SaveCompareDirScreenshots(const QDir& out, const QString& scratch) {
  using namespace lindrel;
  const QString master = scratch + "/project-v1";
  const QString source = scratch + "/project-v2";
  MakeTrees(master, source);

  bool ok = true;
  demo::MainWindow window(demo::DemoChildFactories());
  auto* dirs = ShowCompareDirWindow(window, QRect(20, 20, 1240, 760));
  if (dirs == nullptr) return false;
  if (QWidget* frame = dirs->parentWidget()) frame->showMaximized();
  // Slowed down, so that the streamed rows can be seen arriving.
  ChooseContents(*dirs, {.sameInBoth = true, .subfolders = true, .throttle = true});
  dirs->Lindrel1()->SetThreadPriority(0);
  dirs->Settings().streamFindings = true;
  // Widened by hand for the long paths, as a user would.
  const int widths[] = {420, 420, 90, 90, 90};
  for (int column = 0; column < 5; ++column) dirs->Grid()->setColumnWidth(column, widths[column]);
  dirs->CompareDirectoriesPair(master, source);
  for (int waited = 0; dirs->RecordsShown() < 8 && waited < 100; ++waited) Wait(50);
  ok &= Save(window, out.filePath("compare-dirs-streaming.png"));

  for (int waited = 0; dirs->StatusText(3) != "Compare Completed" && waited < 300; ++waited)
    Wait(100);
  // A report to a folder that does not exist: the error list appears with the message.
  dirs->Settings().reportComma = scratch + "/no-such-folder/TVKReport.CSV";
  dirs->mnuReportTabDelimitedFile_Click();
  dirs->Grid()->setCurrentIndex(dirs->Grid()->model()->index(3, 0));
  Wait(600);
  ok &= Save(window, out.filePath("compare-dirs-completed.png"));

  {
    demo::CompareDirOptionsDialog options(*dirs, dirs);
    ok &= SaveDialog(options, out.filePath("compare-dirs-options.png"));
  }
  {
    demo::CompareDirReportOptionsDialog report(*dirs, dirs);
    ok &= SaveDialog(report, out.filePath("compare-dirs-report-options.png"));
  }
  window.close();
  return ok;
}

bool SaveCompareDirFirstOpenScreenshot(const QDir& out, const QString& home) {
  using namespace lindrel;
  const QString master = home + "/first-open/release-1";
  const QString source = home + "/first-open/release-2";
  for (int folder = 1; folder <= 12; ++folder) {
    for (const QString& root : {master, source}) {
      Write(QString("%1/module%2/notes.txt").arg(root).arg(folder, 2, 10, QChar('0')),
            root == master || folder % 3 ? "same\n" : "changed\n");
    }
  }
  Write(master + "/README.md", "old\n");
  Write(source + "/README.md", "new and longer\n");
  Write(source + "/CHANGES.md", "added\n");

  bool ok = true;
  {
    demo::MainWindow window(demo::DemoChildFactories());
    auto* dirs = ShowCompareDirWindow(window, QRect(0, 0, 1600, 1000));
    if (dirs == nullptr) return false;
    ChooseContents(*dirs, {.sameInBoth = false, .subfolders = false, .throttle = false});
    dirs->CompareDirectoriesPair(master, source);
    for (int waited = 0; !dirs->StatusText(3).startsWith("Compare Completed") && waited < 300;
         ++waited)
      Wait(100);
    Wait(300);
    ok &= Save(window, out.filePath("compare-dirs-first-open.png"));
    window.close();
  }
  // The screenshots that follow start from nothing stored, as this one did.
  for (const QString& file : QDir(home).entryList({"*.ini", "*.INI"}, QDir::Files))
    QFile::remove(home + '/' + file);
  return ok;
}
