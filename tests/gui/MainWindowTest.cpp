// The demo's main window: menus, toolbar, thread priority, the child-window protocol,
// start-up and closing with the settings file, window placement, help.
#include <QAction>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QSettings>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

#include "GuiTestEnvironment.h"
#include "TestChild.h"
#include "TestConfig.h"
#include "demo/common/IniStrings.h"
#include "demo/common/ProgramState.h"
#include "demo/main/MainWindow.h"

using lindrel::demo::MainWindow;
using lindrel::demo::ProgramState;
using lindrel::testing::GuiTestEnvironment;
using lindrel::testing::TestChild;
using lindrel::testing::TestChildFactories;

namespace {

const QString kDir = QString::fromLatin1(MainWindow::kCompareDir);
const QString kFiles = QString::fromLatin1(MainWindow::kCompareFiles);

TestChild* ChildOf(MainWindow& window, const QString& name) {
  return qobject_cast<TestChild*>(window.Child(name));
}

QList<QAction*> Items(QMenu* menu) {
  QList<QAction*> items;
  for (QAction* action : menu->actions()) {
    if (!action->isSeparator()) items << action;
  }
  return items;
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { env_ = std::make_unique<GuiTestEnvironment>(); }
  void cleanup() { env_.reset(); }

  void menuBarHasTheExactMenusInOrder() {
    MainWindow window;
    QCOMPARE(window.windowTitle(), QString("Lindrel - Component Demo From Morvantis, Inc."));
    QStringList menus;
    for (QAction* action : window.menuBar()->actions())
      menus << action->objectName() + "=" + action->text();
    QCOMPARE(menus, (QStringList{"mnuFile=&File", "mnuView=&View", "mnuReport=&Report",
                                 "mnuWindow=&Window", "mnuHelp=&Help", "mnuPopup=Popup"}));
    QVERIFY(!window.Menus().mnuReport->menuAction()->isVisible());
    QVERIFY(!window.Menus().mnuPopup->menuAction()->isVisible());
    QVERIFY(window.Menus().mnuFile->menuAction()->isVisible());
  }

  void menuItemsHaveTheirCaptionsOrderAndShortcuts_data() {
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QStringList>("items");  // name|caption|shortcut
    QTest::newRow("File") << "mnuFile"
                          << QStringList{"mnuCompareDirectories|Compare &Directories|Ctrl+D",
                                         "mnuCompareFiles|Compare &Files|Ctrl+F",
                                         "mnuThreadPriority|&Thread Priority|", "mnuExit|E&xit|"};
    QTest::newRow("Thread Priority")
        << "mnuThreadPriority"
        << QStringList{"mnuThreadPriorityLevel(0)|&Idle|", "mnuThreadPriorityLevel(1)|&Lowest|",
                       "mnuThreadPriorityLevel(2)|&Normal|", "mnuThreadPriorityLevel(3)|&Highest|",
                       "mnuThreadPriorityLevel(4)|Time Critical|"};
    QTest::newRow("View") << "mnuView"
                          << QStringList{"mnuRefresh|Refres&h|F5",
                                         "mnuFont|Change &Font|",
                                         "mnuViewLegend|Show &Legend|",
                                         "mnuSwap|&Swap Master And Source Files|F9",
                                         "mnuViewChangeMap|Show Change &Map|",
                                         "mnuNextChange|&Next Change\tAlt+Down|",
                                         "mnuPreviousChange|&Previous Change\tAlt+Up|",
                                         "mnuFind|F&ind...\tCtrl+Shift+F|",
                                         "mnuFindNext|Find Ne&xt\tF3|",
                                         "mnuFindPrevious|Find Pre&vious\tShift+F3|",
                                         "mnuGoToLine|&Go To Line...\tCtrl+L|",
                                         "mnuMarkWordsInEveryChange|Mark Words in Every Change|"};
    QTest::newRow("Report") << "mnuReport"
                            << QStringList{"mnuOptions|Report &Options|",
                                           "mnuReportHTMLFile|&HTML File|",
                                           "mnuReportTextFile|&Text File|",
                                           "mnuReportTabDelimitedFile|Tab &Delimited File|",
                                           "mnuReportCommaDelimitedFile|&Comma Delimited File|"};
    QTest::newRow("Window") << "mnuWindow"
                            << QStringList{"mnuWindowCascase|&Cascade|",
                                           "mnuWindowTileHorizontal|Tile &Horizontal|",
                                           "mnuWindowTileVertical|&Tile Vertical|"};
    QTest::newRow("Help") << "mnuHelp"
                          << QStringList{"mnuHelpFile|Help &File |F1", "mnuAbout|&About|",
                                         "mnuMorvantisHomePage|Morvantis Home Page|"};
    QTest::newRow("Popup") << "mnuPopup"
                           << QStringList{"mnuPopupShowDetail|Show Detail (Double Click)|",
                                          "mnuPopupRefresh|Refresh (F5)|", "mnuPopupReport|Report|",
                                          "mnuPopupFont|Change Font|"};
  }
  void menuItemsHaveTheirCaptionsOrderAndShortcuts() {
    QFETCH(QString, menu);
    QFETCH(QStringList, items);
    MainWindow window;
    auto* found = window.findChild<QMenu*>(menu);
    QVERIFY(found);
    QStringList actual;
    for (QAction* item : Items(found)) {
      actual << item->objectName() + "|" + item->text() + "|" +
                    item->shortcut().toString(QKeySequence::PortableText);
    }
    QCOMPARE(actual, items);
  }

  void priorityWithoutChildOnlyMovesTheCheckMark() {
    MainWindow window(TestChildFactories());
    QVERIFY(window.Menus().mnuThreadPriorityLevel[0]->isChecked());
    window.Menus().mnuThreadPriorityLevel[3]->trigger();
    QCOMPARE(ProgramState::Instance().ThreadPriority(), 3);
    int checked = 0;
    for (QAction* level : window.Menus().mnuThreadPriorityLevel) checked += level->isChecked();
    QCOMPARE(checked, 1);
    QVERIFY(window.Menus().mnuThreadPriorityLevel[3]->isChecked());
    QCOMPARE(window.Child(kDir), nullptr);
    QCOMPARE(window.Child(kFiles), nullptr);
  }

  void priorityWithActiveChildReachesBothComponents() {
    {
      MainWindow window(TestChildFactories());
      window.show();
      window.ShowChild(kFiles);
      QCOMPARE(window.ActiveChild(), window.Child(kFiles));
      window.Menus().mnuThreadPriorityLevel[4]->trigger();
      QVERIFY(ChildOf(window, kDir) != nullptr);  // made for it, not shown
      QVERIFY(!window.IsChildVisible(kDir));
      QCOMPARE(ChildOf(window, kDir)->lindrel1->GetThreadPriority(), 4L);
      QCOMPARE(ChildOf(window, kFiles)->lindrel1->GetThreadPriority(), 4L);
      window.close();
    }
    QCOMPARE(Setting("Main", "mlThreadPriority"), QString("4"));
  }

  void closingWithBothChildrenClosedKeepsActiveForm() {
    env_->Write("home/WDD_SearchHistory.INI",
                "[Main]\nActiveForm=frmCompareDir\nfrmCompareDir_Visible=TRUE\n");
    {
      MainWindow window(TestChildFactories());
      QVERIFY(window.IsChildVisible(kDir));
      window.Child(kDir)->parentWidget()->close();  // the user closes the child
      QVERIFY(!window.IsChildVisible(kDir));
      window.close();
      QVERIFY(ProgramState::Instance().ShuttingDown());
    }
    QCOMPARE(Setting("Main", "frmCompareDir_Visible"), QString("FALSE"));
    QCOMPARE(Setting("Main", "frmCompareFiles_Visible"), QString("FALSE"));
    QCOMPARE(Setting("Main", "ActiveForm"), QString("frmCompareDir"));
    QCOMPARE(Setting("Main", "mlThreadPriority"), QString("0"));
  }

  void closingRecordsTheOpenChildren() {
    {
      MainWindow window(TestChildFactories());
      window.show();
      window.ShowChild(kDir);
      window.ShowChild(kFiles);
      window.close();
    }
    QCOMPARE(Setting("Main", "frmCompareDir_Visible"), QString("TRUE"));
    QCOMPARE(Setting("Main", "frmCompareFiles_Visible"), QString("TRUE"));
    QCOMPARE(Setting("Main", "ActiveForm"), QString("frmCompareFiles"));
  }

  void startUpRestoresChildrenPriorityAndActiveWindow() {
    env_->Write("home/WDD_SearchHistory.INI",
                "[Main]\nmlThreadPriority=2\nfrmCompareDir_Visible=TRUE\n"
                "frmCompareFiles_Visible=TRUE\nActiveForm=frmCompareDir\n");
    MainWindow window(TestChildFactories());
    QVERIFY(window.IsChildVisible(kDir));
    QVERIFY(window.IsChildVisible(kFiles));
    QCOMPARE(window.MdiArea()->currentSubWindow()->widget(), window.Child(kDir));
    QVERIFY(window.Menus().mnuThreadPriorityLevel[2]->isChecked());
    QVERIFY(!ProgramState::Instance().ShuttingDown());
  }

  void startUpWithoutSettingsUsesDefaults_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("no settings file") << QByteArray();
    QTest::newRow("priority outside the scale") << QByteArray("[Main]\nmlThreadPriority=9\n");
    QTest::newRow("priority not a number") << QByteArray("[Main]\nmlThreadPriority=high\n");
  }
  void startUpWithoutSettingsUsesDefaults() {
    QFETCH(QByteArray, file);
    if (!file.isNull()) env_->Write("home/WDD_SearchHistory.INI", file);
    MainWindow window(TestChildFactories());
    QCOMPARE(ProgramState::Instance().ThreadPriority(), 0);
    QVERIFY(window.Menus().mnuThreadPriorityLevel[0]->isChecked());
    QVERIFY(window.windowState() & Qt::WindowMaximized);
    QCOMPARE(window.Child(kDir), nullptr);
    QCOMPARE(window.Child(kFiles), nullptr);
  }

