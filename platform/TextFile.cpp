#include "platform/TextFile.h"

#include "platform/ReplacementFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace lindrel::platform {

void ConvertToTextMode(std::string& bytes) {
  if (auto eof = bytes.find('\x1a'); eof != std::string::npos) bytes.resize(eof);
  char* data = bytes.data();
  const std::size_t size = bytes.size();
  std::size_t out = 0;
  for (std::size_t in = 0; in < size; ++in) {
    if (data[in] == '\r' && in + 1 < size && data[in + 1] == '\n') continue;
    data[out++] = data[in];
  }
  bytes.resize(out);
}

Status ReadTextFile(const std::string& path, std::string& content) {
  content.clear();
  // Only regular files: a FIFO would block here and a device would never end.
  int fd = OpenRegularFileForReading(path);
  if (fd < 0) return Status::FromErrno(path, errno);
  char buffer[65536];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      int error = errno;
      ::close(fd);
      return Status::FromErrno(path, error);
    }
    content.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  ConvertToTextMode(content);
  return Status::Ok();
}

}  // namespace lindrel::platform
