// The Compare Files window: running a comparison through its component, what it shows
// afterwards, its settings, fonts, views, scrolling, and its place in the main window.
// Pauses and the clock are injected: a pause advances the clock and lets messages run.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTextEdit>
#include <QToolBar>
#include <QtTest>

#include "GuiTestEnvironment.h"
#include "ViewParts.h"
#include "demo/common/FileNames.h"
#include "demo/common/IniStrings.h"
#include "demo/common/ProgramState.h"
#include "demo/common/UiTiming.h"
#include "demo/compare-files/CompareFilesOptionsDialog.h"
#include "demo/compare-files/CompareFilesWindow.h"
#include "demo/compare-files/LegendBar.h"
#include "demo/compare-files/PleaseWaitWindow.h"
#include "demo/main/DemoApplication.h"
#include "demo/main/MainWindow.h"
#include "lindrel/widgets/LindrelWidget.h"
#include "widgets/ModalDialogsTesting.h"
#include "widgets/view/AllInOneModel.h"
#include "widgets/view/ChangeMap.h"
#include "widgets/view/ComparisonGrid.h"
#include "widgets/view/FileGridModel.h"
#include "widgets/view/WrappedLineCounter.h"

using namespace lindrel::testing;

using lindrel::demo::CompareFilesWindow;
using lindrel::demo::MainWindow;
using lindrel::testing::GuiTestEnvironment;
using lindrel::widgets::ComparisonGrid;
using lindrel::widgets::RowBack;
using lindrel::widgets::WrappedLineCounter;
namespace widgets = lindrel::widgets;

namespace {

const QByteArray kMaster = "alpha\r\nbeta\r\ngamma\r\ndelta\r\nepsilon\r\nzeta\r\n";
// beta changed, delta deleted, two lines added after zeta.
const QByteArray kSource = "alpha\r\nBETA\r\ngamma\r\nepsilon\r\nzeta\r\neta\r\ntheta\r\n";

}  // namespace

class CompareFilesWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    clock_ = 1000;
    pauses_.clear();
    statusAtPauses_.clear();
    beeps_ = 0;
    env_ = std::make_unique<GuiTestEnvironment>(
        GuiTestEnvironment::SimulatedClock(clock_, &beeps_, [this](int ms) {
          pauses_ << ms;
          if (window_) statusAtPauses_ << window_->StatusText(3);
          if (onPause_) onPause_();
        }));
  }
  void cleanup() {
    window_ = nullptr;
    onPause_ = nullptr;
    env_.reset();
  }

  void comparisonWithDifferencesShowsPaddedColouredGrids() {
    CompareFilesWindow window;
    window_ = &window;
    const QString master = env_->Write("master.txt", kMaster);
    const QString source = env_->Write("source.txt", kSource);
    window.ComparePair(master, source);
    QCOMPARE(pauses_, (QList<int>{10, 1000, 10}));
    QCOMPARE(statusAtPauses_,
             (QStringList{"Comparing files.... Please wait.", "Comparing files.... Please wait.",
                          "File Compare In Process..."}));
    QVERIFY(!PleaseWait(window)->isVisible());
    WaitForCompletion(window);

    QVERIFY(GuiTestEnvironment::ShownMessages().isEmpty());
    QCOMPARE(window.StatusText(5), QString("1.01 (Sec)"));  // 10 + 1000 + 10 ms paused
    QVERIFY(!ViewReportButton(window)->isHidden());
    QVERIFY(!ViewFormatButton(window)->isHidden());
    QCOMPARE(window.windowTitle(), QString("Compare File Results: 3 Differences found"));
    QCOMPARE(RecordCount(window), 3);
    QCOMPARE(CurrentChange(window), 1);
    QCOMPARE(beeps_, 1);  // beep when done is on by default
    QVERIFY(!lindrel::demo::BusyPointerShown());

    const auto& m = MasterModel(window);
    const auto& s = SourceModel(window);
    QCOMPARE(m.HeaderText(), "[Master] " + master);
    QCOMPARE(s.HeaderText(), "[Source] " + source);
    QCOMPARE(MasterLineCount(window), 6);
    QCOMPARE(SourceLineCount(window), 7);
    QCOMPARE(m.GridRowCount(), 9);
    QCOMPARE(s.GridRowCount(), 9);
    QStringList rows;
    for (int r = 1; r < m.GridRowCount(); ++r)
      rows << m.NumberText(r).trimmed() + ":" + m.LineText(r) + "|" + s.NumberText(r).trimmed() +
                  ":" + s.LineText(r);
    QCOMPARE(rows, (QStringList{"1:alpha|1:alpha", "2:beta|2:BETA", "3:gamma|3:gamma", "4:delta|:",
                                "5:epsilon|4:epsilon", "6:zeta|5:zeta", ":|6:eta", ":|7:theta"}));
    QCOMPARE(m.Row(2).fore, lindrel::widgets::RowFore::Changed);
    QCOMPARE(m.Row(4).fore, lindrel::widgets::RowFore::OnlyInMaster);
    QCOMPARE(s.Row(7).fore, lindrel::widgets::RowFore::OnlyInSource);
    QVERIFY(s.IsDifferenceRow(4) && m.IsDifferenceRow(8) && !m.IsDifferenceRow(5));

    // The all-in-one view is built the first time it is shown, once per comparison.
    QSignalSpy builds(&AllInOne(window), &QAbstractItemModel::modelReset);
    cmdCompareFilesViewFormat_Click(window);
    QCOMPARE(ViewFormatButton(window)->text(), QString("Side By Side"));
    QCOMPARE(ViewFormatButton(window)->toolTip(),
             QString("Change Views to/from Side By Side to All In One"));
    QVERIFY(AllInOneShown(window));
    const auto& all = AllInOne(window);
    QCOMPARE(all.HeaderText(), "[Master] " + master + "  [Source] " + source);
    QStringList merged;
    for (int r = 1; r < all.GridRowCount(); ++r)
      merged << all.CellText(r, 0).trimmed() + "|" + all.CellText(r, 1) + "|" +
                    all.CellText(r, 2).trimmed();
    QCOMPARE(merged, (QStringList{"1|alpha|1", "2|BETA|2", "3|gamma|3", "4|delta|", "5|epsilon|4",
                                  "6|zeta|5", "|eta|6", "|theta|7"}));
    cmdCompareFilesViewFormat_Click(window);
    QCOMPARE(ViewFormatButton(window)->text(), QString("All In One"));
    cmdCompareFilesViewFormat_Click(window);
    QCOMPARE(builds.count(), 1);

    // A new comparison while the all-in-one view is on screen rebuilds it at once.
    window.Swap();
    WaitForCompletion(window);
    QVERIFY(AllInOne(window).IsBuilt());
    QCOMPARE(AllInOne(window).GridRowCount(), MasterModel(window).GridRowCount());
    QCOMPARE(MasterModel(window).HeaderText(), "[Master] " + source);
    QCOMPARE(AllInOne(window).CellText(2, 1), QString("beta"));
  }

  void identicalAndBinaryFilesAreReported_data() {
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<bool>("quick");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("caption");
    QTest::newRow("identical") << kMaster << false << "No differences detected"
                               << "Compare File Results: 0 Differences found";
    QTest::newRow("quick compare") << kSource << true << "Binary Files are different"
                                   << "Compare File Results: -1 Differences found";
  }
  void identicalAndBinaryFilesAreReported() {
    QFETCH(QByteArray, source);
    QFETCH(bool, quick);
    QFETCH(QString, message);
    QFETCH(QString, caption);
    CompareFilesWindow window;
    window.Lindrel1()->SetFileQuickCompare(quick);
    window.ComparePair(env_->Write("m.txt", kMaster), env_->Write("s.txt", source));
    WaitForCompletion(window);
    QCOMPARE(GuiTestEnvironment::ShownMessages(), QStringList{"Info|" + message});
    QCOMPARE(widgets::TEST_Messages().first().icon, QMessageBox::Information);
    QVERIFY(ViewReportButton(window)->isHidden());
    QCOMPARE(window.windowTitle(), caption);
    for (int r = 1; r < MasterModel(window).GridRowCount(); ++r)
      QVERIFY(!MasterModel(window).IsDifferenceRow(r));
    QCOMPARE(MasterModel(window).GridRowCount(), 7);
  }

  void missingFilesAreReportedAndNothingStarts_data() {
    QTest::addColumn<QString>("master");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("reported");
    QTest::newRow("both missing: master first") << "/nonexistent/m"
                                                << "/nonexistent/s"
                                                << "/nonexistent/m";
    QTest::newRow("source missing") << "@m"
                                    << "/nonexistent/s"
                                    << "/nonexistent/s";
    QTest::newRow("empty master path") << ""
                                       << "@s"
                                       << "";
    QTest::newRow("empty source path") << "@m"
                                       << ""
                                       << "";
    // No file has such a name, though the bytes before the NUL name one.
    QTest::newRow("a NUL in the source's name") << "@m"
                                                << "@s+NUL"
                                                << "@s+NUL";
  }
  void missingFilesAreReportedAndNothingStarts() {
    QFETCH(QString, master);
    QFETCH(QString, source);
    QFETCH(QString, reported);
    if (master == "@m") master = env_->Write("m.txt", kMaster);
    if (source == "@s") source = env_->Write("s.txt", kSource);
    if (source == "@s+NUL") {
      source = env_->Write("s.txt", kSource) + QChar(0) + ".evil";
      reported = lindrel::demo::ShownFileName(source);
    }
    CompareFilesWindow window;
    QSignalSpy started(window.Lindrel1(), &widgets::LindrelWidget::FileCompareStarted);
    window.ComparePair(master, source);
    QCOMPARE(GuiTestEnvironment::ShownMessages(),
             QStringList{"LindrelDemo|File does not exist: " + reported});
    QCOMPARE(started.count(), 0);
    QCOMPARE(pauses_, (QList<int>{10, 1000}));
    QVERIFY(!PleaseWait(window)->isVisible());
    QCOMPARE(MasterModel(window).GridRowCount(), 1);
  }

  void errorsOfTheComponentOnlyReachTheStatusBar() {
    CompareFilesWindow window;
    window_ = &window;
    QStringList statusAtErrors;
    connect(window.Lindrel1(), &widgets::LindrelWidget::OnError, this,
            [&] { statusAtErrors << window.StatusText(3); });
    // A second comparison asked for while the component starts the first one.
    bool asked = false;
    onPause_ = [&] {
      if (asked || window.StatusText(3) != "File Compare In Process...") return;
      asked = true;
      window.DoComparison();
    };
    window.ComparePair(env_->Write("m.txt", kMaster), env_->Write("s.txt", kSource));
    QVERIFY(asked);
    QCOMPARE(statusAtErrors.size(), 1);
    QCOMPARE(statusAtErrors, QStringList{"Search is in process, abort current search first."});
    QVERIFY(widgets::TEST_Messages().isEmpty());
    WaitForCompletion(window);
  }

  void showReportOnlyWritesAndOpensTheDefaultReportAndEmptiesTheGrids() {
    const QString log = env_->RecordOpenedFiles();
    CompareFilesWindow window;
    window.ComparePair(env_->Write("m.txt", kMaster), env_->Write("s.txt", kSource));
    WaitForCompletion(window);
    QVERIFY(MasterModel(window).GridRowCount() > 1);

    window.SetShowReportOnly(true);
    auto report = window.ReportSettings();
    report.defaultType = lindrel::kReportFormatText;
    report.textPath = env_->Root() + "/reports dir/my report.txt";
    QDir().mkpath(env_->Root() + "/reports dir");
    window.SetReportSettings(report);
    window.DoComparison();
    WaitForCompletion(window);

    QCOMPARE(MasterModel(window).GridRowCount(), 1);
    QCOMPARE(SourceModel(window).GridRowCount(), 1);
    QCOMPARE(AllInOne(window).GridRowCount(), 1);
    QVERIFY(MasterModel(window).HeaderText().isEmpty() &&
            SourceModel(window).HeaderText().isEmpty());
    QVERIFY(ViewFormatButton(window)->isHidden());
    QCOMPARE(ChangeListing(window)->count(), 0);
    QCOMPARE(window.StatusText(5), QString("1.01 (Sec)"));
    QVERIFY(QFile(report.textPath).size() > 0);
    QTRY_COMPARE(GuiTestEnvironment::Read(log).trimmed(), report.textPath.toUtf8());

    // A type this window does not offer writes nothing.
    report.defaultType = 4;
    report.textPath = env_->Root() + "/never.txt";
    window.SetReportSettings(report);
    window.cmdViewReport_Click();
    QVERIFY(!QFile::exists(report.textPath));
  }

  void reportMenuAsksForTheStyleOfTheViewOnScreen() {
    env_->RecordOpenedFiles();
    CompareFilesWindow window;
    window.ComparePair(env_->Write("m.txt", kMaster), env_->Write("s.txt", kSource));
    WaitForCompletion(window);
    const QString html = window.ReportSettings().htmlPath;
    QCOMPARE(html, env_->Home() + "/TVKReport.HTM");
    window.mnuReportHTMLFile_Click();
    const QByteArray sideBySide = GuiTestEnvironment::Read(html);
    cmdCompareFilesViewFormat_Click(window);
    window.mnuReportHTMLFile_Click();
    const QByteArray allInOne = GuiTestEnvironment::Read(html);
    QVERIFY(!sideBySide.isEmpty() && !allInOne.isEmpty());
    QVERIFY(sideBySide != allInOne);
    QVERIFY(window.Lindrel1()->GetReportFileMaster().endsWith("m.txt"));
  }

  void settingsHaveTheirDefaultsAndSurviveARestart() {
    {
      CompareFilesWindow window;
      const auto& s = window.Settings();
      QVERIFY(s.showLegend && !s.showReportOnly && s.beepWhenDone && s.removeBlankLines);
      QCOMPARE(s.report.textPath, env_->Home() + "/TVKReport.TXT");
      QCOMPARE(s.report.commaDelimitedPath, env_->Home() + "/TVKReport.CSV");
      QCOMPARE(s.report.htmlTitle, QString("Title"));
      QCOMPARE(s.report.defaultType, 1);
      QCOMPARE(s.report.defaultStyle, 1);
      QCOMPARE(MasterGrid(window)->font().family(), QFont("Times New Roman").family());
      QCOMPARE(MasterGrid(window)->font().pointSize(), 8);

      window.mnuViewLegend_Click();
      QVERIFY(Legend(window)->isHidden());
      window.SetBeepWhenDone(false);
      window.SetShowReportOnly(true);
      auto report = window.ReportSettings();
      report.htmlTitle = "My title";
      report.defaultType = 3;
      report.defaultStyle = 2;
      window.SetReportSettings(report);
      QFont chosen("Liberation Mono", 11);
      chosen.setItalic(true);
      widgets::TEST_QueueFontAnswer(chosen);
      window.Change_Font(true);
      window.close();
    }
    QCOMPARE(Setting("General", "BeepWhenDone_CF"), QString("FALSE"));
    QCOMPARE(Setting("General", "RemoveBlankLines_CF"), QString("TRUE"));
    QCOMPARE(Setting("CompareFiles", "ShowLegend"), QString("FALSE"));
    QCOMPARE(Setting("CompareFiles", "FontSize"), QString("11"));
    QCOMPARE(Setting("CompareFiles", "FontItalic"), QString("TRUE"));

    CompareFilesWindow again;
    const auto& s = again.Settings();
    QVERIFY(!s.showLegend && s.showReportOnly && !s.beepWhenDone);
    QVERIFY(Legend(again)->isHidden());
    QCOMPARE(s.report.htmlTitle, QString("My title"));
    QCOMPARE(s.report.defaultType, 3);
    QCOMPARE(s.report.defaultStyle, 2);
    QCOMPARE(MasterGrid(again)->font().pointSize(), 11);
    QVERIFY(AllInOneGrid(again)->font().italic());
  }

  void onlyAnExactFalseReadsAsFalse() {
    lindrel::demo::ini::WriteString(env_->SettingsFile(), "General", "BeepWhenDone_CF", "false");
    lindrel::demo::ini::WriteString(env_->SettingsFile(), "General", "mbShowReportOnly_CF",
                                    "FALSE");
    lindrel::demo::ini::WriteString(env_->SettingsFile(), "CompareFiles", "FontBold", "no");
    lindrel::demo::ini::WriteString(env_->SettingsFile(), "CompareFiles", "ShowLegend", "FALSE ");
    CompareFilesWindow window;
    QVERIFY(window.Settings().beepWhenDone);
    QVERIFY(!window.Settings().showReportOnly);
    QVERIFY(window.Settings().font.bold);
    QVERIFY(!window.Settings().showLegend);  // values are read with their blanks trimmed
  }

  void cancelledFontDialogChangesNothing() {
    CompareFilesWindow window;
    const QFont before = MasterGrid(window)->font();
    window.Change_Font(true);  // nothing queued: cancelled
    QCOMPARE(widgets::TEST_FontRequests(), 1);
    QCOMPARE(MasterGrid(window)->font(), before);
    QCOMPARE(window.Settings().font.name, QString("Times New Roman"));
  }

  // Rows are measured as they come into view: wherever the view goes and however it gets
  // there, every row on screen is exactly as high as its wrapped text makes it (as if all
  // rows had been measured), and so is the scroll range, made from the last screenful.
  void rowsOnScreenHaveTheirMeasuredHeightsWhereverTheViewGoes() {
    QByteArray master, source;
    for (int i = 1; i <= 4000; ++i) {
      const QByteArray line = "line " + QByteArray::number(i);
      master += line + "\n";
      // Every 7th source line wraps; every 13th master line is gone from the source.
      if (i % 13 == 0) continue;
      source +=
          (i % 7 == 0 ? line + " " + QByteArray(150, 'w') + " " + QByteArray(220, 'x') : line) +
          "\n";
    }
    CompareFilesWindow window;
    ShowComparison(window, master, source);

    auto check = [&window](const QString& where) {
      QCoreApplication::processEvents();  // layouts and paints waiting
      const bool all = AllInOneShown(window);
      const std::vector<ComparisonGrid*> grids =
          all ? std::vector<ComparisonGrid*>{AllInOneGrid(window)}
              : std::vector<ComparisonGrid*>{MasterGrid(window), SourceGrid(window)};
      std::vector<std::unique_ptr<WrappedLineCounter>> counters;
      for (ComparisonGrid* grid : grids)
        counters.push_back(std::make_unique<WrappedLineCounter>(
            grid->font(), grid->TextWidthIn(grid->columnWidth(1))));
      auto needed = [&](ComparisonGrid* grid, int gridRow) {
        int lines = 1;
        if (all) {
          lines = counters[0]->Lines(AllInOne(window).CellText(gridRow, 1));
        } else {
          lines = std::max(counters[0]->Lines(MasterModel(window).LineText(gridRow)),
                           counters[1]->Lines(SourceModel(window).LineText(gridRow)));
        }
        return std::min(grid->RowHeightFor(lines), grid->MaxRowHeight());
      };
      for (ComparisonGrid* grid : grids) {
        const int rows = grid->model()->rowCount();
        const int first = std::max(grid->rowAt(0), 0);
        int last = grid->rowAt(grid->viewport()->height() - 1);
        if (last < 0) last = rows - 1;
        // The detail view enlarges the row it lies over.
        const bool detail = (all ? AllInOneOverlay(window) : MasterOverlay(window))->isVisible();
        for (int row = first; row <= last; ++row) {
          const bool enlarged = detail && row + 1 == grid->CurrentRow();
          if (enlarged ? grid->rowHeight(row) < needed(grid, row + 1)
                       : grid->rowHeight(row) != needed(grid, row + 1))
            QFAIL(qPrintable(QStringLiteral("%1: row %2 of %3 is %4 px high, not %5")
                                 .arg(where)
                                 .arg(row + 1)
                                 .arg(grid->objectName())
                                 .arg(grid->rowHeight(row))
                                 .arg(needed(grid, row + 1))));
        }
        // The top row starts at the top (on the last screen the last row ends at the
        // bottom instead): rows above it that changed height move nothing.
        const QScrollBar* bar = grid->verticalScrollBar();
        if (const int y = grid->rowViewportPosition(grid->TopRow() - 1);
            y != 0 && bar->value() < bar->maximum())
          QFAIL(qPrintable(QStringLiteral("%1: the top row of %2 starts at y = %3")
                               .arg(where, grid->objectName())
                               .arg(y)));
        int fit = 0;
        for (int row = rows, filled = 0; row >= 1; --row, ++fit)
          if ((filled += needed(grid, row)) > grid->viewport()->height()) break;
        if (grid->verticalScrollBar()->maximum() != rows - std::max(fit, 1))
          QFAIL(qPrintable(QStringLiteral("%1: %2 scrolls to %3, not %4")
                               .arg(where, grid->objectName())
                               .arg(grid->verticalScrollBar()->maximum())
                               .arg(rows - std::max(fit, 1))));
      }
    };

    check("after the comparison");
    MasterGrid(window)->SetTopRow(2000);
    check("scrolled to row 2000");
    for (int i = 0; i < 5; ++i) MoveNext(window);
    check("stepped through the changes");
    MoveLast(window);
    check("at the last change");
    emit Map(window)->RowClicked(3001);
    check("at a row clicked on the change map");
    MasterGrid(window)->SetCurrentRow(1200);  // far below the rows on screen
    check("at a current row set far below");
    // Wider: rows measured before wrap to fewer lines; narrower: to more again.
    window.resize(1800, 700);
    check("wider");
    MasterGrid(window)->SetTopRow(3000);
    window.resize(700, 500);
    check("narrower");
    // Rows above the top measured for a step back, then all of them one line again by a
    // new width: a current row set just above the top comes into view.
    MasterGrid(window)->SetCurrentRow(2990);
    check("a step back above the top");
    MasterGrid(window)->SetTopRow(3000);
    window.resize(1000, 520);
    check("wider again");
    MasterGrid(window)->SetCurrentRow(2998);
    check("a row above the top made current");
    {
      ComparisonGrid* grid = MasterGrid(window);
      const QRect cell = grid->visualRect(grid->model()->index(2997, 1));
      QVERIFY2(cell.top() >= 0 && cell.bottom() < grid->viewport()->height(),
               qPrintable(QStringLiteral("the current row is at y = %1").arg(cell.top())));
    }
    cmdCompareFilesViewFormat_Click(window);
    check("all in one");
    AllInOneGrid(window)->SetTopRow(1000);
    check("all in one, scrolled");
  }

  void sideBySideGridsScrollTogetherAndRowsStayAligned() {
    QByteArray master, source;
    for (int i = 1; i <= 300; ++i) {
      master += "line " + QByteArray::number(i) + "\n";
      // Every 25th source line is long enough to wrap, so the pair needs taller rows.
      source += (i % 25 == 0 ? QByteArray(400, 'w') + " " + QByteArray(300, 'x')
                             : "line " + QByteArray::number(i)) +
                "\n";
    }
    CompareFilesWindow window;
    ShowComparison(window, master, source);
    window.Form_Resize();

    auto* m = MasterGrid(window);
    auto* s = SourceGrid(window);
    QCOMPARE(m->rowHeight(24), s->rowHeight(24));  // grid row 25: wrapped on one side only
    QVERIFY(m->rowHeight(24) > m->rowHeight(0));
    for (int row : {0, 1, 23, 24, 49, 299}) QCOMPARE(m->rowHeight(row), s->rowHeight(row));
    QVERIFY(m->rowHeight(24) <= m->MaxRowHeight());

    // The drop-down fills its toolbar and lets the window shrink again.
    auto* listing = ChangeListing(window);
    const int wide = listing->width();
    QVERIFY(wide > 300);
    const int narrow = window.minimumSizeHint().width() + 10;
    QVERIFY(narrow < 900);
    window.resize(narrow, 600);
    QTRY_VERIFY(listing->width() < wide - (900 - narrow) / 2 && window.width() == narrow);
    window.resize(900, 600);
    QTRY_COMPARE(listing->width(), wide);

    QSignalSpy masterMoves(m, &lindrel::widgets::ComparisonGrid::TopRowChanged);
    s->SetTopRow(120);
    QCOMPARE(m->TopRow(), 120);
    QCOMPARE(masterMoves.count(), 1);  // the master followed once; nothing echoed back
    m->SetTopRow(30);
    QCOMPARE(s->TopRow(), 30);

    // A source that grew after the comparison leaves the grids of unequal length: the
    // source scrolled to its end, the master (two rows) at its top. Then a new pair whose
    // only change is the master's first lines, wrapped so that they fill more than the
    // view once measured and less before: both grids show its first row, and neither
    // keeps its old place once the layout has caught up with the new rows.
    QByteArray longer;
    for (int i = 1; i <= 50; ++i) longer += "grown " + QByteArray::number(i) + "\n";
    window.TEST_SetCompletionProbe([&] { env_->Write("s.txt", longer); });
    ShowComparison(window, "one\ntwo\n", "one\n");
    window.TEST_SetCompletionProbe(nullptr);
    s->SetTopRow(1000);
    QVERIFY(s->TopRow() > 10);
    QCOMPARE(m->TopRow(), 1);
    QByteArray deleted;
    for (int i = 1; i <= 28; ++i)
      deleted += QByteArray::number(i) +
                 (i > 21 ? QByteArray(" words to wrap").repeated(60) : QByteArray()) + "\n";
    ShowComparison(window, deleted, "");
    for (int i = 0; i < 8; ++i) QCoreApplication::processEvents();
    QCOMPARE(CurrentChange(window), 1);
    QVERIFY(s->verticalScrollBar()->maximum() > 0);
    for (ComparisonGrid* grid : {m, s}) {
      QCOMPARE(grid->TopRow(), 1);
      QCOMPARE(grid->visualRect(grid->model()->index(0, 1)).top(), 0);
    }

    // Apart again, the master at its last screen, and a new pair whose deletion is shown
    // from the master's top row as it stands: the source comes to that row too. (The
    // changed-on-disk bar is put away first, as the new comparison would: the grids then
    // keep their height, and the master its place.)
    QByteArray lines, grown;
    for (int i = 1; i <= 400; ++i)
      (i <= 200 ? lines : grown) += "line " + QByteArray::number(i) + "\n";
    window.TEST_SetCompletionProbe([&] { env_->Write("s.txt", lines + grown); });
    ShowComparison(window, lines, lines);
    window.TEST_SetCompletionProbe(nullptr);
    ChangedOnDiskBar(window)->hide();
    for (int i = 0; i < 8; ++i) QCoreApplication::processEvents();
    s->SetTopRow(300);
    QCOMPARE(s->TopRow(), 300);
    const int masterTop = m->TopRow();
    QVERIFY(masterTop > 100 && masterTop < 200);
    QByteArray withExtra;
    for (int i = 1; i <= 400; ++i) {
      withExtra += "line " + QByteArray::number(i) + "\n";
      if (i == masterTop) withExtra += "extra\n";
    }
    ShowComparison(window, withExtra, lines + grown);
    for (int i = 0; i < 8; ++i) QCoreApplication::processEvents();
    QCOMPARE(window.StatusText(3), QString("File Compare Completed"));
    QCOMPARE(window.StatusText(2), QString("1"));
    QCOMPARE(m->TopRow(), masterTop);
    QCOMPARE(s->TopRow(), masterTop);

    // Apart once more, and then two identical files, no change to show: both grids show
    // the new rows from the first.
    window.TEST_SetCompletionProbe([&] { env_->Write("s.txt", lines + grown); });
    ShowComparison(window, lines, lines);
    window.TEST_SetCompletionProbe(nullptr);
    ChangedOnDiskBar(window)->hide();
    for (int i = 0; i < 8; ++i) QCoreApplication::processEvents();
    s->SetTopRow(300);
    QVERIFY(m->TopRow() > 100 && m->TopRow() < 200);
    ShowComparison(window, lines + grown, lines + grown);
    for (int i = 0; i < 8; ++i) QCoreApplication::processEvents();
    QCOMPARE(RecordCount(window), 0);
    QCOMPARE(m->TopRow(), 1);
    QCOMPARE(s->TopRow(), 1);
  }

  // Text wraps inside the text column, which the window fits to the view: no grid shows a
  // horizontal scroll bar, not even when its text column is wider than its view for a
  // while (laid out for the width it had while the other view was on screen, before it
  // took its place), so both grids of the pair keep views of one height, and scroll to the
  // same rows up to the last.
  void gridsShowNoHorizontalScrollBar() {
    QByteArray master, source;
    for (int i = 1; i <= 60; ++i) {
      master += QByteArray::number(i) + QByteArray(" words to wrap").repeated(i % 3 * 8) + "\n";
      source += QByteArray::number(i) + (i % 10 == 0 ? " changed" : "") + "\n";
    }
    CompareFilesWindow window;
    ShowComparison(window, master, source);
    auto* m = MasterGrid(window);
    auto* s = SourceGrid(window);
    s->setColumnWidth(lindrel::widgets::FileGridModel::kTextColumn, s->viewport()->width());
    for (int i = 0; i < 8; ++i) QCoreApplication::processEvents();
    QVERIFY(m->verticalScrollBar()->isVisible());
    for (ComparisonGrid* grid : {m, s})
      QVERIFY2(!grid->horizontalScrollBar()->isVisible(), qPrintable(grid->objectName()));
    QCOMPARE(s->viewport()->height(), m->viewport()->height());
    MoveLast(window);
    QCOMPARE(s->TopRow(), m->TopRow());
  }

  void aFileThatCannotBeReadWhenTheGridsLoadClaimsNothing() {
    // Removed after the comparison, before the grids load: the records cannot be shown.
    CompareFilesWindow window;
    const QString master = env_->Write("m.txt", kMaster);
    const QString source = env_->Write("s.txt", kSource);
    window.TEST_SetCompletionProbe([&] { QFile::remove(master); });
    window.ComparePair(master, source);
    WaitForCompletion(window);
    QCOMPARE(MasterModel(window).GridRowCount(),
             1);  // empty: no padding row of records it cannot show
    QCOMPARE(SourceModel(window).GridRowCount(), 8);
    for (int r = 1; r < 8; ++r) QVERIFY(!SourceModel(window).IsDifferenceRow(r));
    QCOMPARE(ChangeListing(window)->count(), 0);
    QVERIFY2(window.StatusText(3).contains("Cannot show " + master),
             qPrintable(window.StatusText(3)));
    cmdCompareFilesViewFormat_Click(window);
    for (int r = 1; r < AllInOne(window).GridRowCount(); ++r)
      QCOMPARE(AllInOne(window).Kind(r), lindrel::widgets::AllInOneModel::RowKind::Same);
    QVERIFY2(window.StatusText(3).contains("Cannot show " + master),
             qPrintable(window.StatusText(3)));

    // Removed before the component opened it: the comparison ended in trouble, which the
    // window never reports as files that differ.
    window.TEST_SetCompletionProbe(nullptr);
    env_->Write("m.txt", kMaster);
    auto vanish = connect(window.Lindrel1(), &widgets::LindrelWidget::FileCompareStarted, this,
                          [&] { QFile::remove(master); });
    window.ComparePair(master, source);
    WaitForCompletion(window);
    disconnect(vanish);
    const QStringList messages = GuiTestEnvironment::ShownMessages();
    QVERIFY2(!messages.join('\n').contains("Binary Files are different") &&
                 !messages.join('\n').contains("No differences detected"),
             qPrintable(messages.join('\n')));
    QVERIFY2(messages.last().contains("Cannot show " + master), qPrintable(messages.join('\n')));
  }

  void theMainWindowOpensTheWindowAndShowsItsMenus() {
    const QString master = env_->Write("m.txt", kMaster);
    const QString source = env_->Write("s.txt", kSource);
    widgets::TEST_SetModalHandler([&](QDialog& dialog) {
      auto& options = static_cast<lindrel::demo::CompareFilesOptionsDialog&>(dialog);
      options.SetMasterFile(master);
      options.SetSourceFile(source);
      dialog.accept();
    });
    MainWindow main(lindrel::demo::DemoChildFactories());
    main.Menus().mnuCompareFiles->trigger();
    auto* window = qobject_cast<CompareFilesWindow*>(main.Child(MainWindow::kCompareFiles));
    QVERIFY(window != nullptr);
    QCOMPARE(widgets::TEST_ModalDialogs(), QStringList{"frmCompareFilesOptions"});
    WaitForCompletion(*window);
    QCOMPARE(MasterModel(window).HeaderText(), "[Master] " + master);

    const auto& menus = main.Menus();
    QVERIFY(menus.mnuReport->menuAction()->isVisible());
    QVERIFY(menus.mnuReportHTMLFile->isVisible() && menus.mnuReportTextFile->isVisible() &&
            menus.mnuReportCommaDelimitedFile->isVisible());
    QVERIFY(!menus.mnuReportTabDelimitedFile->isVisible());
    QVERIFY(menus.mnuSwap->isVisible() && menus.mnuPopupShowDetail->isVisible());
    QVERIFY(menus.mnuViewLegend->isEnabled());
    QVERIFY(main.ToolbarButton(MainWindow::kCompareFiles)->isChecked());

    // The right mouse button selects the row in both grids and pops up the main menu.
    MasterGrid(window)->show();
    QTest::mouseClick(SourceGrid(window)->viewport(), Qt::RightButton, {},
                      SourceGrid(window)->visualRect(SourceModel(window).index(2, 1)).center());
    QCOMPARE(MasterGrid(window)->CurrentRow(), 3);
    QCOMPARE(SourceGrid(window)->CurrentRow(), 3);
    QTRY_VERIFY(main.PopupMenu()->isVisible());
    main.PopupMenu()->hide();

    // The main window's commands reach the window by name.
    menus.mnuSwap->trigger();
    QTRY_COMPARE(MasterModel(window).HeaderText(), "[Master] " + source);
    WaitForCompletion(*window);

    // Closing the window saves its settings and releases the toolbar button.
    main.Child(MainWindow::kCompareFiles)->parentWidget()->close();
    QCOMPARE(Setting("CompareFiles", "FontName"), QString("Times New Roman"));
    QVERIFY(!main.ToolbarButton(MainWindow::kCompareFiles)->isChecked());
  }

  void aComparisonIsCancelledFromThePleaseWaitWindowByButtonOrEsc() {
    // Two kinds of line in random order on both sides: many short runs to align, seconds
    // of work unless the comparison stops when asked.
    QByteArray master, source;
    quint32 seed = 12345;
    for (QByteArray* text : {&master, &source}) {
      for (int i = 0; i < 100000; ++i) {
        seed = seed * 1103515245u + 12345u;
        text->append((seed >> 16) & 1 ? "a\n" : "b\n");
      }
    }
    const QString masterPath = env_->Write("m.txt", master);
    const QString sourcePath = env_->Write("s.txt", source);
    const QString smallMaster = env_->Write("small-m.txt", kMaster);
    const QString smallSource = env_->Write("small-s.txt", kSource);
    CompareFilesWindow window;
    window.show();
    PleaseWait(window)->TEST_SetShowAgainAfterMs(0);
    window.ComparePair(smallMaster, smallSource);
    WaitForCompletion(window);
    QCOMPARE(RecordCount(window), 3);
    QSignalSpy completed(window.Lindrel1(), &widgets::LindrelWidget::FileCompareCompleted);

    using Cancel = std::function<void(lindrel::demo::PleaseWaitWindow*)>;
    const QList<Cancel> ways = {
        [](auto* wait) { QTest::mouseClick(wait->CancelButton(), Qt::LeftButton); },
        [](auto* wait) { QTest::keyClick(wait, Qt::Key_Escape); }};
    for (const Cancel& cancel : ways) {
      window.ComparePair(masterPath, sourcePath);
      QTRY_VERIFY(PleaseWait(window)->isVisible());
      QVERIFY(window.Lindrel1()->GetFileCompareActive());
      QCOMPARE(PleaseWait(window)->CancelButton()->text(), QString("Cancel"));
      QElapsedTimer clock;
      clock.start();
      cancel(PleaseWait(window));
      // Stopped where it was, not run to its end.
      QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
      QVERIFY(!window.Lindrel1()->GetFileCompareActive());
      QVERIFY(!PleaseWait(window)->isVisible());
      QCOMPARE(window.StatusText(3), QString("File Compare Cancelled"));
      // The grids no longer show the previous comparison, whose records are gone.
      QCOMPARE(RecordCount(window), 0);
      QCoreApplication::processEvents();
      QCOMPARE(completed.count(), 0);
    }

    // Cancelled while it is being started: nothing begins.
    QSignalSpy started(window.Lindrel1(), &widgets::LindrelWidget::FileCompareStarted);
    onPause_ = [&] {
      if (PleaseWait(window)->isVisible())
        QTest::mouseClick(PleaseWait(window)->CancelButton(), Qt::LeftButton);
    };
    window.ComparePair(smallMaster, smallSource);
    onPause_ = nullptr;
    QCOMPARE(started.count(), 0);
    QCOMPARE(window.StatusText(3), QString("File Compare Cancelled"));
    QVERIFY(!PleaseWait(window)->isVisible());
  }

  void anIgnorePatternTypedInTheOptionsLeavesItsLinesOutAndARefusedOneIsNamed() {
    CompareFilesWindow window;
    window.show();
    const QString master = env_->Write("m.txt", "keep\n# one\nsame\n");
    const QString source = env_->Write("s.txt", "keep\n# two\nsame\n");
    auto typePattern = [&](const QString& pattern) {
      widgets::TEST_SetModalHandler([&, pattern](QDialog& dialog) {
        auto& options = static_cast<lindrel::demo::CompareFilesOptionsDialog&>(dialog);
        options.SetMasterFile(master);
        options.SetSourceFile(source);
        auto* use = dialog.findChild<QCheckBox*>("cbUseIgnorePattern");
        auto* box = dialog.findChild<QLineEdit*>("txtIgnorePattern");
        QVERIFY(use != nullptr && box != nullptr);
        if (!use->isChecked()) QTest::mouseClick(use, Qt::LeftButton, {}, QPoint(4, 4));
        QVERIFY(box->isEnabled());
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, pattern);
        QTest::mouseClick(dialog.findChild<QPushButton*>("cmdCompareFiles"), Qt::LeftButton);
      });
    };

    typePattern("^#");
    window.cmdCompare_Click();
    WaitForCompletion(window);
    QCOMPARE(RecordCount(&window), 0);
    QCOMPARE(window.Lindrel1()->GetFileIgnoreRegularExpression(), QString("^#"));
    QVERIFY(window.Lindrel1()->GetFileUseIgnoreRegularExpression());

    // A back-reference that reaches the component (from the settings file, say) is refused
    // by it: the user hears which pattern, and nothing is compared.
    QSignalSpy started(window.Lindrel1(), &widgets::LindrelWidget::FileCompareStarted);
    const int shown = widgets::TEST_Messages().size();
    window.Lindrel1()->SetFileIgnoreRegularExpression("^\\(#\\) \\1");
    window.ComparePair(master, source);
    QCOMPARE(started.count(), 0);
    QCOMPARE(widgets::TEST_Messages().size(), shown + 1);
    const widgets::MessageRecord refusal = widgets::TEST_Messages().last();
    QCOMPARE(refusal.icon, QMessageBox::Warning);
    QVERIFY2(refusal.text.contains("ignore pattern cannot be used") &&
                 refusal.text.contains("^\\(#\\) \\1"),
             qPrintable(refusal.text));

    // Typed in the options, such a pattern, and one that does not compile (which a
    // comparison would leave out without a word, comparing its lines after all), is named
    // with the reason when OK is pressed, and the dialog stays open.
    const struct {
      QString pattern, named, reason;
    } unusable[] = {{"^#@@a\\(b", "\"a\\(b\"", "Unmatched"},
                    {"x\\(y\\)\\1", "\"x\\(y\\)\\1\"", "back-references are not supported"}};
    for (const auto& c : unusable) {
      bool stayedOpen = false;
      widgets::TEST_SetModalHandler([&](QDialog& dialog) {
        auto* box = dialog.findChild<QLineEdit*>("txtIgnorePattern");
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, c.pattern);
        QTest::mouseClick(dialog.findChild<QPushButton*>("cmdCompareFiles"), Qt::LeftButton);
        stayedOpen = dialog.isVisible();
      });
      const int before = widgets::TEST_Messages().size();
      window.cmdCompare_Click();
      QVERIFY(stayedOpen);
      QCOMPARE(started.count(), 0);
      QCOMPARE(widgets::TEST_Messages().size(), before + 1);
      const widgets::MessageRecord named = widgets::TEST_Messages().last();
      QCOMPARE(named.icon, QMessageBox::Warning);
      QVERIFY2(named.text.contains(c.named) && named.text.contains(c.reason),
               qPrintable(named.text));
      // The dialog was cancelled: the component keeps the pattern it had.
      QCOMPARE(window.Lindrel1()->GetFileIgnoreRegularExpression(), QString("^\\(#\\) \\1"));
    }
  }

  void theCommandLineComparesTwoFilesAtOnce() {
    MainWindow main(lindrel::demo::DemoChildFactories());
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    const QString master = env_->Write("a b/m.txt", kMaster);
    const QString source = env_->Write("s.txt", kSource);
    lindrel::demo::OpenFromCommandLine(main, {master, source});
    auto* window = qobject_cast<CompareFilesWindow*>(main.Child(MainWindow::kCompareFiles));
    QVERIFY(window != nullptr && main.IsChildVisible(MainWindow::kCompareFiles));
    // The first child of the session brings its Report menu with it.
    QCOMPARE(main.ActiveChild(), window);
    QVERIFY(main.Menus().mnuReport->menuAction()->isVisible());
    WaitForCompletion(*window);
    QCOMPARE(RecordCount(window), 3);
    QCOMPARE(window->MasterHistory().Items().last(), master);

    const QString started = QDir::currentPath();
    QDir::setCurrent(env_->Root());
    lindrel::demo::OpenFromCommandLine(main, {"missing.txt", source});
    QDir::setCurrent(started);
    QCOMPARE(
        GuiTestEnvironment::ShownMessages().last(),
        "LindrelDemo|File does not exist: " + QDir(env_->Root()).absoluteFilePath("missing.txt"));
    // Two directories go to the Compare Directories window; a file and a directory are refused.
    lindrel::demo::OpenFromCommandLine(main, {env_->Root(), env_->Home()});
    QVERIFY(main.IsChildVisible(MainWindow::kCompareDir));
    lindrel::demo::OpenFromCommandLine(main, {env_->Root(), source});
    QVERIFY(GuiTestEnvironment::ShownMessages().last().contains(
        "A file can only be compared with a file"));
    // A name holding a NUL names no file (the bytes before it name the master here): refused
    // as such, and nothing is compared.
    QSignalSpy compared(window->Lindrel1(), &widgets::LindrelWidget::FileCompareStarted);
    const QStringList history = window->MasterHistory().Items();
    lindrel::demo::OpenFromCommandLine(main, {master + QChar(0) + ".evil", source});
    QCOMPARE(GuiTestEnvironment::ShownMessages().last(),
             "LindrelDemo|A name cannot hold a NUL byte: " + master + QChar(0x2400) + ".evil");
    QCOMPARE(compared.count(), 0);
    QCOMPARE(window->MasterHistory().Items(), history);
  }

 private:
  // The window at 900 x 600 on screen, having compared `master` with `source`.
  void ShowComparison(CompareFilesWindow& window, const QByteArray& master,
                      const QByteArray& source) {
    window.resize(900, 600);
    window.show();
    window.ComparePair(env_->Write("m.txt", master), env_->Write("s.txt", source));
    WaitForCompletion(window);
  }

  void WaitForCompletion(CompareFilesWindow& window) {
    QTRY_VERIFY_WITH_TIMEOUT(window.StatusText(3).startsWith("File Compare Completed"), 20000);
  }

  QString Setting(const char* section, const char* key) {
    return lindrel::demo::ini::ReadString(env_->SettingsFile(), section, key, "<missing>");
  }

  std::unique_ptr<GuiTestEnvironment> env_;
  CompareFilesWindow* window_ = nullptr;
  std::function<void()> onPause_;
  long clock_ = 0;
  QList<int> pauses_;
  QStringList statusAtPauses_;
  int beeps_ = 0;
};

QTEST_MAIN(CompareFilesWindowTest)
#include "CompareFilesWindowTest.moc"
