#include "lindrel/widgets/QtEventHost.h"

#include <QThread>
#include <QTimer>

namespace lindrel::widgets {

QtEventHost::QtEventHost(QObject* parent) : QObject(parent) {}

QtEventHost::~QtEventHost() {
  std::lock_guard<std::mutex> lock(mutex_);
  ticks_.clear();
}

EventHost::TimerId QtEventHost::StartTimer(unsigned periodMs, std::function<void()> tick) {
  TimerId id = nextId_.fetch_add(1);
  if (id == kNoTimer) id = nextId_.fetch_add(1);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ticks_[id] = std::make_shared<std::function<void()>>(std::move(tick));
  }
  if (QThread::currentThread() == thread()) {
    CreateTimer(id, periodMs);
  } else {
    // QTimer must be created on the thread that will run its ticks.
    QMetaObject::invokeMethod(
        this, [this, id, periodMs] { CreateTimer(id, periodMs); }, Qt::QueuedConnection);
  }
  return id;
}

void QtEventHost::StopTimer(TimerId id) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (ticks_.erase(id) == 0) return;
  }
  if (QThread::currentThread() == thread()) {
    DestroyTimer(id);
  } else {
    QMetaObject::invokeMethod(
        this, [this, id] { DestroyTimer(id); }, Qt::QueuedConnection);
  }
}

void QtEventHost::CreateTimer(TimerId id, unsigned periodMs) {
  {
    // Stopped before the queued start arrived: nothing to create.
    std::lock_guard<std::mutex> lock(mutex_);
    if (ticks_.find(id) == ticks_.end()) return;
  }
  auto* timer = new QTimer(this);
  timer->setInterval(static_cast<int>(periodMs));
  connect(timer, &QTimer::timeout, this, [this, id] { RunTick(id); });
  timers_[id] = timer;
  timer->start();
}

void QtEventHost::DestroyTimer(TimerId id) {
  auto it = timers_.find(id);
  if (it == timers_.end()) return;
  it->second->stop();
  // The timer may be the one whose tick is running right now.
  it->second->deleteLater();
  timers_.erase(it);
}

void QtEventHost::RunTick(TimerId id) {
  Tick tick;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = ticks_.find(id);
    if (it == ticks_.end()) return;
    tick = it->second;
  }
  // Run unlocked: the tick may stop its own timer or start another.
  (*tick)();
}

}  // namespace lindrel::widgets
