// The change map beside the Compare Files grids and the moves by whole changes, used as a
// person uses them: clicks on the map, Alt+Down and Alt+Up, the View menu, in both views,
// and the map's setting kept across runs. Pauses and the clock are injected; comparisons
// are real.
#include <QAction>
#include <QComboBox>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QTextEdit>
#include <QtTest>

#include "GuiTestEnvironment.h"
#include "ViewParts.h"
#include "WalkPairs.h"
#include "demo/common/SettingsFile.h"
#include "demo/common/UiTiming.h"
#include "demo/compare-files/CompareFilesWindow.h"
#include "demo/main/DemoApplication.h"
#include "demo/main/MainWindow.h"
#include "lindrel/widgets/LindrelWidget.h"
#include "widgets/ModalDialogsTesting.h"
#include "widgets/view/ChangeMap.h"
#include "widgets/view/ComparisonGrid.h"

using lindrel::demo::CompareFilesWindow;
using lindrel::demo::MainWindow;
using lindrel::widgets::ChangeMap;
using lindrel::widgets::ComparisonGrid;
using lindrel::widgets::RowFore;
using namespace lindrel::testing;
namespace widgets = lindrel::widgets;

namespace {

QByteArray Lines(const QStringList& lines) { return (lines.join('\n') + '\n').toUtf8(); }

// A file of `count` numbered lines with the edits of Edited(): changes of different
// lengths (padding on both sides), deletions and additions, spread over the file.
QStringList Numbered(int count) {
  QStringList lines;
  for (int i = 1; i <= count; ++i) lines << QStringLiteral("line %1").arg(i);
  return lines;
}

QStringList Edited(QStringList lines) {
  lines[2] = "changed 3";       // a change of one line
  lines.insert(10, "added a");  // an addition of two
  lines.insert(11, "added b");
  lines.removeAt(40);  // a deletion of three
  lines.removeAt(40);
  lines.removeAt(40);
  lines[100] = "changed 100 into two";  // one line against three
  lines.insert(101, "and more");
  lines.insert(102, "and more still");
  for (int i = 300; i < 310; ++i) lines[i] = "block " + lines[i];  // ten lines
  lines.removeLast();                                              // the last line deleted
  return lines;
}

QColor ForeColour(RowFore kind) {
  switch (kind) {
    case RowFore::OnlyInMaster: return {0x00, 0x00, 0xFF};
    case RowFore::OnlyInSource: return {0x00, 0x80, 0x00};
    default: return {0xFF, 0x00, 0x00};
  }
}

QColor KindColour(long kind) {
  switch (kind) {
    case 'd': return {0x00, 0x00, 0xFF};
    case 'a': return {0x00, 0x80, 0x00};
    default: return {0xFF, 0x00, 0x00};
  }
}

}  // namespace

class CompareFilesChangeMapTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { env_ = std::make_unique<GuiTestEnvironment>(GuiTestEnvironment::NoPauses()); }
  void cleanup() { env_.reset(); }

  // Every record has a mark at its rows in the padded grids, in its kind's colour; a
  // click on a mark makes that change current everywhere; a click beside the marks
  // scrolls there; the frame follows the rows on screen in both views.
  void marksStandAtTheRecordsRowsAndClicksMove() {
    CompareFilesWindow window;
    const QStringList master = Numbered(400);
    ShowComparison(window, master, Edited(master));
    ChangeMap* map = Map(window);
    QVERIFY(map->isVisible());

    const std::vector<WalkRecord> records = Records(window);
    QVERIFY(records.size() >= 6);
    const WalkGrids reference =
        ReferenceGrids(400, static_cast<int>(Edited(master).size()), records);
    QCOMPARE(map->Rows(), static_cast<int>(reference.master.size()));
    QCOMPARE(map->Marks().size(), records.size());
    for (size_t i = 0; i < records.size(); ++i) {
      int first = 0, count = 0;
      for (size_t r = 0; r < reference.master.size(); ++r) {
        if (reference.master[r].record != static_cast<int>(i)) continue;
        if (first == 0) first = static_cast<int>(r) + 1;
        ++count;
      }
      const auto& mark = map->Marks()[i];
      QVERIFY2(mark.firstRow == first && mark.count == count,
               qPrintable(QStringLiteral("record %1: mark at %2 (%3 rows), rows %4 (%5)")
                              .arg(i + 1)
                              .arg(mark.firstRow)
                              .arg(mark.count)
                              .arg(first)
                              .arg(count)));
    }

    // Each change in turn, chosen on the map, in the side-by-side and the all-in-one view.
    for (bool allInOne : {false, true}) {
      if (allInOne) cmdCompareFilesViewFormat_Click(window);
      for (int change = static_cast<int>(records.size()); change >= 1; --change) {
        const QRect mark = map->MarkRect(change);
        QTest::mouseClick(map, Qt::LeftButton, {}, mark.center());
        Settle();
        QCOMPARE(CurrentChange(window), change);
        QCOMPARE(ChangeListing(window)->currentIndex(), change - 1);
        QCOMPARE(window.StatusText(2), QString::number(change));
        QCOMPARE(map->Current(), change);
        // What the map frames is what the grid shows, and the change is inside it.
        ComparisonGrid* grid = allInOne ? AllInOneGrid(window) : MasterGrid(window);
        const int first = map->Marks()[static_cast<size_t>(change - 1)].firstRow;
        QCOMPARE(map->FrameFirst(), grid->TopRow());
        QVERIFY(map->FrameFirst() <= first && first <= map->FrameLast());
        const QRect cell = grid->visualRect(grid->model()->index(map->FrameLast() - 1, 1));
        QVERIFY(cell.isValid() && cell.top() < grid->viewport()->height());
        // Drawn: the current mark full width in its kind's colour, outlined.
        const QImage shot = map->grab().toImage();
        QCOMPARE(shot.pixelColor(map->width() / 2, mark.center().y()),
                 KindColour(records[static_cast<size_t>(change - 1)].kind));
        QCOMPARE(shot.pixelColor(mark.left(), mark.center().y()), QColor(Qt::black));
      }
    }

    // Beside the marks: the row there comes into view, the current change stays.
    cmdCompareFilesViewFormat_Click(window);
    const int before = CurrentChange(window);
    int y = map->height() - 3;
    while (y > 0 && map->ChangeAt(y) != 0) --y;
    const int row = map->RowAt(y);
    QTest::mouseClick(map, Qt::LeftButton, {}, QPoint(map->width() / 2, y));
    Settle();
    QCOMPARE(CurrentChange(window), before);
    QVERIFY2(map->FrameFirst() <= row && row <= map->FrameLast(),
             qPrintable(QStringLiteral("row %1 outside %2..%3")
                            .arg(row)
                            .arg(map->FrameFirst())
                            .arg(map->FrameLast())));
    QCOMPARE(map->FrameFirst(), MasterGrid(window)->TopRow());
    QCOMPARE(SourceGrid(window)->TopRow(), MasterGrid(window)->TopRow());

    // Scrolled by the user to the end: the frame reaches the last row.
    MasterGrid(window)->verticalScrollBar()->setValue(
        MasterGrid(window)->verticalScrollBar()->maximum());
    Settle();
    QCOMPARE(map->FrameLast(), map->Rows());
    QCOMPARE(map->FrameFirst(), MasterGrid(window)->TopRow());
  }

  // Alt+Down and Alt+Up visit every change once, whichever control has the focus, with
  // the drop-down, the buttons and the detail view following, and stop at the ends;
  // F7 needs a press for every row of a change.
  void wholeChangeMovesVisitEachChangeOnce() {
    CompareFilesWindow window;
    const QStringList master = Numbered(400);
    ShowComparison(window, master, Edited(master));
    const int count = RecordCount(window);
    QCOMPARE(CurrentChange(window), 1);

    QList<QWidget*> focus{MasterGrid(window), ChangeListing(window), SourceGrid(window)};
    QList<int> visited{CurrentChange(window)};
    for (int press = 1; press < count + 2; ++press) {
      QWidget* target = focus[press % focus.size()];
      target->setFocus();
      QTest::keyClick(target, Qt::Key_Down, Qt::AltModifier);
      if (visited.last() != CurrentChange(window)) visited << CurrentChange(window);
      QCOMPARE(ChangeListing(window)->currentIndex(), CurrentChange(window) - 1);
      QCOMPARE(Map(window)->Current(), CurrentChange(window));
      QVERIFY(MasterOverlay(window)->isVisible());  // the detail view of the change
    }
    QList<int> all;
    for (int i = 1; i <= count; ++i) all << i;
    QCOMPARE(visited, all);
    QCOMPARE(NavigationImage(window, "cmdNext"), 10);  // greyed: nothing further

    cmdCompareFilesViewFormat_Click(window);
    for (int press = 0; press < count + 1; ++press)
      QTest::keyClick(AllInOneGrid(window), Qt::Key_Up, Qt::AltModifier);
    QCOMPARE(CurrentChange(window), 1);
    QCOMPARE(NavigationImage(window, "cmdFirst"), 8);
    QVERIFY(AllInOneOverlay(window)->isVisible());
    cmdCompareFilesViewFormat_Click(window);

    // The same trip with F7 takes a press per row of every change.
    MoveFirst(window);
    int presses = 0;
    while (CurrentChange(window) < count && presses < 1000) {
      QTest::keyClick(MasterGrid(window), Qt::Key_F7);
      ++presses;
    }
    QVERIFY2(presses > count - 1, qPrintable(QString::number(presses)));
  }

  // In the program: the View menu's entries reach the Compare Files window, and the
  // change map's setting is kept in the settings file from one run to the next.
  void viewMenuEntriesAndTheMapSetting() {
    const QString masterPath = env_->Write("m.txt", Lines(Numbered(60)));
    const QString sourcePath = env_->Write("s.txt", Lines(Edited(Numbered(400)).mid(0, 60)));
    {
      MainWindow main(lindrel::demo::DemoChildFactories());
      main.resize(1000, 700);
      main.show();
      lindrel::demo::OpenFromCommandLine(main, {masterPath, sourcePath});
      auto* files = qobject_cast<CompareFilesWindow*>(main.Child(MainWindow::kCompareFiles));
      QVERIFY(files != nullptr);
      QTRY_VERIFY_WITH_TIMEOUT(files->StatusText(3).startsWith("File Compare Completed"), 20000);
      const auto& menus = main.Menus();
      QVERIFY(menus.mnuViewChangeMap->isVisible() && menus.mnuNextChange->isVisible());
      QVERIFY(menus.mnuNextChange->text().endsWith("\tAlt+Down"));
      QVERIFY(RecordCount(files) >= 2);
      menus.mnuNextChange->trigger();
      QCOMPARE(CurrentChange(files), 2);
      menus.mnuPreviousChange->trigger();
      QCOMPARE(CurrentChange(files), 1);

      QVERIFY(Map(files)->isVisible());
      const int gridWidth = MasterGrid(files)->width();
      menus.mnuViewChangeMap->trigger();
      QVERIFY(!Map(files)->isVisible());
      QTRY_VERIFY(MasterGrid(files)->width() > gridWidth);  // the grids take the room

      // The Compare Directories window has no change map.
      main.ShowChild(MainWindow::kCompareDir);
      QTRY_VERIFY(!menus.mnuViewChangeMap->isVisible() && !menus.mnuPreviousChange->isVisible());
      main.close();
    }
    QCOMPARE(lindrel::demo::ReadSetting("CompareFiles", "ShowChangeMap", ""), QString("FALSE"));
    {
      CompareFilesWindow again;
      QVERIFY(Map(again)->isHidden());
      again.mnuViewChangeMap_Click();
      again.SaveIniFile();
    }
    QCOMPARE(lindrel::demo::ReadSetting("CompareFiles", "ShowChangeMap", ""), QString("TRUE"));
  }

  // Wherever a mark is drawn, a click there finds a change of the kind drawn, and
  // nowhere else: the marks of the last rows too, pushed up to stay inside the strip.
  void aClickFindsTheMarkDrawnUnderIt() {
    ChangeMap map;
    map.resize(ChangeMap::kWidth, 100);
    const std::vector<lindrel::widgets::ChangeMark> marks{{1, 1, RowFore::Changed},
                                                          {400, 60, RowFore::OnlyInSource},
                                                          {997, 1, RowFore::OnlyInMaster},
                                                          {999, 2, RowFore::Changed}};
    map.SetMarks(1000, marks);
    const QImage shot = map.grab().toImage();
    QSignalSpy clicked(&map, &ChangeMap::ChangeClicked);
    int markedRows = 0;
    for (int y = 0; y < map.height(); ++y) {
      QList<RowFore> drawn;
      for (int x = 0; x < map.width(); ++x) {
        for (RowFore kind : {RowFore::Changed, RowFore::OnlyInMaster, RowFore::OnlyInSource})
          if (shot.pixelColor(x, y) == ForeColour(kind) && !drawn.contains(kind)) drawn << kind;
      }
      clicked.clear();
      QTest::mouseClick(&map, Qt::LeftButton, {}, QPoint(map.width() / 2, y));
      const int change = clicked.isEmpty() ? 0 : clicked.first().first().toInt();
      markedRows += !drawn.isEmpty();
      QVERIFY2(drawn.isEmpty() ? change == 0
                               : change >= 1 && drawn.contains(marks[size_t(change - 1)].kind),
               qPrintable(QStringLiteral("y = %1: %2 kinds drawn, change %3 clicked")
                              .arg(y)
                              .arg(drawn.size())
                              .arg(change)));
    }
    QVERIFY(markedRows >= 3 * ChangeMap::kMinimumMarkHeight);
  }

  // Drawn from the records: a pair with many changes in a long file paints with every
  // change visible and no mark lost, and kinds sharing a pixel row each keep a part.
  void denseMarksKeepEveryKindVisible() {
    QStringList master, source;
    for (int i = 0; i < 6000; ++i) {
      master << QStringLiteral("m %1").arg(i);
      switch (i % 50) {
        case 7: source << QStringLiteral("changed %1").arg(i); break;
        case 20: break;  // deleted
        case 35: source << master.last() << QStringLiteral("added %1").arg(i); break;
        default: source << master.last();
      }
    }
    CompareFilesWindow window;
    window.resize(700, 500);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Compare(window, Lines(master), Lines(source));
    ChangeMap* map = Map(window);
    QCOMPARE(static_cast<int>(map->Marks().size()), RecordCount(window));
    const QImage shot = map->grab().toImage();
    // Away from the current change, some pixel rows hold all three kinds, side by side.
    int rowsWithAll = 0;
    for (int y = map->height() / 2; y < map->height() / 2 + 12; ++y) {
      bool red = false, blue = false, green = false;
      for (int x = 0; x < map->width(); ++x) {
        const QColor c = shot.pixelColor(x, y);
        red |= c == QColor(0xFF, 0, 0);
        blue |= c == QColor(0, 0, 0xFF);
        green |= c == QColor(0, 0x80, 0);
      }
      rowsWithAll += red && blue && green;
    }
    QVERIFY(rowsWithAll > 0);
    // Every mark is somewhere a click finds it.
    for (int change = 1; change <= static_cast<int>(map->Marks().size()); change += 97) {
      const QRect mark = map->MarkRect(change);
      QVERIFY(!mark.isEmpty());
      QVERIFY(map->ChangeAt(mark.top()) != 0);
    }
  }

 private:
  // The window at 900 x 600 on screen, having compared `master` with `source`.
  void ShowComparison(CompareFilesWindow& window, const QStringList& master,
                      const QStringList& source) {
    window.resize(900, 600);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Compare(window, Lines(master), Lines(source));
  }

  void Compare(CompareFilesWindow& window, const QByteArray& master, const QByteArray& source) {
    window.ComparePair(env_->Write("m.txt", master), env_->Write("s.txt", source));
    QTRY_VERIFY_WITH_TIMEOUT(window.StatusText(3).startsWith("File Compare Completed"), 20000);
    Settle();
  }

  static void Settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  }

  static std::vector<WalkRecord> Records(CompareFilesWindow& window) {
    std::vector<WalkRecord> records;
    widgets::LindrelWidget* c = window.Lindrel1();
    for (long i = 0; i < c->FileCompareResultsCount(); ++i) {
      WalkRecord r;
      if (c->FileCompareResultsGet(i, r.kind, r.m1, r.m2, r.s1, r.s2)) records.push_back(r);
    }
    return records;
  }

  std::unique_ptr<GuiTestEnvironment> env_;
};

QTEST_MAIN(CompareFilesChangeMapTest)
#include "CompareFilesChangeMapTest.moc"
