#include "control/PendingEventQueue.h"

#include <chrono>
#include <thread>

#include "platform/WorkerThread.h"

namespace lindrel {

namespace {
constexpr int kTimerRetries = 30;
constexpr auto kTimerRetryPause = std::chrono::milliseconds(100);
}  // namespace

PendingEventQueue::PendingEventQueue(EventHost& host, Deliver deliver,
                                     GiveUpRetrying giveUpRetrying)
    : host_(host), deliver_(std::move(deliver)), giveUpRetrying_(std::move(giveUpRetrying)) {}

PendingEventQueue::~PendingEventQueue() {
  // Destroyed by a handler of the delivery in progress: that delivery must stop reading.
  if (destroyedDuringDelivery_ != nullptr) *destroyedDuringDelivery_ = true;
  Shutdown();
}

void PendingEventQueue::Queue(PendingEvent event, const std::function<void()>& underLock,
                              const std::function<bool()>& admit) {
  platform::MutexLock lock(mutex_);
  if (shutDown_ || (admit && !admit())) {
    if (underLock) underLock();
    return;
  }
  entries_.push_back(std::move(event));
  if (timer_ == EventHost::kNoTimer) {
    timer_ = StartTimer();
    // A retrier already asks in the background; this entry need not hold the lock for it.
    for (int retry = 0; timer_ == EventHost::kNoTimer && !retrying_ && retry < kTimerRetries;
         ++retry) {
      std::this_thread::sleep_for(kTimerRetryPause);
      if (giveUpRetrying_ && giveUpRetrying_()) break;
      timer_ = StartTimer();
    }
    // Nobody else would ask again before the next entry, which may never come: the last
    // completion of a job would wait for ever.
    if (timer_ == EventHost::kNoTimer) RetryTimerLater();
  }
  if (underLock) underLock();
}

EventHost::TimerId PendingEventQueue::StartTimer() {
  return host_.StartTimer(0, [this] { OnTimer(); });
}

void PendingEventQueue::RetryTimerLater() {
  if (retrying_) return;
  // A retrier that has ended gave up the lock for good before it did; joining it here
  // cannot wait for this thread.
  if (retrier_.joinable()) retrier_.join();
  retrier_ = platform::StartWorkerThread([this] { RetryTimer(); });
  // Without a retrier the entries wait for the next entry queued, which asks again.
  retrying_ = retrier_.joinable();
}

void PendingEventQueue::RetryTimer() {
  platform::MutexLock lock(mutex_);
  for (;;) {
    // One pause, cut short by a shutdown.
    const auto deadline = std::chrono::steady_clock::now() + kTimerRetryPause;
    while (!shutDown_ && retryWake_.WaitUntil(mutex_, deadline)) {
    }
    if (shutDown_ || entries_.empty() || timer_ != EventHost::kNoTimer) break;
    timer_ = StartTimer();
    if (timer_ != EventHost::kNoTimer) break;
  }
  retrying_ = false;
}

void PendingEventQueue::OnTimer() {
  // A handler that pumps the host's loop must not deliver the rest of the queue from
  // inside itself: the outer pass carries on in order.
  if (delivering_) return;
  delivering_ = true;
  // A handler may destroy the component, and this queue with it: from then on only locals
  // are touched, the delivery function included.
  bool destroyed = false;
  destroyedDuringDelivery_ = &destroyed;
  const Deliver deliver = deliver_;
  const unsigned pauseMs = deliveryPauseMs_;
  for (;;) {
    PendingEvent event;
    {
      platform::MutexLock lock(mutex_);
      if (shutDown_) break;
      if (entries_.empty()) {
        if (timer_ != EventHost::kNoTimer) host_.StopTimer(timer_);
        timer_ = EventHost::kNoTimer;
        break;
      }
      // Taken off the queue before delivery, so DropIf only ever sees undelivered entries.
      event = std::move(entries_.front());
      entries_.pop_front();
    }
    // Delivered without the lock: a worker may queue meanwhile, and a handler may call
    // an abort method that waits for that worker.
    deliver(event);
    if (destroyed) return;
    if (pauseMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
  }
  destroyedDuringDelivery_ = nullptr;
  delivering_ = false;
}

void PendingEventQueue::Shutdown() {
  std::thread retrier;
  {
    platform::MutexLock lock(mutex_);
    shutDown_ = true;
    entries_.clear();
    if (timer_ != EventHost::kNoTimer) host_.StopTimer(timer_);
    timer_ = EventHost::kNoTimer;
    retrier = std::move(retrier_);
  }
  retryWake_.SignalAll();
  if (retrier.joinable()) retrier.join();
}

void PendingEventQueue::DropIf(const std::function<bool(const PendingEvent&)>& drop,
                               const std::function<void()>& underLock) {
  platform::MutexLock lock(mutex_);
  if (underLock) underLock();
  std::erase_if(entries_, drop);
}

std::size_t PendingEventQueue::Pending() const {
  platform::MutexLock lock(mutex_);
  return entries_.size();
}

}  // namespace lindrel
