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
std::atomic<bool> wideOffsets{false};

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

inline uint64_t LoadWord(const char* p) {
  uint64_t word;
  std::memcpy(&word, p, sizeof word);
  return word;
}

// True when the `extent` bytes at `a` equal those of the line at `b`, its line feed the
// last of them. A word is read from `a` only where all bytes before it matched, so never
// more than a word past a's own line feed: into the next line or the content padding.
inline bool SameBytes(const char* a, const char* b, size_t extent) {
  size_t i = 0;
  for (; i + sizeof(uint64_t) <= extent; i += sizeof(uint64_t)) {
    if (LoadWord(a + i) != LoadWord(b + i)) return false;
  }
  const size_t rest = extent - i;
  if (rest == 0) return true;
  if constexpr (std::endian::native == std::endian::little) {
    // The bytes past the extent are the high ones: shifted out.
    return ((LoadWord(a + i) ^ LoadWord(b + i)) << (64 - 8 * rest)) == 0;
  } else {
    return std::memcmp(a + i, b + i, rest) == 0;
  }
}

// The classes of one run. What the chain walk reads for every line (the link and the hash)
// is kept apart from what it reads only on equal hashes (the class's first line), so that
// walking a chain touches as little memory as possible. A class's first line is kept as
// its offset in its side's buffer (`Ref` wide enough for it): the side is the master's for
// every class numbered before the source's first.
template <typename Ref>
class ClassTable {
 public:
  ClassTable(size_t capacity, const EngineSettings& settings, const InputFile (&files)[2])
      : bucketOf_(static_cast<uint32_t>(BucketCountFor(capacity))),
        buckets_(bucketOf_.count(), 0),
        settings_(settings),
        bases_{files[0].begin(), files[1].begin()} {
    links_.reserve(capacity);
    firstLines_.reserve(capacity);
    links_.push_back({});  // number 0 is never a class
    firstLines_.push_back({});
  }

  uint32_t Bucket(uint32_t hash) const { return bucketOf_(hash); }
  void PrefetchBucket(uint32_t bucket) const { __builtin_prefetch(&buckets_[bucket]); }
  void PrefetchHead(uint32_t bucket) const { __builtin_prefetch(links_.data() + buckets_[bucket]); }

  // The lines classed from now on are those of side `side`, master first.
  void StartSide(int side) {
    side_ = side;
    if (side == 1) sourceFrom_ = static_cast<int>(links_.size());
  }
  // Once a side is split to its end: which of its lines, if any, is incomplete.
  void SetSide(int side, const ComparedLines& table) {
    if (table.lastIncomplete) incompleteAt_[side] = table.start(table.count() - 1);
  }

  // The class of the current side's line at `offset`: its bytes up to its line feed are
  // `extent` long, the appended line feed included for the incomplete last line.
  [[gnu::always_inline]] int ClassOf(size_t offset, size_t extent, bool incomplete, uint32_t hash,
                                     uint32_t bucket) {
    const char* const line = bases_[side_] + offset;
    int& head = buckets_[bucket];
    for (int n = head; n != 0;) {
      const Link& link = links_[static_cast<size_t>(n)];
      if (link.hash == hash) {
        const int side = n >= sourceFrom_ ? 1 : 0;
        const size_t first = firstLines_[static_cast<size_t>(n)];
        if (Equal(bases_[side] + first, first == incompleteAt_[side], line, extent, incomplete)) {
          return n;
        }
      }
      n = link.next;
    }
    if (links_.size() >= static_cast<size_t>(INT_MAX)) throw std::bad_alloc();
    links_.push_back({head, hash});
    firstLines_.push_back(static_cast<Ref>(offset));
    head = static_cast<int>(links_.size() - 1);
    return head;
  }

  int CountPlusOne() const { return static_cast<int>(links_.size()); }

 private:
  struct Link {
    int next;  // next class of the same bucket, 0 = none
    uint32_t hash;
  };

  // Lines of different lengths are equal only where white space may vary; an incomplete
  // last line is one byte shorter than the same bytes with their line feed.
  bool Equal(const char* a, bool aIncomplete, const char* b, size_t extent,
             bool bIncomplete) const {
    if (aIncomplete != bIncomplete) {
      return settings_.lineLengthsVary && NormalisedEqual(a, b, settings_);
    }
    if (SameBytes(a, b, extent)) return true;
    return settings_.NormalisesLines() && NormalisedEqual(a, b, settings_);
  }

