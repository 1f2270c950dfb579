// The Qt event host: timers started and stopped from any thread tick only on the GUI
// thread, and never after they were stopped.
#include <QThread>
#include <QtTest>

#include <atomic>
#include <thread>

#include "GuiTestEnvironment.h"
#include "lindrel/widgets/QtEventHost.h"
#include "widgets/QtEventHostInternals.h"

using lindrel::EventHost;
using lindrel::widgets::QtEventHost;
using lindrel::widgets::QtEventHostInternals;

class QtEventHostTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { env_ = std::make_unique<lindrel::testing::GuiTestEnvironment>(); }
  void cleanup() { env_.reset(); }

  void timerStartedOnAWorkerTicksOnTheGuiThread() {
    QtEventHost host;
    QThread* tickedOn = nullptr;
    int ticks = 0;
    EventHost::TimerId id = EventHost::kNoTimer;
    std::thread worker([&] {
      id = host.StartTimer(0, [&] {
        tickedOn = QThread::currentThread();
        ++ticks;
        host.StopTimer(id);  // from inside its own tick
      });
    });
    worker.join();
    QVERIFY(id != EventHost::kNoTimer);
    QTRY_COMPARE(ticks, 1);
    QCOMPARE(tickedOn, QThread::currentThread());
    QTest::qWait(50);
    QCOMPARE(ticks, 1);
    QCOMPARE(QtEventHostInternals::ActiveTimerCount(host), 0);
  }

  void timerStoppedBeforeItsStartArrivesNeverTicks() {
    QtEventHost host;
    std::atomic<int> ticks{0};
    std::thread worker([&] {
      EventHost::TimerId id = host.StartTimer(0, [&] { ++ticks; });
      host.StopTimer(id);
    });
    worker.join();
    QTest::qWait(50);
    QCOMPARE(ticks.load(), 0);
    QCOMPARE(QtEventHostInternals::ActiveTimerCount(host), 0);
  }

  void noTickStartsAfterStopFromAnotherThreadReturns() {
    QtEventHost host;
    int ticks = 0;
    EventHost::TimerId id = host.StartTimer(1, [&] { ++ticks; });
    QTRY_VERIFY(ticks >= 2);
    std::thread stopper([&] { host.StopTimer(id); });
    stopper.join();
    const int atStop = ticks;
    QTest::qWait(50);
    QCOMPARE(ticks, atStop);
  }

  void timersAreIndependent() {
    QtEventHost host;
    int first = 0;
    int second = 0;
    EventHost::TimerId a = host.StartTimer(0, [&] { ++first; });
    EventHost::TimerId b = host.StartTimer(0, [&] { ++second; });
    QVERIFY(a != b);
    QTRY_VERIFY(first > 0 && second > 0);
    host.StopTimer(a);
    host.StopTimer(12345);  // unknown ids are ignored
    const int firstAtStop = first;
    const int secondAtStop = second;
    QTRY_VERIFY(second > secondAtStop + 2);
    QCOMPARE(first, firstAtStop);
    host.StopTimer(b);
  }

  void aTickMayStartAnotherTimer() {
    QtEventHost host;
    int chained = 0;
    EventHost::TimerId first = EventHost::kNoTimer;
    EventHost::TimerId second = EventHost::kNoTimer;
    first = host.StartTimer(0, [&] {
      host.StopTimer(first);
      second = host.StartTimer(0, [&] {
        ++chained;
        host.StopTimer(second);
      });
    });
    QTRY_COMPARE(chained, 1);
    QTest::qWait(20);
    QCOMPARE(chained, 1);
    QCOMPARE(QtEventHostInternals::ActiveTimerCount(host), 0);
  }

 private:
  std::unique_ptr<lindrel::testing::GuiTestEnvironment> env_;
};

QTEST_MAIN(QtEventHostTest)
#include "QtEventHostTest.moc"