  void placementIsSavedAndRestoredInTwips() {
    {
      MainWindow window;
      window.setWindowState(Qt::WindowNoState);
      window.move(40, 60);
      window.resize(500, 400);
      window.close();
    }
    QSettings store(env_->PlacementFile(), QSettings::IniFormat);
    store.beginGroup("SettingsfrmMainMDI");
    QCOMPARE(store.value("WindowState").toInt(), 0);
    QCOMPARE(store.value("Left").toInt(), 40 * 15);
    QCOMPARE(store.value("Top").toInt(), 60 * 15);
    QCOMPARE(store.value("Width").toInt(), 500 * 15);
    QCOMPARE(store.value("Height").toInt(), 400 * 15);
    store.endGroup();

    MainWindow again;
    QVERIFY(!(again.windowState() & (Qt::WindowMaximized | Qt::WindowMinimized)));
    QCOMPARE(again.pos(), QPoint(40, 60));
    QCOMPARE(again.size(), QSize(500, 400));
  }

  void minimisedStateKeepsTheNormalPlacement() {
    {
      QSettings store(env_->PlacementFile(), QSettings::IniFormat);
      store.beginGroup("SettingsfrmMainMDI");
      store.setValue("WindowState", 1);
      store.setValue("Left", 1500);
      store.setValue("Top", 3000);
      store.setValue("Width", 9000);
      store.setValue("Height", 7500);
    }
    {
      MainWindow window;
      QVERIFY(window.windowState() & Qt::WindowMinimized);
      window.move(5, 5);  // wherever it is now, a minimised window saves no position
      window.close();
    }
    QSettings store(env_->PlacementFile(), QSettings::IniFormat);
    store.beginGroup("SettingsfrmMainMDI");
    QCOMPARE(store.value("WindowState").toInt(), 1);
    QCOMPARE(store.value("Left").toInt(), 1500);
    QCOMPARE(store.value("Top").toInt(), 3000);
    QCOMPARE(store.value("Width").toInt(), 9000);
    QCOMPARE(store.value("Height").toInt(), 7500);
  }

