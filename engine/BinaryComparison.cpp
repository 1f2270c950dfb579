#include "engine/BinaryComparison.h"

#include <cstring>

#include "engine/EngineMessage.h"

namespace lindrel::engine {

namespace {

// The next block of one side: the examined first block the first time, a fresh one after.
// -1 on a read error (the file has then been named to the run).
std::ptrdiff_t NextBlock(EngineRun& run, InputFile& file, bool first) {
  if (first && file.examined) return static_cast<std::ptrdiff_t>(file.buffered);
  const std::ptrdiff_t got = file.stream.Fill(file.buffer.data(), kBlockSize);
  if (got < 0) {
    run.FileTrouble(file.path);
    return -1;
  }
  file.buffered = static_cast<size_t>(got);
  return got;
}

int Compare(EngineRun& run, InputFile (&files)[2]) {
  if (files[0].IsRegular() && files[1].IsRegular() &&
      files[0].status.st_size != files[1].status.st_size) {
    return 1;
  }
  for (bool first = true;; first = false) {
    const std::ptrdiff_t got0 = NextBlock(run, files[0], first);
    if (got0 < 0) return 2;
    const std::ptrdiff_t got1 = NextBlock(run, files[1], first);
    if (got1 < 0) return 2;
    if (got0 != got1) return 1;
    if (std::memcmp(files[0].buffer.data(), files[1].buffer.data(), static_cast<size_t>(got0)) !=
        0) {
      return 1;
    }
    if (got0 < static_cast<std::ptrdiff_t>(kBlockSize)) return 0;
  }
}

}  // namespace

int CompareBinary(EngineRun& run, InputFile (&files)[2], bool brief) {
  for (InputFile& file : files) {
    if (!file.buffer.Reserve(kBlockSize)) {
      EngineMessage("virtual memory exhausted");
      return 2;
    }
  }
  const int result = Compare(run, files);
  if (result == 1) {
    EngineMessage(brief ? "Files %s and %s differ\n" : "Binary files %s and %s differ\n",
                  files[0].path.c_str(), files[1].path.c_str());
  }
  return result;
}

}  // namespace lindrel::engine
