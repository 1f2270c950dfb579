// Measures the Compare Directories window on two generated trees (default 20,000 files in
// 500 directories on each side; 8% of the files differ in content, 1% are only in master,
// 1% only in source), content comparison on, every record kept:
//  - streaming off: from the end of the scan (seen by a watcher thread) to every row in
//    the grid and painted;
//  - streaming on: the longest time the GUI thread went without handling a 2 ms
//    heartbeat timer, while the rows streamed in;
//  - abort while streaming: how long Abort() holds the GUI thread and when the scan is
//    over, and that no row is added afterwards;
//  - the cost per row of AddResultsToGrid(20) over the first and the last 2,000 rows of a
//    full grid (a cost that grows with the grid would show here).
// Run offscreen: QT_QPA_PLATFORM=offscreen compare_dir_window_bench [files] [dirs]
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include "demo/common/UiTiming.h"
#include "demo/compare-dirs/CompareDirWindow.h"
#include "lindrel/widgets/LindrelWidget.h"
#include "tests/support/WidgetTestEnvironment.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void WriteFile(const std::string& path, unsigned seed, bool variant) {
  std::ofstream out(path);
  for (unsigned line = 0; line < 6; ++line)
    out << "line " << line << " of file " << seed << (variant && line == 3 ? " changed" : " kept__")
        << "\n";
}

// Both trees; answers the number of files on the master side.
int MakeTrees(const QString& master, const QString& source, int files, int dirs) {
  int count = 0;
  for (int d = 0; d < dirs; ++d) {
    const std::string sub = "/dir" + std::to_string(d);
    QDir().mkpath(master + QString::fromStdString(sub));
    QDir().mkpath(source + QString::fromStdString(sub));
    for (int f = d; f < files; f += dirs) {
      const std::string name = sub + "/file" + std::to_string(f) + ".txt";
      const unsigned kind = static_cast<unsigned>(f) * 2654435761u % 100;
      if (kind != 0) WriteFile(source.toStdString() + name, unsigned(f), kind < 9);
      if (kind != 1) {
        WriteFile(master.toStdString() + name, unsigned(f), false);
        ++count;
      }
    }
  }
  return count;
}

void Prepare(lindrel::demo::CompareDirWindow& window, bool stream) {
  auto* c = window.Lindrel1();
  c->SetDirContentCompare(true);
  c->SetDirShowOnlyInMaster(true);
  c->SetDirShowOnlyInSource(true);
  c->SetDirShowSameInBothPlaces(true);
  c->SetDirShowDifferentInBothPlaces(true);
  c->SetDirDoSubDirectories(true);
  c->SetDirFileTypes("*.*");
  // Full speed: the throttle pauses the scan for every entry it lists.
  c->SetDirThrottle(false);
  window.Settings().streamFindings = stream;
  window.Settings().beepWhenDone = false;
}

// Records when the component's scan is over, from another thread.
class ScanWatcher {
 public:
  explicit ScanWatcher(lindrel::widgets::LindrelWidget& c) : c_(c) {
    thread_ = std::thread([this] {
      while (!c_.GetDirCompareActive() && !stop_)
        std::this_thread::sleep_for(std::chrono::microseconds(200));
      while (c_.GetDirCompareActive() && !stop_)
        std::this_thread::sleep_for(std::chrono::microseconds(200));
      end_ = Clock::now();
      done_ = true;
    });
  }
  ~ScanWatcher() {
    stop_ = true;
    thread_.join();
  }
  bool Done() const { return done_; }
  Clock::time_point End() const { return end_; }

 private:
  lindrel::widgets::LindrelWidget& c_;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> done_{false};
  Clock::time_point end_;
};

// The longest gap between two firings of a 2 ms timer on the GUI thread.
class Heartbeat {
 public:
  Heartbeat() {
    timer_.setInterval(2);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      const auto now = Clock::now();
      worst_ = std::max(worst_, Ms(now - last_));
      last_ = now;
    });
  }
  void Start() {
    last_ = Clock::now();
    worst_ = 0;
    timer_.start();
  }
  double Stop() {
    timer_.stop();
    return worst_;
  }

 private:
  QTimer timer_;
  Clock::time_point last_;
  double worst_ = 0;
};

void RunUntil(const std::function<bool()>& done, int limitMs = 600000) {
  QElapsedTimer wait;
  wait.start();
  while (!done() && wait.elapsed() < limitMs)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
}

}  // namespace

