#include "engine/FileReader.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace lindrel::engine {

namespace {

size_t FileSize(const InputFile& file) {
  return file.status.st_size > 0 ? static_cast<size_t>(file.status.st_size) : 0;
}

// Room for the content of a regular file: its size, the appended line feed and the padding.
bool ReserveWholeFile(InputFile& file) {
  const size_t size = FileSize(file);
  if (size > std::numeric_limits<size_t>::max() - 1 - kContentPadding) return false;
  return file.buffer.Reserve(std::max(kBlockSize, size + 1 + kContentPadding));
}

}  // namespace

bool ReadFirstBlock(InputFile& file, bool examine) {
  // A file large enough to be mapped gets its room only if it is read after all.
  if (file.IsRegular() && FileSize(file) < kMapThreshold) {
    if (!ReserveWholeFile(file)) return false;
  } else if (!file.buffer.Reserve(kBlockSize)) {
    return false;
  }
  file.buffered = 0;
  file.examined = examine;
  if (!examine) return true;
  const std::ptrdiff_t got = file.stream.Fill(file.buffer.data(), kBlockSize);
  if (got < 0) return false;
  file.buffered = static_cast<size_t>(got);
  return true;
}

bool FirstBlockHasNul(const InputFile& file) {
  return file.examined && file.buffered > 0 &&
         std::memchr(file.buffer.data(), 0, file.buffered) != nullptr;
}

bool ReadRest(InputFile& file, bool alwaysText) {
  if (file.IsRegular()) {
    // One read of what the size promises; the content of a file that grows meanwhile ends
    // there, and text-mode conversion only ever delivers less.
    const size_t size = FileSize(file);
    if (size <= file.buffered) return true;
    size_t mapped = 0;
    switch (file.stream.MapWhole(file.buffer, size, mapped)) {
      case MapOutcome::kMapped: file.buffered = mapped; return true;
      case MapOutcome::kFailed: return false;
      case MapOutcome::kNotMapped: break;
    }
    if (!ReserveWholeFile(file)) return false;
    const std::ptrdiff_t got =
        file.stream.Fill(file.buffer.data() + file.buffered, size - file.buffered);
    if (got < 0) return false;
    file.buffered += static_cast<size_t>(got);
    return true;
  }
  // A pipe or a device: read to the end, doubling the buffer whenever it is full.
  if (!alwaysText && file.buffered == 0) return true;
  for (;;) {
    if (file.buffered == file.buffer.capacity()) {
      if (file.buffer.capacity() > std::numeric_limits<size_t>::max() / 2) return false;
      if (!file.buffer.Reserve(file.buffer.capacity() * 2)) return false;
    }
    const std::ptrdiff_t got = file.stream.Fill(file.buffer.data() + file.buffered,
                                                file.buffer.capacity() - file.buffered);
    if (got < 0) return false;
    if (got == 0) break;
    file.buffered += static_cast<size_t>(got);
  }
  return true;
}

bool FinishText(InputFile& file, bool ignoreBlankLines) {
  if (!file.buffer.Reserve(file.buffered + 1 + kContentPadding)) return false;
  file.buffer.KeepFrom(file.buffered);
  char* data = file.buffer.data();
  file.incompleteLastLine = false;
  if (file.buffered > 0 && data[file.buffered - 1] != '\n') {
    data[file.buffered++] = '\n';
    file.incompleteLastLine = !ignoreBlankLines;
  }
  std::memset(data + file.buffered, 0, kContentPadding);
  return true;
}

}  // namespace lindrel::engine
