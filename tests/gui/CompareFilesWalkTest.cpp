// A long random walk through the desktop program as a person uses it: comparing pairs
// from the command line and the options dialog, switching views, F7, Shift+F7, F4 with
// a number, the change list, Alt+Down and Alt+Up (or View > Next Change, Previous
// Change), clicks on the change map and hiding it, Refresh after the files changed or
// vanished, a file changed while it is compared, Swap, resizing, another font, the
// legend, View Report (now and then aimed at the master file), closing and reopening the
// window, the find bar (Ctrl+Shift+F, Return, F3, Shift+F3, Esc), Go To Line (Ctrl+L) and
// View > Mark Words in Every Change. After every step it checks what the user would see against a
// literal reference of the grids, and that the change map marks every record at its rows, with the
// current change and a frame around the rows on screen; the window warns of a changed file (in its
// status and its changed-on-disk bar) exactly when one changed, and a report is opened exactly when
// the request wrote it. A match found is on screen and holds the text; the marks of every changed
// row on screen leave exactly a longest common sequence of the two lines' words unmarked (worked
// out here, word by word).
//
// LINDREL_WALK_SEED and LINDREL_WALK_STEPS choose the walk (a soak takes more steps);
// a failure names the seed, the step and the steps before it. Without a seed chosen, the
// default walk runs and then every walk kept because it once failed. Pauses are injected,
// so nothing waits real seconds; comparisons run on the component's worker as in use.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QToolBar>
#include <QUrl>
#include <QtTest>

#include <deque>
#include <random>

#include "GuiTestEnvironment.h"
#include "ViewParts.h"
#include "WalkPairs.h"
#include "demo/common/DesktopOpener.h"
#include "demo/common/FileNames.h"
#include "demo/common/UiTiming.h"
#include "demo/compare-files/CompareFilesOptionsDialog.h"
#include "demo/compare-files/CompareFilesWindow.h"
#include "demo/compare-files/GoToDialog.h"
#include "demo/compare-files/GoToLineDialog.h"
#include "demo/main/DemoApplication.h"
#include "demo/main/MainWindow.h"
#include "lindrel/widgets/FileStamp.h"
#include "lindrel/widgets/LindrelWidget.h"
#include "widgets/ModalDialogsTesting.h"
#include "widgets/view/AllInOneModel.h"
#include "widgets/view/ChangeMap.h"
#include "widgets/view/ComparisonGrid.h"
#include "widgets/view/FileGridModel.h"
#include "widgets/view/RowWordMarks.h"
#include "widgets/view/ViewFinder.h"
#include "widgets/view/WrappedLineCounter.h"

using lindrel::demo::CompareFilesWindow;
using lindrel::demo::MainWindow;
using lindrel::widgets::AllInOneModel;
using lindrel::widgets::ComparisonGrid;
using lindrel::widgets::FileGridModel;
using lindrel::widgets::RowBack;
using lindrel::widgets::RowFore;
using namespace lindrel::testing;
namespace widgets = lindrel::widgets;

namespace {

unsigned long EnvironmentNumber(const char* name, unsigned long fallback) {
  bool ok = false;
  const unsigned long value = qEnvironmentVariable(name).toULong(&ok);
  return ok ? value : fallback;
}

// Walks that once failed, each run to its own length: what they found stays found.
struct KeptWalk {
  const char* found;
  unsigned long seed;
  unsigned long steps;
};
constexpr KeptWalk kKeptWalks[] = {
    {"a new pair left the source grid at its old top row", 7301, 3830},
    {"identical files after a changed one left the grids apart", 41006, 2363},
    {"a horizontal scroll bar gave one grid of the pair a shorter view", 63002, 3825},
};

// What the step asks of the view on screen.
enum class Expect { Nothing, ChangeOnScreen, CurrentRowOnScreen, MapRowOnScreen };

// The comparison the grids show, as the test saw it when it completed.
struct Shown {
  bool readable = false;
  // False when a file changed after the comparison: its records describe lines the
  // grids no longer hold, and no literal reference says where they go.
  bool recordsFitFiles = true;
  QList<QByteArray> masterLines, sourceLines;
  std::vector<WalkRecord> records;
  long count = 0;  // FileCompareResultsCount
  WalkGrids grids;
};

RowFore ForeOf(WalkFore fore) {
  switch (fore) {
    case WalkFore::Changed: return RowFore::Changed;
    case WalkFore::OnlyInMaster: return RowFore::OnlyInMaster;
    case WalkFore::OnlyInSource: return RowFore::OnlyInSource;
    case WalkFore::Normal: break;
  }
  return RowFore::Normal;
}

// True when `text` holds no half of a surrogate pair.
bool ValidText(const QString& text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i].isHighSurrogate()) {
      if (i + 1 >= text.size() || !text[i + 1].isLowSurrogate()) return false;
      ++i;
    } else if (text[i].isLowSurrogate()) {
      return false;
    }
  }
  return true;
}

qsizetype CodePoints(const QString& text) { return text.toUcs4().size(); }

// The words of a line as the view compares them: each up to and including a line feed,
// carriage return, blank or BEL; [begin, end) of each.
std::vector<std::pair<int, int>> SplitWords(const QString& text) {
  std::vector<std::pair<int, int>> words;
  int begin = 0;
  for (int i = 0; i < text.size(); ++i) {
    const char16_t c = text[i].unicode();
    if (c == '\n' || c == '\r' || c == ' ' || c == 7) {
      words.emplace_back(begin, i + 1);
      begin = i + 1;
    }
  }
  if (begin < text.size()) words.emplace_back(begin, static_cast<int>(text.size()));
  return words;
}

// A word as the engine compares it under the two settings.
QString WordKey(const QString& word, bool ignoreCase, bool ignoreWhiteSpace) {
  QString key;
  for (QChar c : word) {
    if (ignoreWhiteSpace && (c == ' ' || (c.unicode() >= 9 && c.unicode() <= 13))) continue;
    key += ignoreCase && c >= 'A' && c <= 'Z' ? QChar(c.unicode() + 32) : c;
  }
  return key;
}

// The length of a longest common subsequence of `a` and `b`.
int CommonLength(const QStringList& a, const QStringList& b) {
  std::vector<int> above(static_cast<size_t>(b.size() + 1), 0), row(above.size(), 0);
  for (const QString& x : a) {
    for (qsizetype j = 0; j < b.size(); ++j)
      row[j + 1] = x == b[j] ? above[j] + 1 : std::max(row[j], above[j + 1]);
    std::swap(above, row);
  }
  return above.back();
}

}  // namespace

class CompareFilesWalkTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    env_ = std::make_unique<GuiTestEnvironment>();
    clock_ = 0;
    step_ = 0;
    started_ = completed_ = 0;
    changedWhileCompared_ = false;
    shown_ = {};
    log_.clear();
    lindrel::demo::TEST_SetTiming(
        {[](int) { QCoreApplication::processEvents(); }, [this] { return ++clock_; }, [] {}});
    lindrel::demo::TEST_SetOpener([this](const QString& path) { opened_ << path; });
  }
  void cleanup() {
    lindrel::demo::TEST_SetOpener(nullptr);
    widgets::TEST_SetModalHandler(nullptr);
    lindrel::demo::TEST_SetTiming({});
    env_.reset();
  }

  void walk_data() {
    QTest::addColumn<unsigned long>("seed");
    QTest::addColumn<unsigned long>("steps");
    // With drops, some steps drop files on the window as a file manager would; the kept
    // walks replay without them, as they were found.
    QTest::addColumn<bool>("drops");
    const unsigned long steps = EnvironmentNumber("LINDREL_WALK_STEPS", 250);
    if (qEnvironmentVariableIsSet("LINDREL_WALK_SEED")) {
      const unsigned long seed = EnvironmentNumber("LINDREL_WALK_SEED", 0);
      QTest::addRow("seed %lu", seed)
          << seed << steps << (EnvironmentNumber("LINDREL_WALK_DROPS", 0) != 0);
      return;
    }
    QTest::newRow("default") << 20261208ul << steps << false;
    QTest::newRow("with drops") << 20261209ul << steps << true;
    QTest::newRow("finding") << 20261210ul << steps << false;
    // The kept walks are long: a sanitizer build, ten times slower, leaves them out.
    if (EnvironmentNumber("LINDREL_WALK_KEPT", 1) == 0) return;
    for (const KeptWalk& kept : kKeptWalks)
      QTest::addRow("seed %lu: %s", kept.seed, kept.found) << kept.seed << kept.steps << false;
  }

  void walk() {
    QFETCH(unsigned long, seed);
    QFETCH(unsigned long, steps);
    QFETCH(bool, drops);
    seed_ = seed;
    drops_ = drops;
    matchesFound_ = markedRowsChecked_ = 0;
    // The kept walks replay the steps they were found with; the others find and mark too.
    finds_ = !QByteArray(QTest::currentDataTag()).contains(": ");
    std::mt19937 random(static_cast<std::mt19937::result_type>(seed_));
    random_ = &random;
    WalkPairMaker maker(random);
    maker_ = &maker;
    masterPath_ = env_->Root() + "/walk/master.txt";
    sourcePath_ = env_->Root() + "/walk/source.txt";

    MainWindow main(lindrel::demo::DemoChildFactories());
    main_ = &main;
    main.resize(1200, 800);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));

    // The first comparison comes from the command line, as "LindrelDemo A B" does it,
    // with its first change far below the first screen.
    WritePair(maker.MakeLateFirstChange());
    lindrel::demo::OpenFromCommandLine(main, {masterPath_, sourcePath_});
    files_ = qobject_cast<CompareFilesWindow*>(main.Child(MainWindow::kCompareFiles));
    QVERIFY(files_ != nullptr);
    connect(files_->Lindrel1(), &widgets::LindrelWidget::FileCompareStarted, this,
            [this] { ++started_; });
    // Connected after the window's own handler: the window has shown the result.
    connect(files_->Lindrel1(), &widgets::LindrelWidget::FileCompareCompleted, this, [this] {
      ++completed_;
      Capture();
    });
    ++started_;  // the command line's comparison began before the connection
    QTRY_VERIFY_WITH_TIMEOUT(completed_ >= 1, 30000);
    Log("command line: " + pairShape_);
    Check(Expect::ChangeOnScreen);
    if (QTest::currentTestFailed()) return;

    for (step_ = 1; step_ <= steps; ++step_) {
      const Expect expect = Act();
      if (QTest::currentTestFailed()) return;
      Settle();
      Check(expect);
      if (QTest::currentTestFailed()) return;
    }
    qInfo("walk: seed %lu, %lu steps, %d comparisons, %d matches found, %d marked rows checked",
          seed_, steps, completed_, matchesFound_, markedRowsChecked_);
  }

 private:
  // --- Steps ------------------------------------------------------------------------------

  int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(*random_); }

  Expect Act() {
    startedBefore_ = started_;
    switch (Below(finds_ ? 35 : 31)) {
      case 0:
      case 1:
      case 2: return NewPair();
      case 3:
      case 4: return RefreshAfterChange();
      case 5:
        return Trigger(main_->Menus().mnuSwap, "Swap") ? WaitForComparison() : Expect::Nothing;
      case 6:
      case 7: return SwitchView();
      case 8:
      case 9:
      case 10:
      case 11: return Key(Qt::Key_F7, Qt::NoModifier, "F7");
      case 12:
      case 13: return Key(Qt::Key_F7, Qt::ShiftModifier, "Shift+F7");
      case 14: return GoTo();
      case 15:
      case 16: return ChooseFromList();
      case 17: return ScrollAway();
      case 18: return Resize();
      case 19: return ChangeFont();
      case 20: Trigger(main_->Menus().mnuViewLegend, "legend"); return Expect::Nothing;
      case 21: return CloseAndReopen();
      case 22: return DoubleClick();
      case 23: return ViewReport();
      case 24: return ChangeWhileCompared();
      case 26:
      case 27: return WholeChange(true);
      case 28: return WholeChange(false);
      case 25:
        if (drops_) return Drop();
        return Key(Qt::Key_F7, Qt::NoModifier, "F7");
      case 29: return ClickMap();
      case 30:
        if (Below(3) == 0) Trigger(main_->Menus().mnuViewChangeMap, "change map shown or hidden");
        return Expect::Nothing;
      case 31:
      case 32: return Find();
      case 33: return GoToLine();
      case 34: return MarkWords();
      default: return Key(Qt::Key_F7, Qt::NoModifier, "F7");
    }
  }

  // Ctrl+Shift+F, a piece of a line shown (or text no line holds), then Return, F3 or
  // Shift+F3; now and then Esc.
  Expect Find() {
    if (!files_->isVisible() || completed_ == 0 || !shown_.readable || files_->ShowReportOnly())
      return Expect::Nothing;
    Key(Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier, "Ctrl+Shift+F");
    if (QTest::currentTestFailed()) return Expect::Nothing;
    auto* text = files_->findChild<QLineEdit*>("findText");
    if (text == nullptr || !text->isVisible() || QApplication::focusWidget() != text) {
      QTest::qFail(Where("Ctrl+Shift+F left the find bar closed").constData(), __FILE__, __LINE__);
      return Expect::Nothing;
    }
    const bool fromSource = Below(2) == 0;
    const QList<QByteArray>& lines = fromSource ? shown_.sourceLines : shown_.masterLines;
    QString query = QStringLiteral("\u00A7no line holds this\u00A7");
    if (!lines.isEmpty() && Below(6) != 0) {
      const QString line = ShownText(lines, Below(static_cast<int>(lines.size())));
      if (!line.trimmed().isEmpty()) {
        const int at = Below(static_cast<int>(std::min<qsizetype>(line.size(), 2000)));
        query = line.mid(at, 1 + Below(6));
        if (!query.isEmpty() && query.back().isHighSurrogate()) query.chop(1);
        if (!query.isEmpty() && query.front().isLowSurrogate()) query.remove(0, 1);
      }
    }
    if (query.trimmed().isEmpty()) query = QStringLiteral("\u00A7no line holds this\u00A7");
    text->setText(query);
    const int how = Below(3);
    Log(QStringLiteral("  find \"%1\" with %2")
            .arg(query.left(20), QStringList{"Return", "F3", "Shift+F3"}[how]));
    if (how == 0)
      QTest::keyClick(text, Qt::Key_Return);
    else
      QTest::keyClick(text, Qt::Key_F3, how == 2 ? Qt::ShiftModifier : Qt::NoModifier);
    [&] { QTRY_VERIFY_WITH_TIMEOUT(!View(files_)->Finding(), 20000); }();
    if (QTest::currentTestFailed()) return Expect::Nothing;
    const bool exists = AnyLineHolds(query);
    const QString status = View(files_)->FindStatus();
    const QRegularExpressionMatch found =
        QRegularExpression(QStringLiteral("^Line (\\d+) of the (master|source)\\.")).match(status);
    if (!exists) {
      [&] {
        QVERIFY2(status.startsWith("No match for "),
                 Where("text no line holds was found: " + status).constData());
      }();
    } else {
      [&] {
        QVERIFY2(found.hasMatch(), Where("text a line holds was not found: " + status).constData());
        const bool source = found.captured(2) == "source";
        const int line = found.captured(1).toInt();
        const QList<QByteArray>& in = source ? shown_.sourceLines : shown_.masterLines;
        QVERIFY2(line >= 1 && line <= in.size() &&
                     ShownText(in, line - 1).contains(query, Qt::CaseInsensitive),
                 Where(QStringLiteral("line %1 of the %2 does not hold the text")
                           .arg(line)
                           .arg(found.captured(2)))
                     .constData());
        QVERIFY2(View(files_)->CurrentLine(source ? widgets::ComparisonView::Side::Source
                                                  : widgets::ComparisonView::Side::Master) == line,
                 Where("the match's row is not the current row").constData());
      }();
    }
    if (Below(3) == 0) {
      Log("  Esc");
      QTest::keyClick(text, Qt::Key_Escape);
      [&] { QVERIFY2(!text->isVisible(), Where("Esc left the find bar open").constData()); }();
    }
    matchesFound_ += exists;
    return exists ? Expect::CurrentRowOnScreen : Expect::Nothing;
  }

  bool AnyLineHolds(const QString& query) const {
    auto holds = [&](const QList<QByteArray>& lines, long line) {
      return line >= 1 && line <= lines.size() &&
             ShownText(lines, static_cast<int>(line - 1)).contains(query, Qt::CaseInsensitive);
    };
    for (int i = 1; i <= shown_.masterLines.size(); ++i)
      if (holds(shown_.masterLines, i)) return true;
    if (!View(files_)->AllInOne()) {
      for (int i = 1; i <= shown_.sourceLines.size(); ++i)
        if (holds(shown_.sourceLines, i)) return true;
      return false;
    }
    // The all-in-one grid has the master grid's rows: source lines on rows past them (a
    // source that grew before it was loaded) are not in it.
    const int rows =
        std::min(MasterModel(files_).GridRowCount(), SourceModel(files_).GridRowCount());
    for (int row = 1; row < rows; ++row)
      if (holds(shown_.sourceLines, SourceModel(files_).Row(row).line)) return true;
    return false;
  }

  // Ctrl+L with a line of the master or the source, or one past the end.
  Expect GoToLine() {
    if (!files_->isVisible() || completed_ == 0 || !shown_.readable || files_->ShowReportOnly())
      return Expect::Nothing;
    const bool source = Below(2) == 0;
    const long lines = source ? shown_.sourceLines.size() : shown_.masterLines.size();
    const long line = Below(8) == 0 ? lines + 1 : 1 + Below(static_cast<int>(std::max(lines, 1L)));
    bool asked = false;
    widgets::TEST_SetModalHandler([&](QDialog& dialog) {
      auto* goTo = qobject_cast<lindrel::demo::GoToLineDialog*>(&dialog);
      if (goTo == nullptr) return;
      asked = true;
      goTo->SetSource(source);
      goTo->SetLine(line);
      dialog.accept();
    });
    const long before = View(files_)->CurrentLine(widgets::ComparisonView::Side::Master);
    Key(Qt::Key_L, Qt::ControlModifier, "Ctrl+L");
    widgets::TEST_SetModalHandler(nullptr);
    Log(QStringLiteral("  line %1 of the %2").arg(line).arg(source ? "source" : "master"));
    if (QTest::currentTestFailed() || lines == 0) return Expect::Nothing;
    const auto side =
        source ? widgets::ComparisonView::Side::Source : widgets::ComparisonView::Side::Master;
    [&] {
      QVERIFY2(asked, Where("Ctrl+L asked for no line").constData());
      if (line <= lines)
        QVERIFY2(View(files_)->CurrentLine(side) == line,
                 Where(QStringLiteral("Go To Line made line %1 current")
                           .arg(View(files_)->CurrentLine(side)))
                     .constData());
      else
        QVERIFY2(View(files_)->CurrentLine(widgets::ComparisonView::Side::Master) == before &&
                     files_->StatusText(3).startsWith("The "),
                 Where("a line past the end moved the view").constData());
    }();
    return line <= lines ? Expect::CurrentRowOnScreen : Expect::Nothing;
  }

  Expect MarkWords() {
    QAction* item = main_->Menus().mnuMarkWordsInEveryChange;
    if (!item->isVisible()) return Expect::Nothing;
    Trigger(item, View(files_)->MarksWordsInEveryChange() ? "marks off" : "marks on");
    [&] {
      QVERIFY2(item->isChecked() == View(files_)->MarksWordsInEveryChange(),
               Where("the menu item's check does not say whether words are marked").constData());
    }();
    return Expect::Nothing;
  }

  // The marks of every changed row on screen that holds a line of both files: the
  // words left unmarked on each side are the same words, and as many as a longest
  // common sequence holds.
  void CheckWordMarks() {
    if (!View(files_)->MarksWordsInEveryChange() || !shown_.readable || !shown_.recordsFitFiles)
      return;
    auto* finder = files_->findChild<lindrel::widgets::ViewFinder*>("viewFinder");
    const bool ignoreCase = files_->Lindrel1()->GetFileIgnoreCase();
    const bool ignoreWhite = files_->Lindrel1()->GetFileIgnoreWhiteSpace();
    ComparisonGrid* grid = AllInOneShown(files_) ? AllInOneGrid(files_) : MasterGrid(files_);
    const int first = std::max(grid->rowAt(0), 0) + 1;
    int last = grid->rowAt(grid->viewport()->height() - 1) + 1;
    if (last < 1) last = grid->model()->rowCount();
    for (int row = first; row <= last && row <= static_cast<int>(shown_.grids.master.size());
         ++row) {
      const WalkRow& m = shown_.grids.master[static_cast<size_t>(row - 1)];
      const WalkRow& s = shown_.grids.source[static_cast<size_t>(row - 1)];
      const auto& marks = finder->Marks().Of(row);
      if (m.record < 0 || m.line == 0 || s.line == 0) {
        QVERIFY2(marks.master.empty() && marks.source.empty(),
                 Where(QStringLiteral("row %1 is marked but is no changed pair of lines").arg(row))
                     .constData());
        continue;
      }
      const QString masterText = ShownText(shown_.masterLines, m.line - 1);
      const QString sourceText = ShownText(shown_.sourceLines, s.line - 1);
      // Longer lines are marked in their first part only; no reference for that here.
      if (masterText.size() > 4000 || sourceText.size() > 4000) continue;
      QStringList kept[2];
      QStringList all[2];
      for (int side = 0; side < 2; ++side) {
        const QString& text = side == 0 ? masterText : sourceText;
        const auto& list = side == 0 ? marks.master : marks.source;
        for (auto [begin, end] : SplitWords(text)) {
          const QString key = WordKey(text.mid(begin, end - begin), ignoreCase, ignoreWhite);
          all[side] << key;
          bool marked = false;
          for (const auto& mark : list) {
            QVERIFY2(
                mark.begin >= end || mark.end <= begin || (mark.begin <= begin && mark.end >= end),
                Where(QStringLiteral("row %1: a mark cuts a word").arg(row)).constData());
            marked = marked || (mark.begin <= begin && mark.end >= end);
          }
          if (!marked) kept[side] << key;
        }
      }
      QVERIFY2(kept[0] == kept[1],
               Where(QStringLiteral("row %1: the unmarked words differ: \"%2\" / \"%3\"")
                         .arg(row)
                         .arg(kept[0].join(QString()), kept[1].join(QString())))
                   .constData());
      ++markedRowsChecked_;
      if (static_cast<long>(all[0].size()) * all[1].size() <= 100000)
        QVERIFY2(kept[0].size() == CommonLength(all[0], all[1]),
                 Where(QStringLiteral("row %1: %2 words unmarked, %3 in common")
                           .arg(row)
                           .arg(kept[0].size())
                           .arg(CommonLength(all[0], all[1])))
                     .constData());
    }
  }

  Expect NewPair() {
    const WalkPair pair = maker_->Make();
    WritePair(pair);
    const bool quick = files_->Lindrel1()->GetFileQuickCompare();
    if (pair.binary || quick || Below(2) == 0) {
      // File > Compare Files, with the files typed into the options dialog.
      widgets::TEST_SetModalHandler([this, pair](QDialog& dialog) {
        auto* options = qobject_cast<lindrel::demo::CompareFilesOptionsDialog*>(&dialog);
        if (options == nullptr) return;
        options->SetMasterFile(masterPath_);
        options->SetSourceFile(sourcePath_);
        if (auto* box = dialog.findChild<QCheckBox*>("cbQuickCompare"))
          box->setChecked(pair.binary);
        if (auto* button = dialog.findChild<QPushButton*>("cmdCompareFiles"))
          QTest::mouseClick(button, Qt::LeftButton);
      });
      Log("options dialog: " + pair.shape);
      main_->Menus().mnuCompareFiles->trigger();
      widgets::TEST_SetModalHandler(nullptr);
    } else {
      Log("pair: " + pair.shape);
      files_->ComparePair(masterPath_, sourcePath_);
    }
    return WaitForComparison();
  }

  Expect RefreshAfterChange() {
    const QString path = Below(2) == 0 ? masterPath_ : sourcePath_;
    const QByteArray now = GuiTestEnvironment::Read(path);
    switch (Below(5)) {
      case 0:
        Write(path, maker_->Shortened(now));
        Log("shortened, Refresh");
        break;
      case 1:
        Write(path, maker_->Lengthened(now));
        Log("lengthened, Refresh");
        break;
      case 2:
        Write(path, {});
        Log("emptied, Refresh");
        break;
      case 3:
        QFile::remove(path);
        Log("removed, Refresh");
        break;
      default: Log("Refresh"); break;
    }
    if (!Trigger(main_->Menus().mnuRefresh, nullptr)) return Expect::Nothing;
    return WaitForComparison();
  }

  // A file rewritten after the component read it and before the window loads it.
  Expect ChangeWhileCompared() {
    const QString path = Below(2) == 0 ? masterPath_ : sourcePath_;
    // The side the window compares the file as (a swap may have exchanged them).
    changedSide_ =
        lindrel::demo::FileNameFromBytes(files_->Lindrel1()->Control().GetFileMaster()) == path
            ? QStringLiteral("master")
            : QStringLiteral("source");
    files_->TEST_SetCompletionProbe([this, path] {
      const QByteArray now = GuiTestEnvironment::Read(path);
      Write(path, Below(2) == 0 ? maker_->Shortened(now) : maker_->Lengthened(now));
      // Later than the comparison, as a write a moment after it would be: the file
      // system's clock may not have moved on yet.
      QFile file(path);
      if (file.open(QIODevice::ReadWrite))
        file.setFileTime(QDateTime::currentDateTime().addSecs(2),
                         QFileDevice::FileModificationTime);
      changedWhileCompared_ = true;
    });
    Log(QStringLiteral("Refresh, %1 changed while compared")
            .arg(path == masterPath_ ? "master" : "source"));
    Expect expect = Expect::Nothing;
    if (Trigger(main_->Menus().mnuRefresh, nullptr)) expect = WaitForComparison();
    files_->TEST_SetCompletionProbe(nullptr);
    return expect;
  }

  // View Report with a text or comma-delimited default; now and then its path is the
  // master file, which the component refuses to overwrite.
  Expect ViewReport() {
    if (!files_->isVisible() || completed_ == 0) return Expect::Nothing;
    auto report = files_->ReportSettings();
    report.defaultType =
        Below(2) == 0 ? lindrel::kReportFormatText : lindrel::kReportFormatCommaDelimited;
    const bool atMaster = Below(4) == 0;
    const QString path = atMaster ? masterPath_ : env_->Root() + "/walk/report.txt";
    (report.defaultType == lindrel::kReportFormatText ? report.textPath
                                                      : report.commaDelimitedPath) = path;
    files_->SetReportSettings(report);
    Log(QStringLiteral("View Report to %1").arg(atMaster ? "the master file" : "report.txt"));
    const QByteArray masterBefore = GuiTestEnvironment::Read(masterPath_);
    const lindrel::widgets::FileStamp before = lindrel::widgets::FileStamp::Of(path);
    opened_.clear();
    files_->cmdViewReport_Click();
    // Written: a new file under the path (a report replaces its target whole).
    const lindrel::widgets::FileStamp after = lindrel::widgets::FileStamp::Of(path);
    const bool written = after.exists && after != before;
    const QString status = files_->StatusText(3);
    [&] {
      // A master file that is gone has nothing to lose: a report may take its name.
      QVERIFY2(!(atMaster && written && before.exists),
               Where("a report was written over the master file").constData());
      if (written) {
        QVERIFY2(opened_ == QStringList{path} && status == "Launching Report",
                 Where(QStringLiteral("the report was not opened: %1 (%2)")
                           .arg(opened_.join(", "), status))
                     .constData());
      } else {
        QVERIFY2(opened_.isEmpty() && status.startsWith("The report was not written: "),
                 Where(QStringLiteral("a report that was not written was opened: %1 (%2)")
                           .arg(opened_.join(", "), status))
                     .constData());
        QVERIFY2(GuiTestEnvironment::Read(masterPath_) == masterBefore,
                 Where("the master file was overwritten").constData());
      }
    }();
    return Expect::Nothing;
  }

  // Files dropped as a user drags them from a file manager: both compared files on the
  // window, the file a side-by-side grid shows dropped on it again, or a file address of
  // another computer, which is refused and compares nothing.
  Expect Drop() {
    if (!files_->isVisible()) return Expect::Nothing;
    const QString master =
        lindrel::demo::FileNameFromBytes(files_->Lindrel1()->Control().GetFileMaster());
    const QString source =
        lindrel::demo::FileNameFromBytes(files_->Lindrel1()->Control().GetFileSource());
    QMimeData data;
    QWidget* target = files_;
    const int kind = Below(3);
    if (kind == 0) {
      data.setUrls({QUrl::fromLocalFile(master), QUrl::fromLocalFile(source)});
      Log("dropped both files on the window");
    } else if (kind == 1 && !AllInOneShown(files_)) {
      const bool onMaster = Below(2) == 0;
      data.setUrls({QUrl::fromLocalFile(onMaster ? master : source)});
      target = (onMaster ? MasterGrid(files_) : SourceGrid(files_))->viewport();
      Log(onMaster ? "dropped the master file on its grid" : "dropped the source file on its grid");
    } else {
      data.setUrls({QUrl(QStringLiteral("file://fileserver") + master)});
      Log("dropped a file of another computer");
    }
    const qsizetype messagesBefore = GuiTestEnvironment::ShownMessages().size();
    // As a drag ends: it enters, then drops.
    QDragEnterEvent enter(QPoint(4, 4), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(4, 4), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    if (enter.isAccepted()) QApplication::sendEvent(target, &drop);
    Settle();
    if (data.urls().first().host().isEmpty()) return WaitForComparison();
    const QStringList messages = GuiTestEnvironment::ShownMessages().mid(messagesBefore);
    [&] {
      QVERIFY2(started_ == startedBefore_ && messages.size() == 1 &&
                   messages[0].startsWith("LindrelDemo|Only files and folders on this computer"),
               Where(QStringLiteral("a file of another computer: %1 comparisons started, "
                                    "messages \"%2\"")
                         .arg(started_ - startedBefore_)
                         .arg(messages.join(" / ")))
                   .constData());
    }();
    return Expect::Nothing;
  }

  Expect WaitForComparison() {
    if (started_ == startedBefore_) return Expect::Nothing;  // refused: a file was missing
    const int expected = started_;
    [&] { QTRY_VERIFY_WITH_TIMEOUT(completed_ >= expected, 30000); }();
    return Expect::ChangeOnScreen;
  }

  Expect SwitchView() {
    QPushButton* button = ViewFormatButton(files_);
    if (!files_->isVisible() || !button->isVisible()) return Expect::Nothing;
    Log("view: " + button->text());
    QTest::mouseClick(button, Qt::LeftButton);
    return Expect::ChangeOnScreen;
  }

  Expect Key(Qt::Key key, Qt::KeyboardModifiers modifiers, const char* name) {
    if (!files_->isVisible()) return Expect::Nothing;
    // Keys reach the window only while the program is the active one; a dialog that
    // just closed may have left no window active.
    if (QApplication::activeWindow() != main_) {
      main_->activateWindow();
      QApplication::setActiveWindow(main_);
    }
    QWidget* focus = QApplication::focusWidget();
    if (focus == nullptr || !files_->isAncestorOf(focus)) {
      focus = AllInOneShown(files_) ? AllInOneGrid(files_) : MasterGrid(files_);
      focus->setFocus();
    }
    Log(name);
    const int before = CurrentChange(files_);
    const int rowBefore =
        (AllInOneShown(files_) ? AllInOneGrid(files_) : MasterGrid(files_))->CurrentRow();
    QTest::keyClick(focus, key, modifiers);
    if (QApplication::activeWindow() != main_ ||
        !files_->isAncestorOf(QApplication::focusWidget())) {
      QTest::qFail(Where("the keys cannot reach the window").constData(), __FILE__, __LINE__);
      return Expect::Nothing;
    }
    if (key == Qt::Key_F4) return Expect::Nothing;
    // Without records, or on the last or first row, the keys do nothing.
    if (CurrentRecord() < 0) return Expect::Nothing;
    if (CurrentChange(files_) != before) return Expect::ChangeOnScreen;
    const ComparisonGrid* grid = AllInOneShown(files_) ? AllInOneGrid(files_) : MasterGrid(files_);
    return grid->CurrentRow() != rowBefore ? Expect::CurrentRowOnScreen : Expect::Nothing;
  }

  // Alt+Down or Alt+Up on whatever has the focus, or the View menu's entries.
  Expect WholeChange(bool next) {
    if (!files_->isVisible()) return Expect::Nothing;
    const int before = CurrentChange(files_);
    const long count = files_->Lindrel1()->FileCompareResultsCount();
    if (Below(3) == 0) {
      Trigger(next ? main_->Menus().mnuNextChange : main_->Menus().mnuPreviousChange,
              next ? "View > Next Change" : "View > Previous Change");
    } else {
      Key(next ? Qt::Key_Down : Qt::Key_Up, Qt::AltModifier, next ? "Alt+Down" : "Alt+Up");
      if (QTest::currentTestFailed()) return Expect::Nothing;
    }
    if (main_->ActiveChild() != files_) return Expect::Nothing;
    const int expected =
        count < 1 ? before : std::clamp(before + (next ? 1 : -1), 1, static_cast<int>(count));
    [&] {
      QVERIFY2(CurrentChange(files_) == expected,
               Where(QStringLiteral("a whole-change move from change %1 of %2 went to %3")
                         .arg(before)
                         .arg(count)
                         .arg(CurrentChange(files_)))
                   .constData());
    }();
    return count < 1 ? Expect::Nothing : Expect::ChangeOnScreen;
  }

  // A click somewhere on the change map: on a mark it moves to that change, elsewhere
  // it brings the row there into view.
  Expect ClickMap() {
    lindrel::widgets::ChangeMap* map = Map(files_);
    if (!files_->isVisible() || !map->isVisible() || map->height() < 4) return Expect::Nothing;
    const int y = Below(map->height());
    const int change = map->ChangeAt(y);
    mapRow_ = map->RowAt(y);
    Log(QStringLiteral("change map clicked at y = %1 of %2 (%3)")
            .arg(y)
            .arg(map->height())
            .arg(change > 0 ? QStringLiteral("change %1").arg(change)
                            : QStringLiteral("row %1").arg(mapRow_)));
    QTest::mouseClick(map, Qt::LeftButton, {}, QPoint(map->width() / 2, y));
    if (change == 0) return mapRow_ > 0 ? Expect::MapRowOnScreen : Expect::Nothing;
    [&] {
      QVERIFY2(CurrentChange(files_) == change,
               Where(QStringLiteral("a click on the mark of change %1 made change %2 current")
                         .arg(change)
                         .arg(CurrentChange(files_)))
                   .constData());
    }();
    return Expect::ChangeOnScreen;
  }

  Expect GoTo() {
    const long count = std::max(shown_.count, 0L);
    QString typed;
    switch (Below(5)) {
      case 0: typed = QStringLiteral("0"); break;
      case 1: typed = QString::number(count + 1); break;
      case 2: typed = QStringLiteral("two"); break;
      default: typed = QString::number(1 + Below(static_cast<int>(std::max(count, 1L)))); break;
    }
    const bool cancel = Below(6) == 0;
    widgets::TEST_SetModalHandler([typed, cancel](QDialog& dialog) {
      auto* goTo = qobject_cast<lindrel::demo::GoToDialog*>(&dialog);
      if (goTo == nullptr) return;
      goTo->SetText(typed);
      if (cancel)
        dialog.reject();
      else
        dialog.accept();
    });
    Key(Qt::Key_F4, Qt::NoModifier, "F4");
    Log("  typed " + typed + (cancel ? " and cancelled" : ""));
    widgets::TEST_SetModalHandler(nullptr);
    bool whole = false;
    const int n = typed.toInt(&whole);
    return !cancel && whole && n >= 1 && n <= count ? Expect::ChangeOnScreen : Expect::Nothing;
  }

  // A click on an entry of the opened change list; half the time the one already chosen,
  // often after scrolling away from it, to come back to it.
  Expect ChooseFromList() {
    QComboBox* list = ChangeListing(files_);
    if (!files_->isVisible() || list->count() == 0) return Expect::Nothing;
    const bool same = Below(2) == 0 && list->currentIndex() >= 0;
    if (same && Below(2) == 0) ScrollAway();
    const int index = same ? list->currentIndex() : Below(list->count());
    Log(QStringLiteral("change list: entry %1 of %2 (selected %3)")
            .arg(index + 1)
            .arg(list->count())
            .arg(list->currentIndex() + 1));
    list->showPopup();
    QAbstractItemView* view = list->view();
    const QModelIndex entry = view->model()->index(index, 0);
    view->scrollTo(entry);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(entry).center());
    if (view->isVisible() || list->currentIndex() != index) {
      // The click missed (a long list scrolls inside its popup): choose with the keys.
      if (!view->isVisible()) list->showPopup();
      view->setCurrentIndex(entry);
      QTest::keyClick(view, Qt::Key_Return);
    }
    if (list->currentIndex() != index) {
      QTest::qFail(Where(QStringLiteral("entry %1 could not be chosen").arg(index + 1)).constData(),
                   __FILE__, __LINE__);
      return Expect::Nothing;
    }
    return Expect::ChangeOnScreen;
  }

  Expect ScrollAway() {
    ComparisonGrid* grid = AllInOneShown(files_) ? AllInOneGrid(files_) : MasterGrid(files_);
    QScrollBar* bar = grid->verticalScrollBar();
    const int value = bar->maximum() > 0 ? Below(bar->maximum() + 1) : 0;
    Log(QStringLiteral("scrolled to %1").arg(value));
    bar->setValue(value);
    return Expect::Nothing;
  }

  Expect Resize() {
    QMdiSubWindow* frame = qobject_cast<QMdiSubWindow*>(files_->parentWidget());
    switch (Below(3)) {
      case 0:
        if (frame != nullptr) frame->showMaximized();
        Log("maximised");
        break;
      case 1:
        if (frame != nullptr) {
          frame->showNormal();
          frame->resize(500 + Below(700), 350 + Below(450));
        }
        Log("window resized");
        break;
      default: {
        const QSize size(700 + Below(900), 500 + Below(500));
        main_->resize(size);
        Log(QStringLiteral("main window %1 x %2").arg(size.width()).arg(size.height()));
        break;
      }
    }
    return Expect::Nothing;
  }

  Expect ChangeFont() {
    const QStringList families{"DejaVu Sans", "Liberation Mono", "Liberation Serif"};
    QFont font(families[Below(static_cast<int>(families.size()))], 6 + Below(16));
    font.setBold(Below(3) == 0);
    widgets::TEST_QueueFontAnswer(font);
    Trigger(main_->Menus().mnuFont,
            qPrintable("font " + font.family() + " " + QString::number(font.pointSize())));
    return Expect::Nothing;
  }

  Expect CloseAndReopen() {
    QMdiSubWindow* frame = qobject_cast<QMdiSubWindow*>(files_->parentWidget());
    if (frame == nullptr) return Expect::Nothing;
    Log("closed and reopened");
    frame->close();
    Settle();
    main_->ToolbarButton(MainWindow::kCompareFiles)->trigger();
    return Expect::Nothing;
  }

  Expect DoubleClick() {
    ComparisonGrid* grid = AllInOneShown(files_) ? AllInOneGrid(files_) : MasterGrid(files_);
    if (!files_->isVisible() || grid->model()->rowCount() == 0) return Expect::Nothing;
    const int row = grid->rowAt(Below(std::max(grid->viewport()->height(), 1)));
    if (row < 0) return Expect::Nothing;
    Log(QStringLiteral("double click on row %1").arg(row + 1));
    const QPoint at = grid->visualRect(grid->model()->index(row, 1)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
    return Expect::Nothing;
  }

  bool Trigger(QAction* action, const char* name) {
    if (name != nullptr) Log(name);
    if (!action->isEnabled()) return false;
    action->trigger();
    return true;
  }

  // --- Files --------------------------------------------------------------------------------

  void WritePair(const WalkPair& pair) {
    Write(masterPath_, pair.master);
    Write(sourcePath_, pair.source);
    pairShape_ = pair.shape;
  }

  void Write(const QString& path, const QByteArray& bytes) {
    env_->Write(path.mid(env_->Root().size() + 1), bytes);
  }

  // Reads what the component compared and what the grids were loaded from.
  void Capture() {
    // The window warns of a file that changed since the comparison, and of no other.
    const bool warned = files_->StatusText(3).contains("Changed since the comparison: ");
    const bool barShown = !ChangedOnDiskBar(files_)->isHidden();
    const QString barText = QStringLiteral("The %1 file changed on disk.").arg(changedSide_);
    if (barShown && changedWhileCompared_ && ChangedOnDiskText(files_) != barText &&
        !QTest::currentTestFailed())
      QTest::qFail(Where(QStringLiteral("the changed-on-disk bar reads \"%1\", not \"%2\"")
                             .arg(ChangedOnDiskText(files_), barText))
                       .constData(),
                   __FILE__, __LINE__);
    if (barShown != changedWhileCompared_ && !QTest::currentTestFailed())
      QTest::qFail(
          Where(QStringLiteral("the changed-on-disk bar is %1 after a comparison whose file %2")
                    .arg(barShown ? "shown" : "hidden",
                         changedWhileCompared_ ? "changed" : "did not change"))
              .constData(),
          __FILE__, __LINE__);
    if (warned != changedWhileCompared_ && !QTest::currentTestFailed())
      QTest::qFail(Where(QStringLiteral("the status reads \"%1\" after a comparison whose file %2")
                             .arg(files_->StatusText(3),
                                  changedWhileCompared_ ? "changed" : "did not change"))
                       .constData(),
                   __FILE__, __LINE__);
    widgets::LindrelWidget* c = files_->Lindrel1();
    Shown shown;
    shown.recordsFitFiles = !changedWhileCompared_;
    changedWhileCompared_ = false;
    QFile master(c->GetFileMaster()), source(c->GetFileSource());
    shown.readable = master.open(QIODevice::ReadOnly) && source.open(QIODevice::ReadOnly);
    if (shown.readable) {
      shown.masterLines = TextModeLines(master.readAll());
      shown.sourceLines = TextModeLines(source.readAll());
    }
    shown.count = c->FileCompareResultsCount();
    for (long i = 0; i < shown.count; ++i) {
      WalkRecord r;
      if (!c->FileCompareResultsGet(i, r.kind, r.m1, r.m2, r.s1, r.s2)) break;
      shown.records.push_back(r);
    }
    shown.grids = ReferenceGrids(static_cast<int>(shown.masterLines.size()),
                                 static_cast<int>(shown.sourceLines.size()),
                                 shown.count > 0 ? shown.records : std::vector<WalkRecord>{});
    shown_ = std::move(shown);
  }

  void Settle() {
    for (int i = 0; i < 8; ++i) QCoreApplication::processEvents();
  }

  // --- What the user sees -------------------------------------------------------------------

  void Log(const QString& action) {
    log_.push_back(QStringLiteral("%1: %2").arg(step_).arg(action));
    if (log_.size() > 12) log_.pop_front();
  }

  QByteArray Where(const QString& what) const {
    QString text = QStringLiteral("seed %1 (LINDREL_WALK_SEED), step %2: %3\nsteps before:\n")
                       .arg(seed_)
                       .arg(step_)
                       .arg(what);
    for (const QString& line : log_) text += "  " + line + '\n';
    return text.toUtf8();
  }

  void Check(Expect expect) {
    // The Report menu is there whenever the Compare Files window is the active child.
    if (main_->ActiveChild() == files_)
      QVERIFY2(main_->Menus().mnuReport->menuAction()->isVisible(),
               Where("the Report menu is hidden").constData());
    if (completed_ == 0) return;
    if (shown_.recordsFitFiles) {
      CheckGrid(MasterModel(files_), shown_.masterLines, shown_.grids.master, "master");
      CheckGrid(SourceModel(files_), shown_.sourceLines, shown_.grids.source, "source");
    }
    if (QTest::currentTestFailed()) return;
    CheckAllInOne();
    CheckChangeList();
    CheckChangeMap();
    if (QTest::currentTestFailed()) return;
    if (files_->isVisible()) {
      // Records padded to the files keep both grids at the same number of rows. Records
      // of files that changed since (the window says so) may leave one grid longer, and
      // its last rows have no partner to scroll with.
      if (!AllInOneShown(files_) &&
          MasterModel(files_).GridRowCount() == SourceModel(files_).GridRowCount())
        QVERIFY2(MasterGrid(files_)->TopRow() == SourceGrid(files_)->TopRow(),
                 Where(QStringLiteral("the grids scrolled apart: top rows %1 and %2")
                           .arg(MasterGrid(files_)->TopRow())
                           .arg(SourceGrid(files_)->TopRow()))
                     .constData());
      if (shown_.recordsFitFiles) CheckOnScreen(expect);
      CheckRowHeights();
      CheckWordMarks();
    }
  }

  int CurrentRecord() const {
    return shown_.count > 0 && shown_.readable ? CurrentChange(files_) - 1 : -1;
  }

  void CheckGrid(const FileGridModel& model, const QList<QByteArray>& lines,
                 const std::vector<WalkRow>& rows, const char* side) {
    const int current = CurrentRecord();
    QVERIFY2(model.GridRowCount() - 1 == static_cast<int>(rows.size()),
             Where(QStringLiteral("the %1 grid has %2 rows, not %3")
                       .arg(side)
                       .arg(model.GridRowCount() - 1)
                       .arg(rows.size()))
                 .constData());
    int currentRows = 0;
    for (int r = 1; r < model.GridRowCount(); ++r) {
      const WalkRow& want = rows[static_cast<size_t>(r - 1)];
      const QString number = want.line == 0 ? QStringLiteral("    ") : QString::number(want.line);
      const QString text = want.line == 0 ? QString() : ShownText(lines, want.line - 1);
      const RowBack back =
          want.record < 0 ? RowBack::Normal
                          : (want.record == current ? RowBack::CurrentChange : RowBack::Change);
      currentRows += model.Row(r).back == RowBack::CurrentChange;
      if (model.NumberText(r) == number && model.LineText(r) == text && model.Row(r).back == back &&
          model.Row(r).fore == ForeOf(want.fore))
        continue;
      QFAIL(Where(QStringLiteral("%1 row %2 shows \"%3\" \"%4\" back %5 fore %6; expected \"%7\" "
                                 "\"%8\" back %9 fore %10")
                      .arg(side)
                      .arg(r)
                      .arg(model.NumberText(r), model.LineText(r).left(60))
                      .arg(int(model.Row(r).back))
                      .arg(int(model.Row(r).fore))
                      .arg(number, text.left(60))
                      .arg(int(back))
                      .arg(int(ForeOf(want.fore))))
                .constData());
    }
    if (current >= 0)
      QVERIFY2(currentRows > 0,
               Where(QStringLiteral("no %1 row carries the current change").arg(side)).constData());
  }

  void CheckAllInOne() {
    const AllInOneModel& all = AllInOne(files_);
    if (!all.IsBuilt()) {
      QVERIFY2(!AllInOneShown(files_),
               Where("the all-in-one view is on screen but not built").constData());
      return;
    }
    const FileGridModel& master = MasterModel(files_);
    const FileGridModel& source = SourceModel(files_);
    QVERIFY2(all.GridRowCount() == master.GridRowCount(),
             Where(QStringLiteral("the all-in-one grid has %1 rows, the side-by-side grids %2")
                       .arg(all.GridRowCount() - 1)
                       .arg(master.GridRowCount() - 1))
                 .constData());
    for (int r = 1; r < all.GridRowCount(); ++r) {
      AllInOneModel::RowKind kind = AllInOneModel::RowKind::Same;
      if (master.IsDifferenceRow(r)) {
        if (source.IsLineTextEmpty(r))
          kind = AllInOneModel::RowKind::OnlyInMaster;
        else if (master.IsLineTextEmpty(r))
          kind = AllInOneModel::RowKind::OnlyInSource;
        else
          kind = AllInOneModel::RowKind::Changed;
      }
      if (all.Kind(r) == kind && all.Back(r) == master.Row(r).back &&
          all.CellText(r, AllInOneModel::kMasterNumberColumn) == master.NumberText(r) &&
          all.CellText(r, AllInOneModel::kSourceNumberColumn) == source.NumberText(r))
        continue;
      QFAIL(Where(QStringLiteral("all-in-one row %1 (kind %2, back %3) disagrees with the "
                                 "side-by-side row (back %4)")
                      .arg(r)
                      .arg(int(all.Kind(r)))
                      .arg(int(all.Back(r)))
                      .arg(int(master.Row(r).back)))
                .constData());
    }
  }

  void CheckChangeList() {
    QComboBox* list = ChangeListing(files_);
    const int expected =
        shown_.count > 0 && shown_.readable ? static_cast<int>(shown_.records.size()) : 0;
    QVERIFY2(list->count() == expected,
             Where(QStringLiteral("the change list has %1 entries, not %2")
                       .arg(list->count())
                       .arg(expected))
                 .constData());
    for (int i = 0; i < list->count() && shown_.recordsFitFiles; ++i) {
      const QString want = ExpectedEntry(i);
      if (list->itemText(i) != want)
        QFAIL(Where(QStringLiteral("change list entry %1 reads \"%2\", not \"%3\"")
                        .arg(i + 1)
                        .arg(list->itemText(i), want))
                  .constData());
    }
    for (int i = 0; i < list->count(); ++i) {
      const QString entry = list->itemText(i);
      const qsizetype open = entry.indexOf('"');
      const QString quoted = open < 0 ? QString() : entry.mid(open + 1, entry.size() - open - 2);
      QVERIFY2(entry.endsWith('"') && ValidText(entry) && CodePoints(quoted) <= 100,
               Where(QStringLiteral("change list entry %1 is not valid or too long: %2")
                         .arg(i + 1)
                         .arg(entry))
                   .constData());
    }
    if (expected > 0 && CurrentChange(files_) >= 1)
      QVERIFY2(list->currentIndex() == CurrentChange(files_) - 1,
               Where(QStringLiteral("the change list selects entry %1 while change %2 is current")
                         .arg(list->currentIndex() + 1)
                         .arg(CurrentChange(files_)))
                   .constData());
  }

  // The drop-down's entry of record `i`, from the record and the files' own lines.
  QString ExpectedEntry(int i) const {
    const WalkRecord& r = shown_.records[static_cast<size_t>(i)];
    auto quoted = [](const QList<QByteArray>& lines, long line) {
      QString text =
          line >= 1 && line <= lines.size() ? ShownText(lines, int(line - 1)) : QString();
      // The first 100 code points (fromUcs4 would drop a leading U+FEFF as a byte-order
      // mark, which the line holds as a character).
      qsizetype units = 0;
      for (int points = 0; points < 100 && units < text.size(); ++points)
        units += text[units].isHighSurrogate() && units + 1 < text.size() ? 2 : 1;
      text.truncate(units);
      return QStringLiteral("\"%1\"").arg(text);
    };
    const QString n = QStringLiteral("[%1] ").arg(i + 1);
    const long added = r.s2 - r.s1 + 1, deleted = r.m2 - r.m1 + 1;
    switch (r.kind) {
      case 'a':
        return n +
               QStringLiteral("Addition of %1 %2 at line (%3) : ")
                   .arg(added)
                   .arg(added > 1 ? "lines" : "line")
                   .arg(r.m1) +
               quoted(shown_.sourceLines, r.s1);
      case 'd':
        return n +
               QStringLiteral("Deletion of %1 %2 at line (%3) : ")
                   .arg(deleted)
                   .arg(deleted > 1 ? "lines" : "line")
                   .arg(r.m1) +
               quoted(shown_.masterLines, r.m1);
      default: {
        const long k = std::max(deleted, added);
        return n +
               QStringLiteral("%1 %2 at line (%3) :")
                   .arg(k)
                   .arg(k > 1 ? "changes" : "change")
                   .arg(r.m1) +
               quoted(shown_.masterLines, r.m1);
      }
    }
  }

  // The map marks each record at its rows in the padded grids; its current mark is the
  // current change, and its frame holds the rows the view on screen shows.
  void CheckChangeMap() {
    const lindrel::widgets::ChangeMap* map = Map(files_);
    const auto& marks = map->Marks();
    if (shown_.readable && shown_.recordsFitFiles && shown_.count > 0) {
      QVERIFY2(map->Rows() == MasterModel(files_).GridRowCount() - 1 &&
                   marks.size() == shown_.records.size(),
               Where(QStringLiteral(
                         "the change map has %1 rows and %2 marks; the grids %3 rows, %4 records")
                         .arg(map->Rows())
                         .arg(marks.size())
                         .arg(MasterModel(files_).GridRowCount() - 1)
                         .arg(shown_.records.size()))
                   .constData());
      for (size_t i = 0; i < marks.size(); ++i) {
        const int first = FirstRowOf(shown_.grids.master, static_cast<int>(i));
        const auto rows =
            std::count_if(shown_.grids.master.begin(), shown_.grids.master.end(),
                          [i](const WalkRow& row) { return row.record == static_cast<int>(i); });
        if (marks[i].firstRow == first && marks[i].count == rows) continue;
        QFAIL(Where(QStringLiteral(
                        "the mark of change %1 covers rows %2 (%3); the change is at %4 (%5)")
                        .arg(i + 1)
                        .arg(marks[i].firstRow)
                        .arg(marks[i].count)
                        .arg(first)
                        .arg(rows))
                  .constData());
      }
    }
    if (!marks.empty())
      QVERIFY2(map->Current() == CurrentChange(files_),
               Where(QStringLiteral("the change map shows change %1 as current, the window %2")
                         .arg(map->Current())
                         .arg(CurrentChange(files_)))
                   .constData());
    if (!files_->isVisible() || map->Rows() == 0) return;
    const int current = map->Current();
    const QRect mark = map->MarkRect(current);
    if (map->isVisible() && current >= 1 && current <= int(shown_.records.size()) &&
        mark.height() >= 3 && mark.width() >= 3) {
      // The current mark is drawn whole in its kind's colour, inside its outline.
      const QColor drawn =
          const_cast<lindrel::widgets::ChangeMap*>(map)->grab().toImage().pixelColor(mark.center());
      const long kind = shown_.records[static_cast<size_t>(current - 1)].kind;
      const QColor want = kind == 'a'   ? QColor(0x00, 0x80, 0x00)
                          : kind == 'd' ? QColor(0x00, 0x00, 0xFF)
                                        : QColor(0xFF, 0x00, 0x00);
      QVERIFY2(drawn == want,
               Where(QStringLiteral("the mark of change %1 ('%2') is drawn %3, not %4")
                         .arg(current)
                         .arg(QChar(char(kind)))
                         .arg(drawn.name(), want.name()))
                   .constData());
    }
    ComparisonGrid* grid = AllInOneShown(files_) ? AllInOneGrid(files_) : MasterGrid(files_);
    const int rows = grid->model()->rowCount();
    const int below = grid->rowAt(grid->viewport()->height() - 1);
    const int first = rows == 0 ? 0 : grid->TopRow(),
              last = rows == 0 ? 0 : (below < 0 ? rows : below + 1);
    QVERIFY2(map->FrameFirst() == first && map->FrameLast() == last,
             Where(QStringLiteral("the change map frames rows %1 to %2; %3 shows %4 to %5")
                       .arg(map->FrameFirst())
                       .arg(map->FrameLast())
                       .arg(grid->objectName())
                       .arg(first)
                       .arg(last))
                 .constData());
  }

  // The first row of the current change in `rows`, 0 when none.
  static int FirstRowOf(const std::vector<WalkRow>& rows, int record) {
    for (size_t i = 0; i < rows.size(); ++i)
      if (rows[i].record == record) return static_cast<int>(i) + 1;
    return 0;
  }

  void CheckRowVisible(ComparisonGrid* grid, int row, const char* what) {
    if (row < 1) return;
    const QRect cell = grid->visualRect(grid->model()->index(row - 1, 1));
    const int height = grid->viewport()->height();
    QVERIFY2(
        cell.isValid() && cell.top() >= 0 && cell.top() < height,
        Where(
            QStringLiteral(
                "%1 (row %2 of %3) is not on screen in %4: it starts at y = %5 of %6 (top row %7)")
                .arg(what)
                .arg(row)
                .arg(grid->model()->rowCount())
                .arg(grid->objectName())
                .arg(cell.top())
                .arg(height)
                .arg(grid->TopRow()))
            .constData());
  }

  void CheckOnScreen(Expect expect) {
    const bool all = AllInOneShown(files_);
    if (expect == Expect::ChangeOnScreen && CurrentRecord() >= 0) {
      const int record = CurrentRecord();
      if (all) {
        CheckRowVisible(AllInOneGrid(files_), FirstRowOf(shown_.grids.master, record),
                        "the current change");
      } else {
        CheckRowVisible(MasterGrid(files_), FirstRowOf(shown_.grids.master, record),
                        "the current change");
        CheckRowVisible(SourceGrid(files_), FirstRowOf(shown_.grids.source, record),
                        "the current change");
      }
    } else if (expect == Expect::MapRowOnScreen) {
      ComparisonGrid* grid = all ? AllInOneGrid(files_) : MasterGrid(files_);
      if (mapRow_ <= grid->model()->rowCount())
        CheckRowVisible(grid, mapRow_, "the row clicked on the change map");
    } else if (expect == Expect::CurrentRowOnScreen) {
      ComparisonGrid* grid = all ? AllInOneGrid(files_) : MasterGrid(files_);
      CheckRowVisible(grid, grid->CurrentRow(), "the current row");
    }
  }

  // No row of the view on screen is shorter than its wrapped text. Rows are measured as
  // they come into view, so only those on screen are held to it.
  void CheckRowHeights() {
    const bool all = AllInOneShown(files_);
    ComparisonGrid* grid = all ? AllInOneGrid(files_) : MasterGrid(files_);
    const int rows = grid->model()->rowCount();
    const int first = std::max(grid->rowAt(0), 0);
    int last = grid->rowAt(grid->viewport()->height() - 1);
    if (last < 0) last = rows - 1;
    const int textColumn = all ? AllInOneModel::kTextColumn : FileGridModel::kTextColumn;
    lindrel::widgets::WrappedLineCounter counter(grid->font(),
                                                 grid->TextWidthIn(grid->columnWidth(textColumn)));
    lindrel::widgets::WrappedLineCounter sourceCounter(
        SourceGrid(files_)->font(),
        SourceGrid(files_)->TextWidthIn(SourceGrid(files_)->columnWidth(textColumn)));
    for (int row = first; row <= last; ++row) {
      // Side by side, a row stands at the same height and top in both grids (a row left
      // taller on one side by the detail view would push every row below it apart).
      if (!all && MasterModel(files_).GridRowCount() == SourceModel(files_).GridRowCount()) {
        const int masterTop = grid->rowViewportPosition(row);
        const int sourceTop = SourceGrid(files_)->rowViewportPosition(row);
        const int sourceHeight = SourceGrid(files_)->rowHeight(row);
        if (grid->rowHeight(row) != sourceHeight || masterTop != sourceTop)
          QFAIL(Where(QStringLiteral("row %1 is %2 px high at y = %3 in the master grid, %4 px "
                                     "at y = %5 in the source grid")
                          .arg(row + 1)
                          .arg(grid->rowHeight(row))
                          .arg(masterTop)
                          .arg(sourceHeight)
                          .arg(sourceTop))
                    .constData());
      }
      int lines = 0;
      if (all) {
        lines = counter.Lines(AllInOne(files_).CellText(row + 1, AllInOneModel::kTextColumn));
      } else {
        lines = std::max(counter.Lines(MasterModel(files_).LineText(row + 1)),
                         sourceCounter.Lines(SourceModel(files_).LineText(row + 1)));
      }
      const int needed = std::min(grid->RowHeightFor(lines), grid->MaxRowHeight());
      if (grid->rowHeight(row) >= needed) continue;
      QFAIL(Where(QStringLiteral("row %1 of %2 is %3 px high, its text needs %4 px")
                      .arg(row + 1)
                      .arg(grid->objectName())
                      .arg(grid->rowHeight(row))
                      .arg(needed))
                .constData());
    }
  }

  std::unique_ptr<GuiTestEnvironment> env_;
  long clock_ = 0;
  unsigned long seed_ = 0;
  unsigned long step_ = 0;
  std::mt19937* random_ = nullptr;
  WalkPairMaker* maker_ = nullptr;
  MainWindow* main_ = nullptr;
  CompareFilesWindow* files_ = nullptr;
  QString masterPath_, sourcePath_, pairShape_;
  int started_ = 0;
  int completed_ = 0;
  bool changedWhileCompared_ = false;
  bool drops_ = false;
  bool finds_ = false;
  int matchesFound_ = 0;
  int markedRowsChecked_ = 0;
  QString changedSide_;  // "master" or "source": which file changed while compared
  QStringList opened_;
  int startedBefore_ = 0;
  int mapRow_ = 0;
  Shown shown_;
  std::deque<QString> log_;
};

QTEST_MAIN(CompareFilesWalkTest)
#include "CompareFilesWalkTest.moc"
