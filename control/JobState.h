// The running state of one kind of comparison job, shared by the owner thread and the
// job's worker thread.
#pragma once

#include <atomic>

namespace lindrel {

struct JobState {
  std::atomic<bool> active{false};
  std::atomic<bool> abort{false};
  // The start tick while the job runs; the elapsed milliseconds once it has ended.
  std::atomic<long> time{0};
  std::atomic<long> startTick{0};

  void Start(long tick) {
    startTick.store(tick);
    time.store(tick);
  }
  // Replaces the time by the milliseconds elapsed since Start.
  void StoreElapsed(long tick) {
    long elapsed = tick - startTick.load();
    time.store(elapsed < 0 ? -elapsed : elapsed);
  }
};

}  // namespace lindrel
