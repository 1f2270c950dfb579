// Measures how long the Compare Files window blocks its GUI thread on a pair whose changed
// line is very long. For each user step it reports the step's whole time and the longest
// stretch in it during which the event loop could not run (found by a zero-interval
// timer that notes the gaps between its runs): that stretch is what the user sits
// through. The target is 100 ms for every stretch.
//
// Cases (a third line of the pair is changed, the rest is equal):
//   5,000,000 characters without a blank, 5,000,000 with blanks, 400,000 with blanks.
// Steps: completion event to both grids painted, a resize, the switch to the all-in-one
// view (painted), scrolling back, the word-level detail view of the long row, the typing
// overlay over its cell.
//
// Run offscreen: QT_QPA_PLATFORM=offscreen long_line_bench [case ...]
//   case: "5m-solid", "5m-words", "400k-words" (default: all three).
// The demo's fixed pauses are left out (they are waits, not work).
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>

#include "demo/common/UiTiming.h"
#include "demo/compare-files/CompareFilesWindow.h"
#include "tests/gui/ViewParts.h"
#include "tests/support/WidgetTestEnvironment.h"
#include "widgets/view/ComparisonGrid.h"

using namespace lindrel::testing;

namespace {

std::string LongLine(size_t length, bool blanks, char variant) {
  std::string line;
  line.reserve(length);
  static const char* words[] = {"value", "count", "index", "result", "buffer", "record", "x"};
  for (unsigned w = 0; line.size() < length; ++w) {
    line += blanks ? words[(w * 7 + 3) % 7] : "abcdefghij";
    if (blanks) line += ' ';
  }
  line.resize(length);
  // The two sides differ in one place near the middle.
  line[length / 2] = variant;
  return line;
}

void WritePair(const QString& master, const QString& source, size_t length, bool blanks) {
  std::ofstream m(master.toStdString()), s(source.toStdString());
  m << "first line\n" << LongLine(length, blanks, 'M') << "\nlast line\n";
  s << "first line\n" << LongLine(length, blanks, 'S') << "\nlast line\n";
}

void Paint(lindrel::widgets::ComparisonGrid* grid) { grid->viewport()->repaint(); }

// The longest time between two runs of the event loop since it was armed.
class Watchdog {
 public:
  Watchdog() {
    timer_.setInterval(0);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      longest_ = std::max(longest_, since_.elapsed());
      since_.restart();
    });
    timer_.start();
    since_.start();
  }
  void Arm() {
    longest_ = 0;
    since_.restart();
  }
  qint64 Longest() const { return std::max(longest_, since_.elapsed()); }

 private:
  QTimer timer_;
  QElapsedTimer since_;
  qint64 longest_ = 0;
};

struct Steps {
  Watchdog& watchdog;
  qint64 worst = 0;
  // Printed at once: on a slow window a case may take many minutes.
  void Add(const char* name, qint64 ms) {
    const qint64 block = watchdog.Longest();
    std::printf("  %-34s %7lld ms, longest block %7lld ms\n", name, static_cast<long long>(ms),
                static_cast<long long>(block));
    std::fflush(stdout);
    worst = std::max(worst, block);
  }
};

bool WaitForCompletion(lindrel::demo::CompareFilesWindow& window) {
  QElapsedTimer wait;
  wait.start();
  while (!window.StatusText(3).startsWith("File Compare Completed") && wait.elapsed() < 600000)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  return window.StatusText(3).startsWith("File Compare Completed");
}

qint64 RunCase(Watchdog& watchdog, const QString& directory, const char* name, size_t length,
               bool blanks) {
  const QString master = directory + "/master.txt";
  const QString source = directory + "/source.txt";
  WritePair(master, source, length, blanks);

  auto* window = new lindrel::demo::CompareFilesWindow();
  window->SetBeepWhenDone(false);
  window->resize(1400, 900);
  window->show();
  QCoreApplication::processEvents();
  std::printf("%s (%zu characters%s):\n", name, length, blanks ? ", with blanks" : ", no blank");
  Steps steps{watchdog};
  QElapsedTimer timer;
  window->TEST_SetCompletionProbe([&timer, &watchdog] {
    timer.start();
    watchdog.Arm();
  });
  window->ComparePair(master, source);
  if (!WaitForCompletion(*window)) {
    std::printf("%s: the comparison did not complete\n", name);
    return -1;
  }
  Paint(MasterGrid(window));
  Paint(SourceGrid(window));
  steps.Add("completion to painted grids", timer.elapsed());

  timer.restart();
  watchdog.Arm();
  window->resize(1100, 800);
  QCoreApplication::processEvents();
  Paint(MasterGrid(window));
  Paint(SourceGrid(window));
  steps.Add("resize, painted", timer.elapsed());

  timer.restart();
  watchdog.Arm();
  cmdCompareFilesViewFormat_Click(window);
  Paint(AllInOneGrid(window));
  steps.Add("switch to all-in-one, painted", timer.elapsed());

  timer.restart();
  watchdog.Arm();
  window->mnuShowDetail_Click();
  QCoreApplication::processEvents();
  steps.Add("all-in-one detail view", timer.elapsed());

  timer.restart();
  watchdog.Arm();
  cmdCompareFilesViewFormat_Click(window);
  Paint(MasterGrid(window));
  Paint(SourceGrid(window));
  steps.Add("switch to side by side, painted", timer.elapsed());

  MasterGrid(window)->SetCurrentRow(2);
  timer.restart();
  watchdog.Arm();
  window->mnuShowDetail_Click();
  QCoreApplication::processEvents();
  steps.Add("side-by-side detail view", timer.elapsed());
  HideDetailViews(window);

  // A blank typed on the grid opens the typing overlay with the cell's text in it.
  MasterGrid(window)->setFocus();
  MasterGrid(window)->SetCurrentRow(2);
  timer.restart();
  watchdog.Arm();
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
  QCoreApplication::sendEvent(MasterGrid(window), &press);
  QCoreApplication::processEvents();
  MasterOverlay(window)->repaint();
  steps.Add("typing overlay", timer.elapsed());

  std::printf("  %-34s %7lld ms (target 100)\n", "longest block",
              static_cast<long long>(steps.worst));
  std::fflush(stdout);
  delete window;
  return steps.worst;
}

}  // namespace

int main(int argc, char* argv[]) {
  lindrel::testing::ScratchLindrelHome home;
  QApplication app(argc, argv);
  lindrel::demo::TEST_SetTiming({[](int) { QCoreApplication::processEvents(); }, {}, [] {}});

  struct Case {
    const char* name;
    size_t length;
    bool blanks;
  };
  const Case cases[] = {
      {"5m-solid", 5000000, false}, {"5m-words", 5000000, true}, {"400k-words", 400000, true}};
  QStringList chosen = QCoreApplication::arguments().mid(1);
  Watchdog watchdog;
  qint64 worst = 0;
  for (const Case& c : cases) {
    if (!chosen.isEmpty() && !chosen.contains(QString::fromLatin1(c.name))) continue;
    worst = std::max(worst, RunCase(watchdog, home.path(), c.name, c.length, c.blanks));
  }
  std::printf("worst GUI-thread block over all cases: %lld ms (target 100)\n",
              static_cast<long long>(worst));
  return 0;
}
