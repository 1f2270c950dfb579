// Moving between the changes of the Compare Files window, the word-level detail view and
// the reports it writes. Pauses and the clock are injected; comparisons are real.
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTextBlock>
#include <QTextEdit>
#include <QtTest>

#include "GuiTestEnvironment.h"
#include "ViewParts.h"
#include "demo/common/UiTiming.h"
#include "demo/compare-files/CompareFilesWindow.h"
#include "demo/compare-files/GoToDialog.h"
#include "lindrel/widgets/LindrelWidget.h"
#include "widgets/ModalDialogsTesting.h"
#include "widgets/view/ComparisonGrid.h"
#include "widgets/view/ParagraphWords.h"

using namespace lindrel::testing;

using lindrel::demo::CompareFilesWindow;
using lindrel::testing::GuiTestEnvironment;
using lindrel::widgets::ParagraphWords;
using lindrel::widgets::RowBack;
namespace widgets = lindrel::widgets;

namespace {

QByteArray Lines(const QStringList& lines) { return (lines.join('\n') + '\n').toUtf8(); }

// One record of each kind and count: an addition after line 7, a deletion, a change of 3
// lines against 1, a deletion of 2, a change of one long line, an addition of 2 at the end.
const QStringList kMaster{"a1", "a2", "a3", "a4", "a5",  "a6", "a7", "a8",  "D1",
                          "a9", "C1", "C2", "C3", "a10", "E1", "E2", "a11", QString(150, 'L'),
                          "a12"};
const QStringList kSource{"a1",  "a2",   "a3",  "a4", "a5",  "a6",  "a7",
                          "ADD", "a8",   "a9",  "N1", "a10", "a11", QString(150, 'M'),
                          "a12", "ADD2", "ADD3"};

// "text:bold,underline,strike,#colour" for each run of one format in the box.
QStringList Runs(const QTextEdit* box) {
  QStringList runs;
  for (QTextBlock block = box->document()->begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      const QTextCharFormat f = fragment.charFormat();
      QString marks;
      if (f.fontWeight() == QFont::Bold) marks += 'B';
      if (f.fontUnderline()) marks += 'U';
      if (f.fontStrikeOut()) marks += 'S';
      runs << fragment.text() +
                  (marks.isEmpty() ? QString() : ":" + marks + f.foreground().color().name());
    }
  }
  return runs;
}

}  // namespace

class CompareFilesNavigationTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { env_ = std::make_unique<GuiTestEnvironment>(GuiTestEnvironment::NoPauses()); }
  void cleanup() { env_.reset(); }

  void dropDownDescribesEveryRecord() {
    CompareFilesWindow window;
    Compare(window, Lines(kMaster), Lines(kSource));
    QStringList entries;
    for (int i = 0; i < ChangeListing(window)->count(); ++i)
      entries << ChangeListing(window)->itemText(i);
    QCOMPARE(entries, (QStringList{
                          "[1] Addition of 1 line at line (7) : \"ADD\"",
                          "[2] Deletion of 1 line at line (9) : \"D1\"",
                          "[3] 3 changes at line (11) :\"C1\"",
                          "[4] Deletion of 2 lines at line (15) : \"E1\"",
                          "[5] 1 change at line (18) :\"" + QString(100, 'L') + "\"",
                          "[6] Addition of 2 lines at line (19) : \"ADD2\"",
                      }));
    QCOMPARE(ChangeListing(window)->currentIndex(), 0);
    QCOMPARE(window.StatusText(3), QString("File Compare Completed"));
  }

  void movesFollowTheRecordsAndHighlightTheCurrentChange() {
    CompareFilesWindow window;
    Compare(window, Lines(kMaster), Lines(kSource));
    const auto& master = MasterModel(window);
    QCOMPARE(CurrentChange(window), 1);
    QCOMPARE(window.StatusText(2), QString("1"));
    QCOMPARE(Images(window), (QList<int>{8, 9, 3, 4, 5}));
    // The padding opposite the addition is the current change; the others keep EFEFEF.
    QCOMPARE(master.Row(8).back, RowBack::CurrentChange);
    QCOMPARE(master.Row(10).back, RowBack::Change);

    MoveLast(window);
    QCOMPARE(CurrentChange(window), 6);
    QCOMPARE(ChangeListing(window)->currentIndex(), 5);
    QCOMPARE(window.StatusText(3), QString("[6] Addition of 2 lines at line: 19"));
    QCOMPARE(Images(window), (QList<int>{1, 2, 10, 11, 5}));
    QCOMPARE(master.Row(8).back, RowBack::Change);

    // Next on the last change: the rows of the change are stepped through, then nothing.
    const int last = master.GridRowCount() - 1;
    MoveNext(window);
    QCOMPARE(CurrentChange(window), 6);
    QCOMPARE(MasterGrid(window)->CurrentRow(), last);
    MoveNext(window);
    QCOMPARE(MasterGrid(window)->CurrentRow(), last);

    MoveFirst(window);
    MovePrevious(window);  // on the first change: shows it again
    QCOMPARE(CurrentChange(window), 1);
    QCOMPARE(window.StatusText(3), QString("[1] Addition of 1 line at line: 7"));

    // The drop-down moves too, and the middle state shows every picture active.
    Choose(window, 2);
    QCOMPARE(CurrentChange(window), 3);
    QCOMPARE(window.StatusText(3), QString("[3] Change at line: 11"));
    QCOMPARE(Images(window), (QList<int>{1, 2, 3, 4, 5}));
    // Every row of the change, lines and padding, on both sides; nothing around it.
    const auto& source = SourceModel(window);
    for (int r = 11; r <= 15; ++r) {
      const RowBack expected = r >= 12 && r <= 14 ? RowBack::CurrentChange : RowBack::Normal;
      QVERIFY2(master.Row(r).back == expected && source.Row(r).back == expected,
               qPrintable(QString::number(r)));
    }
    QVERIFY(master.Row(13).back == RowBack::CurrentChange && source.Row(14).IsPadding());
    MoveNext(window);  // three master rows against one source line: stays on change 3
    MoveNext(window);
    QCOMPARE(CurrentChange(window), 3);
    MoveNext(window);
    MoveNext(window);  // past the change's rows: the next change
    QCOMPARE(CurrentChange(window), 4);
    QCOMPARE(window.StatusText(3), QString("[4] Deletion of 2 lines at line: 15"));

    // On the change's second row (E2), its own entry in the list brings it back to the
    // first (E1).
    QCOMPARE(MasterModel(window).LineText(MasterGrid(window)->CurrentRow()), QString("E2"));
    Choose(window, 3);
    QCOMPARE(CurrentChange(window), 4);
    QCOMPARE(MasterModel(window).LineText(MasterGrid(window)->CurrentRow()), QString("E1"));
  }

  void changeListKeepsWholeCharactersAndInnerByteOrderMarks() {
    CompareFilesWindow window;
    const QByteArray wide = QByteArray(99, 'e') + "\xF0\x9F\x98\x80" + "tail";
    Compare(window, "x\n\xEF\xBB\xBFy\nz\n", "x\nY\nz\n" + wide + "\n");
    QCOMPARE(ChangeListing(window)->count(), 2);
    QCOMPARE(ChangeListing(window)->itemText(0), QString("[1] 1 change at line (2) :\"\uFEFFy\""));
    QCOMPARE(ChangeListing(window)->itemText(1), "[2] Addition of 1 line at line (3) : \"" +
                                                     QString(99, 'e') +
                                                     QString::fromUtf8("\xF0\x9F\x98\x80") + "\"");
  }

  void goToMovesOnlyToAWholeNumberInRange_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("expected");
    QTest::newRow("in range") << "4" << 4;
    QTest::newRow("zero") << "0" << 2;
    QTest::newRow("negative") << "-3" << 2;
    QTest::newRow("above the count") << "7" << 2;
    QTest::newRow("not a number") << "4x" << 2;
    QTest::newRow("empty") << "" << 2;
  }
  void goToMovesOnlyToAWholeNumberInRange() {
    QFETCH(QString, typed);
    QFETCH(int, expected);
    CompareFilesWindow window;
    Compare(window, Lines(kMaster), Lines(kSource));
    Choose(window, 1);
    QString shown;
    widgets::TEST_SetModalHandler([&](QDialog& dialog) {
      auto& goTo = static_cast<lindrel::demo::GoToDialog&>(dialog);
      shown = goTo.Text();
      goTo.SetText(typed);
      dialog.accept();
    });
    window.GoToChange();
    QCOMPARE(shown, QString("2"));
    QCOMPARE(CurrentChange(window), expected);
  }

  void noRecordsGreyEveryButtonAndOneRecordGreysFirstAndPrevious() {
    CompareFilesWindow window;
    Compare(window, Lines({"x", "y"}), Lines({"x", "y"}));
    QCOMPARE(Images(window), (QList<int>{8, 9, 10, 11, 12}));
    MoveNext(window);
    MoveLast(window);
    QCOMPARE(CurrentChange(window), 0);

    Compare(window, Lines({"x", "y"}), Lines({"x", "z"}));
    QCOMPARE(Images(window), (QList<int>{8, 9, 3, 4, 5}));
  }

  void aChangeAtTheFirstLineShowsNoLineOfContext() {
    QStringList master, source;
    for (int i = 1; i <= 400; ++i) {
      master << QStringLiteral("line %1").arg(i);
      source << (i == 1 || i == 200 ? QStringLiteral("changed %1").arg(i) : master.last());
    }
    CompareFilesWindow window;
    window.resize(800, 400);
    window.show();
    Compare(window, Lines(master), Lines(source));
    QCOMPARE(MasterGrid(window)->TopRow(), 1);
    MoveNext(window);
    QCOMPARE(CurrentChange(window), 2);
    QCOMPARE(MasterGrid(window)->TopRow(), 199);  // one line above the change
    QCOMPARE(SourceGrid(window)->TopRow(), 199);
    QCOMPARE(MasterGrid(window)->CurrentRow(), 200);
  }

  void wordsThatDifferAreMarkedInBothViews() {
    CompareFilesWindow window;
    window.resize(900, 500);
    window.show();
    Compare(window, Lines({"one two three"}), Lines({"one 2 three"}));
    QCOMPARE(Runs(MasterOverlay(window)), (QStringList{"one ", "two :BU#ff0000", "three"}));
    QCOMPARE(Runs(SourceOverlay(window)), (QStringList{"one ", "2 :BU#ff0000", "three"}));
    QVERIFY(MasterOverlay(window)->isVisible() && SourceOverlay(window)->isVisible());
    // Unmarked words keep the box's own text colour, never white on white.
    const QTextCharFormat plain =
        MasterOverlay(window)->document()->begin().begin().fragment().charFormat();
    QCOMPARE(plain.foreground().color(), MasterOverlay(window)->palette().color(QPalette::Text));

    cmdCompareFilesViewFormat_Click(window);
    QVERIFY(AllInOneOverlay(window)->isVisible());
    QCOMPARE(Runs(AllInOneOverlay(window)),
             (QStringList{"one ", "two :BS#ff0000", "2 :BU#ff0000", "three"}));
  }

  void removedWordsOppositeAPaddingRowAreStruckThrough() {
    CompareFilesWindow window;
    window.show();
    Compare(window, Lines({"keep", "gone  words", "end"}), Lines({"keep", "end"}));
    cmdCompareFilesViewFormat_Click(window);
    QCOMPARE(Runs(AllInOneOverlay(window)), (QStringList{"gone  words:BS#0000ff"}));
    cmdCompareFilesViewFormat_Click(window);
    QCOMPARE(Runs(MasterOverlay(window)), (QStringList{"gone  words:BU#0000ff"}));
  }

  void identicalLinesStayUnmarkedAndOnlyTheRowOnViewIsEnlarged() {
    CompareFilesWindow window;
    window.resize(900, 500);
    window.show();
    Compare(window, Lines({"a", "same words here", "b", "c", "d"}),
            Lines({"A", "same words here", "b", "c", "D"}));
    auto* grid = MasterGrid(window);
    const int normal = grid->rowHeight(3);
    QVERIFY(grid->rowHeight(0) > normal);  // the first change's row, enlarged
    MoveNext(window);
    QCOMPARE(grid->rowHeight(0), normal);
    QVERIFY(grid->rowHeight(4) > normal);
    QCOMPARE(SourceGrid(window)->rowHeight(4), grid->rowHeight(4));

    grid->SetCurrentRow(2);
    window.mnuShowDetail_Click();
    QCOMPARE(Runs(MasterOverlay(window)), QStringList{"same words here"});
    QCOMPARE(Runs(SourceOverlay(window)), QStringList{"same words here"});
    QCOMPARE(grid->rowHeight(4), normal);
  }

  void wordsAreSplitAfterEveryDelimiter() {
    ParagraphWords words(
        "a  b\x07"
        "c");
    QCOMPARE(words.Count(), 4);
    QCOMPARE(words.Text(1, 1), QString("a "));
    QCOMPARE(words.Text(2, 2), QString(" "));
    QCOMPARE(words.Text(3, 4), QString("b\x07"
                                       "c"));
    QCOMPARE(words.WordFile(), QByteArray("a \n \nb\x07\nc\n"));
    QCOMPARE(ParagraphWords("").Count(), 0);
    QCOMPARE(ParagraphWords("x ").Count(), 1);
    QVERIFY(words.Text(3, 9).isEmpty());
  }

  void typingOverlayShowsTheTypedCharacterAndKeepsNothing() {
    CompareFilesWindow window;
    window.resize(900, 500);
    window.show();
    Compare(window, Lines({"a", "b", "c"}), Lines({"a", "B", "c"}));
    auto* grid = MasterGrid(window);
    grid->SetCurrentRow(3);
    QTest::keyClick(grid, Qt::Key_Z);
    QVERIFY(MasterOverlay(window)->isVisible());
    QCOMPARE(MasterOverlay(window)->toPlainText(), QString("z"));
    QTest::keyClick(MasterOverlay(window), Qt::Key_Up);
    QCOMPARE(grid->CurrentRow(), 2);
    QCOMPARE(MasterModel(window).LineText(3), QString("c"));
    QTest::keyClick(grid, Qt::Key_Space);
    QCOMPARE(MasterOverlay(window)->textCursor().selectedText(), QString("b"));
    QTest::keyClick(MasterOverlay(window), Qt::Key_Escape);
    QVERIFY(!MasterOverlay(window)->isVisible());
  }

  void viewReportWritesAndOpensTheDefaultType_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("start");
    QTest::newRow("HTML") << 1 << "r.htm" << QByteArray("<");
    QTest::newRow("text") << 2 << "r.txt" << QByteArray();
    QTest::newRow("comma-delimited") << 3 << "r.csv" << QByteArray();
  }
  void viewReportWritesAndOpensTheDefaultType() {
    QFETCH(int, type);
    QFETCH(QString, file);
    QFETCH(QByteArray, start);
    const QString log = env_->RecordOpenedFiles();
    CompareFilesWindow window;
    Compare(window, Lines(kMaster), Lines(kSource));
    auto report = window.ReportSettings();
    report.defaultType = type;
    report.htmlPath = env_->Root() + "/r.htm";
    report.textPath = env_->Root() + "/r.txt";
    report.commaDelimitedPath = env_->Root() + "/r.csv";
    window.SetReportSettings(report);
    window.cmdViewReport_Click();
    QCOMPARE(window.StatusText(3), QString("Launching Report"));
    const QByteArray written = GuiTestEnvironment::Read(env_->Root() + "/" + file);
    QVERIFY(!written.isEmpty() && written.startsWith(start));
    QTRY_COMPARE(GuiTestEnvironment::Read(log).trimmed(), (env_->Root() + "/" + file).toUtf8());
    for (const QString& other : QStringList{"r.htm", "r.txt", "r.csv"})
      if (other != file) QVERIFY(!QFile::exists(env_->Root() + "/" + other));
  }

 private:
  void Compare(CompareFilesWindow& window, const QByteArray& master, const QByteArray& source) {
    window.ComparePair(env_->Write("m.txt", master), env_->Write("s.txt", source));
    QTRY_VERIFY_WITH_TIMEOUT(window.StatusText(3).startsWith("File Compare Completed"), 20000);
    widgets::TEST_SetNonInteractive(true);  // forget the "Info" boxes of identical pairs
  }

  // A click on entry `index` of the opened change list, as the user chooses it.
  static void Choose(CompareFilesWindow& window, int index) {
    QComboBox* list = ChangeListing(window);
    list->showPopup();
    QAbstractItemView* view = list->view();
    const QModelIndex entry = view->model()->index(index, 0);
    view->scrollTo(entry);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(entry).center());
    if (view->isVisible()) list->hidePopup();
  }

  static QList<int> Images(const CompareFilesWindow& window) {
    QList<int> images;
    for (const char* key : {"cmdFirst", "cmdPrevious", "cmdNext", "cmdLast", "cmdGoTo"})
      images << NavigationImage(window, key);
    return images;
  }

  std::unique_ptr<GuiTestEnvironment> env_;
};

QTEST_MAIN(CompareFilesNavigationTest)
#include "CompareFilesNavigationTest.moc"
