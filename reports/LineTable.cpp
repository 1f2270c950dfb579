#include "reports/LineTable.h"

#include <algorithm>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/InputStream.h"
#include "engine/LargeBlocks.h"

namespace lindrel::reports {

namespace {

constexpr std::size_t kCleanedLimit = 99995;
constexpr long kMinimumCapacity = 5000;
constexpr long kMaximumCapacity = 50000;

// A guess of the bytes per line that presizes the table from the file size alone, so no
// pass counts the lines first; files of shorter lines grow the table as they load.
constexpr std::size_t kPresizeBytesPerLine = 32;

// Reads the whole file into a buffer sized from the file system (whole huge pages for a
// large file, so filling it costs a few page faults instead of one per 4 KiB), through the
// engine's stream, as the comparison read it: a file shortened while it is read is a read
// error there too. kUnreadable when it cannot be read to its end.
enum class WholeFile { kRead, kUnopened, kUnreadable };
WholeFile ReadWholeFile(const std::string& path, engine::ByteBuffer& data, std::size_t& size) {
  engine::InputStream stream;
  // Only a regular file: a FIFO would block the report and a device would never end. The
  // raw bytes: the lines are cut and cleaned below.
  if (!stream.Open(path, /*textMode=*/false)) return WholeFile::kUnopened;
  size = 0;
  if (stream.OpenedSize() > std::numeric_limits<std::size_t>::max() - 1 ||
      !data.Reserve(static_cast<std::size_t>(stream.OpenedSize()) + 1)) {
    return WholeFile::kUnopened;
  }
  for (;;) {
    // The file grew while it was read: keep reading into a larger buffer.
    if (size == data.capacity() && !data.Reserve(data.capacity() * 2)) return WholeFile::kUnopened;
    const std::size_t wanted = data.capacity() - size;
    const std::ptrdiff_t got = stream.Fill(data.data() + size, wanted);
    if (got < 0) return WholeFile::kUnreadable;
    size += static_cast<std::size_t>(got);
    if (static_cast<std::size_t>(got) < wanted) return WholeFile::kRead;
  }
}

// True for the bytes the line cutter must look at: control bytes (line feed, Ctrl-Z and
// those cleaning drops) and the two that escaping rewrites.
bool IsSpecial(unsigned char byte) { return byte < 32 || byte == '<' || byte == '>'; }

// The first special byte in [p, end), or end. Sixteen bytes at a time where the processor
// allows: most bytes of a text file are ordinary.
const char* NextSpecial(const char* p, const char* end) {
#if defined(__SSE2__)
  const __m128i below32 = _mm_set1_epi8(31);
  const __m128i less = _mm_set1_epi8('<');
  const __m128i greater = _mm_set1_epi8('>');
  for (; end - p >= 16; p += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    // Unsigned "byte <= 31": the maximum of the byte and 31 is 31.
    const __m128i control = _mm_cmpeq_epi8(_mm_max_epu8(bytes, below32), below32);
    const __m128i angle = _mm_or_si128(_mm_cmpeq_epi8(bytes, less), _mm_cmpeq_epi8(bytes, greater));
    const int mask = _mm_movemask_epi8(_mm_or_si128(control, angle));
    if (mask != 0) return p + __builtin_ctz(static_cast<unsigned>(mask));
  }
#endif
  while (p != end && !IsSpecial(static_cast<unsigned char>(*p))) ++p;
  return p;
}

// Cuts the content into table entries in one pass over its bytes, which also finds the
// lines that cleaning and escaping would change and the text-mode end of the content (a
// Ctrl-Z). CR LF pairs need no conversion because lines are cut at LF and cleaning drops
// every CR. Answers the number of lines.
long AppendLines(std::string_view content, LineTable& table) {
  long lines = 0;
  const auto addLine = [&](const char* begin, const char* end, bool asIs) {
    const std::string_view line(begin, static_cast<std::size_t>(end - begin));
    const std::string_view text =
        asIs ? line.substr(0, kCleanedLimit + 1) : table.Keep(CleanAndEscapeLine(line));
    table.entries.push_back({++lines, kPlainMark, text});
  };
  const char* lineStart = content.data();
  const char* const end = lineStart + content.size();
  const char* p = lineStart;
  bool asIs = true;
  for (; (p = NextSpecial(p, end)) != end; ++p) {
    if (*p == '\n') {
      addLine(lineStart, p, asIs);
      lineStart = p + 1;
      asIs = true;
    } else if (*p == '\x1a') {
      break;
    } else {
      asIs = false;
    }
  }
  if (p != lineStart) addLine(lineStart, p, asIs);
  return lines;
}

}  // namespace

std::string NumberText(const LineEntry& entry) {
  return entry.number == 0 ? std::string() : std::to_string(entry.number);
}

std::string_view LineTable::Keep(std::string text) {
  return storage_->texts.emplace_back(std::move(text));
}

std::string_view LineTable::KeepContent(std::unique_ptr<engine::ByteBuffer> content,
                                        std::size_t size) {
  std::string_view view(content->data(), size);
  storage_->buffers.push_back(std::move(content));
  return view;
}

std::string_view LineTable::KeepContent(std::unique_ptr<char[]> content, std::size_t size) {
  std::string_view view(content.get(), size);
  storage_->contents.push_back(std::move(content));
  return view;
}

std::size_t PresizeFromHint(long capacityHint) {
  return static_cast<std::size_t>(std::clamp(capacityHint, kMinimumCapacity, kMaximumCapacity));
}

std::string CleanAndEscapeLine(std::string_view raw) {
  std::string cleaned;
  cleaned.reserve(std::min(raw.size(), kCleanedLimit + 2));
  for (char c : raw) {
    if (cleaned.size() > kCleanedLimit) break;
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 32) {
      cleaned.push_back(c);
    } else if (byte == '\t') {
      cleaned.append("  ");
    }
  }
  if (cleaned.find_first_of("<>") == std::string::npos) return cleaned;

