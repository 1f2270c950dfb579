// The windows as a keyboard user and a screen reader meet them: Tab and Shift+Tab reach
// every control in screen order and come round again, no control keeps the focus to
// itself, every control that takes the focus has a name to be read out, the change map
// describes the current change, and the keys that close a window and quit.
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QListWidget>
#include <QRadioButton>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

#include "GuiTestEnvironment.h"
#include "ViewParts.h"
#include "demo/compare-dirs/CompareDirOptionsDialog.h"
#include "demo/compare-dirs/CompareDirReportOptionsDialog.h"
#include "demo/compare-dirs/CompareDirWindow.h"
#include "demo/compare-files/CompareFilesOptionsDialog.h"
#include "demo/compare-files/CompareFilesWindow.h"
#include "demo/compare-files/GoToDialog.h"
#include "demo/compare-files/ReportOptionsDialog.h"
#include "demo/main/DemoApplication.h"
#include "demo/main/MainWindow.h"

using namespace lindrel::testing;
using lindrel::demo::CompareDirWindow;
using lindrel::demo::CompareFilesWindow;

namespace {

QString Describe(const QWidget* w) {
  if (w == nullptr) return QStringLiteral("<none>");
  return w->objectName().isEmpty() ? QString::fromUtf8(w->metaObject()->className())
                                   : w->objectName();
}

QStringList Describe(const QList<QWidget*>& widgets) {
  QStringList names;
  for (const QWidget* w : widgets) names << Describe(w);
  return names;
}

// The controls of `window` a user can reach with Tab now: on screen, enabled, taking the
// focus by Tab. Of a group of option buttons only the chosen one is a stop (the arrow keys
// choose among them).
QList<QWidget*> TabStops(QWidget& window) {
  QList<QWidget*> stops;
  for (QWidget* w : window.findChildren<QWidget*>()) {
    if (w->focusProxy() != nullptr || !w->isVisible() || !w->isEnabled()) continue;
    if (auto* option = qobject_cast<QRadioButton*>(w); option && !option->isChecked()) continue;
    if ((w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus) stops << w;
  }
  return stops;
}

// Reading order: `a` lies wholly above `b`, or beside it and to its left.
bool ComesBefore(QWidget& window, const QWidget* a, const QWidget* b) {
  const QRect ra(a->mapTo(&window, QPoint(0, 0)), a->size());
  const QRect rb(b->mapTo(&window, QPoint(0, 0)), b->size());
  if (ra.bottom() < rb.top()) return true;
  if (rb.bottom() < ra.top()) return false;
  return ra.left() < rb.left();
}

// The controls the focus visits from `first`, pressing Tab (or Shift+Tab) until it comes
// back to `first` or has gone `limit` steps.
QList<QWidget*> Walk(QWidget* first, bool backwards, int limit) {
  first->setFocus(Qt::OtherFocusReason);
  QList<QWidget*> visited{QApplication::focusWidget()};
  for (int step = 0; step < limit; ++step) {
    QWidget* at = QApplication::focusWidget();
    if (at == nullptr) break;
    QTest::keyClick(at, backwards ? Qt::Key_Backtab : Qt::Key_Tab,
                    backwards ? Qt::ShiftModifier : Qt::NoModifier);
    QWidget* next = QApplication::focusWidget();
    if (next == first) break;
    visited << next;
  }
  return visited;
}

QString AccessibleName(QWidget* w) {
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
  return face == nullptr ? QString() : face->text(QAccessible::Name);
}

// Tab goes round every control of `window` once, each after the one before it on screen,
// and Shift+Tab the same way back; each of them has a name.
void CheckKeyboardRound(QWidget& window) {
  const QList<QWidget*> stops = TabStops(window);
  QVERIFY(stops.size() > 1);
  QWidget* first = stops.first();
  for (QWidget* w : stops) {
    if (ComesBefore(window, w, first)) first = w;
  }
  const QList<QWidget*> forward = Walk(first, false, stops.size() + 2);
  QCOMPARE(QSet<QWidget*>(forward.begin(), forward.end()).size(), forward.size());
  QVERIFY2(forward.size() == stops.size(),
           qPrintable(Describe(forward).join(" > ") + " of " + Describe(stops).join(", ")));
  for (QWidget* w : stops) QVERIFY2(forward.contains(w), qPrintable(Describe(w)));
  for (qsizetype i = 1; i < forward.size(); ++i) {
    QVERIFY2(ComesBefore(window, forward[i - 1], forward[i]),
             qPrintable(Describe(forward).join(" > ")));
  }
  QList<QWidget*> expectedBack{first};
  for (qsizetype i = forward.size() - 1; i > 0; --i) expectedBack << forward[i];
  QCOMPARE(Describe(Walk(first, true, stops.size() + 2)), Describe(expectedBack));
  for (QWidget* w : stops) QVERIFY2(!AccessibleName(w).isEmpty(), qPrintable(Describe(w)));
}

void Activate(QWidget& window) {
  window.activateWindow();
  QTRY_COMPARE(QApplication::activeWindow(), &window);
}

const QByteArray kMaster = "one\ntwo\nthree\nfour\nfive\nsix\n";
const QByteArray kSource = "one\nTWO\nthree\nfive\nsix\nseven\n";

}  // namespace

class KeyboardAccessTest : public QObject {
  Q_OBJECT

