// The demo's waits and clock: pauses that keep the event loop running (never a blocking
// sleep on the GUI thread), "let pending messages run", the millisecond tick count, the
// system beep and the busy (hourglass) pointer.
//
// Tests replace the pause, the tick count and the beep (TEST_SetTiming) so that no test
// waits real seconds; the replacement pause should still let messages run.
//
// Threading: GUI thread only.
#pragma once

#include <functional>

namespace lindrel::demo {

// Waits `ms` milliseconds while the event loop keeps running.
void Pause(int ms);
// Runs the events that are waiting, then returns.
void LetPendingMessagesRun();
// Milliseconds of a monotonic clock.
long TickCount();
// The system's default beep.
void Beep();

// The hourglass pointer on or off for the whole program. Calls need not pair: showing it
// twice and hiding it once leaves the normal pointer.
void ShowBusyPointer(bool busy);
bool BusyPointerShown();

struct TimingHooks {
  std::function<void(int ms)> pause;  // default: a real wait with the event loop running
  std::function<long()> tick;         // default: the monotonic clock
  std::function<void()> beep;         // default: the system beep
};
// Replaces the hooks that are set in `hooks`; an empty TimingHooks restores the defaults.
void TEST_SetTiming(TimingHooks hooks);

}  // namespace lindrel::demo
