#include "cli/LineStream.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace lindrel::cli {

namespace {

// Small enough to stay in the processor's cache between the copy out of the page cache
// and the scan for line feeds; blocks of 1 MiB cost about a third more.
constexpr size_t kBlockSize = size_t{128} << 10;
constexpr char kEndOfContent = '\x1a';

#if defined(__SSE2__)
// Set bits of `x`, without relying on a population-count instruction.
inline long BitCount(uint64_t x) {
  x = x - ((x >> 1) & 0x5555555555555555ULL);
  x = (x & 0x3333333333333333ULL) + ((x >> 2) & 0x3333333333333333ULL);
  x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
  return static_cast<long>((x * 0x0101010101010101ULL) >> 56);
}

// The line feeds among the 2048 bytes at `p`: per byte lane a counter that the compare
// results (-1 per line feed) count up, summed once at the end.
inline long LineFeedsIn2048(const char* p) {
  const __m128i feed = _mm_set1_epi8('\n');
  __m128i counts = _mm_setzero_si128();
  for (int i = 0; i < 128; ++i) {  // at most 128 per lane: no lane overflows
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
    counts = _mm_sub_epi8(counts, _mm_cmpeq_epi8(bytes, feed));
  }
  const __m128i sums = _mm_sad_epu8(counts, _mm_setzero_si128());
  return _mm_cvtsi128_si32(sums) + _mm_cvtsi128_si32(_mm_unpackhi_epi64(sums, sums));
}

// One bit per line feed among the 64 bytes at `p`.
inline uint64_t LineFeedMask(const char* p) {
  const __m128i feed = _mm_set1_epi8('\n');
  uint64_t mask = 0;
  for (int i = 0; i < 4; ++i) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
    mask |=
        static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, feed))))
        << (16 * i);
  }
  return mask;
}
#endif

// Moves past up to `wanted` line feeds in [p, end), counting down `wanted` for each; the
// result is just past the last line feed taken, or `end`. Line feeds are counted many
// bytes at a time where the processor allows: a million short lines would otherwise cost
// a million memchr calls.
const char* SkipLineFeeds(const char* p, const char* end, long& wanted) {
#if defined(__SSE2__)
  // Whole chunks first, counted only; the chunk holding the wanted line feed is searched
  // 64 bytes at a time.
  while (wanted > 0 && end - p >= 2048) {
    const long found = LineFeedsIn2048(p);
    if (found >= wanted) break;
    wanted -= found;
    p += 2048;
  }
  while (wanted > 0 && end - p >= 64) {
    uint64_t mask = LineFeedMask(p);
    const long found = BitCount(mask);
    if (found < wanted) {
      wanted -= found;
      p += 64;
      continue;
    }
    for (long k = wanted; k > 1; --k) mask &= mask - 1;  // drop all but the wanted one
    wanted = 0;
    return p + __builtin_ctzll(mask) + 1;
  }
#endif
  while (wanted > 0) {
    const void* next = std::memchr(p, '\n', static_cast<size_t>(end - p));
    if (next == nullptr) return end;
    p = static_cast<const char*>(next) + 1;
    --wanted;
  }
  return p;
}

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
  block_.reset(static_cast<char*>(std::aligned_alloc(4096, kBlockSize)));
  if (!block_) {
    error = std::strerror(ENOMEM);
    ::close(fd_);
    fd_ = -1;
    return false;
  }
  return true;
}

bool LineStream::OpenAt(const std::string& path, Position at, std::string& error) {
  if (!Open(path, error)) return false;
  if (::lseek(fd_, static_cast<off_t>(at.offset), SEEK_SET) < 0) {
    error = std::strerror(errno);
    return false;
  }
  blockOffset_ = nextOffset_ = at.offset;
  line_ = at.line;
  return true;
}

bool LineStream::StartNear(Position known, long number) {
  if (fd_ < 0 || line_ != 1 || pos_ != end_ || known.line <= 1 || number <= 1) return true;
  Position start = known;
  if (number < known.line) {
    // The start of line `number` is just after the (known.line - number + 1)th line feed
    // before `known`, if it lies within one block back.
    const long long from = std::max(0LL, known.offset - static_cast<long long>(kBlockSize));
    const size_t size = static_cast<size_t>(known.offset - from);
    ssize_t got;
    do {
      got = ::pread(fd_, block_.get(), size, static_cast<off_t>(from));
    } while (got < 0 && errno == EINTR);
    if (got < 0) {
      error_ = std::strerror(errno);
      ended_ = true;
      return false;
    }
    const char* const begin = block_.get();
    const char* p = begin + got;
    long feeds = known.line - number + 1;
    while (p > begin && feeds > 0) {
      if (*--p == '\n') --feeds;
    }
    if (feeds > 0) return true;  // too far back: SkipTo counts from the start
    start = {from + (p - begin) + 1, number};
  }
  if (::lseek(fd_, static_cast<off_t>(start.offset), SEEK_SET) < 0) {
    error_ = std::strerror(errno);
    ended_ = true;
    return false;
  }
  blockOffset_ = nextOffset_ = start.offset;
  pos_ = end_ = 0;
  line_ = start.line;
  return true;
}

bool LineStream::Refill() {
  blockOffset_ = nextOffset_;
  pos_ = end_ = 0;
  if (ended_) return false;
  ssize_t got;
  do {
    got = ::read(fd_, block_.get(), kBlockSize);
  } while (got < 0 && errno == EINTR);
  if (got <= 0) {
    if (got < 0) error_ = std::strerror(errno);
    ended_ = true;
    return false;
  }
  nextOffset_ += got;
  end_ = static_cast<size_t>(got);
  if (const void* stop = std::memchr(block_.get(), kEndOfContent, end_)) {
    end_ = static_cast<size_t>(static_cast<const char*>(stop) - block_.get());
    ended_ = true;
  }
  return end_ > 0;
}

bool LineStream::HasByte() { return pos_ < end_ || Refill(); }

bool LineStream::SkipTo(long number) {
  while (line_ < number) {
    if (!HasByte()) return false;
    long wanted = number - line_;
    // Without enough line feeds here the line goes on in the next block.
    const char* after = SkipLineFeeds(block_.get() + pos_, block_.get() + end_, wanted);
    line_ = number - wanted;
    pos_ = static_cast<size_t>(after - block_.get());
  }
  return HasByte() && error_.empty();
}

bool LineStream::Next(std::string& out, bool& withoutNewline) {
  if (!HasByte()) return false;
  for (;;) {
    const char* begin = block_.get() + pos_;
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