int main(int argc, char* argv[]) {
  // The offscreen platform warns at every change of a status panel's size; the lines
  // would only slow the measured work down.
  qInstallMessageHandler(
      [](QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (text.contains(QLatin1String("propagateSizeHints"))) return;
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
      });
  lindrel::testing::ScratchLindrelHome home;
  QApplication app(argc, argv);
  const int files = argc > 1 ? std::stoi(argv[1]) : 20000;
  const int dirs = argc > 2 ? std::stoi(argv[2]) : 500;
  lindrel::demo::TEST_SetTiming({[](int) { QCoreApplication::processEvents(); }, {}, [] {}});

  const QString master = home.path() + "/master";
  const QString source = home.path() + "/source";
  const int masterFiles = MakeTrees(master, source, files, dirs);

  lindrel::demo::CompareDirWindow window;
  window.resize(1200, 800);
  window.show();
  auto* c = window.Lindrel1();

  // A first scan fills the page cache, so both measured scans read the same way.
  Prepare(window, false);
  window.CompareDirectoriesPair(master, source);
  RunUntil([&] { return window.StatusText(3) == "Compare Completed"; });

  // Streaming off: everything at the end.
  double endToShown = 0;
  long scanMs = 0;
  {
    Prepare(window, false);
    ScanWatcher watcher(*c);
    window.CompareDirectoriesPair(master, source);
    RunUntil([&] { return window.StatusText(3) == "Compare Completed"; });
    window.Grid()->viewport()->repaint();
    endToShown = Ms(Clock::now() - watcher.End());
    scanMs = c->GetDirCompareTime();
  }
  const long records = c->GetDirCompareResultsCount();
  const long shown = window.RecordsShown();

  // Streaming on.
  double worstBlock = 0;
  long streamedShown = 0;
  {
    Prepare(window, true);
    Heartbeat heartbeat;
    heartbeat.Start();
    window.CompareDirectoriesPair(master, source);
    RunUntil([&] { return window.StatusText(3) == "Compare Completed"; });
    worstBlock = heartbeat.Stop();
    streamedShown = window.RecordsShown();
  }

  // Abort while streaming, a third of the way through the scan.
  double abortCall = 0, abortToIdle = 0;
  long rowsAtAbort = 0, rowsLater = 0;
  {
    Prepare(window, true);
    window.CompareDirectoriesPair(master, source);
    RunUntil(
        [&] { return c->GetDirCompareResultsCount() > records / 3 || !c->GetDirCompareActive(); });
    const auto click = Clock::now();
    window.Abort();
    abortCall = Ms(Clock::now() - click);
    RunUntil([&] { return !c->GetDirCompareActive(); });
    abortToIdle = Ms(Clock::now() - click);
    rowsAtAbort = window.RecordsShown();
    RunUntil([] { return false; }, 300);
    rowsLater = window.RecordsShown();
  }

  // The cost per row as the grid grows, on the full store of a finished scan.
  Prepare(window, false);
  window.CompareDirectoriesPair(master, source);
  RunUntil([&] { return window.StatusText(3) == "Compare Completed"; });
  window.ClearGridbox();
  const long total = c->GetDirCompareResultsCount();
  const long sample = std::min(2000L, total / 3);
  const long middle = total / 2 - sample / 2;
  double firstMs = 0, middleMs = 0, lastMs = 0;
  while (window.RecordsShown() < total) {
    const long before = window.RecordsShown();
    const auto start = Clock::now();
    window.AddResultsToGrid(lindrel::demo::CompareDirWindow::kRowsPerTick);
    QCoreApplication::processEvents();  // the repaint the next tick would see
    const double ms = Ms(Clock::now() - start);
    if (before < sample) firstMs += ms;
    if (before >= middle && before < middle + sample) middleMs += ms;
    if (before >= total - sample) lastMs += ms;
  }

  std::printf("trees: %d files in %d directories (master %d files), %ld records kept\n", files,
              dirs, masterFiles, records);
  std::printf("scan with content comparison: %ld ms\n", scanMs);
  std::printf("streaming off: scan end to all %ld rows shown and painted: %.0f ms (target 1500)\n",
              shown, endToShown);
  std::printf("streaming on:  longest GUI-thread block: %.1f ms (target 100), %ld rows shown\n",
              worstBlock, streamedShown);
  std::printf(
      "abort while streaming: Abort() took %.1f ms, scan idle %.1f ms after the click "
      "(target 200); rows %ld at abort, %ld 300 ms later\n",
      abortCall, abortToIdle, rowsAtAbort, rowsLater);
  std::printf(
      "AddResultsToGrid(20) and the repaint after it, per row, over %ld rows: first %.1f us, "
      "middle %.1f us, last %.1f us (target: no growth)\n",
      sample, 1000.0 * firstMs / double(sample), 1000.0 * middleMs / double(sample),
      1000.0 * lastMs / double(sample));
  return 0;
}
