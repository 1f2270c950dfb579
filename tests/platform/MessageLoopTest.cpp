#include "lindrel/MessageLoop.h"

#include <atomic>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace lindrel {
namespace {

using namespace std::chrono_literals;

TEST(MessageLoopTest, TimerStartedOnAWorkerTicksOnTheOwner) {
  MessageLoop loop;
  const auto owner = std::this_thread::get_id();
  std::vector<std::thread::id> tickThreads;
  EventHost::TimerId id = EventHost::kNoTimer;
  std::thread worker([&] {
    id = loop.StartTimer(0, [&] {
      tickThreads.push_back(std::this_thread::get_id());
      if (tickThreads.size() == 3) loop.StopTimer(id);  // stopping from inside a tick
    });
  });
  worker.join();
  ASSERT_NE(id, EventHost::kNoTimer);
  ASSERT_TRUE(loop.RunUntil([&] { return tickThreads.size() >= 3; }, 5s));
  loop.RunFor(30ms);
  ASSERT_EQ(tickThreads.size(), 3u);
  for (auto thread : tickThreads) EXPECT_EQ(thread, owner);
}

TEST(MessageLoopTest, NothingRunsUntilTheOwnerPumps) {
  MessageLoop loop;
  std::atomic<int> ran{0};
  loop.Post([&] { ++ran; });
  loop.StartTimer(0, [&] { ++ran; });
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(ran, 0);
  EXPECT_TRUE(loop.RunOnce());
  EXPECT_EQ(ran, 2);
}

TEST(MessageLoopTest, PostedTasksRunInOrderAndStoppedTimersStayQuiet) {
  MessageLoop loop;
  std::vector<int> order;
  std::thread poster([&] {
    for (int i = 0; i < 5; ++i) loop.Post([&order, i] { order.push_back(i); });
  });
  poster.join();
  int ticks = 0;
  auto id = loop.StartTimer(0, [&] { ++ticks; });
  loop.StopTimer(id);
  loop.RunFor(20ms);
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(ticks, 0);
}

TEST(MessageLoopTest, RunOnceWaitsForWorkFromAnotherThread) {
  MessageLoop loop;
  bool ran = false;
  std::thread poster([&] {
    std::this_thread::sleep_for(20ms);
    loop.Post([&] { ran = true; });
  });
  EXPECT_TRUE(loop.RunUntil([&] { return ran; }, 5s));
  poster.join();
}

}  // namespace
}  // namespace lindrel