  BucketIndex bucketOf_;
  BigVector<int> buckets_;  // newest class of each bucket, 0 = empty
  BigVector<Link> links_;
  BigVector<Ref> firstLines_;
  const EngineSettings& settings_;
  const char* bases_[2];
  // Offset of each side's incomplete last line, or -1.
  size_t incompleteAt_[2] = {static_cast<size_t>(-1), static_cast<size_t>(-1)};
  int side_ = 0;
  int sourceFrom_ = INT_MAX;
};

template <typename Offset>
BigVector<Offset>& StartsOf(ComparedLines& table) {
  if constexpr (sizeof(Offset) == sizeof(uint32_t)) {
    return table.starts;
  } else {
    return table.wideStarts;
  }
}

// Splits one side into lines: where every line starts and its hash, kept in the class
// column until the numbering replaces it with the class number. Gives back the pages of
// the uncompared ends at once.
template <typename Offset>
class Splitter {
 public:
  Splitter(const InputFile& file, const EngineSettings& settings, size_t capacity,
           ComparedLines& table)
      : file_(file),
        table_(table),
        starts_(StartsOf<Offset>(table)),
        p_(file.begin() + file.prefixEnd),
        // Only the grouping of lines matters (equal lines decide), so unnormalised lines
        // take the word hash; it reads the bytes of a word in memory order, hence
        // little-endian only.
        byWords_(!settings.NormalisesLines() && std::endian::native == std::endian::little &&
                 !hashByteByByte.load(std::memory_order_relaxed)),
        settings_(settings) {
    starts_.reserve(capacity);
    table.classes.reserve(capacity);
    table.base = file.begin();
    table.wide = sizeof(Offset) > sizeof(uint32_t);
    file.buffer.Release(0, file.prefixEnd);
    file.buffer.Release(file.suffixBegin, file.buffered);
  }

  // Splits up to `lines` more lines; false once the side is split to its end.
  bool More(size_t lines) {
    const char* const base = file_.begin();
    const char* const end = base + file_.suffixBegin;
    const bool plain = !settings_.NormalisesLines();
    // Room for all of them first, so that storing one is a plain write; every line takes
    // a byte at least, so a small side (a row's words in a report) never gets a large
    // table, which would cost fresh pages on every run.
    lines = std::min(lines, static_cast<size_t>(end - p_));
    const size_t before = starts_.size();
    starts_.resize(before + lines);
    table_.classes.resize(before + lines);
    Offset* const starts = starts_.data() + before;
    int* const hashes = table_.classes.data() + before;
    const char* p = p_;
    size_t n = 0;
    for (; n < lines && p < end; ++n) {
      const char* line = p;
      uint32_t hash = 0;
      if (byWords_) {
        p = HashWords(p, hash);
      } else if (plain) {
        unsigned char c;
        while ((c = static_cast<unsigned char>(*p++)) != '\n') hash = Mix(hash, c);
      } else {
        hash = HashLine(line, settings_);
        p = static_cast<const char*>(std::memchr(line, '\n', static_cast<size_t>(end - line))) + 1;
      }
      starts[n] = static_cast<Offset>(line - base);
      hashes[n] = static_cast<int>(hash);
    }
    starts_.resize(before + n);
    table_.classes.resize(before + n);
    p_ = p;
    return p < end;
  }

  // Ends the table with the end of the last line, which for an incomplete last line is
  // before the line feed that was appended to it.
  void Finish() {
    table_.lastIncomplete =
        file_.incompleteLastLine && p_ == file_.end() && !table_.classes.empty();
    starts_.push_back(static_cast<Offset>((table_.lastIncomplete ? p_ - 1 : p_) - file_.begin()));
  }

  // Where the next line starts.
  size_t Position() const { return static_cast<size_t>(p_ - file_.begin()); }

 private:
  const InputFile& file_;
  ComparedLines& table_;
  BigVector<Offset>& starts_;
  const char* p_;
  bool byWords_;
  const EngineSettings& settings_;
};

