/// @file
/// The event host QtEventHost for components on a Qt GUI thread.
#pragma once

#include <QObject>

#include <atomic>
#include <functional>
#include <map>
#include <memory>

#include "lindrel/EventHost.h"
#include "lindrel/widgets/export.h"

class QTimer;

namespace lindrel::widgets {

/// The event host of a Lindrel component living on a Qt GUI thread.
///
/// A component's worker queues its completions and errors, then asks the host for a
/// timer; the timer ticks on the thread the host belongs to (the GUI thread), where the
/// component fires what was queued. Here a timer is a QTimer owned by the host.
///
/// Threading: StartTimer and StopTimer may be called from any thread, StopTimer also from
/// inside the timer's own tick. Ticks run only on the host's thread. The host must
/// outlive every component that uses it.
class LINDREL_WIDGETS_EXPORT QtEventHost final : public QObject, public lindrel::EventHost {
  Q_OBJECT

 public:
  /// A host of the calling thread.
  explicit QtEventHost(QObject* parent = nullptr);
  /// Drops every timer: no tick runs after this.
  ~QtEventHost() override;

  /// Never refuses: answers a fresh id whose timer starts as soon as the host's thread
  /// handles its events (at once when called on that thread).
  TimerId StartTimer(unsigned periodMs, std::function<void()> tick) override;
  void StopTimer(TimerId id) override;

 private:
  friend struct QtEventHostInternals;

  struct Ticks;

  void CreateTimer(TimerId id, unsigned periodMs);
  void DestroyTimer(TimerId id);
  void RunTick(TimerId id);

  const std::unique_ptr<Ticks> ticks_;  // what every started timer runs; any thread
  std::map<TimerId, QTimer*> timers_;   // host thread only
  std::atomic<TimerId> nextId_{1};
};

}  // namespace lindrel::widgets
