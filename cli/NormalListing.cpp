#include "cli/NormalListing.h"

#include "cli/ListedLine.h"

namespace lindrel::cli {

namespace {

std::string Range(long start, long end) {
  return start == end ? std::to_string(start) : std::to_string(start) + "," + std::to_string(end);
}

bool RealRange(long start, long end, long lines) {
  return start >= 1 && start <= end && end <= lines;
}

// The line after which an empty side's lines would stand.
bool Position(long start, long end, long lines) {
  return start == end && start >= 0 && start <= lines;
}

// Appends lines first..last of `file`, each after `prefix`.
bool AppendLines(std::string& text, const char* prefix, LineStream& file, long first, long last,
                 const char* colour, const char* reset) {
  if (first < file.line() || !file.SkipTo(first)) return false;
  for (long n = first; n <= last; ++n)
    if (!AppendListedLine(text, file, prefix, colour, reset)) return false;
  return true;
}

}  // namespace

std::string HunkHeading(const FileChange& r) {
  switch (r.type) {
    case ChangeType::Addition:
      return std::to_string(r.masterStart) + "a" + Range(r.sourceStart, r.sourceEnd);
    case ChangeType::Deletion:
      return Range(r.masterStart, r.masterEnd) + "d" + std::to_string(r.sourceStart);
    default: return Range(r.masterStart, r.masterEnd) + "c" + Range(r.sourceStart, r.sourceEnd);
  }
}

bool RecordsFitFiles(std::span<const FileChange> records, long masterLines, long sourceLines) {
  for (const FileChange& r : records) {
    bool fits = false;
    switch (r.type) {
      case ChangeType::Addition:
        fits = Position(r.masterStart, r.masterEnd, masterLines) &&
               RealRange(r.sourceStart, r.sourceEnd, sourceLines);
        break;
      case ChangeType::Deletion:
        fits = RealRange(r.masterStart, r.masterEnd, masterLines) &&
               Position(r.sourceStart, r.sourceEnd, sourceLines);
        break;
      case ChangeType::Change:
        fits = RealRange(r.masterStart, r.masterEnd, masterLines) &&
               RealRange(r.sourceStart, r.sourceEnd, sourceLines);
        break;
      default: break;
    }
    if (!fits) return false;
  }
  return true;
}

bool WriteNormalListing(std::ostream& out, std::span<const FileChange> records, LineStream& master,
                        LineStream& source, std::string& error, const ListingColours& colours) {
  // Written in large pieces: a listing of a million changed lines is as many small writes.
  constexpr size_t kFlushSize = size_t{1} << 18;
  std::string text;
  const auto flush = [&] {
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    text.clear();
  };
  for (const FileChange& r : records) {
    text += colours.heading;
    text += HunkHeading(r);
    text += colours.reset;
    text += '\n';
    if (r.type != ChangeType::Addition &&
        !AppendLines(text, "< ", master, r.masterStart, r.masterEnd, colours.removed,
                     colours.reset)) {
      error = ListingFailure(master);
      flush();
      return false;
    }
    if (r.type == ChangeType::Change) text += "---\n";
    if (r.type != ChangeType::Deletion && !AppendLines(text, "> ", source, r.sourceStart,
                                                       r.sourceEnd, colours.added, colours.reset)) {
      error = ListingFailure(source);
      flush();
      return false;
    }
    if (text.size() >= kFlushSize) flush();
  }
  flush();
  return true;
}

}  // namespace lindrel::cli
