// The state of a QtEventHost shared between threads, and its view for the tests. Not
// installed.
#pragma once

#include <functional>
#include <map>
#include <memory>

#include "lindrel/widgets/QtEventHost.h"
#include "platform/Mutex.h"

namespace lindrel::widgets {

// The tick of every timer started and not yet stopped, by id. StartTimer and StopTimer
// change it from any thread; the host's thread reads it to run a tick.
struct QtEventHost::Ticks {
  using Tick = std::shared_ptr<std::function<void()>>;

  platform::Mutex mutex;
  std::map<TimerId, Tick> byId GUARDED_BY(mutex);
};

struct QtEventHostInternals {
  // Number of timers started and not yet stopped.
  static int ActiveTimerCount(const QtEventHost& host) {
    platform::MutexLock lock(host.ticks_->mutex);
    return static_cast<int>(host.ticks_->byId.size());
  }
};

}  // namespace lindrel::widgets
