// The running state of one kind of comparison job, shared by the owner thread and the
// job's worker thread.
#pragma once

#include <atomic>

namespace lindrel {

struct JobState {
  std::atomic<bool> active{false};
  std::atomic<bool> abort{false};

  // How the running job ends. The worker claims the completion when it queues it; an
  // abort made while the job reads active marks it aborted and takes back a completion
  // already queued. Both happen under the pending-event queue's lock, and the owner
  // thread, which makes the abort, is also the one that delivers the completion: so an
  // abort that returns is never followed by a completion of its job.
  enum Ending : int { kRunning = 0, kCompleting = 1, kAborted = 2 };
  std::atomic<int> ending{kRunning};

  bool ClaimCompletion() { return Claim(kCompleting); }
  bool ClaimAbort() { return Claim(kAborted); }
  bool Claim(int how) {
    int expected = kRunning;
    return ending.compare_exchange_strong(expected, how);
  }
  // Counts the runs of the job; a completion names the run it ends.
  std::atomic<unsigned long> run{0};
  // The start tick while the job runs; the elapsed milliseconds once it has ended.
  std::atomic<long> time{0};
  std::atomic<long> startTick{0};

  void Start(long tick) {
    startTick.store(tick);
    time.store(tick);
    ending.store(kRunning);
    ++run;
  }
  // Replaces the time by the milliseconds elapsed since Start.
  void StoreElapsed(long tick) {
    long elapsed = tick - startTick.load();
    time.store(elapsed < 0 ? -elapsed : elapsed);
  }
};

}  // namespace lindrel
