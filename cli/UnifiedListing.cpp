#include "cli/UnifiedListing.h"

#include <algorithm>

#include "cli/ListedLine.h"

namespace lindrel::cli {

namespace {

// Written in large pieces, as the normal listing is.
constexpr size_t kFlushSize = size_t{1} << 18;

// The line after the last master line of `r` (its first line when it has none).
long MasterAfter(const UnifiedRanges& r) { return r.masterFirst + r.masterCount; }

// Counts the master's lines after line `last`, up to `wanted`, through a second stream
// opened where `master` stands: the header of the last hunk needs the count before the
// lines themselves are read.
bool CountLinesAfter(const LineStream& master, long last, long wanted, long& found,
                     std::string& error) {
  found = 0;
  if (wanted == 0) return true;
  LineStream ahead;
  std::string reason;
  if (!ahead.OpenAt(master.path(), master.position(), reason)) {
    error = master.path() + ": " + reason;
    return false;
  }
  while (found < wanted && ahead.SkipTo(last + found + 1)) ++found;
  if (!ahead.error().empty()) {
    error = ListingFailure(ahead);
    return false;
  }
  return true;
}

// Appends `count` lines of `file` from its current line, each after `prefix`.
bool AppendLines(std::string& text, LineStream& file, long count, const char* prefix,
                 const char* colour, const char* reset) {
  for (long n = 0; n < count; ++n)
    if (!AppendListedLine(text, file, prefix, colour, reset)) return false;
  return true;
}

}  // namespace

UnifiedRanges RangesOf(const FileChange& r) {
  UnifiedRanges ranges;
  if (r.type == ChangeType::Addition) {
    ranges.masterFirst = r.masterStart + 1;
  } else {
    ranges.masterFirst = r.masterStart;
    ranges.masterCount = r.masterEnd - r.masterStart + 1;
  }
  if (r.type == ChangeType::Deletion) {
    ranges.sourceFirst = r.sourceStart + 1;
  } else {
    ranges.sourceFirst = r.sourceStart;
    ranges.sourceCount = r.sourceEnd - r.sourceStart + 1;
  }
  return ranges;
}

std::string HunkRange(long first, long count) {
  if (count == 1) return std::to_string(first);
  return std::to_string(count == 0 ? first - 1 : first) + "," + std::to_string(count);
}

FirstLines UnifiedFirstLines(std::span<const FileChange> records, long context) {
  if (records.empty()) return {};
  const UnifiedRanges first = RangesOf(records.front());
  return {std::max(1L, first.masterFirst - context), std::max(1L, first.sourceFirst)};
}

bool WriteUnifiedListing(std::ostream& out, std::span<const FileChange> records, long context,
                         const std::string& masterHeader, const std::string& sourceHeader,
                         LineStream& master, LineStream& source, std::string& error,
                         const ListingColours& colours) {
  if (records.empty()) return true;
  std::string text = "--- " + masterHeader + "\n+++ " + sourceHeader + "\n";
  const auto flush = [&] {
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    text.clear();
  };
  const auto fail = [&](std::string why) {
    error = std::move(why);
    flush();
    return false;
  };

  for (std::size_t i = 0; i < records.size();) {
    // The hunk: records i..end-1, each starting within twice the context of the one before.
    const UnifiedRanges first = RangesOf(records[i]);
    UnifiedRanges last = first;
    long masterCount = first.masterCount;
    long sourceCount = first.sourceCount;
    std::size_t end = i + 1;
    for (; end < records.size(); ++end) {
      const UnifiedRanges next = RangesOf(records[end]);
      const long gap = next.masterFirst - MasterAfter(last);
      if (gap > 2 * context) break;
      // Records that overlap or go back belong to other files than the ones read.
      if (gap < 0 || next.sourceFirst < last.sourceFirst + last.sourceCount)
        return fail(master.path() + ": changed while it was compared");
      masterCount += gap + next.masterCount;
      sourceCount += gap + next.sourceCount;
      last = next;
    }
    const long lead = std::min(context, first.masterFirst - 1);
    long trail = context;  // a later hunk starts more than twice the context further on
    if (end == records.size() &&
        !CountLinesAfter(master, MasterAfter(last) - 1, context, trail, error)) {
      flush();
      return false;
    }
    masterCount += lead + trail;
    sourceCount += lead + trail;
    const long masterStart = first.masterFirst - lead;
    // Only lines that compare equal without being equal (ignored changes) can make the
    // source's context start before its first line.
    const long sourceStart = std::max(1L, first.sourceFirst - lead);

    text += colours.heading;
    text += "@@ -" + HunkRange(masterStart, masterCount) + " +" +
            HunkRange(sourceStart, sourceCount) + " @@";
    text += colours.reset;
    text += '\n';

    // A hunk without master lines (an addition without context) may stand after the last.
    if (masterCount > 0 && (masterStart < master.line() || !master.SkipTo(masterStart) ||
                            !AppendLines(text, master, lead, " ", "", "")))
      return fail(ListingFailure(master));
    long masterNext = first.masterFirst;
    for (std::size_t k = i; k < end; ++k) {
      const UnifiedRanges r = RangesOf(records[k]);
      if (!AppendLines(text, master, r.masterFirst - masterNext, " ", "", "") ||
          !AppendLines(text, master, r.masterCount, "-", colours.removed, colours.reset))
        return fail(ListingFailure(master));
      masterNext = MasterAfter(r);
      if (r.sourceCount > 0 &&
          (r.sourceFirst < source.line() || !source.SkipTo(r.sourceFirst) ||
           !AppendLines(text, source, r.sourceCount, "+", colours.added, colours.reset)))
        return fail(ListingFailure(source));
      if (text.size() >= kFlushSize) flush();
    }
    if (!AppendLines(text, master, trail, " ", "", "")) return fail(ListingFailure(master));
    i = end;
  }
  flush();
  return true;
}

}  // namespace lindrel::cli
