// CompareSession: one component, its message loop and its listener, for one command.
//
// The component is created with a state file of the command line's own ("lindrel-cli"),
// so a user's desktop settings are never read or overwritten; commands still set every
// option they depend on, so what that file holds never changes a result. Every OnError
// is written to the console's error stream as "lindrel: " plus its text.
//
// Threading: the session belongs to the thread that created it. Completions and job
// errors arrive only while that thread pumps (Pump); the worker threads of the component
// never touch the session.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "cli/Console.h"
#include "lindrel/LindrelCtrl.h"
#include "lindrel/LindrelEvents.h"
#include "lindrel/MessageLoop.h"

namespace lindrel::cli {

inline constexpr const char* kCliStateFileName = "lindrel-cli";

class CompareSession final : public LindrelEvents {
 public:
  explicit CompareSession(Console& console);
  ~CompareSession() override;
  CompareSession(const CompareSession&) = delete;
  CompareSession& operator=(const CompareSession&) = delete;

  CLindrelCtrl& ctrl() { return *ctrl_; }

  // Delivers whatever the component has queued, waiting at most `maxWait` for it.
  void Pump(std::chrono::milliseconds maxWait);

  bool fileCompleted() const { return fileCompleted_; }
  bool dirCompleted() const { return dirCompleted_; }

  // Errors fired since the component finished loading its settings. A state file that
  // cannot be located is reported too, but does not count: the command sets every option
  // itself and needs nothing from that file.
  int errorCount() const { return errors_; }

  // Runs before an error line is written (a progress line must be cleared first).
  void SetBeforeErrorWrite(std::function<void()> hook) { beforeErrorWrite_ = std::move(hook); }

  void OnError(long errorCode, std::string& errorString) override;
  void FileCompareCompleted(long compareResult) override;
  void DirCompareCompleted() override;

 private:
  Console& console_;
  MessageLoop loop_;
  std::function<void()> beforeErrorWrite_;
  bool counting_ = false;
  int errors_ = 0;
  bool fileCompleted_ = false;
  bool dirCompleted_ = false;
  std::unique_ptr<CLindrelCtrl> ctrl_;
};

}  // namespace lindrel::cli
