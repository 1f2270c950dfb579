#include "cli/NormalListing.h"

namespace lindrel::cli {

namespace {

constexpr const char* kNoNewlineMarker = "\\ No newline at end of file\n";

std::string Range(long start, long end) {
  return start == end ? std::to_string(start) : std::to_string(start) + "," + std::to_string(end);
}

bool RealRange(long start, long end, long lines) {
  return start >= 1 && start <= end && end <= lines;
}

// The line after which an empty side's lines would stand.
bool Position(long start, long end, long lines) { return start == end && start >= 0 && start <= lines; }

void WriteLines(std::ostream& out, const char* prefix, const TextModeFile& file, long first,
                long last) {
  for (long n = first; n <= last; ++n) {
    const std::string_view line = file.Line(n);
    out << prefix;
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
    out << '\n';
    if (n == file.lineCount() && file.EndsWithoutNewline()) out << kNoNewlineMarker;
  }
}

}  // namespace

std::string HunkHeading(const ChangeRecord& r) {
  switch (r.changeType) {
    case 'a': return std::to_string(r.masterStart) + "a" + Range(r.sourceStart, r.sourceEnd);
    case 'd': return Range(r.masterStart, r.masterEnd) + "d" + std::to_string(r.sourceStart);
    default: return Range(r.masterStart, r.masterEnd) + "c" + Range(r.sourceStart, r.sourceEnd);
  }
}

bool RecordsFitFiles(const std::vector<ChangeRecord>& records, long masterLines,
                     long sourceLines) {
  for (const ChangeRecord& r : records) {
    bool fits = false;
    switch (r.changeType) {
      case 'a':
        fits = Position(r.masterStart, r.masterEnd, masterLines) &&
               RealRange(r.sourceStart, r.sourceEnd, sourceLines);
        break;
      case 'd':
        fits = RealRange(r.masterStart, r.masterEnd, masterLines) &&
               Position(r.sourceStart, r.sourceEnd, sourceLines);
        break;
      case 'c':
        fits = RealRange(r.masterStart, r.masterEnd, masterLines) &&
               RealRange(r.sourceStart, r.sourceEnd, sourceLines);
        break;
      default: break;
    }
    if (!fits) return false;
  }
  return true;
}

void WriteNormalListing(std::ostream& out, const std::vector<ChangeRecord>& records,
                        const TextModeFile& master, const TextModeFile& source) {
  for (const ChangeRecord& r : records) {
    out << HunkHeading(r) << '\n';
    if (r.changeType != 'a') WriteLines(out, "< ", master, r.masterStart, r.masterEnd);
    if (r.changeType == 'c') out << "---\n";
    if (r.changeType != 'd') WriteLines(out, "> ", source, r.sourceStart, r.sourceEnd);
  }
}

}  // namespace lindrel::cli
