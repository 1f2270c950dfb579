#include <atomic>
#include <thread>

#include "control/ControlInternals.h"
#include "control/LindrelCtrlImpl.h"
#include "lindrel/MessageLoop.h"
#include "tests/support/RecordingListener.h"
#include "tests/support/TempEnvironment.h"

namespace lindrel {
namespace {

using namespace std::chrono_literals;
using namespace lindrel::testing;

// A host that refuses the first `refusals` timer starts, then behaves like its loop.
class RefusingHost : public EventHost {
 public:
  explicit RefusingHost(int refusals) : refusalsLeft_(refusals) {}
  TimerId StartTimer(unsigned periodMs, std::function<void()> tick) override {
    ++starts;
    if (refusalsLeft_ > 0) {
      --refusalsLeft_;
      return kNoTimer;
    }
    return loop.StartTimer(periodMs, std::move(tick));
  }
  void StopTimer(TimerId id) override { loop.StopTimer(id); }

  MessageLoop loop;
  std::atomic<int> starts{0};

 private:
  std::atomic<int> refusalsLeft_;
};

TEST(PendingEventQueueTest, WorkerEventsFireOnTheOwnerInQueueOrder) {
  TempEnvironment env;
  MessageLoop loop;
  RecordingListener listener;
  CLindrelCtrl ctrl("queue", &loop, &listener);
  auto& d = Internals(ctrl);

  std::thread worker([&] {
    d.QueueError(kErrorInvalidMasterFile, "/one");
    d.QueueCompletion(d.dirJob, PendingEventKind::kDirCompletion);
    d.QueueError(kErrorInvalidSourceFile, "/two");
  });
  worker.join();
  EXPECT_TRUE(listener.events.empty());  // nothing fires before the owner pumps
  ASSERT_TRUE(loop.RunUntil([&] { return listener.events.size() == 3; }, 5s));

  EXPECT_EQ(listener.events[0].text, "Invalid Master File, may not exist./one");
  EXPECT_EQ(listener.events[1].name, "DirCompareCompleted");
  EXPECT_EQ(listener.events[2].text, "Invalid Source File, may not exist./two");
  for (const auto& e : listener.events) EXPECT_EQ(e.thread, std::this_thread::get_id()) << e.name;
  EXPECT_EQ(d.events.Pending(), 0u);
}

TEST(PendingEventQueueTest, RefusedTimerIsRetriedWhileADirectoryJobMayNeedIt) {
  TempEnvironment env;
  RefusingHost host(3);
  RecordingListener listener;
  CLindrelCtrl ctrl("retry", &host, &listener);
  auto& d = Internals(ctrl);
  d.dirJob.abort = false;  // as after a directory comparison began

  std::thread worker([&] { d.QueueCompletion(d.dirJob, PendingEventKind::kDirCompletion); });
  worker.join();
  EXPECT_EQ(host.starts, 4);
  ASSERT_TRUE(host.loop.RunUntil([&] { return listener.events.size() == 1; }, 5s));
  EXPECT_EQ(listener.events[0].name, "DirCompareCompleted");
}

// The queueing thread gives up at once while no directory job may need the timer; the
// entry is kept and a later try delivers it without any further entry queued.
TEST(PendingEventQueueTest, RefusedTimerGivesUpWhenTheDirectoryAbortFlagIsSet) {
  TempEnvironment env;
  RefusingHost host(3);
  RecordingListener listener;
  CLindrelCtrl ctrl("giveup", &host, &listener);
  auto& d = Internals(ctrl);
  ASSERT_TRUE(d.dirJob.abort);  // set from creation

  const auto start = std::chrono::steady_clock::now();
  d.QueueError(kErrorInvalidMasterFile);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);  // not 30 retries
  EXPECT_EQ(d.events.Pending(), 1u);                        // kept, not lost
  ASSERT_TRUE(host.loop.RunUntil([&] { return listener.events.size() == 1; }, 5s));
  EXPECT_EQ(listener.events[0].code, 600);
  EXPECT_EQ(host.starts, 4);

  d.QueueError(kErrorInvalidSourceFile);
  ASSERT_TRUE(host.loop.RunUntil([&] { return listener.events.size() == 2; }, 5s));
  EXPECT_EQ(listener.events[1].code, 601);
  host.loop.RunFor(30ms);
  EXPECT_EQ(listener.events.size(), 2u);
}

// A handler that waits for a worker which itself queues an event: with the queue lock
// held during delivery this would never return.
class WaitingListener : public RecordingListener {
 public:
  explicit WaitingListener(CLindrelCtrl::Impl*& d) : d_(d) {}
  void OnError(long code, std::string& text) override {
    RecordingListener::OnError(code, text);
    if (code != kErrorInvalidMasterFile) return;
    std::thread worker([this] { d_->QueueError(kErrorInvalidSourceFile, "queued meanwhile"); });
    worker.join();
  }

 private:
  CLindrelCtrl::Impl*& d_;
};

TEST(PendingEventQueueTest, HandlersRunWithoutTheLockSoWaitingForAWorkerCannotDeadlock) {
  TempEnvironment env;
  MessageLoop loop;
  CLindrelCtrl::Impl* d = nullptr;
  WaitingListener listener(d);
  CLindrelCtrl ctrl("nodeadlock", &loop, &listener);
  d = &Internals(ctrl);

  d->QueueError(kErrorInvalidMasterFile);
  EXPECT_TRUE(loop.RunUntil([&] { return listener.events.size() == 2; }, 5s));
  ASSERT_EQ(listener.events.size(), 2u);
  EXPECT_EQ(listener.events[1].text, "Invalid Source File, may not exist.queued meanwhile");
}

TEST(PendingEventQueueTest, DestructionDropsQueuedEvents) {
  TempEnvironment env;
  MessageLoop loop;
  RecordingListener listener;
  {
    CLindrelCtrl ctrl("drop", &loop, &listener);
    Internals(ctrl).QueueCompletion(Internals(ctrl).dirJob, PendingEventKind::kDirCompletion);
  }
  loop.RunFor(30ms);
  EXPECT_TRUE(listener.events.empty());
}

}  // namespace
}  // namespace lindrel