  std::string escaped;
  escaped.reserve(cleaned.size() + 16);
  for (char c : cleaned) {
    if (c == '<')
      escaped.append("&lt;");
    else if (c == '>')
      escaped.append("&gt;");
    else
      escaped.push_back(c);
  }
  return escaped;
}

long LoadLineTable(const std::string& path, LineTable& table, long capacityHint,
                   std::size_t extraEntries) {
  auto data = std::make_unique<engine::ByteBuffer>();
  std::size_t size = 0;
  switch (ReadWholeFile(path, *data, size)) {
    case WholeFile::kRead: break;
    case WholeFile::kUnopened: return -1;
    case WholeFile::kUnreadable: return kUnreadableFile;
  }

  LineTable loaded;
  const std::string_view content = loaded.KeepContent(std::move(data), size);
  loaded.entries.reserve(
      std::max(PresizeFromHint(capacityHint), size / kPresizeBytesPerLine + 2 + extraEntries));
  // The entries are filled in order right away: huge pages save most of their faults.
  engine::AdviseHugePages(loaded.entries.data(), loaded.entries.capacity() * sizeof(LineEntry));
  const long lines = AppendLines(content, loaded);
  loaded.entries.push_back({lines + 1, kPlainMark, kEndMarker});
  table = std::move(loaded);
  return lines;
}

long NumberOfLines(const LineTable& table) {
  for (std::size_t i = table.entries.size(); i-- > 0;) {
    if (table.entries[i].IsEnd()) return static_cast<long>(i);
  }
  return -1;
}

std::string_view LineText(const LineTable& table, long lineNumber) {
  if (lineNumber < 1 || lineNumber > NumberOfLines(table)) return {};
  return table.entries[static_cast<std::size_t>(lineNumber - 1)].text;
}

}  // namespace lindrel::reports