// Splits the source while the master is numbered, giving back its pages behind it.
template <typename Offset>
bool SplitSource(const InputFile& file, const EngineSettings& settings, size_t capacity,
                 ComparedLines& table, const std::atomic<bool>* stop) {
  Splitter<Offset> splitter(file, settings, capacity, table);
  const size_t step = ReleaseStep();
  size_t released = file.prefixEnd;
  while (splitter.More(kStopCheckLines)) {
    if (Stopped(stop)) return false;
    if (splitter.Position() - released >= step) {
      file.buffer.Release(released, splitter.Position());
      released = splitter.Position();
    }
  }
  splitter.Finish();
  file.buffer.Release(released, file.suffixBegin);
  return true;
}

// Numbers lines [from, to) of a side. Bucket heads are fetched well ahead of their use,
// since for large files nearly every bucket access misses the cache.
template <typename Offset, typename Ref>
void NumberLines(ClassTable<Ref>& classes, ComparedLines& table, size_t from, size_t to) {
  constexpr size_t kAhead = 16;
  constexpr size_t kRing = 32;  // a power of two above kAhead
  uint32_t ring[kRing];
  const Offset* const starts = StartsOf<Offset>(table).data();
  int* const column = table.classes.data();  // hashes, replaced by class numbers
  auto hashAt = [column](size_t i) { return static_cast<uint32_t>(column[i]); };
  // The incomplete last line, if it is among them, is classed on its own.
  const bool incompleteLast = table.lastIncomplete && to == table.classes.size() && to > from;
  const size_t end = incompleteLast ? to - 1 : to;
  for (size_t i = from; i < end && i < from + kAhead; ++i) {
    ring[i % kRing] = classes.Bucket(hashAt(i));
    classes.PrefetchBucket(ring[i % kRing]);
  }
  for (size_t i = from; i < end; ++i) {
    if (i + kAhead < end) {
      const uint32_t ahead = classes.Bucket(hashAt(i + kAhead));
      ring[(i + kAhead) % kRing] = ahead;
      classes.PrefetchBucket(ahead);
    }
    if (i + kAhead / 2 < end) classes.PrefetchHead(ring[(i + kAhead / 2) % kRing]);
    const size_t offset = starts[i];
    column[i] = classes.ClassOf(offset, starts[i + 1] - offset, false, hashAt(i), ring[i % kRing]);
  }
  if (incompleteLast) {
    // Its extent takes in the line feed appended to it.
    const size_t offset = starts[end];
    const uint32_t hash = hashAt(end);
    column[end] =
        classes.ClassOf(offset, starts[end + 1] - offset + 1, true, hash, classes.Bucket(hash));
  }
}

// Lines split and numbered in one go, so that their bytes are still in the cache when a
// line is compared with the first line of its class.
constexpr size_t kNumberedTogether = 4096;

// Splits the master and numbers its lines as it goes, giving back its pages behind it.
template <typename Offset, typename Ref>
bool SplitAndNumberMaster(ClassTable<Ref>& classes, const InputFile& file,
                          const EngineSettings& settings, size_t capacity, ComparedLines& table,
                          const std::atomic<bool>* stop) {
  Splitter<Offset> splitter(file, settings, capacity, table);
  const size_t step = ReleaseStep();
  size_t released = file.prefixEnd;
  size_t numbered = 0;
  classes.StartSide(0);
  for (size_t lines = 0;; lines += kNumberedTogether) {
    const bool more = splitter.More(kNumberedTogether);
    if (!more) break;
    // The last line split has no end yet.
    NumberLines<Offset>(classes, table, numbered, table.classes.size() - 1);
    numbered = table.classes.size() - 1;
    if (lines % kStopCheckLines == 0 && Stopped(stop)) return false;
    const size_t reached = table.start(static_cast<Lin>(numbered));
    if (reached - released >= step) {
      file.buffer.Release(released, reached);
      released = reached;
    }
  }
  splitter.Finish();
  classes.SetSide(0, table);
  NumberLines<Offset>(classes, table, numbered, table.classes.size());
  file.buffer.Release(released, file.suffixBegin);
  return true;
}

