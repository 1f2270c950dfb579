#include "lindrel/MessageLoop.h"

#include <deque>
#include <map>
#include <vector>

#include "platform/Mutex.h"

namespace lindrel {

namespace {
using Clock = std::chrono::steady_clock;

struct Timer {
  std::chrono::milliseconds period;
  Clock::time_point due;
  // Shared so that a tick keeps its callback alive while StopTimer erases the timer.
  std::shared_ptr<std::function<void()>> tick;
};
}  // namespace

struct MessageLoop::State {
  platform::Mutex mutex;
  platform::CondVar wake;
  std::map<TimerId, Timer> timers GUARDED_BY(mutex);
  std::deque<std::function<void()>> posted GUARDED_BY(mutex);
  TimerId nextId GUARDED_BY(mutex) = 0;
  bool woken GUARDED_BY(mutex) = false;

  bool SomethingDue(Clock::time_point now) REQUIRES(mutex) {
    if (!posted.empty() || woken) return true;
    for (const auto& [id, timer] : timers)
      if (timer.due <= now) return true;
    return false;
  }
  Clock::time_point NextDue(Clock::time_point limit) REQUIRES(mutex) {
    for (const auto& [id, timer] : timers)
      if (timer.due < limit) limit = timer.due;
    return limit;
  }
};

MessageLoop::MessageLoop() : state_(std::make_shared<State>()) {}
MessageLoop::~MessageLoop() = default;

MessageLoop& MessageLoop::ForCurrentThread() {
  thread_local MessageLoop loop;
  return loop;
}

EventHost::TimerId MessageLoop::StartTimer(unsigned periodMs, std::function<void()> tick) {
  platform::MutexLock lock(state_->mutex);
  TimerId id = ++state_->nextId;
  auto period = std::chrono::milliseconds(periodMs);
  state_->timers[id] = Timer{period, Clock::now() + period,
                             std::make_shared<std::function<void()>>(std::move(tick))};
  state_->wake.SignalAll();
  return id;
}

void MessageLoop::StopTimer(TimerId id) {
  platform::MutexLock lock(state_->mutex);
  state_->timers.erase(id);
}

void MessageLoop::Post(std::function<void()> task) {
  platform::MutexLock lock(state_->mutex);
  state_->posted.push_back(std::move(task));
  state_->wake.SignalAll();
}

void MessageLoop::Wake() {
  platform::MutexLock lock(state_->mutex);
  state_->woken = true;
  state_->wake.SignalAll();
}

bool MessageLoop::RunOnce(std::chrono::milliseconds maxWait) {
  std::deque<std::function<void()>> tasks;
  std::vector<TimerId> dueTimers;
  {
    platform::MutexLock lock(state_->mutex);
    const auto deadline = Clock::now() + maxWait;
    while (!state_->SomethingDue(Clock::now()) && Clock::now() < deadline)
      state_->wake.WaitUntil(state_->mutex, state_->NextDue(deadline));
    state_->woken = false;
    tasks.swap(state_->posted);
    const auto now = Clock::now();
    for (const auto& [id, timer] : state_->timers)
      if (timer.due <= now) dueTimers.push_back(id);
  }

  for (auto& task : tasks) task();

  for (TimerId id : dueTimers) {
    std::shared_ptr<std::function<void()>> tick;
    {
      platform::MutexLock lock(state_->mutex);
      auto it = state_->timers.find(id);
      if (it == state_->timers.end()) continue;  // stopped by an earlier task or tick
      it->second.due = Clock::now() + it->second.period;
      tick = it->second.tick;
    }
    (*tick)();
  }
  return !tasks.empty() || !dueTimers.empty();
}

void MessageLoop::RunFor(std::chrono::milliseconds duration) {
  const auto end = Clock::now() + duration;
  for (auto now = Clock::now(); now < end; now = Clock::now())
    RunOnce(std::chrono::duration_cast<std::chrono::milliseconds>(end - now));
}

bool MessageLoop::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto end = Clock::now() + timeout;
  while (!done()) {
    auto now = Clock::now();
    if (now >= end) return done();
    RunOnce(std::min(std::chrono::milliseconds(10),
                     std::chrono::duration_cast<std::chrono::milliseconds>(end - now)));
  }
  return true;
}

}  // namespace lindrel
