// PendingEventQueue: hands events from worker threads to the component's owner thread.
//
// A worker queues an entry (any thread); queueing starts a timer on the event host when
// none runs. The timer's tick, on the owner thread, delivers every entry in queue order
// (entries queued meanwhile included), then stops the timer. The lock is not held while
// an entry is delivered, so a handler may call any method of the component, abort
// methods included, and a worker never waits for a handler. A handler may also destroy
// the queue (with its component); the entries still queued are then dropped.
//
// A timer the host keeps refusing after the retries of Queue does not strand the
// entries: a retrier thread goes on asking for one, 100 ms apart, until the host gives
// one, the entries are dropped or the queue shuts down (which ends it at once).
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <thread>

#include "lindrel/EventHost.h"
#include "platform/Mutex.h"

namespace lindrel {

// kFileError: an error of a file comparison's run, delivered as any error but taken back
// with its run's completion by an abort.
enum class PendingEventKind { kDirCompletion, kFileCompletion, kError, kFileError };

struct PendingEvent {
  PendingEventKind kind = PendingEventKind::kError;
  long code = 0;
  std::string detail;
  // For a completion or a file error: the run of its job (JobState::run), so that an
  // abort takes back its own run's events and no other.
  unsigned long run = 0;
};

class PendingEventQueue {
 public:
  using Deliver = std::function<void(const PendingEvent&)>;
  using GiveUpRetrying = std::function<bool()>;

  // `deliver` fires one entry on the owner thread. `giveUpRetrying` is asked between the
  // retries of a refused timer start.
  PendingEventQueue(EventHost& host, Deliver deliver, GiveUpRetrying giveUpRetrying);
  ~PendingEventQueue();
  PendingEventQueue(const PendingEventQueue&) = delete;
  PendingEventQueue& operator=(const PendingEventQueue&) = delete;

  // Any thread. Adds `event`; starts the timer when none runs, retrying a refused start up
  // to 30 more times 100 ms apart unless `giveUpRetrying` answers true. `underLock` runs
  // under the queue lock after the entry was added. When `admit` is given it is asked
  // first, under the lock, and the entry is only added when it answers true (`underLock`
  // runs either way).
  void Queue(PendingEvent event, const std::function<void()>& underLock = {},
             const std::function<bool()>& admit = {});

  // Owner thread. Stops the timer and the retrier and drops every queued entry; later
  // entries are dropped.
  void Shutdown();

  // Any thread. Drops the entries not yet delivered that `drop` selects (a directory
  // comparison that begins drops what its predecessor left queued). `underLock` runs
  // first, under the same hold of the queue lock, so that no entry can be admitted
  // between the two.
  void DropIf(const std::function<bool(const PendingEvent&)>& drop,
              const std::function<void()>& underLock = {});

  // Number of entries waiting for delivery.
  std::size_t Pending() const;

  // Pause after each delivered entry (2 ms in production).
  void TEST_SetDeliveryPauseMs(unsigned ms) { deliveryPauseMs_ = ms; }

 private:
  void OnTimer();
  // Starts the host's timer; kNoTimer when refused.
  EventHost::TimerId StartTimer() REQUIRES(mutex_);
  // Starts the retrier unless one runs.
  void RetryTimerLater() REQUIRES(mutex_);
  // The retrier's body.
  void RetryTimer();

  EventHost& host_;
  Deliver deliver_;
  GiveUpRetrying giveUpRetrying_;
  unsigned deliveryPauseMs_ = 2;

  mutable platform::Mutex mutex_;
  std::deque<PendingEvent> entries_ GUARDED_BY(mutex_);
  EventHost::TimerId timer_ GUARDED_BY(mutex_) = EventHost::kNoTimer;
  bool shutDown_ GUARDED_BY(mutex_) = false;
  platform::CondVar retryWake_;  // signalled on shutdown
  std::thread retrier_ GUARDED_BY(mutex_);
  bool retrying_ GUARDED_BY(mutex_) = false;  // retrier_ still asks
  bool delivering_ = false;                   // owner thread only
  bool* destroyedDuringDelivery_ = nullptr;   // owner thread only; set while delivering
};

}  // namespace lindrel
