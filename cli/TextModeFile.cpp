#include "cli/TextModeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "lindrel/HostFiles.h"

namespace lindrel::cli {

namespace {

// Reads the whole of `fd`; false with errno set on a read error.
bool ReadAll(int fd, std::string& bytes) {
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0)
    bytes.reserve(static_cast<std::size_t>(info.st_size));
  char block[1 << 16];
  for (;;) {
    const ssize_t got = ::read(fd, block, sizeof block);
    if (got == 0) return true;
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.append(block, static_cast<std::size_t>(got));
  }
}

}  // namespace

std::optional<TextModeFile> TextModeFile::Load(const std::string& path, std::string& error) {
  // Only a regular file: one swapped for a FIFO since the comparison must not hang us.
  const int fd = files::OpenRegularFileForReading(path);
  if (fd < 0) {
    error = std::strerror(errno);
    return std::nullopt;
  }
  std::string bytes;
  const bool read = ReadAll(fd, bytes);
  const int readErrno = errno;
  ::close(fd);
  if (!read) {
    error = std::strerror(readErrno);
    return std::nullopt;
  }
  return FromBytes(std::move(bytes));
}

TextModeFile TextModeFile::FromBytes(std::string bytes) {
  TextModeFile file;
  files::ConvertToTextMode(bytes);
  file.content_ = std::move(bytes);
  const std::string& c = file.content_;
  if (!c.empty()) file.starts_.push_back(0);
  for (std::size_t at = c.find('\n'); at != std::string::npos; at = c.find('\n', at + 1))
    if (at + 1 < c.size()) file.starts_.push_back(at + 1);
  return file;
}

std::string_view TextModeFile::Line(long number) const {
  const auto index = static_cast<std::size_t>(number - 1);
  const std::size_t begin = starts_[index];
  std::size_t end = index + 1 < starts_.size() ? starts_[index + 1] : content_.size();
  if (end > begin && content_[end - 1] == '\n') --end;
  return std::string_view(content_).substr(begin, end - begin);
}

}  // namespace lindrel::cli
