// The running state of one kind of comparison job, shared by the owner thread and the
// job's worker thread.
#pragma once

#include <atomic>

namespace lindrel {

struct JobState {
  std::atomic<bool> active{false};
  std::atomic<bool> abort{false};

  // How the running job ends, decided once: by the worker when it completes, or by an
  // abort. Whichever claims it first wins, so an abort that took effect is never
  // followed by a completion, and an abort that comes too late changes nothing.
  enum Ending : int { kRunning = 0, kCompleting = 1, kAborted = 2 };
  std::atomic<int> ending{kRunning};

  bool ClaimCompletion() { return Claim(kCompleting); }
  bool ClaimAbort() { return Claim(kAborted); }
  bool Claim(int how) {
    int expected = kRunning;
    return ending.compare_exchange_strong(expected, how);
  }
  // The start tick while the job runs; the elapsed milliseconds once it has ended.
  std::atomic<long> time{0};
  std::atomic<long> startTick{0};

  void Start(long tick) {
    startTick.store(tick);
    time.store(tick);
    ending.store(kRunning);
  }
  // Replaces the time by the milliseconds elapsed since Start.
  void StoreElapsed(long tick) {
    long elapsed = tick - startTick.load();
    time.store(elapsed < 0 ? -elapsed : elapsed);
  }
};

}  // namespace lindrel
