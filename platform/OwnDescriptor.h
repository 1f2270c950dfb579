// Recognising a path that names one of the calling process's own open descriptors:
// "/dev/stdout", "/dev/stderr", "/dev/fd/N", "/proc/self/fd/N" (and the process's own
// "/proc/PID/fd/N"), a link leading to one of those, or any name of the regular file that
// standard output or error is open on.
//
// Such a target is a stream the process already writes to (a shell's ">>log", a pipe),
// so it has to be written through the descriptor itself: replacing the file the name
// leads to would lose what the stream held, and reopening it would lose the stream's
// offset and its append mode. Thread-safe.
#pragma once

#include <string>

namespace lindrel::platform {

// The descriptor `path` names, or -1 when it names none of the process's own. A path that
// does not exist names none.
int OwnDescriptorNamedBy(const std::string& path);

// A new descriptor (close-on-exec) sharing the open file of `fd`, for writing: it keeps
// the stream's offset and append mode. -1 with errno set; EBADF when `fd` is not open
// for writing (standard input, say).
int DuplicateForWriting(int fd);

}  // namespace lindrel::platform
