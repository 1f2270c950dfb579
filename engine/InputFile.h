// One side of a file comparison (index 0 the master, 1 the source): its path and status,
// the open stream, the whole content in one buffer, and the positions that bound the part
// taken into the comparison. Belongs to one run.
#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <string>

#include "engine/ByteBuffer.h"
#include "engine/InputStream.h"

namespace lindrel::engine {

// Zero bytes kept after the content: they end every scan that runs past the last line and
// leave room for the word-at-a-time prefix scan and its sentinel.
constexpr size_t kContentPadding = 8;

// Size of one block of the first look at a file and of the binary comparison.
constexpr size_t kBlockSize = 8192;

struct InputFile {
  std::string path;
  struct stat status {};
  bool isStandardInput = false;

  InputStream stream;
  ByteBuffer buffer;
  size_t buffered = 0;            // content bytes, an appended line feed included
  bool examined = false;          // the first block was read
  bool incompleteLastLine = false;

  size_t prefixEnd = 0;           // start of the first compared line
  size_t suffixBegin = 0;         // first byte of the identical suffix

  bool IsRegular() const { return S_ISREG(status.st_mode); }
  const char* begin() const { return buffer.data(); }
  const char* end() const { return buffer.data() + buffered; }
};

}  // namespace lindrel::engine
