#include "cli/LineStream.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace lindrel::cli {

namespace {

constexpr size_t kBlockSize = size_t{1} << 20;
constexpr char kEndOfContent = '\x1a';

}  // namespace

LineStream::~LineStream() {
  if (fd_ >= 0) ::close(fd_);
}

bool LineStream::Open(const std::string& path, std::string& error) {
  path_ = path;
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) {
    error = std::strerror(errno);
    return false;
  }
  ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);  // only advice
  block_.resize(kBlockSize);
  return true;
}

bool LineStream::Refill() {
  pos_ = end_ = 0;
  if (ended_) return false;
  ssize_t got;
  do {
    got = ::read(fd_, block_.data(), block_.size());
  } while (got < 0 && errno == EINTR);
  if (got <= 0) {
    if (got < 0) error_ = std::strerror(errno);
    ended_ = true;
    return false;
  }
  end_ = static_cast<size_t>(got);
  if (const void* stop = std::memchr(block_.data(), kEndOfContent, end_)) {
    end_ = static_cast<size_t>(static_cast<const char*>(stop) - block_.data());
    ended_ = true;
  }
  return end_ > 0;
}

bool LineStream::HasByte() { return pos_ < end_ || Refill(); }

bool LineStream::SkipTo(long number) {
  while (line_ < number) {
    if (!HasByte()) return false;
    const char* begin = block_.data() + pos_;
    const char* end = block_.data() + end_;
    // memchr per line: faster than counting bytes, for short lines and long ones alike.
    while (line_ < number) {
      const void* feed = std::memchr(begin, '\n', static_cast<size_t>(end - begin));
      if (feed == nullptr) {
        begin = end;  // the line goes on in the next block
        break;
      }
      begin = static_cast<const char*>(feed) + 1;
      ++line_;
    }
    pos_ = static_cast<size_t>(begin - block_.data());
  }
  return HasByte() && error_.empty();
}

bool LineStream::Next(std::string& out, bool& withoutNewline) {
  if (!HasByte()) return false;
  for (;;) {
    const char* begin = block_.data() + pos_;
    const size_t available = end_ - pos_;
    if (const void* feed = std::memchr(begin, '\n', available)) {
      const size_t length = static_cast<size_t>(static_cast<const char*>(feed) - begin) + 1;
      out.append(begin, length);
      pos_ += length;
      ++line_;
      // The content may end right after this line feed; the next call will say so.
      withoutNewline = false;
      return true;
    }
    out.append(begin, available);
    pos_ = end_;
    if (!Refill()) {
      ++line_;
      withoutNewline = true;
      return error_.empty();
    }
  }
}

}  // namespace lindrel::cli
