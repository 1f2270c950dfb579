#include "engine/HiddenTail.h"

#include <cstring>
#include <memory>

#include "engine/EngineMessage.h"
#include "engine/EngineResult.h"

namespace lindrel::engine {

namespace {

constexpr size_t kTailBlock = 64 * 1024;

// Fills `block` with the next bytes of the tail; fewer only at its end. -1 on a failed
// read (or a stop).
std::ptrdiff_t NextTailBlock(InputStream& stream, char* block) {
  size_t filled = 0;
  while (filled < kTailBlock) {
    const std::ptrdiff_t got = stream.ReadHiddenTail(block + filled, kTailBlock - filled);
    if (got < 0) return -1;
    if (got == 0) break;
    filled += static_cast<size_t>(got);
  }
  return static_cast<std::ptrdiff_t>(filled);
}

}  // namespace

int CompareHiddenTails(EngineRun& run, InputFile (&files)[2]) {
  if (!files[0].stream.EndedAtEndOfText() && !files[1].stream.EndedAtEndOfText()) return 0;
  const auto blocks = std::make_unique_for_overwrite<char[]>(2 * kTailBlock);
  char* const block[2] = {blocks.get(), blocks.get() + kTailBlock};
  for (;;) {
    std::ptrdiff_t got[2];
    for (int i = 0; i < 2; ++i) {
      got[i] = NextTailBlock(files[i].stream, block[i]);
      if (got[i] < 0) {
        if (run.StopRequested()) return kStopped;
        return run.FileTrouble(files[i].path);
      }
    }
    if (got[0] != got[1] || std::memcmp(block[0], block[1], static_cast<size_t>(got[0])) != 0) {
      EngineMessage("Files %s and %s differ\n", files[0].path.c_str(), files[1].path.c_str());
      return 1;
    }
    if (got[0] < static_cast<std::ptrdiff_t>(kTailBlock)) return 0;
  }
}

}  // namespace lindrel::engine
