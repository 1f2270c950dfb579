// Writing a file that replaces another only once it is complete, and opening files for
// reading without ever blocking on a FIFO or a device.
//
// ReplacementFile writes into a private temporary file created exclusively next to the
// target and renames it into place on Commit, so a failed write (a full disk) leaves the
// previous file untouched, two writers never mix their bytes (the last to commit wins),
// and nothing is ever written through a link or over a file planted under a temporary
// name. A target that is a symbolic link keeps the link: the file it leads to is
// replaced, as an in-place write would have changed it. A target that exists keeps its
// permission bits; a new one gets 0666 less the umask, as open() would have given it.
// A target that cannot be replaced is written in place instead: a file that is not a
// regular one (a terminal, /dev/null, a FIFO), and one of the process's own streams
// ("/dev/stdout", "/proc/self/fd/2", the file output goes to), which is written through
// its descriptor, appending where the stream appends (OwnDescriptor.h).
//
// One thread per object. The free functions are thread-safe.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/Status.h"

namespace lindrel::platform {

class ReplacementFile {
 public:
  ReplacementFile() = default;
  // Abandons an uncommitted file: the target stays as it was.
  ~ReplacementFile();
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  // Creates the temporary file for `target`. Fails when the target's directory is not
  // writable, the target is a directory or its name holds a NUL byte.
  Status Create(const std::string& target);
  bool IsOpen() const { return fd_ >= 0; }
  int fd() const { return fd_; }

  // Every byte or an error (the file is then abandoned by Commit).
  Status Write(std::string_view bytes);

  // Closes the temporary file and renames it over the target. On failure the temporary
  // file is removed and the target is untouched.
  Status Commit();
  // Removes the temporary file; the target is untouched.
  void Abandon();

 private:
  std::string target_;     // as given, for messages
  std::string finalPath_;  // the file that is replaced (links resolved)
  std::string temporary_;
  int fd_ = -1;
};

// Writes all of `size` bytes to `fd`, retrying short writes. False with errno set.
bool WriteAll(int fd, const char* data, std::size_t size);

// A read-write file without a name in the directory of `nearPath` (or, when that takes no
// new files, in $TMPDIR), gone once closed.
// -1 with errno set when none can be made.
int CreateAnonymousFile(const std::string& nearPath);

// The file a write to `path` changes: the final target when `path` is a symbolic link.
Status ResolveWriteTarget(const std::string& path, std::string& target);

// Opens `path` read-only without blocking, and only when it is a regular file: a FIFO
// never hangs the caller waiting for a writer and a device never feeds it without end.
// The descriptor is blocking again on return. -1 with errno set (EINVAL for a file that
// is not regular; EISDIR for a directory; ENOENT for a name holding a NUL byte).
int OpenRegularFileForReading(const std::string& path);

// True when both paths name one existing file (same device and inode, links followed);
// false when either name holds a NUL byte.
bool SameExistingFile(const std::string& a, const std::string& b);

// Test hook: every write made through WriteAll fails with ENOSPC once `bytes` bytes have
// been written since the call, as on a full disk; -1 ends the fault. Process-wide.
void TEST_FailWritesAfter(long long bytes);

// Test hook: the next ReplacementFile::Commit fails at the step named, with EIO, as a
// close that reports a delayed write error or a rename refused by the file system would.
enum class TEST_CommitFault { kNone, kClose, kRename };
void TEST_FailNextCommit(TEST_CommitFault fault);

}  // namespace lindrel::platform
