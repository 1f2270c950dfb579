// The state of a QtEventHost, for the tests. Not installed.
#pragma once

#include <mutex>

#include "lindrel/widgets/QtEventHost.h"

namespace lindrel::widgets {

struct QtEventHostInternals {
  // Number of timers started and not yet stopped.
  static int ActiveTimerCount(const QtEventHost& host) {
    std::lock_guard<std::mutex> lock(host.mutex_);
    return static_cast<int>(host.ticks_.size());
  }
};

}  // namespace lindrel::widgets
