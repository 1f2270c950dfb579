// The private directory of every Qt test, plus the demo's program-wide state forgotten and
// no desktop opener configured.
// Threading: the test's main thread only (it changes the process environment).
#pragma once

#include <QtTest>

#include <functional>

#include "demo/common/ProgramState.h"
#include "demo/common/UiTiming.h"
#include "tests/support/WidgetTestEnvironment.h"

namespace lindrel::testing {

class GuiTestEnvironment : public WidgetTestEnvironment {
 public:
  // `timing` replaces the demo's pauses, clock and beep for the environment's lifetime.
  explicit GuiTestEnvironment(demo::TimingHooks timing = {}) {
    demo::ProgramState::Instance().TEST_Reset();
    demo::TEST_SetTiming(std::move(timing));
  }
  ~GuiTestEnvironment() {
    demo::TEST_SetTiming({});
    demo::ProgramState::Instance().TEST_Reset();
  }

  // Pauses that move `clock` on by their length, call `onPause` (when set) and let pending
  // messages run; the tick count reads `clock`; beeps are counted in `beeps` (when given).
  static demo::TimingHooks SimulatedClock(long& clock, int* beeps = nullptr,
                                          std::function<void(int ms)> onPause = {}) {
    return {[&clock, onPause = std::move(onPause)](int ms) {
              clock += ms;
              if (onPause) onPause(ms);
              QCoreApplication::processEvents();
            },
            [&clock] { return clock; },
            [beeps] {
              if (beeps != nullptr) ++*beeps;
            }};
  }

  // Pauses that only let pending messages run, a clock that stands still and no beep.
  static demo::TimingHooks NoPauses() {
    return {[](int) { QCoreApplication::processEvents(); }, [] { return 0L; }, [] {}};
  }

  QString SettingsFile() const { return Home() + QStringLiteral("/WDD_SearchHistory.INI"); }
  QString PlacementFile() const { return Home() + QStringLiteral("/LindrelDemo.ini"); }

  // Makes the desktop opener a script that appends each path it is asked to open, one a
  // line, to the file whose path this answers.
  QString RecordOpenedFiles() const {
    const QString log = Root() + QStringLiteral("/opened.txt");
    const QString script = Write(QStringLiteral("record-open"),
                                 "#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"" + log.toUtf8() + "\"\n");
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("LINDREL_OPEN_COMMAND", script.toUtf8());
    return log;
  }

  // "title|text" of each message box shown so far.
  static QStringList ShownMessages() {
    QStringList texts;
    for (const auto& m : widgets::TEST_Messages()) texts << m.title + "|" + m.text;
    return texts;
  }

 private:
  ScopedEnvironmentVariable noOpenCommand_{"LINDREL_OPEN_COMMAND"};
};

}  // namespace lindrel::testing
