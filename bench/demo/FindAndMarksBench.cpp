// Measures finding and marking in the Compare Files window on a generated pair of
// 1,000,000-line files with about 10% of the lines changed in clusters:
//  - a find that matches nothing: the whole search, the number of slices it ran in and
//    the longest the window waited for its event loop meanwhile;
//  - scrolling a screen with the word marks of every changed row off and on (the first
//    time a screen is painted with them, and again once its marks are kept), and how
//    many rows had their words compared for it: only the rows painted;
//  - the cost of one changed row's marks.
// Run offscreen: QT_QPA_PLATFORM=offscreen find_and_marks_bench [lines]
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <string>

#include "bench/demo/GeneratedPairs.h"
#include "demo/common/ProgramState.h"
#include "demo/common/UiTiming.h"
#include "demo/compare-files/CompareFilesWindow.h"
#include "tests/gui/ViewParts.h"
#include "tests/support/WidgetTestEnvironment.h"
#include "widgets/view/ComparisonGrid.h"
#include "widgets/view/ViewFinder.h"

using namespace lindrel::testing;

namespace {

// A changed line keeps most of its words, so the marks have words to tell apart.
void WritePair(const QString& master, const QString& source, int lines) {
  lindrel::bench::WriteClusteredPair(master.toStdString(), source.toStdString(), lines, [](int i) {
    const std::string line = lindrel::bench::SourceLikeLine(static_cast<unsigned>(i));
    return line.substr(0, line.size() / 2) + " changed " + std::to_string(i) + ";";
  });
}

void Paint(lindrel::widgets::ComparisonGrid* grid) { grid->viewport()->repaint(); }

}  // namespace

int main(int argc, char* argv[]) {
  ScratchLindrelHome home;
  QApplication app(argc, argv);
  const int lines = argc > 1 ? std::stoi(argv[1]) : 1000000;
  lindrel::demo::TEST_SetTiming({[](int) { QCoreApplication::processEvents(); }, {}, [] {}});
  const QString master = home.path() + "/master.txt";
  const QString source = home.path() + "/source.txt";
  WritePair(master, source, lines);
  lindrel::demo::ProgramState::Instance().SetThreadPriority(2);

  auto* window = new lindrel::demo::CompareFilesWindow();
  window->resize(1400, 900);
  window->show();
  window->ComparePair(master, source);
  QElapsedTimer wait;
  wait.start();
  while (!window->StatusText(3).startsWith("File Compare Completed") && wait.elapsed() < 300000)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  QCoreApplication::processEvents();
  auto* view = View(window);
  const int rows = MasterModel(window).GridRowCount() - 1;

  // --- A find that matches nothing -------------------------------------------------------
  MasterGrid(window)->SetCurrentRow(1);
  int turns = 0;
  qint64 longestWait = 0;
  QElapsedTimer sinceTurn;
  QTimer other;
  QObject::connect(&other, &QTimer::timeout, [&] {
    longestWait = std::max(longestWait, sinceTurn.elapsed());
    sinceTurn.restart();
    ++turns;
  });
  bool done = false;
  QObject::connect(view, &lindrel::widgets::ComparisonView::FindFinished, [&] { done = true; });
  view->SetFindText(QStringLiteral("no line holds this"));
  QElapsedTimer find;
  find.start();
  sinceTurn.start();
  other.start(0);
  view->FindNext();
  while (!done) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  const qint64 findTime = find.elapsed();
  other.stop();
  view->HideFindBar();

  // --- Screens with and without the word marks --------------------------------------------
  // Fifty screens spread over the files, each painted on both grids.
  auto screens = [&](double* slowest) {
    QElapsedTimer timer;
    double total = 0;
    *slowest = 0;
    for (int i = 0; i < 50; ++i) {
      timer.restart();
      MasterGrid(window)->SetTopRow(1 + static_cast<int>(static_cast<long>(rows - 60) * i / 50));
      Paint(MasterGrid(window));
      Paint(SourceGrid(window));
      const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
      total += ms;
      *slowest = std::max(*slowest, ms);
    }
    return total / 50;
  };
  double slowestOff = 0, slowestOn = 0, slowestKept = 0;
  screens(&slowestOff);  // rows measured once, as a user's first pass would
  const double off = screens(&slowestOff);
  auto* finder = window->findChild<lindrel::widgets::ViewFinder*>("viewFinder");
  view->SetMarksWordsInEveryChange(true);
  const double on = screens(&slowestOn);
  const long worked = finder->Marks().RowsWorkedOut();
  const double kept = screens(&slowestKept);

  // The words of every changed row of the first 200,000 rows, as if each were painted:
  // the cost of one row's marks.
  finder->Marks().Forget();
  const long workedBefore = finder->Marks().RowsWorkedOut();
  QElapsedTimer each;
  each.start();
  for (int row = 1; row <= std::min(rows, 200000); ++row) finder->Marks().Of(row);
  const double perRow = static_cast<double>(each.nsecsElapsed()) / 1e3 /
                        std::max(finder->Marks().RowsWorkedOut() - workedBefore, 1L);

  std::printf("pair: %d lines a side, %d rows per grid\n", lines, rows);
  std::printf(
      "find matching nothing:                 %lld ms in all, %d turns of the event loop,"
      " longest wait %lld ms (target 50)\n",
      static_cast<long long>(findTime), turns, static_cast<long long>(longestWait));
  std::printf("screen scrolled and painted, marks off: %.1f ms average, %.1f ms slowest\n", off,
              slowestOff);
  std::printf("the same with the marks, first time:   %.1f ms average, %.1f ms slowest\n", on,
              slowestOn);
  std::printf("the same with the marks kept:          %.1f ms average, %.1f ms slowest\n", kept,
              slowestKept);
  std::printf("rows whose words were compared:        %ld of %d (the changed rows painted)\n",
              worked, rows);
  std::printf("one changed row's words compared:       %.1f us on average\n", perRow);
  delete window;
  return 0;
}
