// ReportFile: a report target being written (LF line ends, as text mode writes on this
// platform), filled through a large buffer of its own because reports are written in
// many small pieces.
//
// A report goes to a private temporary file next to its target and replaces the target
// only when Close() finds every write succeeded: a failed report leaves the previous
// file as it was, and two writers of one target never mix their output. A scratch file
// (OpenScratch) has no name at all, so it can neither follow a link planted under a
// name nor remove a user's file.
//
// One thread at a time. Once a report fills its buffer for the first time, a second
// thread writes each full buffer while the next one fills, so that a large report costs
// its writer only the formatting. A large file that a report replaces is let go of on a
// third thread, which frees its blocks after Close has returned (one such thread at a
// time in the process). A file neither closed nor committed is abandoned by the
// destructor.
#pragma once

#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "platform/ReplacementFile.h"

namespace lindrel::reports {

class ReportFile {
 public:
  ReportFile() = default;
  ~ReportFile();
  ReportFile(const ReportFile&) = delete;
  ReportFile& operator=(const ReportFile&) = delete;

  // Starts the report that will replace `path`. False when it cannot be created.
  bool Open(const std::string& path);
  // Opens an unnamed read-write file in the directory of `nearPath`, for a body that is
  // copied into a report later. False when none can be made.
  bool OpenScratch(const std::string& nearPath);
  bool IsOpen() const { return fd_ >= 0; }

  // Inline: a report is written in many pieces of a few bytes each.
  void Write(std::string_view text) {
    if (text.size() <= capacity_ - used_) {
      if (!text.empty()) std::memcpy(buffer_.get() + used_, text.data(), text.size());
      used_ += text.size();
      return;
    }
    WriteThroughFullBuffer(text);
  }
  void Write(long number);

  // Appends everything `other` holds, from its start.
  void CopyFrom(ReportFile& other);

  // Finishes the file: a report replaces its target when every write succeeded. False
  // when any write, the close or the replacement failed; the target is then untouched.
  bool Close();

 private:
  void Flush();
  void WriteNow(const char* data, std::size_t size);
  // Hands the filled buffer to the write-behind thread (started on first use) and
  // continues in the other buffer. False when no thread could be started.
  bool WriteBehind();
  // Waits until every buffer handed over is written; afterwards failed_ holds its outcome.
  void WaitForWriteBehind();
  void StopWriteBehind();
  void WriteThroughFullBuffer(std::string_view text);
  // A descriptor keeping the regular file that Commit will replace (a large one), or -1.
  int HoldReplacedFile() const;
  // Closes `fd` (if any) on a thread of its own, so that freeing the replaced file's
  // blocks does not hold up the report.
  static void ReleaseInBackground(int fd);
  // Starts writing to fd_ (or nothing when it is -1).
  void StartBuffer();

  platform::ReplacementFile report_;
  std::string target_;  // as given to Open
  int fd_ = -1;         // the report's temporary file or the scratch file
  bool scratch_ = false;
  bool failed_ = false;
  std::unique_ptr<char[]> buffer_;
  std::size_t capacity_ = 0;  // 0 while nothing is open, so every write goes the slow way
  std::size_t used_ = 0;

  // Write-behind: the buffer being written (spare_ while it is not), guarded by mutex_.
  std::unique_ptr<char[]> spare_;
  std::thread writer_;
  std::mutex mutex_;
  std::condition_variable changed_;
  const char* pending_ = nullptr;  // handed over, not yet written
  std::size_t pendingSize_ = 0;
  bool writeFailed_ = false;
  bool stopWriter_ = false;
  bool noWriter_ = false;  // the system gave no thread: write on this one
};

}  // namespace lindrel::reports
