// Finding text, going to a line and marking the words of every changed row in the
// Compare Files window, as a user does it: keys, clicks and the window's commands, in
// both views. Every expectation is written out here.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QTimer>
#include <QtTest>

#include "GuiTestEnvironment.h"
#include "ViewParts.h"
#include "demo/compare-files/CompareFilesSettings.h"
#include "demo/compare-files/CompareFilesWindow.h"
#include "demo/compare-files/GoToLineDialog.h"
#include "widgets/ModalDialogsTesting.h"
#include "widgets/view/ComparisonGrid.h"
#include "widgets/view/RowWordMarks.h"

using namespace lindrel::testing;

using lindrel::demo::CompareFilesSettings;
using lindrel::demo::CompareFilesWindow;
using lindrel::demo::GoToLineDialog;
using lindrel::widgets::ComparisonView;
using lindrel::widgets::DiffWords;
using lindrel::widgets::WordCompareOptions;
using lindrel::widgets::WordMark;
namespace widgets = lindrel::widgets;

namespace {

QByteArray Lines(const QStringList& lines) { return (lines.join('\n') + '\n').toUtf8(); }

// Line 4 changed, line 8 added at the end: grid row n is line n on both sides.
const QStringList kMaster{"one", "two target", "three", "four", "five", "six TARGET", "seven"};
const QStringList kSource{"one",  "two target", "three", "4",
                          "five", "six TARGET", "seven", "eight target"};

using Kind = WordMark::Kind;
using Marks = std::vector<WordMark>;

}  // namespace

class CompareFilesFindTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { env_ = std::make_unique<GuiTestEnvironment>(GuiTestEnvironment::NoPauses()); }
  void cleanup() {
    widgets::TEST_SetModalHandler(nullptr);
    env_.reset();
  }

  void theFindBarGoesThroughTheMatchesByKeys_data() {
    QTest::addColumn<bool>("allInOne");
    QTest::newRow("side by side") << false;
    QTest::newRow("all in one") << true;
  }
  void theFindBarGoesThroughTheMatchesByKeys() {
    QFETCH(bool, allInOne);
    CompareFilesWindow window;
    Show(window);
    Compare(window, Lines(kMaster), Lines(kSource));
    if (allInOne) View(window)->SetAllInOne(true);
    widgets::ComparisonGrid* grid = allInOne ? AllInOneGrid(window) : MasterGrid(window);
    grid->setFocus();
    grid->SetCurrentRow(1);

    QTest::keyClick(grid, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    auto* text = Part<QLineEdit>(window, "findText");
    QVERIFY(text->isVisible());
    QCOMPARE(QApplication::focusWidget(), text);
    QTest::keyClicks(text, "target");
    // Letters of either case match at first; the master's line before the source's.
    const struct {
      Qt::Key key;
      Qt::KeyboardModifiers modifiers;
      const char* status;
      int row;
    } steps[] = {
        {Qt::Key_Return, {}, "Line 2 of the master.", 2},
        {Qt::Key_F3, {}, "Line 2 of the source.", 2},
        {Qt::Key_F3, {}, "Line 6 of the master.", 6},
        {Qt::Key_F3, {}, "Line 6 of the source.", 6},
        {Qt::Key_F3, {}, "Line 8 of the source.", 8},
        {Qt::Key_F3, {}, "Line 2 of the master. Went on from the top.", 2},
        {Qt::Key_F3, Qt::ShiftModifier, "Line 8 of the source. Went on from the bottom.", 8},
        {Qt::Key_Return, Qt::ShiftModifier, "Line 6 of the source.", 6},
    };
    for (const auto& step : steps) {
      QTest::keyClick(text, step.key, step.modifiers);
      QTRY_COMPARE(Status(window), QString(step.status));
      QCOMPARE(grid->CurrentRow(), step.row);
    }

    // With the case option only "target" itself matches, from the current row on.
    QTest::mouseClick(Part<QCheckBox>(window, "findMatchCase"), Qt::LeftButton);
    QCOMPARE(Status(window), QString());
    for (const char* status :
         {"Line 8 of the source.", "Line 2 of the master. Went on from the top.",
          "Line 2 of the source."}) {
      QTest::keyClick(text, Qt::Key_F3);
      QTRY_COMPARE(Status(window), QString(status));
    }

    text->selectAll();
    QTest::keyClicks(text, "eleven");
    QTest::keyClick(text, Qt::Key_Return);
    QTRY_COMPARE(Status(window), QString("No match for \"eleven\"."));
    QCOMPARE(grid->CurrentRow(), 2);

    QTest::keyClick(text, Qt::Key_Escape);
    QVERIFY(!text->isVisible());
    QCOMPARE(QApplication::focusWidget(), grid);
  }

  // A file that grew between the comparison and the loading has rows past the other
  // grid's last one; side by side the search goes through them too.
  void linesPastTheOtherFilesEndAreSearched() {
    CompareFilesWindow window;
    Show(window);
    const QString source = env_->Write("s.txt", Lines(kSource));
    window.TEST_SetCompletionProbe([&] {
      env_->Write("s.txt", Lines(kSource + QStringList{"nine", "ten", "grown tail"}));
    });
    window.ComparePair(env_->Write("m.txt", Lines(kMaster)), source);
    QTRY_VERIFY_WITH_TIMEOUT(window.StatusText(3).startsWith("File Compare Completed"), 30000);
    window.TEST_SetCompletionProbe(nullptr);
    QCOMPARE(SourceModel(window).GridRowCount() - 1, 11);
    QVERIFY(MasterModel(window).GridRowCount() - 1 < 11);
    for (bool forward : {true, false}) {
      View(window)->SetFindText("grown tail");
      MasterGrid(window)->SetCurrentRow(1);
      forward ? View(window)->FindNext() : View(window)->FindPrevious();
      QTRY_COMPARE(Status(window), QString(forward ? "Line 11 of the source."
                                                   : "Line 11 of the source. Went on from the "
                                                     "bottom."));
      QCOMPARE(View(window)->CurrentLine(ComparisonView::Side::Source), 11);
    }
    // The all-in-one grid has the master grid's rows, so that line is not in it.
    View(window)->SetAllInOne(true);
    View(window)->FindNext();
    QTRY_COMPARE(Status(window), QString("No match for \"grown tail\"."));
  }

  // Escape belongs to what has the focus: the box typed into over a row closes, the find
  // bar stays; in the bar it closes the bar.
  void escapeClosesWhatHasTheFocus() {
    CompareFilesWindow window;
    Show(window);
    Compare(window, Lines(kMaster), Lines(kSource));
    widgets::ComparisonGrid* grid = MasterGrid(window);
    QTest::keyClick(grid, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(Part<QLineEdit>(window, "findText")->isVisible());
    grid->setFocus();
    grid->SetCurrentRow(3);
    QTest::keyClick(grid, Qt::Key_Z);
    QVERIFY(MasterOverlay(window)->isVisible());
    QTest::keyClick(MasterOverlay(window), Qt::Key_Escape);
    QVERIFY(!MasterOverlay(window)->isVisible());
    QVERIFY(Part<QLineEdit>(window, "findText")->isVisible());
    QTest::keyClick(Part<QCheckBox>(window, "findMatchCase"), Qt::Key_Escape);
    QVERIFY(!Part<QLineEdit>(window, "findText")->isVisible());
  }

  // A search of a million lines would hold the window for a second or more; it runs in
  // slices, and the window's own work runs between them.
  void aSearchThatFindsNothingLetsTheWindowWork() {
    QStringList master, source;
    for (int i = 1; i <= 200000; ++i) master << QStringLiteral("line %1 of the pair").arg(i);
    source = master;
    source[100000] = QStringLiteral("changed");
    CompareFilesWindow window;
    Show(window);
    Compare(window, Lines(master), Lines(source));
    QSignalSpy finished(View(window), &ComparisonView::FindFinished);
    int turns = 0;
    QTimer other;
    connect(&other, &QTimer::timeout, [&] { ++turns; });
    other.start(0);
    View(window)->SetFindText("no such text");
    View(window)->FindNext();
    QVERIFY(finished.wait(60000));
    other.stop();
    QCOMPARE(finished.first().first().toBool(), false);
    QVERIFY2(turns >= 3, qPrintable(QStringLiteral("%1 turns").arg(turns)));
  }

  void goToLineTakesEitherNumbering_data() {
    QTest::addColumn<bool>("allInOne");
    QTest::newRow("side by side") << false;
    QTest::newRow("all in one") << true;
  }
  void goToLineTakesEitherNumbering() {
    QFETCH(bool, allInOne);
    // Line 3 of the master is deleted: the source's numbers run one behind below it.
    CompareFilesWindow window;
    Show(window);
    QStringList master, source;
    for (int i = 1; i <= 300; ++i) master << QStringLiteral("line %1").arg(i);
    source = master;
    source.removeAt(2);
    Compare(window, Lines(master), Lines(source));
    if (allInOne) View(window)->SetAllInOne(true);
    widgets::ComparisonGrid* grid = allInOne ? AllInOneGrid(window) : MasterGrid(window);
    grid->setFocus();

    long offered = -1;
    bool offeredSource = false;
    auto answer = [&](bool source, const QString& typed, bool accept) {
      widgets::TEST_SetModalHandler([&, source, typed, accept](QDialog& dialog) {
        auto& goTo = dynamic_cast<GoToLineDialog&>(dialog);
        offered = goTo.Line();
        offeredSource = goTo.Source();
        goTo.SetSource(source);
        goTo.findChild<QLineEdit*>("txtLine")->setText(typed);
        accept ? dialog.accept() : dialog.reject();
      });
      QTest::keyClick(grid, Qt::Key_L, Qt::ControlModifier);
    };
    answer(true, "250", true);
    QCOMPARE(grid->CurrentRow(), 251);
    QCOMPARE(View(window)->CurrentLine(ComparisonView::Side::Source), 250L);
    QVERIFY(RowOnScreen(grid, 251));
    // The dialog offers the current line in the numbering chosen last.
    answer(false, "2", true);
    QCOMPARE(offered, 250L);
    QCOMPARE(offeredSource, true);
    QCOMPARE(grid->CurrentRow(), 2);
    QVERIFY(RowOnScreen(grid, 2));
    answer(false, "300", false);
    QCOMPARE(grid->CurrentRow(), 2);
    for (const char* typed : {"301", "0", "-4", "x"}) {
      answer(false, typed, true);
      QCOMPARE(grid->CurrentRow(), 2);
      QCOMPARE(window.StatusText(3), QString("The master has lines 1 to 300."));
    }
    answer(true, "300", true);
    QCOMPARE(window.StatusText(3), QString("The source has lines 1 to 299."));
  }

  void theWordMarksAreOffAtFirstAndRemembered() {
    {
      CompareFilesWindow window;
      QVERIFY(!window.Settings().markWordsInEveryChange);
      QVERIFY(!View(window)->MarksWordsInEveryChange());
      window.mnuMarkWordsInEveryChange_Click();
      QVERIFY(View(window)->MarksWordsInEveryChange());
      window.SaveIniFile();
    }
    QVERIFY(CompareFilesSettings::Read().markWordsInEveryChange);
    CompareFilesWindow again;
    QVERIFY(View(again)->MarksWordsInEveryChange());
    again.mnuMarkWordsInEveryChange_Click();
    again.SaveIniFile();
    QVERIFY(!CompareFilesSettings::Read().markWordsInEveryChange);
  }

  void theWordsThatDifferAreMarked_data() {
    QTest::addColumn<QString>("master");
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("ignoreCase");
    QTest::addColumn<bool>("ignoreWhiteSpace");
    QTest::addColumn<Marks>("masterMarks");
    QTest::addColumn<Marks>("sourceMarks");
    QTest::addColumn<Marks>("mergedMarks");
    QTest::newRow("one word changed")
        << "a b c"
        << "a x c" << false << false << Marks{{2, 4, Kind::Changed}} << Marks{{2, 4, Kind::Changed}}
        << Marks{{2, 4, Kind::Changed}};
    QTest::newRow("a word taken out") << "a b c"
                                      << "a c" << false << false << Marks{{2, 4, Kind::Deleted}}
                                      << Marks{} << Marks{{2, 2, Kind::Deleted}};
    QTest::newRow("a word put in") << "a c"
                                   << "a b c" << false << false << Marks{}
                                   << Marks{{2, 4, Kind::Added}} << Marks{{2, 4, Kind::Added}};
    // A word is compared with its blank: the last of a line has none.
    QTest::newRow("the last word") << "a c"
                                   << "a c d" << false << false << Marks{{2, 3, Kind::Changed}}
                                   << Marks{{2, 5, Kind::Changed}} << Marks{{2, 5, Kind::Changed}};
    QTest::newRow("case") << "Fish and Chips"
                          << "fish and chips" << false << false
                          << Marks{{0, 5, Kind::Changed}, {9, 14, Kind::Changed}}
                          << Marks{{0, 5, Kind::Changed}, {9, 14, Kind::Changed}}
                          << Marks{{0, 5, Kind::Changed}, {9, 14, Kind::Changed}};
    QTest::newRow("case ignored") << "Fish and Chips"
                                  << "fish and chips" << true << false << Marks{} << Marks{}
                                  << Marks{};
    QTest::newRow("white space ignored") << "a  b"
                                         << "a b" << false << true << Marks{{2, 3, Kind::Deleted}}
                                         << Marks{} << Marks{{2, 2, Kind::Deleted}};
    QTest::newRow("the same words moved")
        << "x y z "
        << "z x y " << false << false << Marks{{4, 6, Kind::Deleted}} << Marks{{0, 2, Kind::Added}}
        << Marks{{0, 2, Kind::Added}, {6, 6, Kind::Deleted}};
  }
  void theWordsThatDifferAreMarked() {
    QFETCH(QString, master);
    QFETCH(QString, source);
    QFETCH(bool, ignoreCase);
    QFETCH(bool, ignoreWhiteSpace);
    QFETCH(Marks, masterMarks);
    QFETCH(Marks, sourceMarks);
    QFETCH(Marks, mergedMarks);
    const auto d = DiffWords(master, source, WordCompareOptions{ignoreCase, ignoreWhiteSpace});
    QCOMPARE(Text(d.master), Text(masterMarks));
    QCOMPARE(Text(d.source), Text(sourceMarks));
    QCOMPARE(Text(d.merged), Text(mergedMarks));
  }

  // Two long lines with nothing in common cost a table of no more than a bounded size:
  // their middles are marked whole.
  void aLongLineIsMarkedAtBoundedCost() {
    QStringList a, b;
    for (int i = 0; i < 700; ++i) {
      a << QStringLiteral("a%1").arg(i);
      b << QStringLiteral("b%1").arg(i);
    }
    const QString master = "same " + a.join(' ') + " end";
    const QString source = "same " + b.join(' ') + " end";
    const auto d = DiffWords(master, source);
    QCOMPARE(Text(d.master), Text(Marks{{5, int(master.size()) - 3, Kind::Changed}}));
    QCOMPARE(Text(d.source), Text(Marks{{5, int(source.size()) - 3, Kind::Changed}}));
  }

  // The marks lie behind the characters: every pixel the text covers (nearly) fully
  // without them stays the text's colour with them, the underscores' included.
  void theMarksLeaveEveryCharacterVisible() {
    CompareFilesWindow window;
    Show(window);
    Compare(window, Lines({"keep_this snake_case __x__"}), Lines({"keep_this camel_case __y__"}));
    widgets::ComparisonPalette colours;
    colours.changedWords = QColor(0x00, 0x00, 0xFE);
    View(window)->SetColours(colours);
    // Large enough for an underscore a pixel or more thick.
    View(window)->SetTextFont(QFont("DejaVu Sans Mono", 20));
    const QColor text(0xFF, 0x00, 0x00);  // the text colour of a changed line
    View(window)->HideDetail();
    for (widgets::ComparisonGrid* grid : {MasterGrid(window), SourceGrid(window)}) {
      grid->clearSelection();
      grid->setCurrentIndex({});
      View(window)->SetMarksWordsInEveryChange(false);
      const QImage plain = Cell(grid, 1);
      View(window)->SetMarksWordsInEveryChange(true);
      const QImage marked = Cell(grid, 1);
      auto red = [](QColor c, int most) {
        return c.red() > 200 && c.green() < most && c.blue() < most;
      };
      int textPixels = 0, markPixels = 0;
      for (int y = 0; y < plain.height(); ++y) {
        for (int x = 0; x < plain.width(); ++x) {
          markPixels += marked.pixelColor(x, y) == colours.changedWords;
          if (!red(plain.pixelColor(x, y), 30)) continue;
          ++textPixels;
          QVERIFY2(red(marked.pixelColor(x, y), 60),
                   qPrintable(QStringLiteral("at %1, %2").arg(x).arg(y)));
        }
      }

      QVERIFY(textPixels > 20);
      QVERIFY(markPixels > 0);
    }
  }

 private:
  static QString Text(const Marks& marks) {
    QStringList parts;
    for (const WordMark& m : marks)
      parts << QStringLiteral("%1-%2:%3").arg(m.begin).arg(m.end).arg(int(m.kind));
    return parts.join(' ');
  }

  static QImage Cell(widgets::ComparisonGrid* grid, int gridRow) {
    const QRect cell = grid->visualRect(grid->model()->index(gridRow - 1, 1));
    return grid->viewport()->grab(cell).toImage();
  }

  static bool RowOnScreen(widgets::ComparisonGrid* grid, int gridRow) {
    const QRect row = grid->visualRect(grid->model()->index(gridRow - 1, 1));
    return row.top() >= 0 && row.bottom() < grid->viewport()->height();
  }

  static QString Status(CompareFilesWindow& window) {
    return Part<QLabel>(window, "findStatus")->text();
  }

  static void Show(CompareFilesWindow& window) {
    window.resize(900, 600);
    window.show();
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowExposed(&window));
  }

  void Compare(CompareFilesWindow& window, const QByteArray& master, const QByteArray& source) {
    window.ComparePair(env_->Write("m.txt", master), env_->Write("s.txt", source));
    QTRY_VERIFY_WITH_TIMEOUT(window.StatusText(3).startsWith("File Compare Completed"), 30000);
    // Keys reach the window while it is the active one; the please-wait window was.
    window.activateWindow();
    QApplication::setActiveWindow(&window);
  }

  std::unique_ptr<GuiTestEnvironment> env_;
};

QTEST_MAIN(CompareFilesFindTest)
#include "CompareFilesFindTest.moc"
