#include "engine/PairedReading.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <memory>
#include <system_error>
#include <thread>

#include "engine/EqualBytes.h"
#include "engine/FileReader.h"

namespace lindrel::engine {

namespace {

// Small enough that both sides' chunks stay in the processor's cache between the copy
// out of the page cache and the comparison.
constexpr size_t kChunk = size_t{128} << 10;

size_t SizeOf(const InputFile& file) {
  return file.status.st_size > 0 ? static_cast<size_t>(file.status.st_size) : 0;
}

struct FreeChunk {
  void operator()(char* chunk) const { std::free(chunk); }
};

// A chunk of each side.
struct ChunkPair {
  bool Allocate() {
    for (auto& chunk : sides) chunk.reset(static_cast<char*>(std::aligned_alloc(4096, kChunk)));
    return sides[0] && sides[1];
  }
  std::unique_ptr<char, FreeChunk> sides[2];
};

// Reads the two files' equal start and equal end a chunk at a time through small
// buffers, as fast as the page cache hands them out, so that they are never brought into
// the run's memory at all. Stops at the first difference and at any byte that text mode
// would change. The end is read on a second thread while the start is read here; it
// stops where the start has got to, so that the two share a long equal stretch.
class EqualEndsReader {
 public:
  EqualEndsReader(InputFile (&files)[2], bool textMode)
      : files_(files), textMode_(textMode), sizes_{SizeOf(files[0]), SizeOf(files[1])} {}

  // False when a read failed (`failed` names the file, the start's first).
  bool Read(KnownEqualEnds& known, InputFile*& failed) {
    ChunkPair start, end;
    if (!start.Allocate() || !end.Allocate()) return true;  // nothing known; reading finds out
    InputFile* endFailed = nullptr;
    bool endRead = true;
    std::thread endReader;
    try {
      endReader = std::thread([&] { endRead = ReadEnd(end, known, endFailed); });
    } catch (const std::system_error&) {
      // No second thread: the end is read after the start.
    }
    const bool startRead = ReadStart(start, known, failed);
    if (endReader.joinable()) {
      endReader.join();
    } else if (startRead) {
      endRead = ReadEnd(end, known, endFailed);
    }
    if (!startRead) return false;
    failed = endFailed;
    return endRead;
  }

 private:
  // Reads `count` bytes at each side's offset into the chunks; false on a read error. A
  // file that ends early (it shrank) shortens `count`.
  bool ReadBoth(ChunkPair& chunks, const size_t (&offsets)[2], size_t& count, InputFile*& failed) {
    for (int i = 0; i < 2; ++i) {
      const std::ptrdiff_t got = files_[i].stream.ReadAt(chunks.sides[i].get(), count, offsets[i]);
      if (got < 0) {
        failed = &files_[i];
        return false;
      }
      count = std::min(count, static_cast<size_t>(got));
    }
    return true;
  }

  bool ReadStart(ChunkPair& chunks, KnownEqualEnds& known, InputFile*& failed) {
    const size_t shorter = std::min(sizes_[0], sizes_[1]);
    size_t at = 0;
    size_t lineFeeds = 0;
    while (at < shorter) {
      size_t count = std::min(kChunk, shorter - at);
      if (!ReadBoth(chunks, {at, at}, count, failed)) return false;
      const size_t equal =
          EqualBlocks(chunks.sides[0].get(), chunks.sides[1].get(), 0, count, textMode_, lineFeeds);
      at += equal;
      startReached_.store(at, std::memory_order_relaxed);
      // A differing block, a byte text mode changes, a partial block or a shrunk file.
      if (equal < count || count == 0) break;
    }
    known.prefixBytes = at;
    known.prefixLineFeeds = lineFeeds;
    return true;
  }

  bool ReadEnd(ChunkPair& chunks, KnownEqualEnds& known, InputFile*& failed) {
    const size_t shorter = std::min(sizes_[0], sizes_[1]);
    size_t equal = 0;
    // Never back into what the start has found equal. A chunk read meanwhile may reach
    // into it; the trim does not let the end cross the start.
    for (;;) {
      const size_t reached = startReached_.load(std::memory_order_relaxed);
      if (equal >= shorter - reached) break;
      size_t count = std::min(kChunk, shorter - reached - equal);
      const size_t offsets[2] = {sizes_[0] - equal - count, sizes_[1] - equal - count};
      const size_t wanted = count;
      if (!ReadBoth(chunks, offsets, count, failed)) return false;
      if (count < wanted) break;  // a file shrank: leave the rest to the reading
      const size_t tail =
          EqualBlocksAtEnd(chunks.sides[0].get(), chunks.sides[1].get(), count, textMode_);
      equal += tail;
      if (tail < count) break;  // as at the start
    }
    if (equal > 0) {
      known.tailKnown = true;
      known.tailFrom = sizes_[0] - equal;
      known.masterLength = sizes_[0];
      known.sourceLength = sizes_[1];
    }
    return true;
  }

  InputFile (&files_)[2];
  bool textMode_;
  size_t sizes_[2];
  std::atomic<size_t> startReached_{0};  // the start's equal bytes so far
};

// Both sides large regular files, each to be mapped: only then is reading them twice
// over (the equal ends here, the rest by the mapping) cheaper than reading them once.
bool WorthReadingEndsFirst(const InputFile (&files)[2]) {
  for (const InputFile& file : files) {
    if (!file.IsRegular() || !file.stream.IsOpenedFile() || SizeOf(file) < kMapThreshold) {
      return false;
    }
  }
  return true;
}

}  // namespace

InputFile* ReadRestOfBoth(InputFile (&files)[2], bool alwaysText, KnownEqualEnds& known) {
  known = {};
  if (WorthReadingEndsFirst(files)) {
    InputFile* failed = nullptr;
    if (!EqualEndsReader(files, !alwaysText).Read(known, failed)) return failed;
    // The mapping needs to bring in and scan only the bytes between the equal ends.
    files[0].stream.SetWalkedAlready(known.prefixBytes,
                                     known.tailKnown ? known.tailFrom : SizeOf(files[0]));
    const size_t tailBytes = known.tailKnown ? known.masterLength - known.tailFrom : 0;
    files[1].stream.SetWalkedAlready(known.prefixBytes, SizeOf(files[1]) - tailBytes);
  }
  // The master's lines are split and classed right after the reading, while the source
  // is split on a thread of its own that maps its pages in again: holding both whole
  // files at once would take their size in memory for nothing.
  files[1].stream.SetReleaseWalked(true);
  for (InputFile& file : files) {
    if (!ReadRest(file, alwaysText)) return &file;
  }
  // Content that text mode shortened has moved: its end is not where it was read.
  if (known.tailKnown &&
      (files[0].buffered != known.masterLength || files[1].buffered != known.sourceLength)) {
    known.tailKnown = false;
  }
  return nullptr;
}

}  // namespace lindrel::engine
