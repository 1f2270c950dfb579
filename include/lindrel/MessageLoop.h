/// @file
/// The event host MessageLoop for programs without a GUI event loop.
#pragma once

#include <chrono>
#include <functional>
#include <memory>

#include "lindrel/EventHost.h"
#include "lindrel/export.h"

namespace lindrel {

/// A small event host for console programs and tests.
///
/// The loop belongs to the thread that created it (its owner). Other threads start and
/// stop timers and post tasks; the owner runs them when it pumps the loop with RunOnce,
/// RunFor or RunUntil. Nothing runs unless the owner pumps.
class LINDREL_EXPORT MessageLoop final : public EventHost {
 public:
  /// A loop owned by the calling thread.
  MessageLoop();
  /// Tasks and ticks still pending never run. Destroy every component that uses the loop
  /// first.
  ~MessageLoop() override;
  /// A loop belongs to one thread: not copyable.
  MessageLoop(const MessageLoop&) = delete;
  /// Not assignable, for the same reason.
  MessageLoop& operator=(const MessageLoop&) = delete;

  /// The loop of the calling thread, created on first use. Components created without an
  /// explicit host use it.
  static MessageLoop& ForCurrentThread();

  TimerId StartTimer(unsigned periodMs, std::function<void()> tick) override;
  void StopTimer(TimerId id) override;

  /// Queues a task for the owner thread. Any thread.
  void Post(std::function<void()> task);

  /// Owner thread only. Runs the posted tasks and the due timer ticks, waiting at most
  /// `maxWait` for something to become due. Returns true if anything ran.
  bool RunOnce(std::chrono::milliseconds maxWait = std::chrono::milliseconds(0));

  /// Owner thread only. Pumps for `duration`.
  void RunFor(std::chrono::milliseconds duration);

  /// Owner thread only. Pumps until `done()` answers true (checked after every pass) or
  /// `timeout` has passed. Returns done()'s last answer.
  bool RunUntil(const std::function<bool()>& done,
                std::chrono::milliseconds timeout = std::chrono::milliseconds(60000));

  /// Wakes a RunOnce that is waiting. Any thread.
  void Wake();

 private:
  struct State;
  std::shared_ptr<State> state_;
};

}  // namespace lindrel