 private:
  // Shows the window with the samples compared and makes it active; false when the
  // comparison did not complete.
  bool ShowCompared(CompareFilesWindow& window) {
    window.resize(900, 600);
    window.show();
    window.ComparePair(env_->Write("m.txt", kMaster), env_->Write("s.txt", kSource));
    if (!QTest::qWaitFor(
            [&window] { return window.StatusText(3).startsWith("File Compare Completed"); }))
      return false;
    Activate(window);
    return true;
  }

 private slots:
  void init() { env_ = std::make_unique<GuiTestEnvironment>(GuiTestEnvironment::NoPauses()); }
  void cleanup() { env_.reset(); }

  void tabGoesRoundTheCompareFilesWindowInBothViews() {
    CompareFilesWindow window;
    QVERIFY(ShowCompared(window));
    CheckKeyboardRound(window);
    View(window)->SetAllInOne(true);
    CheckKeyboardRound(window);
  }

  void theDetailBoxesLetTheFocusGoOnFromTheirGrid() {
    CompareFilesWindow window;
    QVERIFY(ShowCompared(window));
    for (bool allInOne : {false, true}) {
      View(window)->SetAllInOne(allInOne);
      QTextEdit* box = Part<QTextEdit>(window, allInOne ? "rtbAllInOne" : "rtbMaster");
      QWidget* grid = allInOne ? static_cast<QWidget*>(AllInOneGrid(window)) : MasterGrid(window);
      // The detail view of the current row, its box holding the focus.
      window.mnuShowDetail_Click();
      QTRY_VERIFY(box->isVisible());
      box->setFocus(Qt::MouseFocusReason);
      QCOMPARE(QApplication::focusWidget(), box);
      QVERIFY(!AccessibleName(box).isEmpty());
      // Tab and Shift+Tab from the box go where they go from its grid.
      grid->setFocus(Qt::OtherFocusReason);
      QTest::keyClick(grid, Qt::Key_Tab);
      QWidget* afterGrid = QApplication::focusWidget();
      grid->setFocus(Qt::OtherFocusReason);
      QTest::keyClick(grid, Qt::Key_Backtab, Qt::ShiftModifier);
      QWidget* beforeGrid = QApplication::focusWidget();
      QVERIFY(afterGrid != grid && beforeGrid != grid);
      box->setFocus(Qt::MouseFocusReason);
      QTest::keyClick(box, Qt::Key_Tab);
      QCOMPARE(Describe(QApplication::focusWidget()), Describe(afterGrid));
      box->setFocus(Qt::MouseFocusReason);
      QTest::keyClick(box, Qt::Key_Backtab, Qt::ShiftModifier);
      QCOMPARE(Describe(QApplication::focusWidget()), Describe(beforeGrid));
      // No tab character went into the box.
      QVERIFY(!box->toPlainText().contains('\t'));
    }
  }

