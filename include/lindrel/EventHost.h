/// @file
/// The interface EventHost, through which a component delivers its events.
#pragma once

#include <functional>

#include "lindrel/export.h"

namespace lindrel {

/// The thread that owns a component and delivers its events.
///
/// A component never fires a completion or a job error on a worker thread. The worker
/// queues the event and starts a timer on the component's event host; the timer ticks
/// on the host's owner thread, where the component fires everything queued.
///
/// Threading: StartTimer and StopTimer may be called from any thread. Tick callbacks run
/// only on the owner thread. MessageLoop (MessageLoop.h) is the host for console programs
/// and tests; the Qt layer supplies one driven by the Qt event loop.
class LINDREL_EXPORT EventHost {
 public:
  /// Names a timer of this host.
  using TimerId = unsigned long;
  /// The id of no timer: StartTimer refused.
  static constexpr TimerId kNoTimer = 0;

  /// A host is destroyed after every component that uses it.
  virtual ~EventHost();

  /// Starts a repeating timer whose `tick` runs on the owner thread every `periodMs`
  /// milliseconds (0: as soon as the owner thread handles its events). Returns kNoTimer
  /// when the host refuses the timer; the caller may retry.
  virtual TimerId StartTimer(unsigned periodMs, std::function<void()> tick) = 0;

  /// Stops a timer. No tick starts after this returns; calling it from inside the timer's
  /// own tick is allowed. Unknown ids are ignored.
  virtual void StopTimer(TimerId id) = 0;
};

}  // namespace lindrel
