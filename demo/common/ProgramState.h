// ProgramState: the values LindrelDemo holds for its whole run: the path of its settings
// file, the thread priority chosen in the main window, and the shutting-down flag that
// dialogs consult before applying settings on close.
//
// Threading: GUI thread only.
#pragma once

#include <QString>

namespace lindrel::demo {

class ProgramState {
 public:
  static ProgramState& Instance();

  // The settings file: the Lindrel directory + "/WDD_SearchHistory.INI". Resolved on
  // first use (the main window does it first thing at start-up); "" when the Lindrel
  // directory is unavailable, in which case reads give defaults and writes fail.
  const QString& SettingsFilePath();
  // Why the settings file path is empty, or "".
  const QString& SettingsFileError() const { return settingsError_; }

  int ThreadPriority() const { return threadPriority_; }
  void SetThreadPriority(int priority) { threadPriority_ = priority; }

  bool ShuttingDown() const { return shuttingDown_; }
  void SetShuttingDown(bool shuttingDown) { shuttingDown_ = shuttingDown; }

  // Forgets everything, so the next use resolves the path again (tests change
  // LINDREL_HOME between cases).
  void TEST_Reset();

 private:
  bool resolved_ = false;
  QString settingsPath_;
  QString settingsError_;
  int threadPriority_ = 0;
  bool shuttingDown_ = false;
};

}  // namespace lindrel::demo
