// Maps the component's priority scale (0 idle .. 4 time critical) onto the calling
// thread: idle -> SCHED_IDLE, lowest -> nice +10, normal -> nice 0, highest -> nice -5,
// time critical -> nice -15. Raising priority needs privileges; when the system refuses,
// the thread keeps running as it was and nothing is reported.
#pragma once

namespace lindrel::platform {

// Applies `scaleIndex` to the calling thread. Values outside 0..4 change nothing.
void ApplyThreadPriority(long scaleIndex);

// The nice value the scale maps to (SCHED_IDLE threads keep nice 0).
int NiceValueForPriority(long scaleIndex);

}  // namespace lindrel::platform
