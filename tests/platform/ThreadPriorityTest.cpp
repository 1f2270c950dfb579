#include "platform/ThreadPriority.h"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <thread>

#include <gtest/gtest.h>

namespace lindrel::platform {
namespace {

TEST(ThreadPriorityTest, MapsTheScaleToNiceValues) {
  EXPECT_EQ(NiceValueForPriority(1), 10);
  EXPECT_EQ(NiceValueForPriority(2), 0);
  EXPECT_EQ(NiceValueForPriority(3), -5);
  EXPECT_EQ(NiceValueForPriority(4), -15);
}

TEST(ThreadPriorityTest, AppliesToTheCallingThreadOnly) {
  int policy = -1;
  int nice = 99;
  std::thread idle([&] {
    ApplyThreadPriority(0);
    sched_param param{};
    pthread_getschedparam(pthread_self(), &policy, &param);
  });
  idle.join();
  EXPECT_EQ(policy, SCHED_IDLE);

  std::thread lowest([&] {
    ApplyThreadPriority(1);
    errno = 0;
    nice = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
  });
  lowest.join();
  EXPECT_EQ(nice, 10);

  // Raising may be refused without privileges; it must not fail loudly either way.
  std::thread critical([] { ApplyThreadPriority(4); });
  critical.join();

  int ownPolicy = -1;
  sched_param param{};
  pthread_getschedparam(pthread_self(), &ownPolicy, &param);
  EXPECT_EQ(ownPolicy, SCHED_OTHER);
}

TEST(ThreadPriorityTest, IgnoresValuesOutsideTheScale) {
  std::thread t([] {
    const int before = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
    ApplyThreadPriority(-1);
    ApplyThreadPriority(5);
    EXPECT_EQ(getpriority(PRIO_PROCESS, static_cast<id_t>(gettid())), before);
  });
  t.join();
}

}  // namespace
}  // namespace lindrel::platform
