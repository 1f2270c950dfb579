#include "cli/InputOperand.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "lindrel/HostFiles.h"

namespace lindrel::cli {

namespace {

constexpr std::size_t kCopyBlock = std::size_t{128} << 10;

// Reads up to `size` bytes, waiting for data when the descriptor was left non-blocking
// by whoever opened it. The count, 0 at the end, -1 with errno set.
ssize_t ReadSome(int fd, char* buffer, std::size_t size) {
  for (;;) {
    const ssize_t got = ::read(fd, buffer, size);
    if (got >= 0) return got;
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) return -1;
    pollfd ready{fd, POLLIN, 0};
    if (::poll(&ready, 1, -1) < 0 && errno != EINTR) return -1;
  }
}

std::string TemporaryDirectory() {
  const char* tmp = std::getenv("TMPDIR");
  return tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
}

}  // namespace

InputOperand::~InputOperand() { RemoveCopy(); }

void InputOperand::RemoveCopy() {
  if (!copy_.empty()) ::unlink(copy_.c_str());
  copy_.clear();
}

int InputOperand::StreamDescriptor(const std::string& given) {
  if (given == "-") return STDIN_FILENO;
  const int fd = files::OwnDescriptorNamedBy(given);
  struct stat info {};
  if (fd < 0 || ::fstat(fd, &info) != 0) return -1;
  // A regular file is read by name like any other; devices stay refused.
  return S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode) ? fd : -1;
}

int InputOperand::CreateCopy(std::ostream& err) {
  std::string pattern = TemporaryDirectory() + "/lindrel-input-XXXXXX";
  const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd < 0) {
    err << "lindrel: " << name_
        << ": cannot be stored in a temporary file: " << std::strerror(errno) << '\n';
    return -1;
  }
  copy_ = pattern;
  return fd;
}

bool InputOperand::Prepare(const std::string& given, std::ostream& err) {
  name_ = given;
  const int stream = StreamDescriptor(given);
  if (stream < 0) return true;
  const int fd = CreateCopy(err);
  if (fd < 0) return false;
  std::unique_ptr<char[]> block(new char[kCopyBlock]);
  for (;;) {
    const ssize_t got = ReadSome(stream, block.get(), kCopyBlock);
    if (got == 0) break;
    if (got < 0) {
      err << "lindrel: " << name_ << ": " << std::strerror(errno) << '\n';
      ::close(fd);
      RemoveCopy();
      return false;
    }
    if (!files::WriteAll(fd, block.get(), static_cast<std::size_t>(got))) {
      // A copy that misses its end would compare as a shorter file: nothing is compared.
      err << "lindrel: " << name_
          << ": cannot be stored in a temporary file: " << std::strerror(errno) << '\n';
      ::close(fd);
      RemoveCopy();
      return false;
    }
  }
  if (::close(fd) != 0) {
    err << "lindrel: " << name_
        << ": cannot be stored in a temporary file: " << std::strerror(errno) << '\n';
    RemoveCopy();
    return false;
  }
  return true;
}

bool InputOperand::PrepareEmpty(const std::string& name, std::ostream& err) {
  name_ = name;
  const int fd = CreateCopy(err);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

}  // namespace lindrel::cli
