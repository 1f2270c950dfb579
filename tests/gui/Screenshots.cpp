// Writes the review screenshots of the demo's main window and dialogs as PNG files.
// Run on a display (for example under `xvfb-run -a`):
//   lindrel_gui_screenshots <output folder> [<master file> <source file>]
// With a pair of files, the Compare Files window is shown comparing copies of them (one
// copy is then changed, for the bar that says so).
// Settings go to a throw-away Lindrel directory, never the user's own.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPalette>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolTip>

#include <cstdio>

#include "CompareDirScreenshots.h"
#include "DarkDesktopPalette.h"
#include "ViewParts.h"
#include "demo/compare-dirs/CompareDirWindow.h"
#include "demo/compare-files/CompareFilesExchange.h"
#include "demo/compare-files/CompareFilesOptionsDialog.h"
#include "demo/compare-files/CompareFilesWindow.h"
#include "demo/compare-files/GoToDialog.h"
#include "demo/compare-files/GoToLineDialog.h"
#include "demo/compare-files/PleaseWaitWindow.h"
#include "demo/compare-files/ReportOptionsDialog.h"
#include "demo/main/DemoApplication.h"
#include "demo/main/MainWindow.h"
#include "lindrel/widgets/AboutDialog.h"
#include "lindrel/widgets/LindrelWidget.h"
#include "lindrel/widgets/PropertySheet.h"
#include "tests/support/WidgetTestEnvironment.h"
#include "widgets/ModalDialogsTesting.h"
#include "widgets/view/ChangeMap.h"

using namespace lindrel::testing;

namespace {

void Settle(int ms = 300) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

bool SaveWidget(QWidget& widget, const QString& path) {
  widget.show();
  Settle();
  bool ok = widget.grab().save(path);
  std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
  return ok;
}

// The screen area of `window` and of the menus open over it.
bool SaveScreen(QWidget& window, const QList<QWidget*>& menus, const QString& path) {
  QRect area = window.frameGeometry();
  for (QWidget* menu : menus) {
    if (menu->isVisible()) area = area.united(menu->geometry());
  }
  QPixmap shot = window.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
  bool ok = shot.save(path);
  std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
  return ok;
}

}  // namespace

