// The Compare Directories window: real comparisons of directory trees made by the tests,
// what the grid shows while and after the component scans, abort, errors, opening a row
// in the Compare Files window, the options and report-options dialogs, and settings.
// The clock and the beep are injected; the component's worker runs for real.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QtTest>

#include "GuiTestEnvironment.h"
#include "LiteralColours.h"
#include "ViewParts.h"
#include "demo/common/IniStrings.h"
#include "demo/common/UiTiming.h"
#include "demo/compare-dirs/CompareDirOptionsDialog.h"
#include "demo/compare-dirs/CompareDirReportOptionsDialog.h"
#include "demo/compare-dirs/CompareDirWindow.h"
#include "demo/compare-dirs/DirGridModel.h"
#include "demo/compare-files/CompareFilesOptionsDialog.h"
#include "demo/compare-files/CompareFilesWindow.h"
#include "demo/main/DemoApplication.h"
#include "demo/main/MainWindow.h"
#include "lindrel/widgets/LindrelWidget.h"
#include "widgets/ModalDialogsTesting.h"

using namespace lindrel::testing;

using lindrel::demo::CompareDirWindow;
using lindrel::demo::DirGridModel;
using lindrel::demo::DirGridRow;
using lindrel::demo::MainWindow;
using lindrel::testing::GuiTestEnvironment;
namespace widgets = lindrel::widgets;
using Icon = DirGridRow::Icon;

namespace {

template <typename T>
T* Find(QObject& parent, const char* name) {
  T* child = parent.findChild<T*>(QString::fromUtf8(name));
  if (child == nullptr) qWarning("no child %s", name);
  return child;
}

// The options the tests set on the window's component before a comparison.
struct Options {
  bool onlyInMaster = true;
  bool onlyInSource = true;
  bool content = true;
  bool same = false;
  bool different = true;
  bool subdirectories = true;
};

void SetOptions(CompareDirWindow& window, const Options& o) {
  auto* c = window.Lindrel1();
  c->SetDirShowOnlyInMaster(o.onlyInMaster);
  c->SetDirShowOnlyInSource(o.onlyInSource);
  c->SetDirContentCompare(o.content);
  c->SetDirShowSameInBothPlaces(o.same);
  c->SetDirShowDifferentInBothPlaces(o.different);
  c->SetDirDoSubDirectories(o.subdirectories);
  c->SetDirFileTypes("*.*");
  // The pause between entries is for busy machines, not for tests.
  c->SetDirThrottle(false);
}

QString RowText(const DirGridRow& row) {
  QStringList cells;
  for (const QString& cell : row.text) cells << cell;
  return cells.join('|');
}

}  // namespace

class CompareDirWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    clock_ = 5000;
    beeps_ = 0;
    env_ =
        std::make_unique<GuiTestEnvironment>(GuiTestEnvironment::SimulatedClock(clock_, &beeps_));
  }
  void cleanup() { env_.reset(); }

  void aComparisonStartedDuringTheLastDisplayPassOwnsTheStatus() {
    const QString master = Dir("m"), source = Dir("s");
    for (int i = 0; i < 60; ++i) {
      env_->Write(QString("m/f%1.txt").arg(i), "one\n");
      env_->Write(QString("s/f%1.txt").arg(i), "two\n");
    }
    CompareDirWindow window;
    SetOptions(window, {});
    window.Settings().streamFindings = false;
    window.CompareDirectoriesPair(master, source);
    // While the rows of the finished scan are being added, the user starts the next
    // comparison, a slow one (its scan pauses between entries).
    QStringList statuses;
    bool restarted = false;
    QTimer watch;
    watch.setInterval(0);
    connect(&watch, &QTimer::timeout, this, [&] {
      auto* c = window.Lindrel1();
      if (restarted) {
        statuses << window.StatusText(3);
      } else if (!c->GetDirCompareActive() && window.RecordsShown() > 0 &&
                 window.RecordsShown() < c->GetDirCompareResultsCount()) {
        restarted = true;
        c->SetDirThrottle(true);
        window.StartComparison();
      }
    });
    watch.start();
    QTRY_VERIFY_WITH_TIMEOUT(restarted && statuses.size() > 3, 20000);
    watch.stop();
    QVERIFY(window.Lindrel1()->GetDirCompareActive());
    for (const QString& status : statuses)
      QVERIFY2(!status.contains("Completed"), qPrintable(statuses.join(" | ")));
    window.Abort();
  }

  void aScanClosedBeforeItsEndNeverReadsAsCompleted() {
    const QString master = Dir("m"), source = Dir("s");
    for (int i = 0; i < 40; ++i) env_->Write(QString("m/f%1.txt").arg(i), "one\n");
    CompareDirWindow window;
    SetOptions(window, {});
    window.Lindrel1()->SetDirThrottle(true);  // slow enough to be closed while it runs
    window.show();
    window.CompareDirectoriesPair(master, source);
    QVERIFY(window.Lindrel1()->GetDirCompareActive());
    window.close();
    QTRY_VERIFY_WITH_TIMEOUT(
        !window.Lindrel1()->GetDirCompareActive() && !window.Timer1()->isActive(), 20000);
    QCOMPARE(window.StatusText(3), QString("Scan Aborted"));
  }

  void aScanIsStoppedByItsStopButtonOrEscAndEscClosesOnlyAnIdleWindow() {
    const QString master = Dir("m"), source = Dir("s");
    for (int i = 0; i < 200; ++i) env_->Write(QString("m/f%1.txt").arg(i), "one\n");
    MainWindow main(lindrel::demo::DemoChildFactories());
    main.show();
    main.ShowChild(MainWindow::kCompareDir);
    auto* window = qobject_cast<CompareDirWindow*>(main.Child(MainWindow::kCompareDir));
    QVERIFY(window != nullptr);
    SetOptions(*window, {});
    window->Lindrel1()->SetDirThrottle(true);  // 200 entries take seconds
    QVERIFY(window->StopButton()->isHidden());

    window->CompareDirectoriesPair(master, source);
    QTRY_VERIFY(window->StopButton()->isVisible());
    QCOMPARE(window->StopButton()->text(), QString("&Stop"));
    QTest::mouseClick(window->StopButton(), Qt::LeftButton);
    QVERIFY(!window->Lindrel1()->GetDirCompareActive());
    QCOMPARE(window->StatusText(3), QString("Scan Aborted"));
    QVERIFY(window->StopButton()->isHidden());

    // Esc during a scan stops it and leaves the window open; Esc afterwards closes it.
    window->Refresh_View();
    QTRY_VERIFY(window->StopButton()->isVisible());
    QTest::keyClick(window->Grid(), Qt::Key_Escape);
    QVERIFY(!window->Lindrel1()->GetDirCompareActive());
    QCOMPARE(window->StatusText(3), QString("Scan Aborted"));
    QVERIFY(main.IsChildVisible(MainWindow::kCompareDir));
    QTest::keyClick(window->Grid(), Qt::Key_Escape);
    QVERIFY(!main.IsChildVisible(MainWindow::kCompareDir));
  }

  void subfoldersLeftOutAreNamedWhenTheComparisonEnds() {
    const QString master = Dir("m"), source = Dir("s");
    for (const char* folder : {"one", "two", "three"}) {
      env_->Write(QString("m/%1/a.txt").arg(folder), "one\n");
      env_->Write(QString("s/%1/a.txt").arg(folder), "two\n");
    }
    CompareDirWindow window;
    Options options;
    options.subdirectories = false;
    SetOptions(window, options);
    window.CompareDirectoriesPair(master, source);
    WaitForCompletion(window);
    QCOMPARE(
        window.StatusText(3),
        QString(
            "Compare Completed; 3 subfolders were not compared (Look in SUBDIRECTORIES is off)"));
    SetOptions(window, {});
    window.Refresh_View();
    WaitForCompletion(window);
    QCOMPARE(window.StatusText(3), QString("Compare Completed"));
  }

  void comparisonThatKeepsNothingShowsTheRootRowWithDirectoryIcons() {
    const QString master = Dir("m"), source = Dir("s");
    SameTime(env_->Write("m/same.txt", "one\n"), env_->Write("s/same.txt", "one\n"));
    CompareDirWindow window;
    SetOptions(window, {});
    // The scan takes 1.5 s of the injected clock.
    connect(window.Lindrel1(), &widgets::LindrelWidget::DirCompareStarted, this,
            [this] { clock_ += 1500; });
    window.CompareDirectoriesPair(master, source);
    WaitForCompletion(window);

    const DirGridModel& grid = window.GridModel();
    QCOMPARE(grid.GridRowCount(), 2);
    const DirGridRow& root = grid.Row(1);
    QCOMPARE(RowText(root), "     " + master + "/|     " + source + "/|  | | ");
    QCOMPARE(root.icon[0], Icon::Directory);
    QCOMPARE(root.icon[1], Icon::Directory);
    QCOMPARE(root.icon[2], Icon::None);
    for (size_t c = 0; c < 5; ++c) QVERIFY(!root.fore[c].isValid() && !root.back[c].isValid());
    // What the view is given for the row, through the model.
    QCOMPARE(grid.rowCount(), 1);
    QVERIFY(!grid.data(grid.index(0, 0), Qt::DecorationRole).value<QIcon>().isNull());
    QStringList headings;
    for (int c = 0; c < 5; ++c)
      headings << grid.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    QCOMPARE(headings, (QStringList{"[M] Master Directory", "[S] Source Directory", "Contents",
                                    "Size", "Date"}));

    QCOMPARE(window.StatusText(2), QString("Files: 0  Dirs: 1"));
    QVERIFY(window.StatusText(3).endsWith("Compare Completed"));
    QCOMPARE(window.StatusText(5), QString("1.5 (Sec)"));
    QCOMPARE(window.StatusText(1), QString(CompareDirWindow::kHint));
    QVERIFY(!window.ViewReportButton()->isHidden());
    QVERIFY(window.ErrorList()->isHidden());
    QCOMPARE(beeps_, 1);
  }

  void rowsShowEachKindOfRecordWithItsTextsIconsAndColours() {
    const QString master = Dir("m"), source = Dir("s");
    SameTime(env_->Write("m/changed.txt", "one\n"), env_->Write("s/changed.txt", "two\n"));
    env_->Write("m/gone.txt", "x\n");
    env_->Write("s/new/inside.txt", "y\n");
    CompareDirWindow window;
    SetOptions(window, {});
    window.CompareDirectoriesPair(master, source);
    WaitForCompletion(window);

    // Index the rows by what they name; the scan decides their order.
    QMap<QString, DirGridRow> rows;
    const DirGridModel& grid = window.GridModel();
    for (int r = 2; r < grid.GridRowCount(); ++r) {
      const DirGridRow& row = grid.Row(r);
      rows.insert((row.text[0] + row.text[1]).trimmed(), row);
    }
    // A directory on one side only is listed, not walked.
    QCOMPARE(rows.keys(),
             (QStringList{source + "/new/", "changed.txt       changed.txt", "gone.txt"}));
    const DirGridRow changed = rows["changed.txt       changed.txt"];
    QCOMPARE(RowText(changed), QString("       changed.txt|       changed.txt|CHANGED| | "));
    QCOMPARE(changed.icon[0], Icon::File);
    QCOMPARE(changed.icon[1], Icon::File);
    QCOMPARE(changed.fore[0], colours::kChanged);
    QCOMPARE(changed.fore[2], colours::kChanged);
    QCOMPARE(changed.back[1], colours::kChange);
    QVERIFY(!changed.fore[3].isValid() && !changed.back[4].isValid());  // size and date equal

    const DirGridRow gone = rows["gone.txt"];
    QCOMPARE(RowText(gone), QString("       gone.txt|    |  | | "));
    QCOMPARE(gone.icon[0], Icon::File);
    QCOMPARE(gone.icon[1], Icon::None);
    QCOMPARE(gone.fore[0], colours::kOnlyInMaster);
    QCOMPARE(gone.back[0], colours::kChange);
    QCOMPARE(gone.back[1], colours::kChange);
    QVERIFY(!gone.fore[1].isValid());

    const DirGridRow newDir = rows[source + "/new/"];
    QCOMPARE(RowText(newDir), "     |     " + source + "/new/|  | | ");
    QCOMPARE(newDir.icon[0], Icon::None);
    QCOMPARE(newDir.icon[1], Icon::Directory);
    QCOMPARE(newDir.fore[1], colours::kOnlyInSource);
    QCOMPARE(newDir.back[0], colours::kChange);
    QCOMPARE(window.StatusText(2), QString("Files: 2  Dirs: 2"));

    // The order and the size and date columns, straight from the record flags.
    lindrel::demo::DirRecord older;
    older.isFile = 1;
    older.fileName = "f";
    older.sizeDifferent = -1;
    older.dateDifferent = 1;
    older.contentDifferent = 2;
    const DirGridRow flagged = lindrel::demo::BuildDirGridRow(older);
    QCOMPARE(RowText(flagged), QString("       f|       f|ERR: File|[S] > [M]|[M] > [S]"));
    for (size_t c = 0; c < 5; ++c) QCOMPARE(flagged.fore[c], colours::kChanged);
  }

  void streamingAddsBatchesOfTwentyWhileActiveAndTheRestOnTheTickAfter() {
    const QString master = Dir("m"), source = Dir("s");
    MakeSlowTree();
    CompareDirWindow window;
    SetOptions(window, {});
    SlowDown(window);
    window.Settings().streamFindings = true;
    // The test gives the ticks itself.
    connect(window.Lindrel1(), &widgets::LindrelWidget::DirCompareStarted, &window,
            [&window] { window.Timer1()->stop(); });
    window.CompareDirectoriesPair(master, source);
    auto* c = window.Lindrel1();
    QVERIFY(c->GetDirCompareActive());

    int fullBatches = 0;
    while (window.RecordsShown() < 45) {
      QTRY_VERIFY(c->GetDirCompareResultsCount() - window.RecordsShown() > 20 ||
                  !c->GetDirCompareActive());
      if (!c->GetDirCompareActive()) QFAIL("the scan ended before the test could stream");
      const long before = window.RecordsShown();
      window.Timer1_Timer();
      QVERIFY2(window.StatusText(3) != "Compare Completed", "the scan ended while streaming");
      QCOMPARE(window.RecordsShown() - before, 20L);
      QCOMPARE(window.GridModel().rowCount(), int(window.RecordsShown()));  // the view has them
      ++fullBatches;
    }
    QCOMPARE(fullBatches, 3);
    QCOMPARE(window.StatusText(2),
             QString("Files: %1  Dirs: %2").arg(60 - Dirs(window)).arg(Dirs(window)));

    QTRY_VERIFY_WITH_TIMEOUT(!c->GetDirCompareActive(), 20000);
    const long total = c->GetDirCompareResultsCount();
    QVERIFY(total >= 1 + 10 * 30);
    window.Timer1_Timer();
    QCOMPARE(window.StatusText(3), QString("Compare Completed"));
    QCOMPARE(window.RecordsShown(), total);
    QCOMPARE(window.GridModel().rowCount(), int(total));
    QVERIFY(!window.Timer1()->isActive());
  }

  void abortKeepsTheRowsShownAndCompletionNeverFollows() {
    const QString master = Dir("m"), source = Dir("s");
    MakeSlowTree();
    CompareDirWindow window;
    window.resize(800, 400);
    window.show();
    SetOptions(window, {});
    SlowDown(window);
    window.Settings().streamFindings = true;
    window.CompareDirectoriesPair(master, source);
    auto* c = window.Lindrel1();
    QVERIFY(window.Timer1()->isActive());
    QTRY_VERIFY(window.RecordsShown() >= 1);
    QVERIFY(c->GetDirCompareActive());

    // The state text is what the user clicks.
    QTest::mouseClick(Find<QLabel>(window, "sbStatusPanel3"), Qt::LeftButton);
    QVERIFY(!c->GetDirCompareActive());
    QVERIFY(!window.Timer1()->isActive());
    QCOMPARE(window.StatusText(3), QString("Scan Aborted"));
    const long shown = window.RecordsShown();
    QVERIFY(shown >= 1);
    QTest::qWait(150);  // several ticks' worth
    QCOMPARE(window.StatusText(3), QString("Scan Aborted"));
    QCOMPARE(window.RecordsShown(), shown);
    QCOMPARE(window.GridModel().GridRowCount(), int(shown) + 1);
    QVERIFY(window.ViewReportButton()->isHidden());
    QCOMPARE(beeps_, 0);

    // Once nothing runs, a click leaves the state text alone.
    QTest::mouseClick(Find<QLabel>(window, "sbStatusPanel3"), Qt::LeftButton);
    QCOMPARE(window.StatusText(3), QString("Scan Aborted"));
  }

  void displayPassesNeverNestNorOutliveTheirGrid() {
    for (int f = 0; f < 60; ++f) env_->Write(QString("m/f%1.txt").arg(f, 2, 10, QChar('0')), "x\n");
    CompareDirWindow window;
    SetOptions(window, {});
    window.CompareDirectoriesPair(Dir("m"), Dir("s"));
    WaitForCompletion(window);
    const long total = window.Lindrel1()->GetDirCompareResultsCount();
    QCOMPARE(total, 61L);

    // A tick handled between two rows (the pass lets messages run) adds nothing itself.
    window.ClearGridbox();
    long shownInNestedTick = -1;
    QTimer::singleShot(0, &window, [&] {
      window.Timer1_Timer();
      shownInNestedTick = window.RecordsShown();
    });
    window.AddResultsToGrid(0);
    QCOMPARE(shownInNestedTick, 1L);
    QCOMPARE(window.RecordsShown(), total);
    QCOMPARE(window.GridModel().GridRowCount(), int(total) + 1);
    for (int r = 1; r <= total; ++r) {
      lindrel::demo::DirRecord rec;
      QVERIFY(window.Lindrel1()->DirCompareResultsGet(
          r - 1, rec.fileName, rec.dirMaster, rec.dirSource, rec.isFile, rec.onlyInSource,
          rec.onlyInMaster, rec.sizeDifferent, rec.dateDifferent, rec.contentDifferent));
      QCOMPARE(RowText(window.GridModel().Row(r)), RowText(lindrel::demo::BuildDirGridRow(rec)));
    }

    // A grid emptied between two rows (a new comparison) ends the pass that was filling it.
    window.ClearGridbox();
    QTimer::singleShot(0, &window, [&] { window.ClearGridbox(); });
    window.AddResultsToGrid(0);
    QCOMPARE(window.RecordsShown(), 0L);
    QCOMPARE(window.GridModel().GridRowCount(), 1);
    QCOMPARE(window.GridModel().rowCount(), 0);
    QVERIFY(window.Grid()->updatesEnabled());
  }

  void emptyMasterDirectoryShowsError508InTheErrorList() {
    CompareDirWindow window;
    window.resize(800, 400);
    window.show();
    QVERIFY(window.ErrorList()->isHidden());
    QCOMPARE(window.ErrorLines(), QStringList{"Error Event Messages Received"});
    QSignalSpy errors(window.Lindrel1(), &widgets::LindrelWidget::OnError);
    QSignalSpy started(window.Lindrel1(), &widgets::LindrelWidget::DirCompareStarted);
    RunOptionsDialog(window, [&](QDialog& d) {
      Find<QComboBox>(d, "cbMasterDirectory")->setEditText("");
      Find<QComboBox>(d, "cbSourceDirectory")->setEditText(Dir("s"));
      Find<QPushButton>(d, "cmdCompareDirectories")->click();
    });
    QCOMPARE(errors.count(), 1);
    QCOMPARE(errors[0][0].toLongLong(), 508LL);
    QCOMPARE(started.count(), 0);
    QVERIFY(window.ErrorList()->isVisible());
    QCOMPARE(window.ErrorLines(),
             (QStringList{"Error Event Messages Received", "Error: Invalid Search Path: "}));
    // The properties were written all the same.
    QCOMPARE(window.Lindrel1()->GetDirMaster(), QString());
    QVERIFY(!window.Lindrel1()->GetDirSource().isEmpty());

    // The next comparison starts with the list reset and hidden.
    env_->Write("m/a.txt", "a\n");
    window.CompareDirectoriesPair(Dir("m"), Dir("s"));
    QVERIFY(window.ErrorList()->isHidden());
    QCOMPARE(window.ErrorLines(), QStringList{"Error Event Messages Received"});
    WaitForCompletion(window);
  }

  void doubleClickOpensTheFilePairInTheCompareFilesDialog() {
    const QString master = Dir("m"), source = Dir("s");
    env_->Write("m/a file.txt", "one\n");
    env_->Write("s/a file.txt", "two\n");
    MainWindow main(lindrel::demo::DemoChildFactories());
    main.resize(1000, 700);
    main.show();
    const QString dirName = MainWindow::kCompareDir;
    auto* window = dynamic_cast<CompareDirWindow*>(main.LoadChild(dirName));
    QVERIFY(window != nullptr);
    main.ShowChild(dirName);
    SetOptions(*window, {});
    window->CompareDirectoriesPair(master, source);
    WaitForCompletion(*window);
    QCOMPARE(window->GridModel().GridRowCount(), 3);

    QStringList seen;
    bool accept = false;
    widgets::TEST_SetModalHandler([&](QDialog& d) {
      auto* options = qobject_cast<lindrel::demo::CompareFilesOptionsDialog*>(&d);
      seen << d.objectName() + "|" +
                  (options ? options->MasterFile() + "|" + options->SourceFile() : "");
      if (accept) Find<QPushButton>(d, "cmdCompareFiles")->click();
    });
    QTableView* grid = window->Grid();
    QTest::qWait(0);
    const QRect fileCell = grid->visualRect(grid->model()->index(1, 0));
    QVERIFY(fileCell.isValid());
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, fileCell.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, fileCell.center());
    QCOMPARE(seen, QStringList{"frmCompareFilesOptions|" + master + "/a file.txt|" + source +
                               "/a file.txt"});
    // Cancelled: the Compare Files window compared nothing.
    auto* files =
        qobject_cast<lindrel::demo::CompareFilesWindow*>(main.Child(MainWindow::kCompareFiles));
    QVERIFY(files != nullptr);
    QVERIFY(files->MasterFileName().isEmpty());

    // The heading row opens nothing.
    QHeaderView* heading = grid->horizontalHeader();
    QTest::mouseDClick(heading->viewport(), Qt::LeftButton, {},
                       QPoint(heading->sectionViewportPosition(0) + 5, heading->height() / 2));
    window->OpenRow(0);
    QCOMPARE(seen.size(), 1);

    // Enter on the current row, accepted: the pair is compared in the Compare Files window.
    accept = true;
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(1, 0));
    QTest::keyClick(grid, Qt::Key_Return);
    QCOMPARE(seen.size(), 2);
    QCOMPARE(files->MasterFileName(), master + "/a file.txt");
    QCOMPARE(files->SourceFileName(), source + "/a file.txt");
    QTRY_COMPARE(files->StatusText(3), QString("File Compare Completed"));
  }

  void cancelChangesNothingAndStartsNothing() {
    CompareDirWindow window;
    SetOptions(window, {});
    window.MasterHistory().Add(Dir("old"));
    QVERIFY(window.MasterHistory().Save(CompareDirWindow::kMasterHistorySection));
    const QByteArray iniBefore = GuiTestEnvironment::Read(env_->SettingsFile());
    QSignalSpy started(window.Lindrel1(), &widgets::LindrelWidget::DirCompareStarted);
    QSignalSpy changed(window.Lindrel1(), &widgets::LindrelWidget::PropertyChanged);

    auto meddle = [&](QDialog& d) {
      for (QCheckBox* box : d.findChildren<QCheckBox*>()) box->toggle();
      Find<QComboBox>(d, "cbMasterDirectory")->setEditText(Dir("m"));
      Find<QComboBox>(d, "cbSourceDirectory")->setEditText(Dir("s"));
      Find<QComboBox>(d, "cbFileExt")->setEditText("*.txt");
    };
    bool cancelled = false;
    RunOptionsDialog(window, [&](QDialog& d) {
      meddle(d);
      Find<QPushButton>(d, "cbCancel")->click();
      cancelled = static_cast<lindrel::demo::CompareDirOptionsDialog&>(d).Cancelled();
    });
    QVERIFY(cancelled);
    RunOptionsDialog(window, [&](QDialog& d) {
      meddle(d);
      QTest::keyClick(&d, Qt::Key_Escape);
    });
    // A folder name holding a NUL (the bytes before it name a folder here) is refused as
    // such: the dialog stays open, and is then cancelled.
    RunOptionsDialog(window, [&](QDialog& d) {
      meddle(d);
      Find<QComboBox>(d, "cbMasterDirectory")->setEditText(Dir("m") + QChar(0) + "x");
      Find<QPushButton>(d, "cmdCompareDirectories")->click();
      QVERIFY(d.isVisible());
    });
    QCOMPARE(GuiTestEnvironment::ShownMessages(),
             QStringList{"Compare Directories|A name cannot hold a NUL byte: " + Dir("m") +
                         QChar(0x2400) + "x"});

    QCOMPARE(started.count(), 0);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(window.MasterHistory().Items(), QStringList{Dir("old")});
    QVERIFY(window.SourceHistory().IsEmpty() && window.FileTypesHistory().IsEmpty());
    QCOMPARE(GuiTestEnvironment::Read(env_->SettingsFile()), iniBefore);
    QVERIFY(!window.Settings().streamFindings);
    QVERIFY(window.Settings().beepWhenDone);
    QCOMPARE(window.StatusText(3), QString());
  }

  void compareButtonStoresEverythingBeforeTheComparisonStarts() {
    SameTime(env_->Write("m/a.txt", "a\n"), env_->Write("s/a.txt", "a\n"));
    CompareDirWindow window;
    SetOptions(window, {true, true, false, false, false, false});
    QString streamAtStart, masterAtStart;
    connect(window.Lindrel1(), &widgets::LindrelWidget::DirCompareStarted, this, [&] {
      streamAtStart = Setting("CompareDir", "StreamFindings");
      masterAtStart = window.Lindrel1()->GetDirMaster();
    });

    QStringList captions;
    RunOptionsDialog(window, [&](QDialog& d) {
      for (QCheckBox* box : d.findChildren<QCheckBox*>())
        captions << box->objectName() + "=" + box->text();
      auto* content = Find<QCheckBox>(d, "cbCompareFileContents");
      auto* frame = Find<QGroupBox>(d, "frameFileContent");
      QVERIFY(!content->isChecked() && !frame->isEnabled());  // follows the property at once
      content->setChecked(true);
      QVERIFY(frame->isEnabled());
      QVERIFY(Find<QCheckBox>(d, "cbDontStreamResults")->isChecked());  // streaming is off
      Find<QCheckBox>(d, "cbDontStreamResults")->setChecked(false);
      Find<QCheckBox>(d, "cbShowSameInBothPlaces")->setChecked(true);
      Find<QCheckBox>(d, "cbLookInSubfolders")->setChecked(true);
      QVERIFY(!Find<QCheckBox>(d, "cbThrottleScan")->isChecked());  // follows DirThrottle
      Find<QCheckBox>(d, "cbThrottleScan")->setChecked(true);
      Find<QCheckBox>(d, "cbBeepWhenDone")->setChecked(false);
      Find<QComboBox>(d, "cbMasterDirectory")->setEditText(Dir("m"));
      Find<QComboBox>(d, "cbSourceDirectory")->setEditText(Dir("s"));
      Find<QComboBox>(d, "cbFileExt")->setEditText("*.txt");
      Find<QPushButton>(d, "cmdCompareDirectories")->click();
    });
    QVERIFY(captions.contains(
        "cbShowDifferentInBothPlaces=Show Files whose CONTENT is  &DIFFERENT in both places"));
    QVERIFY(captions.contains("cbDontStreamResults=Show all findings at &END of search (Faster)"));
    QCOMPARE(streamAtStart, QString("TRUE"));
    QCOMPARE(masterAtStart, Dir("m") + "/");
    auto* c = window.Lindrel1();
    QVERIFY(c->GetDirContentCompare() && c->GetDirShowSameInBothPlaces() &&
            c->GetDirDoSubDirectories());
    QVERIFY(c->GetDirThrottle());
    QVERIFY(!c->GetDirShowDifferentInBothPlaces());
    QCOMPARE(c->GetDirFileTypes(), QString("*.txt"));
    QVERIFY(window.Settings().streamFindings);
    QVERIFY(!window.Settings().beepWhenDone);
    WaitForCompletion(window);
    QCOMPARE(window.GridModel().GridRowCount(), 3);  // the same a.txt is kept
    QCOMPARE(beeps_, 0);

    // A second directory typed by hand is first and selected next time; the history keeps
    // both, and so does the settings file.
    RunOptionsDialog(window, [&](QDialog& d) {
      Find<QComboBox>(d, "cbMasterDirectory")->setEditText(Dir("other"));
      Find<QPushButton>(d, "cmdCompareDirectories")->click();
    });
    WaitForCompletion(window);
    QStringList offered;
    RunOptionsDialog(window, [&](QDialog& d) {
      auto* box = Find<QComboBox>(d, "cbMasterDirectory");
      for (int i = 0; i < box->count(); ++i) offered << box->itemText(i);
      offered << QString::number(box->currentIndex()) << box->currentText();
      QVERIFY(!Find<QCheckBox>(d, "cbDontStreamResults")->isChecked());
      Find<QPushButton>(d, "cbCancel")->click();
    });
    QCOMPARE(offered, (QStringList{Dir("other"), Dir("m"), "0", Dir("other")}));
    QCOMPARE(Setting("MasterSearchPath", "MasterSearchPath20"), Dir("other"));
    QCOMPARE(Setting("MasterSearchPath", "MasterSearchPath19"), Dir("m"));
    QCOMPARE(Setting("FileExt", "FileExt20"), QString("*.txt"));

    // Refresh repeats the last comparison without asking.
    const int dialogs = widgets::TEST_ModalDialogs().size();
    window.Refresh_View();
    QCOMPARE(widgets::TEST_ModalDialogs().size(), dialogs);
    QCOMPARE(window.Lindrel1()->GetDirMaster(), Dir("other") + "/");
    QCOMPARE(window.MasterHistory().NewestFirst(), (QStringList{Dir("other"), Dir("m")}));
    WaitForCompletion(window);
  }

  void reportIsTheTabFileAtTheCommaDelimitedPathOpenedAsOneArgument() {
    const QString log = env_->RecordOpenedFiles();
    env_->Write("m/a.txt", "a\n");
    CompareDirWindow window;
    SetOptions(window, {});
    QDir().mkpath(env_->Root() + "/my reports");
    const QString report = env_->Root() + "/my reports/dir report; rm -rf x.csv";
    RunReportOptions(window, [&](QDialog& d) {
      QCOMPARE(Find<QLineEdit>(d, "txtDefaultReportCSV")->text(), env_->Home() + "/TVKReport.CSV");
      QCOMPARE(Find<QTabWidget>(d, "tabReportOptions")->tabText(0),
               QString("Tab Delimited Report"));
      widgets::TEST_QueueFileAnswer(report);
      Find<QPushButton>(d, "cmdSelectReportFolderDefaultCSV")->click();
      QCOMPARE(Find<QLineEdit>(d, "txtDefaultReportCSV")->text(), report);
      Find<QPushButton>(d, "cmdOK")->click();
    });
    QCOMPARE(window.Settings().reportComma, report);
    window.CompareDirectoriesPair(Dir("m"), Dir("s"));
    WaitForCompletion(window);
    window.cmdViewReport_Click();
    const QList<QByteArray> lines = GuiTestEnvironment::Read(report).split('\n');
    QVERIFY(lines.size() >= 3);
    QVERIFY(lines[0].startsWith("Record\tFileName\tDirMaster"));
    QVERIFY(lines[2].startsWith("1\ta.txt\t"));
    QTRY_COMPARE(GuiTestEnvironment::Read(log), report.toUtf8() + "\n");

    // A report that cannot be written opens nothing; the error list says why.
    QFile::remove(log);
    window.Settings().reportComma = env_->Root() + "/no such folder/r.csv";
    window.mnuReportTabDelimitedFile_Click();
    QCOMPARE(window.ErrorLines().last(),
             "Error: Unable to open file:  " + env_->Root() + "/no such folder/r.csv");
    QTest::qWait(50);
    QVERIFY(!QFile::exists(log));

    // Cancel keeps the paths.
    RunReportOptions(window, [&](QDialog& d) {
      Find<QLineEdit>(d, "txtDefaultReportTXT")->setText("/elsewhere.txt");
      Find<QPushButton>(d, "cbCancel")->click();
    });
    QCOMPARE(window.Settings().reportText, env_->Home() + "/TVKReport.TXT");
  }

  void settingsSurviveARestart() {
    int folders = 0;
    {
      CompareDirWindow window;
      window.resize(900, 400);
      window.show();
      // Shown with nothing stored: the flag columns fit their longest entry, the folder
      // columns share the rest.
      QTRY_VERIFY(window.ColumnWidthTwips(4) > 720);
      QVERIFY(window.Grid()->columnWidth(4) >
              window.Grid()->fontMetrics().horizontalAdvance("[S] > [M]"));
      QVERIFY(window.ColumnWidthTwips(0) > 2880 &&
              window.ColumnWidthTwips(0) == window.ColumnWidthTwips(1));
      folders = window.ColumnWidthTwips(0);
      QCOMPARE(window.Grid()->font().family(), QFont("Courier New").family());
      window.Grid()->setColumnWidth(2, 300);
      window.mnuViewLegend_Click();
      QVERIFY(window.Legend()->isHidden());
      QFont font("DejaVu Sans", 11);
      font.setBold(true);
      widgets::TEST_QueueFontAnswer(font);
      window.Change_Font(true);
      widgets::TEST_QueueFontAnswer(std::nullopt);  // cancelled: no change
      window.Change_Font(true);
      window.Settings().beepWhenDone = false;
      window.Settings().reportHtml = "/tmp/r.htm";
      // A comparison in between keeps the widths.
      env_->Write("m/a.txt", "a\n");
      window.CompareDirectoriesPair(Dir("m"), Dir("s"));
      WaitForCompletion(window);
      QCOMPARE(window.Grid()->columnWidth(2), 300);
      window.close();
    }
    QCOMPARE(Setting("CompareDir", "Col3Width").toInt(), 300 * 15);
    QCOMPARE(Setting("CompareDir", "ShowLegend"), QString("FALSE"));
    QCOMPARE(Setting("General", "BeepWhenDone_CompareDir"), QString("FALSE"));
    QCOMPARE(Setting("CompareDir", "FontBold"), QString("TRUE"));
    // Not the window's to write: the dialog stores it.
    QCOMPARE(Setting("CompareDir", "StreamFindings"), QString("FALSE"));

    CompareDirWindow again;
    again.resize(900, 400);
    again.show();
    // Stored widths are the user's: kept as they were.
    QCOMPARE(again.Grid()->columnWidth(2), 300);
    QCOMPARE(again.ColumnWidthTwips(0), folders);
    QVERIFY(again.Legend()->isHidden());
    QCOMPARE(again.Grid()->font().pointSize(), 11);
    QVERIFY(again.Grid()->font().bold());
    QVERIFY(!again.Settings().beepWhenDone);
    QCOMPARE(again.Settings().reportHtml, QString("/tmp/r.htm"));
    QCOMPARE(again.MasterHistory().Items(), QStringList{Dir("m")});
    // Anything but "FALSE" reads as true.
    QVERIFY(
        lindrel::demo::ini::WriteString(env_->SettingsFile(), "CompareDir", "ShowLegend", "no"));
    CompareDirWindow third;
    QVERIFY(!third.Legend()->isHidden());
  }

  void ignoringDateDifferencesInTheDialogLeavesFilesThatDifferOnlyInTimeOut() {
    const QString master = Dir("m"), source = Dir("s");
    const QString older = env_->Write("m/touched.txt", "same\n");
    env_->Write("s/touched.txt", "same\n");
    QFile file(older);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime(QDate(2020, 1, 1), QTime(8, 0)),
                             QFileDevice::FileModificationTime));
    file.close();
    CompareDirWindow window;
    SetOptions(window, {});
    auto compare = [&](bool tick) {
      RunOptionsDialog(window, [&](QDialog& dialog) {
        auto* box = Find<QCheckBox>(dialog, "cbIgnoreDateDifferences");
        QVERIFY(box != nullptr);
        QCOMPARE(box->text(), QString("I&gnore Date Differences (sizes and contents only)"));
        if (box->isChecked() != tick) QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, 4));
        Find<QComboBox>(dialog, "cbMasterDirectory")->setEditText(master);
        Find<QComboBox>(dialog, "cbSourceDirectory")->setEditText(source);
        Find<QPushButton>(dialog, "cmdCompareDirectories")->click();
      });
      WaitForCompletion(window);
      QStringList rows;
      for (int row = 2; row < window.GridModel().GridRowCount(); ++row)
        rows << RowText(window.GridModel().Row(row));
      return rows;
    };
    QCOMPARE(compare(false), QStringList{"       touched.txt|       touched.txt|  | |[S] > [M]"});
    QCOMPARE(compare(true), QStringList{});
    QVERIFY(window.Lindrel1()->GetDirIgnoreDateDifferences());
    // The dialog opens with the box as the component has it.
    RunOptionsDialog(window, [&](QDialog& dialog) {
      QVERIFY(Find<QCheckBox>(dialog, "cbIgnoreDateDifferences")->isChecked());
    });
  }

  void foldersFromTheCommandLineAreComparedWholeWithoutPausesAndKeepTheStoredOptions() {
    const QString master = Dir("m"), source = Dir("s");
    env_->Write("m/deep/sub/x.txt", "one\n");
    env_->Write("s/deep/sub/x.txt", "two\n");
    // Enough entries that a scan pausing between them would need at least 5 seconds.
    for (int i = 0; i < 120; ++i) env_->Write(QString("m/f%1.txt").arg(i), "a\n");
    {
      // What the user chose in the dialog last time: the top folder only, with pauses.
      CompareDirWindow stored;
      stored.Lindrel1()->SetDirDoSubDirectories(false);
      stored.Lindrel1()->SetDirThrottle(true);
    }
    {
      MainWindow main(lindrel::demo::DemoChildFactories());
      main.show();
      lindrel::demo::OpenFromCommandLine(main, {master, source});
      auto* window = qobject_cast<CompareDirWindow*>(main.Child(MainWindow::kCompareDir));
      QVERIFY(window != nullptr);
      WaitForCompletion(*window);
      QCOMPARE(window->StatusText(3), QString("Compare Completed"));
      QStringList changed;
      for (int row = 1; row < window->GridModel().GridRowCount(); ++row) {
        const DirGridRow& r = window->GridModel().Row(row);
        if (r.text[2] == "CHANGED") changed << r.text[0].trimmed();
      }
      QCOMPARE(changed, QStringList{"x.txt"});
      QVERIFY2(window->Lindrel1()->GetDirCompareTime() < 4000,
               qPrintable(QString::number(window->Lindrel1()->GetDirCompareTime())));
      QVERIFY(!window->Lindrel1()->GetDirDoSubDirectories());
      QVERIFY(window->Lindrel1()->GetDirThrottle());
    }
    CompareDirWindow next;
    QVERIFY(!next.Lindrel1()->GetDirDoSubDirectories());
    QVERIFY(next.Lindrel1()->GetDirThrottle());
  }

  void mainWindowShowsTheMenusOfThisWindowAndOpensItFromTheCommandLine() {
    const QString master = Dir("m"), source = Dir("s");
    env_->Write("m/a.txt", "a\n");
    MainWindow main(lindrel::demo::DemoChildFactories());
    main.show();
    lindrel::demo::OpenFromCommandLine(main, {master, source});
    auto* window = qobject_cast<CompareDirWindow*>(main.Child(MainWindow::kCompareDir));
    QVERIFY(window != nullptr);
    QVERIFY(main.IsChildVisible(MainWindow::kCompareDir));
    QCOMPARE(window->Lindrel1()->GetDirMaster(), master + "/");
    WaitForCompletion(*window);
    QVERIFY(window->GridModel().GridRowCount() >= 2);
    QVERIFY(widgets::TEST_Messages().isEmpty());

    const auto& menus = main.Menus();
    QVERIFY(menus.mnuReport->menuAction()->isVisible());
    QVERIFY(menus.mnuReportTabDelimitedFile->isVisible());
    QVERIFY(!menus.mnuReportHTMLFile->isVisible());
    QVERIFY(!menus.mnuSwap->isVisible());
    QVERIFY(main.ToolbarButton(MainWindow::kCompareDir)->isChecked());

    // The main window's Refresh reaches this window.
    QSignalSpy started(window->Lindrel1(), &widgets::LindrelWidget::DirCompareStarted);
    menus.mnuRefresh->trigger();
    QCOMPARE(started.count(), 1);
    WaitForCompletion(*window);

    // Escape closes it; the toolbar lets go of its button.
    QTest::keyClick(window->Grid(), Qt::Key_Escape);
    QVERIFY(!main.IsChildVisible(MainWindow::kCompareDir));
    QVERIFY(!main.ToolbarButton(MainWindow::kCompareDir)->isChecked());
  }

 private:
  QString Dir(const QString& name) {
    const QString path = env_->Root() + "/" + name;
    QDir().mkpath(path);
    return path;
  }

  // Ten subdirectories on both sides, with 30 files each only in master.
  void MakeSlowTree() {
    for (int d = 0; d < 10; ++d) Dir(QString("s/d%1").arg(d));
    for (int d = 0; d < 10; ++d)
      for (int f = 0; f < 30; ++f) env_->Write(QString("m/d%1/f%2.txt").arg(d).arg(f), "x\n");
  }

  // The component pauses a millisecond for every entry it lists.
  static void SlowDown(CompareDirWindow& window) {
    window.Lindrel1()->SetDirThrottle(true);
    window.Lindrel1()->SetThreadPriority(4);
  }

  static void SameTime(const QString& a, const QString& b) {
    const QDateTime when(QDate(2024, 5, 1), QTime(12, 0));
    for (const QString& path : {a, b}) {
      QFile file(path);
      QVERIFY(file.open(QIODevice::ReadWrite));
      QVERIFY(file.setFileTime(when, QFileDevice::FileModificationTime));
    }
  }

  static int Dirs(const CompareDirWindow& window) {
    int dirs = 0;
    for (int r = 1; r < window.GridModel().GridRowCount(); ++r)
      if (!window.GridModel().Row(r).isFile) ++dirs;
    return dirs;
  }

  void WaitForCompletion(CompareDirWindow& window) {
    // The tick that finds the scan over and the completion event may come in either order.
    QTRY_VERIFY2_WITH_TIMEOUT(
        !window.Lindrel1()->GetDirCompareActive() && !window.Timer1()->isActive() &&
            !window.ViewReportButton()->isHidden() &&
            window.RecordsShown() == window.Lindrel1()->GetDirCompareResultsCount() &&
            window.StatusText(3).contains("Compare Completed"),
        qPrintable(QString("active %1, timer %2, status '%3', errors %4")
                       .arg(window.Lindrel1()->GetDirCompareActive())
                       .arg(window.Timer1()->isActive())
                       .arg(window.StatusText(3))
                       .arg(window.ErrorLines().join("; "))),
        20000);
  }

  void RunOptionsDialog(CompareDirWindow& window, std::function<void(QDialog&)> handler) {
    widgets::TEST_SetModalHandler(std::move(handler));
    window.CompareDirectories();
    widgets::TEST_SetModalHandler({});
  }

  void RunReportOptions(CompareDirWindow& window, std::function<void(QDialog&)> handler) {
    widgets::TEST_SetModalHandler(std::move(handler));
    window.ReportOptions();
    widgets::TEST_SetModalHandler({});
  }

  QString Setting(const char* section, const char* key) {
    return lindrel::demo::ini::ReadString(env_->SettingsFile(), section, key, "<missing>");
  }

  std::unique_ptr<GuiTestEnvironment> env_;
  long clock_ = 0;
  int beeps_ = 0;
};

QTEST_MAIN(CompareDirWindowTest)
#include "CompareDirWindowTest.moc"
