// ScanEnvironment: what a directory scan needs from the component that runs it.
//
// The scan asks it whether to stop, hands it the errors the host must hear about, and
// goes through it for the two actions tests need to control (pausing and opening a file
// for the content comparison). The scan calls it only from its own worker thread;
// implementations make AbortRequested and QueueError safe against the owner thread.
#pragma once

#include <chrono>
#include <string>

namespace lindrel::dircompare {

class ScanEnvironment {
 public:
  virtual ~ScanEnvironment() = default;

  // True once the owner asked the scan to stop.
  virtual bool AbortRequested() const = 0;

  // Hands an error to the owner, which reports it on its own thread: 600 or 601 for a
  // master or source file that vanished, 602 for one that could not be read to its end,
  // 508 for a directory that cannot be listed. `detail` follows the code's message (a
  // blank and the path for 600 and 601, the path for the others).
  virtual void QueueError(long code, const std::string& detail) = 0;

  // The throttling pause between enumerated entries. Sleeps.
  virtual void Pause(std::chrono::milliseconds duration);

  // Opens `path` for reading without blocking on special files; a descriptor, or -1 with
  // errno set.
  virtual int OpenForReading(const std::string& path);
};

}  // namespace lindrel::dircompare
