#include "lindrel/widgets/QtEventHost.h"

#include <QThread>
#include <QTimer>

#include "widgets/QtEventHostInternals.h"

namespace lindrel::widgets {

QtEventHost::QtEventHost(QObject* parent) : QObject(parent), ticks_(std::make_unique<Ticks>()) {}

QtEventHost::~QtEventHost() {
  platform::MutexLock lock(ticks_->mutex);
  ticks_->byId.clear();
}

EventHost::TimerId QtEventHost::StartTimer(unsigned periodMs, std::function<void()> tick) {
  TimerId id = nextId_.fetch_add(1);
  if (id == kNoTimer) id = nextId_.fetch_add(1);
  {
    platform::MutexLock lock(ticks_->mutex);
    ticks_->byId[id] = std::make_shared<std::function<void()>>(std::move(tick));
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
    platform::MutexLock lock(ticks_->mutex);
    if (ticks_->byId.erase(id) == 0) return;
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
    platform::MutexLock lock(ticks_->mutex);
    if (ticks_->byId.find(id) == ticks_->byId.end()) return;
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
  Ticks::Tick tick;
  {
    platform::MutexLock lock(ticks_->mutex);
    auto it = ticks_->byId.find(id);
    if (it == ticks_->byId.end()) return;
    tick = it->second;
  }
  // Run unlocked: the tick may stop its own timer or start another.
  (*tick)();
}

}  // namespace lindrel::widgets
