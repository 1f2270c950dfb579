#include "platform/TickCount.h"

#include <chrono>

namespace lindrel::platform {

long TickCount() {
  using namespace std::chrono;
  return static_cast<long>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace lindrel::platform
