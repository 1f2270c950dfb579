// The millisecond tick count of a monotonic clock; differences between two ticks are
// elapsed times.
#pragma once

namespace lindrel::platform {

long TickCount();

}  // namespace lindrel::platform
