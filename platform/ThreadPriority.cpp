#include "platform/ThreadPriority.h"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

namespace lindrel::platform {

int NiceValueForPriority(long scaleIndex) {
  switch (scaleIndex) {
    case 1: return 10;
    case 3: return -5;
    case 4: return -15;
    default: return 0;
  }
}

void ApplyThreadPriority(long scaleIndex) {
  if (scaleIndex < 0 || scaleIndex > 4) return;
  sched_param param{};
  param.sched_priority = 0;
  // Failures are ignored on purpose: without privileges the worker simply runs at the
  // priority it inherited, which is what the component promises.
  if (scaleIndex == 0) {
    (void)pthread_setschedparam(pthread_self(), SCHED_IDLE, &param);
    return;
  }
  (void)pthread_setschedparam(pthread_self(), SCHED_OTHER, &param);
  (void)setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), NiceValueForPriority(scaleIndex));
}

}  // namespace lindrel::platform