// Numbers the source's lines, giving back its pages behind it, and with them those of the
// master that its lines brought in again to be compared with the first lines of their
// classes.
template <typename Offset, typename Ref>
bool NumberSource(ClassTable<Ref>& classes, const InputFile (&files)[2], ComparedLines& table,
                  const std::atomic<bool>* stop) {
  classes.StartSide(1);
  classes.SetSide(1, table);
  const size_t count = table.classes.size();
  const size_t step = ReleaseStep();
  size_t released = files[1].prefixEnd;
  for (size_t from = 0; from < count; from += kStopCheckLines) {
    const size_t to = std::min(count, from + kStopCheckLines);
    NumberLines<Offset>(classes, table, from, to);
    if (Stopped(stop)) return false;
    const size_t reached = table.start(static_cast<Lin>(to));
    if (reached - released >= step) {
      files[1].buffer.Release(released, reached);
      files[0].buffer.Release(0, files[0].buffered);
      released = reached;
    }
  }
  return true;
}

// Buffers from 4 GiB on need offsets of eight bytes.
bool NeedsWideOffsets(const InputFile& file) {
  return file.buffered > UINT32_MAX || wideOffsets.load(std::memory_order_relaxed);
}

bool SplitSourceSide(const InputFile& file, const EngineSettings& settings, size_t capacity,
                     ComparedLines& table, const std::atomic<bool>* stop) {
  return NeedsWideOffsets(file) ? SplitSource<uint64_t>(file, settings, capacity, table, stop)
                                : SplitSource<uint32_t>(file, settings, capacity, table, stop);
}

// Splits the source on a thread of its own while the master is split and numbered, then
// numbers the source. Returns the number of classes plus one, or 0 when stopped.
template <typename Ref>
int Assign(const InputFile (&files)[2], size_t capacity0, size_t capacity1, size_t capacity,
           const EngineSettings& settings, ComparedLines (&tables)[2],
           const std::atomic<bool>* stop) {
  ClassTable<Ref> classes(capacity, settings, files);
  // Large sides are split on two threads: the pass is bound by the processor, not memory.
  bool sourceSplit = false;
  std::exception_ptr sourceFailure;
  std::thread sourceSplitter;
  if (files[1].suffixBegin - files[1].prefixEnd >= kSecondThreadBytes) {
    try {
      sourceSplitter = std::thread([&] {
        try {
          sourceSplit = SplitSourceSide(files[1], settings, capacity1, tables[1], stop);
        } catch (...) {
          sourceFailure = std::current_exception();
        }
      });
    } catch (const std::system_error&) {
      // No second thread: the source is split after the master.
    }
  }
  bool masterDone = false;
  try {
    masterDone = NeedsWideOffsets(files[0])
                     ? SplitAndNumberMaster<uint64_t>(classes, files[0], settings, capacity0,
                                                      tables[0], stop)
                     : SplitAndNumberMaster<uint32_t>(classes, files[0], settings, capacity0,
                                                      tables[0], stop);
  } catch (...) {
    // The splitter works on this run's tables: it must end before they go.
    if (sourceSplitter.joinable()) sourceSplitter.join();
    throw;
  }
  if (sourceSplitter.joinable()) {
    sourceSplitter.join();
    if (sourceFailure) std::rethrow_exception(sourceFailure);
  } else if (masterDone) {
    sourceSplit = SplitSourceSide(files[1], settings, capacity1, tables[1], stop);
  }
  if (!masterDone || !sourceSplit) return 0;
  const bool numbered = tables[1].wide ? NumberSource<uint64_t>(classes, files, tables[1], stop)
                                       : NumberSource<uint32_t>(classes, files, tables[1], stop);
  return numbered ? classes.CountPlusOne() : 0;
}

}  // namespace

void TEST_HashLinesByteByByte(bool byteByByte) { hashByteByByte.store(byteByByte); }

void TEST_WideLineOffsets(bool wide) { wideOffsets.store(wide); }

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

  const size_t capacity = capacity0 + capacity1 + 1;
  const int classCount =
      NeedsWideOffsets(files[0]) || NeedsWideOffsets(files[1])
          ? Assign<uint64_t>(files, capacity0, capacity1, capacity, settings, tables, stop)
          : Assign<uint32_t>(files, capacity0, capacity1, capacity, settings, tables, stop);
  if (classCount == 0) return 0;
  // Nothing reads most of the bytes again: the records need only the changed lines, and
  // only under ignore blank lines or ignore-line patterns.
  for (const InputFile& file : files) file.buffer.Release(0, file.buffered);
  tables[0].prefixLines = tables[1].prefixLines = prefixLines;
  return classCount;
}

}  // namespace lindrel::engine