int main(int argc, char* argv[]) {
  lindrel::testing::ScratchLindrelHome home;
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
    return 2;
  }
  QDir out(QString::fromLocal8Bit(argv[1]));
  out.mkpath(QStringLiteral("."));
  bool ok = true;

  using namespace lindrel;
  ok &= SaveCompareDirFirstOpenScreenshot(out, home.path());
  {
    demo::MainWindow window;
    window.setWindowState(Qt::WindowNoState);
    window.setGeometry(40, 40, 900, 560);
    window.show();
    Settle();
    // The toolbar with no menu over it, and the tip of its second button.
    QWidget* filesButton =
        window.Toolbar()->widgetForAction(window.ToolbarButton(demo::MainWindow::kCompareFiles));
    QToolTip::showText(filesButton->mapToGlobal(filesButton->rect().bottomRight()),
                       filesButton->toolTip(), filesButton);
    Settle(600);
    ok &= SaveScreen(window, {}, out.filePath("main-window-toolbar.png"));
    QToolTip::hideText();
    const demo::MainMenus& menus = window.Menus();
    window.menuBar()->setActiveAction(menus.mnuFile->menuAction());
    Settle();
    menus.mnuFile->setActiveAction(menus.mnuThreadPriority->menuAction());
    menus.mnuThreadPriority->popup(menus.mnuFile->mapToGlobal(
        menus.mnuFile->actionGeometry(menus.mnuThreadPriority->menuAction()).topRight()));
    Settle(600);
    ok &= SaveScreen(window, {menus.mnuFile, menus.mnuThreadPriority},
                     out.filePath("main-window-file-menu.png"));
    menus.mnuThreadPriority->hide();
    menus.mnuFile->hide();
    window.menuBar()->setActiveAction(menus.mnuHelp->menuAction());
    Settle(600);
    ok &= SaveScreen(window, {menus.mnuHelp}, out.filePath("main-window-help-menu.png"));
    menus.mnuHelp->hide();
  }

  if (argc >= 4) {
    demo::MainWindow window(demo::DemoChildFactories());
    window.setWindowState(Qt::WindowNoState);
    window.setGeometry(20, 20, 1240, 760);
    window.show();
    Settle();
    // Copies keep their names: the grids' headings show them.
    QDir(home.path()).mkpath(QStringLiteral("pair/master"));
    QDir(home.path()).mkpath(QStringLiteral("pair/source"));
    const QString masterCopy =
        home.path() + "/pair/master/" + QFileInfo(QString::fromLocal8Bit(argv[2])).fileName();
    const QString sourceCopy =
        home.path() + "/pair/source/" + QFileInfo(QString::fromLocal8Bit(argv[3])).fileName();
    QFile::copy(QString::fromLocal8Bit(argv[2]), masterCopy);
    QFile::copy(QString::fromLocal8Bit(argv[3]), sourceCopy);
    demo::OpenFromCommandLine(window, {masterCopy, sourceCopy});
    auto* files =
        qobject_cast<demo::CompareFilesWindow*>(window.Child(demo::MainWindow::kCompareFiles));
    for (int waited = 0;
         files && !files->StatusText(3).startsWith("File Compare Completed") && waited < 100;
         ++waited)
      Settle(100);
    Settle(600);
    ok &= SaveScreen(window, {}, out.filePath("compare-files-side-by-side.png"));
    if (files) {
      MoveNext(files);
      MoveNext(files);
      MoveNext(files);
      Settle(300);
      QWidget* top = files->findChild<QWidget*>(QStringLiteral("topBar"));
      ok &= SaveWidget(*top, out.filePath("compare-files-navigation.png"));
      ChangeListing(files)->showPopup();
      Settle(600);
      ok &= SaveScreen(window, {ChangeListing(files)->view()->window()},
                       out.filePath("compare-files-change-list.png"));
      ChangeListing(files)->hidePopup();
      // A mark in the lower half of the change map clicked: that change is current, the
      // map's frame around the rows on screen.
      lindrel::widgets::ChangeMap* map = Map(files);
      const int change = static_cast<int>(map->Marks().size() * 2 / 3);
      if (change >= 1) {
        const QPoint at = map->MarkRect(change).center();
        QMouseEvent press(QEvent::MouseButtonPress, at, map->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(map, &press);
      }
      Settle(600);
      ok &= SaveScreen(window, {}, out.filePath("compare-files-change-map.png"));

      // The differing words marked in every changed row on screen, the boxes over the
      // current row closed.
      files->mnuMarkWordsInEveryChange_Click();
      files->View()->HideDetail();
      Settle(300);
      ok &= SaveScreen(window, {}, out.filePath("compare-files-word-marks.png"));
      files->mnuMarkWordsInEveryChange_Click();
      // The find bar on its second match, every match on screen marked.
      files->View()->SetFindText(QStringLiteral("return"));
      files->View()->FindNext();
      for (int waited = 0; files->View()->Finding() && waited < 50; ++waited) Settle(100);
      files->FindNext();
      for (int waited = 0; files->View()->Finding() && waited < 50; ++waited) Settle(100);
      Settle(300);
      ok &= SaveScreen(window, {}, out.filePath("compare-files-find.png"));
      files->View()->HideFindBar();

      // The source changed on disk after the comparison.
      {
        QFile source(sourceCopy);
        if (source.open(QIODevice::Append)) source.write("// edited after the comparison\n");
      }
      for (int waited = 0; ChangedOnDiskBar(files)->isHidden() && waited < 50; ++waited)
        Settle(100);
      Settle(300);
      ok &= SaveScreen(window, {}, out.filePath("compare-files-changed-on-disk.png"));
      MoveFirst(files);
      cmdCompareFilesViewFormat_Click(files);
    }
    Settle(600);
    ok &= SaveScreen(window, {}, out.filePath("compare-files-all-in-one.png"));
    window.close();

    // The please-wait window of a long comparison, with its Cancel.
    demo::PleaseWaitWindow wait;
    wait.SetFiles(masterCopy, sourceCopy);
    ok &= SaveWidget(wait, out.filePath("compare-files-please-wait.png"));
    wait.hide();
  }

  ok &= SaveCompareDirScreenshots(out, home.path());

  widgets::LindrelWidget lindrel1(nullptr, QStringLiteral("WDD_COMPARE_FILES_TVK1"));
  lindrel1.SetFileIgnoreCase(true);
  lindrel1.SetFileUseIgnoreRegularExpression(true);
  lindrel1.SetFileIgnoreRegularExpression(QStringLiteral("^#@@^\\s*//"));
  demo::CompareFilesValues values(&lindrel1);
  values.masterHistory.Add(QStringLiteral("/home/user/projects/report/summary-2023.txt"));
  values.masterHistory.Add(QStringLiteral("/home/user/projects/report/summary-2024.txt"));
  values.sourceHistory.Add(QStringLiteral("/home/user/projects/report/summary-2024-draft.txt"));
  values.showReportOnly = true;
  values.report = {home.path() + "/TVKReport.TXT",
                   home.path() + "/TVKReport.CSV",
                   home.path() + "/TVKReport.HTM",
                   QStringLiteral("Title"),
                   1,
                   2};
  {
    demo::CompareFilesOptionsDialog dialog(values);
    ok &= SaveWidget(dialog, out.filePath("compare-files-options.png"));
  }
  {
    demo::ReportOptionsDialog dialog(values);
    ok &= SaveWidget(dialog, out.filePath("report-options-general.png"));
    dialog.findChild<QTabWidget*>(QStringLiteral("SSTab1"))->setCurrentIndex(1);
    ok &= SaveWidget(dialog, out.filePath("report-options-html.png"));
  }
  {
    demo::GoToDialog dialog;
    dialog.SetText(QStringLiteral("3"));
    ok &= SaveWidget(dialog, out.filePath("go-to-difference.png"));
  }
  {
    demo::GoToLineDialog dialog;
    dialog.SetLine(120);
    ok &= SaveWidget(dialog, out.filePath("go-to-line.png"));
  }
  {
    widgets::AboutDialog about;
    ok &= SaveWidget(about, out.filePath("component-about-box.png"));
  }
  {
    // The property sheet runs modally; drive it through the test hook instead.
    widgets::TEST_SetNonInteractive(true);
    widgets::TEST_SetModalHandler([&](QDialog& sheet) {
      auto* tabs = sheet.findChild<QTabWidget*>(QStringLiteral("propertyPages"));
      const char* names[] = {"property-page-directory-compare.png",
                             "property-page-file-compare.png", "property-page-about.png"};
      for (int i = 0; i < 3; ++i) {
        tabs->setCurrentIndex(i);
        ok &= SaveWidget(sheet, out.filePath(QString::fromLatin1(names[i])));
      }
    });
    widgets::ShowPropertySheet({&lindrel1});
    widgets::TEST_SetNonInteractive(false);
  }
  if (argc >= 4) {
    // Last, so that the settings these windows leave behind change no other picture.
    const QString masterCopy =
        home.path() + "/pair/master/" + QFileInfo(QString::fromLocal8Bit(argv[2])).fileName();
    const QString sourceCopy =
        home.path() + "/pair/source/" + QFileInfo(QString::fromLocal8Bit(argv[3])).fileName();
    // Both windows under a dark application palette, made after it was set.
    const QPalette light = QApplication::palette();
    QApplication::setPalette(DarkDesktopPalette());
    {
      demo::MainWindow dark(demo::DemoChildFactories());
      dark.setWindowState(Qt::WindowNoState);
      dark.setGeometry(20, 20, 1240, 760);
      dark.show();
      Settle();
      demo::OpenFromCommandLine(dark, {masterCopy, sourceCopy});
      auto* darkFiles =
          qobject_cast<demo::CompareFilesWindow*>(dark.Child(demo::MainWindow::kCompareFiles));
      for (int waited = 0;
           darkFiles && !darkFiles->StatusText(3).startsWith("File Compare Completed") &&
           waited < 100;
           ++waited)
        Settle(100);
      Settle(600);
      ok &= SaveScreen(dark, {}, out.filePath("compare-files-dark.png"));
      dark.close();
    }
    {
      // The window on its own (its frame in the main window adds nothing here), comparing
      // the pair's folders as a command-line start does.
      demo::CompareDirWindow dirs;
      dirs.resize(1100, 360);
      dirs.show();
      Settle();
      dirs.CompareWholeTrees(home.path() + "/pair/master", home.path() + "/pair/source");
      for (int waited = 0; !dirs.StatusText(3).contains("Compare Completed") && waited < 100;
           ++waited)
        Settle(100);
      ok &= SaveWidget(dirs, out.filePath("compare-dirs-dark.png"));
      dirs.close();
    }
    QApplication::setPalette(light);
  }
  return ok ? 0 : 1;
}
