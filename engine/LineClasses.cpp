#include "engine/LineClasses.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>
#include <exception>
#include <iterator>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

namespace lindrel::engine {

namespace {

// Lines between two looks at the stop flag: a pass over a file of millions of lines stays
// abortable at a negligible cost.
constexpr size_t kStopCheckLines = 1 << 16;

// A source of this many compared bytes is split into lines on a thread of its own.
constexpr size_t kSecondThreadBytes = size_t{1} << 20;

bool Stopped(const std::atomic<bool>* stop) {
  return stop != nullptr && stop->load(std::memory_order_relaxed);
}

constexpr uint32_t kPrimes[] = {
    509u,      1021u,     2039u,      4093u,      8191u,      16381u,      32749u,     65521u,
    131071u,   262139u,   524287u,    1048573u,   2097143u,   4194301u,    8388593u,   16777213u,
    33554393u, 67108859u, 134217689u, 268435399u, 536870909u, 1073741789u, 2147483647u};

inline uint32_t Mix(uint32_t hash, unsigned char c) { return ((hash << 7) | (hash >> 25)) + c; }

std::atomic<bool> hashByteByByte{false};

// The hash of an unnormalised line, eight bytes at a time: each word is mixed in by a
// multiplication, the word holding the line feed with the bytes from the line feed on
// cleared. Returns the start of the next line. Reading a whole word past the line feed is
// safe: the last line feed of a buffer is followed by the content padding.
inline const char* HashWords(const char* p, uint32_t& hash) {
  constexpr uint64_t kOnes = 0x0101010101010101ULL;
  constexpr uint64_t kHighBits = kOnes * 0x80;
  constexpr uint64_t kFeeds = kOnes * '\n';
  constexpr uint64_t kMultiplier = 0x9E3779B97F4A7C15ULL;
  static_assert(kContentPadding >= sizeof(uint64_t));
  uint64_t h = 0;
  for (;;) {
    uint64_t word;
    std::memcpy(&word, p, sizeof word);
    const uint64_t x = word ^ kFeeds;
    // The lowest set bit marks the first line feed exactly; higher ones may be borrows.
    const uint64_t feeds = (x - kOnes) & ~x & kHighBits;
    if (feeds != 0) {
      const int before = std::countr_zero(feeds) - 7;  // bits of the bytes before it
      const uint64_t kept = before == 0 ? 0 : word & (~uint64_t{0} >> (64 - before));
      h = (h ^ kept) * kMultiplier;
      hash = static_cast<uint32_t>(h >> 32);
      return p + before / 8 + 1;
    }
    h = (h ^ word) * kMultiplier;
    p += sizeof word;
  }
}

// White space and letters as the C library classifies them in the "C" locale.
inline bool IsSpace(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
inline unsigned char ToLower(unsigned char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

// The bytes of a line as the ignore switches see it, ending at the line feed: under ignore
// all white space no white space at all; under ignore white-space amount a run of white
// space before more text reads as one space and trailing white space as nothing; under
// ignore case upper-case letters read as lower case.
class NormalisedLine {
 public:
  NormalisedLine(const char* line, const EngineSettings& settings)
      : p_(reinterpret_cast<const unsigned char*>(line)),
        allSpace_(settings.ignoreAllSpace),
        spaceChange_(settings.ignoreSpaceChange),
        foldCase_(settings.ignoreCase) {}

  // The next byte, or -1 at the end of the line.
  int Next() {
    unsigned char c = *p_;
    if (allSpace_) {
      while (c != '\n' && IsSpace(c)) c = *++p_;
    } else if (spaceChange_ && c != '\n' && IsSpace(c)) {
      while (c != '\n' && IsSpace(c)) c = *++p_;
      // The byte after the run stays for the next call.
      return c == '\n' ? -1 : ' ';
    }
    if (c == '\n') return -1;
    ++p_;
    return foldCase_ ? ToLower(c) : c;
  }

 private:
  const unsigned char* p_;
  bool allSpace_, spaceChange_, foldCase_;
};

bool NormalisedEqual(const char* a, const char* b, const EngineSettings& settings) {
  NormalisedLine x(a, settings), y(b, settings);
  for (;;) {
    const int cx = x.Next();
    if (cx != y.Next()) return false;
    if (cx < 0) return true;
  }
}

// The classes of one run. What the chain walk reads for every line (the link and the hash)
// is kept apart from what it reads only on equal hashes (the line), so that walking a
// chain touches as little memory as possible.
class ClassTable {
 public:
  ClassTable(size_t capacity, const EngineSettings& settings)
      : bucketOf_(static_cast<uint32_t>(BucketCountFor(capacity))),
        buckets_(bucketOf_.count(), 0),
        settings_(settings) {
    links_.reserve(capacity);
    lines_.reserve(capacity);
    links_.push_back({});  // number 0 is never a class
    lines_.push_back({});
  }

  uint32_t Bucket(uint32_t hash) const { return bucketOf_(hash); }
  void PrefetchBucket(uint32_t bucket) const { __builtin_prefetch(&buckets_[bucket]); }
  void PrefetchHead(uint32_t bucket) const { __builtin_prefetch(links_.data() + buckets_[bucket]); }

  int ClassOf(const char* line, size_t length, uint32_t hash, uint32_t bucket) {
    int& head = buckets_[bucket];
    for (int n = head; n != 0;) {
      const Link& link = links_[static_cast<size_t>(n)];
      if (link.hash == hash) {
        const Line& candidate = lines_[static_cast<size_t>(n)];
        if ((candidate.length == length || settings_.lineLengthsVary) &&
            Equal(candidate.start, candidate.length, line, length)) {
          return n;
        }
      }
      n = link.next;
    }
    if (links_.size() >= static_cast<size_t>(INT_MAX)) throw std::bad_alloc();
    links_.push_back({head, hash});
    lines_.push_back({line, length});
    head = static_cast<int>(links_.size() - 1);
    return head;
  }

  int CountPlusOne() const { return static_cast<int>(links_.size()); }

 private:
  struct Link {
    int next;  // next class of the same bucket, 0 = none
    uint32_t hash;
  };
  struct Line {
    const char* start;  // the line that created the class
    size_t length;      // with the line feed (without it for an incomplete last line)
  };

  bool Equal(const char* a, size_t la, const char* b, size_t lb) const {
    if (la == lb && std::memcmp(a, b, la) == 0) return true;
    return settings_.NormalisesLines() && NormalisedEqual(a, b, settings_);
  }

  BucketIndex bucketOf_;
  BigVector<int> buckets_;  // newest class of each bucket, 0 = empty
  BigVector<Link> links_;
  BigVector<Line> lines_;
  const EngineSettings& settings_;
};

// First pass over one side: where every line starts and its hash, kept in the class
// column until the second pass replaces it with the class number.
bool SplitAndHash(const InputFile& file, const EngineSettings& settings, size_t capacity,
                  ComparedLines& table, const std::atomic<bool>* stop) {
  table.starts.reserve(capacity);
  table.classes.reserve(capacity);
  const char* p = file.begin() + file.prefixEnd;
  const char* const end = file.begin() + file.suffixBegin;
  // Only the grouping of lines matters (equal lines decide), so unnormalised lines take
  // the word hash; it reads the bytes of a word in memory order, hence little-endian only.
  const bool byWords = !settings.NormalisesLines() && std::endian::native == std::endian::little &&
                       !hashByteByByte.load(std::memory_order_relaxed);
  const bool plain = !settings.NormalisesLines();
  while (p < end) {
    const char* line = p;
    uint32_t hash = 0;
    if (byWords) {
      p = HashWords(p, hash);
    } else if (plain) {
      unsigned char c;
      while ((c = static_cast<unsigned char>(*p++)) != '\n') hash = Mix(hash, c);
    } else {
      hash = HashLine(line, settings);
      p = static_cast<const char*>(std::memchr(line, '\n', static_cast<size_t>(end - line))) + 1;
    }
    table.starts.push_back(line);
    table.classes.push_back(static_cast<int>(hash));
    if (table.classes.size() % kStopCheckLines == 0 && Stopped(stop)) return false;
  }
  // The end of the last line, which for an incomplete last line is before the line feed
  // that was appended to it.
  const bool lastIsIncomplete =
      file.incompleteLastLine && p == file.end() && !table.classes.empty();
  table.starts.push_back(lastIsIncomplete ? p - 1 : p);
  return true;
}

// Second pass: the class of every line. Bucket heads are fetched well ahead of their use,
// since for large files nearly every bucket access misses the cache.
bool Number(ClassTable& classes, ComparedLines& table, const std::atomic<bool>* stop) {
  constexpr size_t kAhead = 16;
  constexpr size_t kRing = 32;  // a power of two above kAhead
  uint32_t ring[kRing];
  const size_t count = table.classes.size();
  auto hashAt = [&table](size_t i) { return static_cast<uint32_t>(table.classes[i]); };
  for (size_t i = 0; i < count && i < kAhead; ++i) {
    ring[i] = classes.Bucket(hashAt(i));
    classes.PrefetchBucket(ring[i]);
  }
  for (size_t i = 0; i < count; ++i) {
    if (i + kAhead < count) {
      const uint32_t ahead = classes.Bucket(hashAt(i + kAhead));
      ring[(i + kAhead) % kRing] = ahead;
      classes.PrefetchBucket(ahead);
    }
    if (i + kAhead / 2 < count) classes.PrefetchHead(ring[(i + kAhead / 2) % kRing]);
    table.classes[i] = classes.ClassOf(table.starts[i], table.length(static_cast<Lin>(i)),
                                       hashAt(i), ring[i % kRing]);
    if ((i + 1) % kStopCheckLines == 0 && Stopped(stop)) return false;
  }
  return true;
}

}  // namespace

void TEST_HashLinesByteByByte(bool byteByByte) { hashByteByByte.store(byteByByte); }

uint32_t HashLine(const char* line, const EngineSettings& settings) {
  uint32_t hash = 0;
  NormalisedLine bytes(line, settings);
  for (int c; (c = bytes.Next()) >= 0;) hash = Mix(hash, static_cast<unsigned char>(c));
  return hash;
}

size_t BucketCountFor(size_t classCapacity) {
  const size_t third = classCapacity / 3;
  for (uint32_t prime : kPrimes) {
    if (prime >= third) return prime;
  }
  return kPrimes[std::size(kPrimes) - 1];
}

int AssignLineClasses(const InputFile (&files)[2], size_t prefixLines,
                      const EngineSettings& settings, ComparedLines (&tables)[2],
                      const std::atomic<bool>* stop) {
  // Initial table sizes: the master guesses 32 bytes a line, the source learns the line
  // length from the prefix when the prefix is long enough to tell.
  const size_t capacity0 = (files[0].suffixBegin - files[0].prefixEnd) / 32 + 6;
  const size_t lineLength =
      prefixLines >= 10 ? std::max<size_t>(1, files[1].prefixEnd / (prefixLines - 1)) : 32;
  const size_t capacity1 = (files[1].suffixBegin - files[1].prefixEnd) / lineLength + 5;

  // Large sides are split on two threads: the pass is bound by the processor, not memory.
  bool sourceSplit = false;
  std::exception_ptr sourceFailure;
  std::thread sourceSplitter;
  if (files[1].suffixBegin - files[1].prefixEnd >= kSecondThreadBytes) {
    try {
      sourceSplitter = std::thread([&] {
        try {
          sourceSplit = SplitAndHash(files[1], settings, capacity1, tables[1], stop);
        } catch (...) {
          sourceFailure = std::current_exception();
        }
      });
    } catch (const std::system_error&) {
      // No second thread: the source is split after the master.
    }
  }
  const bool masterSplit = SplitAndHash(files[0], settings, capacity0, tables[0], stop);
  if (sourceSplitter.joinable()) {
    sourceSplitter.join();
    if (sourceFailure) std::rethrow_exception(sourceFailure);
  } else if (masterSplit) {
    sourceSplit = SplitAndHash(files[1], settings, capacity1, tables[1], stop);
  }
  if (!masterSplit || !sourceSplit) return 0;
  ClassTable classes(capacity0 + capacity1 + 1, settings);
  if (!Number(classes, tables[0], stop) || !Number(classes, tables[1], stop)) return 0;
  tables[0].prefixLines = tables[1].prefixLines = prefixLines;
  return classes.CountPlusOne();
}

}  // namespace lindrel::engine
