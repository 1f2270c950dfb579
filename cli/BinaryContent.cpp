#include "cli/BinaryContent.h"

#include <unistd.h>

#include "lindrel/HostFiles.h"

namespace lindrel::cli {

namespace {
constexpr std::size_t kFirstBlock = 8192;
}  // namespace

bool LooksBinary(const std::string& path) {
  const int fd = files::OpenRegularFileForReading(path);
  if (fd < 0) return false;
  // Twice the block: CR LF pairs shrink to half at most.
  std::string bytes(2 * kFirstBlock, '\0');
  std::size_t got = 0;
  while (got < bytes.size()) {
    const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
    if (n <= 0) break;  // the end, or an error: judged on what was read
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  bytes.resize(got);
  files::ConvertToTextMode(bytes);
  return bytes.find('\0', 0) < kFirstBlock;
}

}  // namespace lindrel::cli