  void commandsGoToTheActiveChild_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("call");
    QTest::newRow("refresh") << "mnuRefresh"
                             << "Refresh_View";
    QTest::newRow("font") << "mnuFont"
                          << "Change_Font(true)";
    QTest::newRow("legend") << "mnuViewLegend"
                            << "mnuViewLegend_Click";
    QTest::newRow("swap") << "mnuSwap"
                          << "Swap";
    QTest::newRow("report options") << "mnuOptions"
                                    << "ReportOptions";
    QTest::newRow("html") << "mnuReportHTMLFile"
                          << "mnuReportHTMLFile_Click";
    QTest::newRow("text") << "mnuReportTextFile"
                          << "mnuReportTextFile_Click";
    QTest::newRow("tab") << "mnuReportTabDelimitedFile"
                         << "mnuReportTabDelimitedFile_Click";
    QTest::newRow("comma") << "mnuReportCommaDelimitedFile"
                           << "mnuReportCommaDelimitedFile_Click";
    QTest::newRow("change map") << "mnuViewChangeMap"
                                << "mnuViewChangeMap_Click";
    QTest::newRow("next change") << "mnuNextChange"
                                 << "MoveNextChange";
    QTest::newRow("previous change") << "mnuPreviousChange"
                                     << "MovePreviousChange";
    QTest::newRow("find") << "mnuFind"
                          << "mnuFind_Click";
    QTest::newRow("find next") << "mnuFindNext"
                               << "FindNext";
    QTest::newRow("find previous") << "mnuFindPrevious"
                                   << "FindPrevious";
    QTest::newRow("go to line") << "mnuGoToLine"
                                << "mnuGoToLine_Click";
    QTest::newRow("mark words") << "mnuMarkWordsInEveryChange"
                                << "mnuMarkWordsInEveryChange_Click";
    QTest::newRow("popup detail") << "mnuPopupShowDetail"
                                  << "mnuShowDetail_Click";
    QTest::newRow("popup refresh") << "mnuPopupRefresh"
                                   << "Refresh_View";
    QTest::newRow("popup report") << "mnuPopupReport"
                                  << "cmdViewReport_Click";
    QTest::newRow("popup font") << "mnuPopupFont"
                                << "Change_Font(true)";
  }
  void commandsGoToTheActiveChild() {
    QFETCH(QString, item);
    QFETCH(QString, call);
    MainWindow window(TestChildFactories());
    window.show();
    window.ShowChild(kDir);
    window.ShowChild(kFiles);
    ChildOf(window, kDir)->calls.clear();
    ChildOf(window, kFiles)->calls.clear();
    window.findChild<QAction*>(item)->trigger();
    QCOMPARE(ChildOf(window, kFiles)->calls, QStringList{call});
    QCOMPARE(ChildOf(window, kDir)->calls, QStringList{});
  }

  void commandsWithoutAbleChildDoNothing() {
    MainWindow::ChildFactories silent{
        {kFiles, [](lindrel::demo::MainWindowServices&) -> lindrel::demo::ComparisonWindow* {
           return new lindrel::testing::SilentChild;
         }}};
    MainWindow window(silent);
    for (const char* item : {"mnuRefresh", "mnuFont", "mnuSwap", "mnuPopupReport"})
      window.findChild<QAction*>(item)->trigger();  // no child at all
    window.show();
    window.ShowChild(kFiles);
    for (const char* item : {"mnuRefresh", "mnuFont", "mnuSwap", "mnuPopupReport"})
      window.findChild<QAction*>(item)->trigger();  // a child without the procedures
    window.mnuAbort_Click();
    window.Timer1_Timer();
    QVERIFY(window.IsChildVisible(kFiles));
  }

  void compareCommandsShowTheirWindowAndPressTheirButton_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("child");
    QTest::addColumn<QString>("call");
    QTest::newRow("directories") << "mnuCompareDirectories" << kDir << "StartFromMenu";
    QTest::newRow("files") << "mnuCompareFiles" << kFiles << "StartFromMenu";
  }
  void compareCommandsShowTheirWindowAndPressTheirButton() {
    QFETCH(QString, item);
    QFETCH(QString, child);
    QFETCH(QString, call);
    MainWindow window(TestChildFactories());
    window.show();
    window.findChild<QAction*>(item)->trigger();
    QVERIFY(window.IsChildVisible(child));
    QVERIFY(window.ToolbarButton(child)->isChecked());
    QVERIFY(ChildOf(window, child)->calls.contains(call));
  }

  void toolbarShowsItsTwoKeyedButtons() {
    MainWindow window;
    window.show();
    QToolBar* bar = window.Toolbar();
    QCOMPARE(bar->objectName(), QString("tbMain"));
    QVERIFY(bar->isVisible());
    QStringList buttons;
    QList<QImage> images;
    for (QAction* button : bar->actions()) {
      buttons << button->objectName() + "=" + button->toolTip();
      QWidget* shown = bar->widgetForAction(button);
      QVERIFY2(shown != nullptr && shown->isVisible(), qPrintable(button->objectName()));
      // An image that is missing from the resources draws nothing at all.
      QImage image = button->icon().pixmap(bar->iconSize()).toImage();
      int opaque = 0;
      for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) opaque += qAlpha(image.pixel(x, y)) > 0;
      }
      QVERIFY2(opaque > image.width() * image.height() / 4, qPrintable(button->objectName()));
      images << image;
    }
    QCOMPARE(buttons,
             (QStringList{"frmCompareDir=Compare Directories", "frmCompareFiles=Compare Files"}));
    QVERIFY(images[0] != images[1]);
  }

  void toolbarButtonsStayPressedWhileTheirWindowIsOpen() {
    MainWindow window(TestChildFactories());
    window.show();
    QAction* dirButton = window.ToolbarButton(kDir);
    QAction* filesButton = window.ToolbarButton(kFiles);
    QVERIFY(dirButton && filesButton);
    QVERIFY(dirButton->isCheckable() && !dirButton->isChecked());

    dirButton->trigger();
    QVERIFY(window.IsChildVisible(kDir));
    QVERIFY(dirButton->isChecked());
    dirButton->trigger();  // a second click keeps it pressed
    QVERIFY(dirButton->isChecked());
    filesButton->trigger();
    QVERIFY(filesButton->isChecked());

    window.Child(kFiles)->parentWidget()->close();
    QVERIFY(!filesButton->isChecked());
    QVERIFY(dirButton->isChecked());

    window.Child(kDir)->parentWidget()->close();
    QVERIFY(!dirButton->isChecked());
  }

  void upateMainToolbarReleasesButtonsOnlyForTheLastChild_data() {
    QTest::addColumn<int>("openChildren");
    QTest::addColumn<bool>("released");
    QTest::newRow("the closing child is the last") << 1 << true;
    QTest::newRow("another child stays open") << 2 << false;
  }
  void upateMainToolbarReleasesButtonsOnlyForTheLastChild() {
    QFETCH(int, openChildren);
    QFETCH(bool, released);
    MainWindow window(TestChildFactories());
    window.ShowChild(kDir);
    if (openChildren == 2) window.ShowChild(kFiles);
    window.PressToolbarButton(kDir, true);
    window.PressToolbarButton(kFiles, true);
    window.UpateMainToolbar();  // as a closing child calls it, while still visible
    QCOMPARE(window.ToolbarButton(kDir)->isChecked(), !released);
    QCOMPARE(window.ToolbarButton(kFiles)->isChecked(), !released);
  }

  void timerAsksVisibleChildrenToAdjustTheirToolbars() {
    MainWindow window(TestChildFactories());
    QTimer* timer = window.Timer1();
    QCOMPARE(timer->objectName(), QString("Timer1"));
    QCOMPARE(timer->interval(), 2000);
    QVERIFY(timer->isActive());
    window.ShowChild(kFiles);
    window.LoadChild(kDir);  // loaded but not shown
    window.Timer1_Timer();
    QCOMPARE(ChildOf(window, kFiles)->calls.count("AdjustToolbarItems"), 1);
    QCOMPARE(ChildOf(window, kDir)->calls.count("AdjustToolbarItems"), 0);
  }

  void resizingTellsEveryLoadedChild() {
    MainWindow window(TestChildFactories());
    window.setWindowState(Qt::WindowNoState);
    window.show();
    window.ShowChild(kFiles);
    window.LoadChild(kDir);
    ChildOf(window, kFiles)->calls.clear();
    window.resize(window.width() + 40, window.height() + 30);
    QTRY_VERIFY(ChildOf(window, kFiles)->calls.contains("Form_Resize"));
    QVERIFY(ChildOf(window, kDir)->calls.contains("Form_Resize"));
  }

  void windowsAreArranged() {
    MainWindow window(TestChildFactories());
    window.setWindowState(Qt::WindowNoState);
    window.resize(800, 600);
    window.show();
    window.ShowChild(kDir);
    window.ShowChild(kFiles);
    QMdiSubWindow* a = qobject_cast<QMdiSubWindow*>(window.Child(kDir)->parentWidget());
    QMdiSubWindow* b = qobject_cast<QMdiSubWindow*>(window.Child(kFiles)->parentWidget());
    QVERIFY(a && b);
    const QSize area = window.MdiArea()->viewport()->size();

    window.Menus().mnuWindowTileVertical->trigger();
    QCOMPARE(a->geometry().top(), 0);
    QCOMPARE(b->geometry().top(), 0);
    QCOMPARE(a->height(), area.height());
    QVERIFY(a->geometry().left() != b->geometry().left());
    QCOMPARE(a->width() + b->width(), area.width());

    window.Menus().mnuWindowTileHorizontal->trigger();
    QCOMPARE(a->geometry().left(), 0);
    QCOMPARE(b->geometry().left(), 0);
    QCOMPARE(a->width(), area.width());
    QCOMPARE(a->height() + b->height(), area.height());

    window.Menus().mnuWindowCascase->trigger();
    QVERIFY(a->geometry().topLeft() != b->geometry().topLeft());
  }

  void helpAndMakerPageOpenThroughTheOpenCommand_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("page");
    QTest::newRow("help file") << "mnuHelpFile"
                               << "LindrelDemo.html";
    QTest::newRow("maker's page") << "mnuMorvantisHomePage"
                                  << "Morvantis.html";
  }
  void helpAndMakerPageOpenThroughTheOpenCommand() {
    QFETCH(QString, item);
    QFETCH(QString, page);
    const QString log = env_->RecordOpenedFiles();

    MainWindow window;
    window.findChild<QAction*>(item)->trigger();
    QTRY_VERIFY(QFile::exists(log));
    QTRY_VERIFY(GuiTestEnvironment::Read(log).trimmed().endsWith(page.toUtf8()));
    QVERIFY(QFile::exists(QString::fromUtf8(GuiTestEnvironment::Read(log).trimmed())));
    QVERIFY(lindrel::widgets::TEST_Messages().isEmpty());
  }

  void theProgramAnswersVersionAndOffersItselfForFilesAndFolders() {
    QProcess program;
    program.start(LINDREL_BINARY_DIR "/demo/LindrelDemo", {"--version"});
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(program.readAllStandardOutput()).trimmed(),
             QString("LindrelDemo 1.0.0"));

    // "Open With" lists the program for text files and folders, and hands it every
    // selected one.
    QFile entry(LINDREL_SOURCE_DIR "/demo/resources/lindrel-demo.desktop");
    QVERIFY(entry.open(QIODevice::ReadOnly | QIODevice::Text));
    QStringList mimeTypes;
    QString exec;
    for (const QString& line : QString::fromUtf8(entry.readAll()).split('\n')) {
      if (line.startsWith("MimeType=")) mimeTypes = line.mid(9).split(';', Qt::SkipEmptyParts);
      if (line.startsWith("Exec=")) exec = line.mid(5);
    }
    QVERIFY(mimeTypes.contains("text/plain"));
    QVERIFY(mimeTypes.contains("inode/directory"));
    QCOMPARE(exec, QString("LindrelDemo %F"));
  }

  void aboutBoxIsModal() {
    MainWindow window;
    window.Menus().mnuAbout->trigger();
    QCOMPARE(lindrel::widgets::TEST_ModalDialogs(), QStringList{"frmAbout"});
  }

 private:
  QString Setting(const char* section, const char* key) {
    return lindrel::demo::ini::ReadString(env_->SettingsFile(), section, key, "<missing>");
  }

  std::unique_ptr<GuiTestEnvironment> env_;
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
