#include "demo/common/UiTiming.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace lindrel::demo {
namespace {

TimingHooks& Hooks() {
  static TimingHooks hooks;
  return hooks;
}

bool& BusyShown() {
  static bool shown = false;
  return shown;
}

}  // namespace

void Pause(int ms) {
  if (Hooks().pause) {
    Hooks().pause(ms);
    return;
  }
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

void LetPendingMessagesRun() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

long TickCount() {
  if (Hooks().tick) return Hooks().tick();
  static QElapsedTimer clock = [] {
    QElapsedTimer started;
    started.start();
    return started;
  }();
  return static_cast<long>(clock.elapsed());
}

void Beep() {
  if (Hooks().beep) Hooks().beep();
  else QApplication::beep();
}

void ShowBusyPointer(bool busy) {
  if (busy == BusyShown()) return;
  BusyShown() = busy;
  if (busy) QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  else QApplication::restoreOverrideCursor();
}

bool BusyPointerShown() { return BusyShown(); }

void TEST_SetTiming(TimingHooks hooks) { Hooks() = std::move(hooks); }

}  // namespace lindrel::demo