  void theChangeMapDescribesTheCurrentChangeAndMovesByKeys() {
    CompareFilesWindow window;
    QVERIFY(ShowCompared(window));
    // Changes: "two" for "TWO" (row 2), "four" only in the master (row 4), "seven" only
    // in the source (row 7).
    auto* map = Map(window);
    QCOMPARE(CurrentChange(window), 1);
    QCOMPARE(map->accessibleDescription(), QString("Change 1 of 3, changed, row 2"));
    QCOMPARE(AccessibleName(map), QString("Change map"));
    map->setFocus(Qt::TabFocusReason);
    QTest::keyClick(map, Qt::Key_Down);
    QCOMPARE(CurrentChange(window), 2);
    QCOMPARE(map->accessibleDescription(), QString("Change 2 of 3, only in the master, row 4"));
    map->setFocus(Qt::TabFocusReason);
    QTest::keyClick(map, Qt::Key_End);
    QCOMPARE(CurrentChange(window), 3);
    QCOMPARE(map->accessibleDescription(), QString("Change 3 of 3, only in the source, row 7"));
    map->setFocus(Qt::TabFocusReason);
    QTest::keyClick(map, Qt::Key_Down);  // nothing after the last
    QCOMPARE(CurrentChange(window), 3);
    map->setFocus(Qt::TabFocusReason);
    QTest::keyClick(map, Qt::Key_Home);
    QCOMPARE(CurrentChange(window), 1);
    View(window)->Clear();
    QCOMPARE(map->accessibleDescription(), QString("No changes"));
  }

  void tabGoesRoundTheCompareDirectoriesWindow() {
    const QString master = env_->Root() + "/m", source = env_->Root() + "/s";
    env_->Write("m/a.txt", "a\n");
    env_->Write("s/a.txt", "b\n");
    env_->Write("s/b.txt", "b\n");
    CompareDirWindow window;
    window.resize(900, 600);
    window.show();
    window.Lindrel1()->SetDirThrottle(false);
    window.CompareDirectoriesPair(master, source);
    QTRY_VERIFY(!window.Timer1()->isActive() && window.StatusText(3).contains("Compare Completed"));
    // The error list too, once there is something in it.
    window.Lindrel1()->SetDirMaster(QString());
    window.StartComparison();
    QVERIFY(window.ErrorList()->isVisible());
    Activate(window);
    CheckKeyboardRound(window);
  }

  void tabStaysInTheActiveChildOfTheMainWindowAndCtrlWClosesItCtrlQQuits() {
    lindrel::demo::MainWindow main(lindrel::demo::DemoChildFactories());
    main.resize(1000, 700);
    main.show();
    Activate(main);
    main.ShowChild(lindrel::demo::MainWindow::kCompareDir);
    main.ShowChild(lindrel::demo::MainWindow::kCompareFiles);
    auto* files =
        qobject_cast<CompareFilesWindow*>(main.Child(lindrel::demo::MainWindow::kCompareFiles));
    QVERIFY(files != nullptr);
    QCOMPARE(main.ActiveChild(), files);
    CheckKeyboardRound(*files);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_W, Qt::ControlModifier);
    QVERIFY(!main.IsChildVisible(lindrel::demo::MainWindow::kCompareFiles));
    QVERIFY(main.IsChildVisible(lindrel::demo::MainWindow::kCompareDir));
    main.ShowChild(lindrel::demo::MainWindow::kCompareDir);
    auto* dirs =
        qobject_cast<CompareDirWindow*>(main.Child(lindrel::demo::MainWindow::kCompareDir));
    dirs->Grid()->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(dirs->Grid(), Qt::Key_W, Qt::ControlModifier);
    QVERIFY(!main.IsChildVisible(lindrel::demo::MainWindow::kCompareDir));
    QVERIFY(main.isVisible());
    QTest::keyClick(&main, Qt::Key_Q, Qt::ControlModifier);
    QVERIFY(!main.isVisible());
  }

  void tabGoesRoundEveryDialog() {
    CompareFilesWindow files;
    CompareDirWindow dirs;
    std::vector<std::unique_ptr<QDialog>> dialogs;
    dialogs.push_back(std::make_unique<lindrel::demo::CompareFilesOptionsDialog>(files));
    dialogs.push_back(std::make_unique<lindrel::demo::ReportOptionsDialog>(files));
    dialogs.push_back(std::make_unique<lindrel::demo::GoToDialog>());
    dialogs.push_back(std::make_unique<lindrel::demo::CompareDirOptionsDialog>(dirs));
    dialogs.push_back(std::make_unique<lindrel::demo::CompareDirReportOptionsDialog>(dirs));
    for (auto& dialog : dialogs) {
      dialog->show();
      Activate(*dialog);
      CheckKeyboardRound(*dialog);
      if (QTest::currentTestFailed()) qFatal("in %s", qPrintable(dialog->objectName()));
      dialog->hide();
    }
  }

 private:
  std::unique_ptr<GuiTestEnvironment> env_;
};

QTEST_MAIN(KeyboardAccessTest)
#include "KeyboardAccessTest.moc"
