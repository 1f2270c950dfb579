// Checks of change records against the two files they describe: applying the records to
// the master's lines must give the source's lines, the records must be in order and keep
// their invariants, and their cost can be compared with a longest common subsequence.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/ChangeRecord.h"

namespace lindrel::engine::testing {

// The lines of a file as the engine reads it, each with its line feed (the last one may
// have none). In text mode CR LF reads as LF and a byte 26 ends the content.
inline std::vector<std::string> TextLines(const std::string& raw, bool textMode = true) {
  std::string content;
  for (size_t i = 0; i < raw.size(); ++i) {
    if (textMode && raw[i] == '\x1a') break;
    if (textMode && raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
    content += raw[i];
  }
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < content.size()) {
    const size_t lineFeed = content.find('\n', start);
    const size_t end = lineFeed == std::string::npos ? content.size() : lineFeed + 1;
    lines.push_back(content.substr(start, end - start));
    start = end;
  }
  return lines;
}

// A record as 0-based ranges: first line and count on each side.
struct Span {
  long first0, count0, first1, count1;
};

inline Span SpanOf(const ChangeRecord& r) {
  Span s{};
  if (r.kind == kAddition) {
    s.first0 = r.masterStart;
    s.count0 = 0;
  } else {
    s.first0 = r.masterStart - 1;
    s.count0 = r.masterEnd - r.masterStart + 1;
  }
  if (r.kind == kDeletion) {
    s.first1 = r.sourceStart;
    s.count1 = 0;
  } else {
    s.first1 = r.sourceStart - 1;
    s.count1 = r.sourceEnd - r.sourceStart + 1;
  }
  return s;
}

// Adds a failure, tagged with `context`, for every broken invariant or ordering rule.
inline void CheckRecordShape(const std::vector<ChangeRecord>& records, size_t masterLines,
                             size_t sourceLines, const std::string& context) {
  long end0 = 0, end1 = 0;  // first line after the previous record on each side
  for (size_t i = 0; i < records.size(); ++i) {
    const ChangeRecord& r = records[i];
    const Span s = SpanOf(r);
    EXPECT_TRUE(r.kind == kChange || r.kind == kAddition || r.kind == kDeletion) << context;
    EXPECT_TRUE(s.count0 >= 0 && s.count1 >= 0) << context;
    // An empty side repeats the line before the change; a real side is a range of lines.
    EXPECT_EQ(s.count0 == 0, r.kind == kAddition) << context;
    EXPECT_EQ(s.count1 == 0, r.kind == kDeletion) << context;
    EXPECT_TRUE(s.count0 > 0 ? r.masterStart >= 1 : r.masterStart == r.masterEnd) << context;
    EXPECT_TRUE(s.count1 > 0 ? r.sourceStart >= 1 : r.sourceStart == r.sourceEnd) << context;
    EXPECT_LE(static_cast<size_t>(s.first0 + s.count0), masterLines) << context;
    EXPECT_LE(static_cast<size_t>(s.first1 + s.count1), sourceLines) << context;
    if (i > 0) {
      // Ascending, apart, and never adjacent on either side.
      EXPECT_GT(s.first0, end0) << context;
      EXPECT_GT(s.first1, end1) << context;
    }
    EXPECT_EQ(s.first0 - end0, s.first1 - end1) << "unchanged stretch lengths differ " << context;
    end0 = s.first0 + s.count0;
    end1 = s.first1 + s.count1;
  }
}

// The master's lines with the records applied.
inline std::vector<std::string> ApplyRecords(const std::vector<std::string>& master,
                                             const std::vector<std::string>& source,
                                             const std::vector<ChangeRecord>& records) {
  std::vector<std::string> out;
  size_t next = 0;
  for (const ChangeRecord& r : records) {
    const Span s = SpanOf(r);
    const size_t first0 = static_cast<size_t>(std::max(0L, s.first0));
    const size_t first1 = static_cast<size_t>(std::max(0L, s.first1));
    if (first0 < next || first0 > master.size() || first1 + static_cast<size_t>(s.count1) > source.size()) {
      out.push_back("<record out of range>");
      return out;
    }
    out.insert(out.end(), master.begin() + static_cast<long>(next), master.begin() + static_cast<long>(first0));
    out.insert(out.end(), source.begin() + static_cast<long>(first1),
               source.begin() + static_cast<long>(first1 + static_cast<size_t>(s.count1)));
    next = std::min(master.size(), first0 + static_cast<size_t>(s.count0));
  }
  out.insert(out.end(), master.begin() + static_cast<long>(next), master.end());
  return out;
}

inline long RecordCost(const std::vector<ChangeRecord>& records) {
  long cost = 0;
  for (const ChangeRecord& r : records) cost += SpanOf(r).count0 + SpanOf(r).count1;
  return cost;
}

// Deleted plus inserted lines of a shortest edit script, by dynamic programming.
inline long MinimumCost(const std::vector<std::string>& a, const std::vector<std::string>& b) {
  std::vector<long> row(b.size() + 1, 0), previous(b.size() + 1, 0);
  for (size_t i = 1; i <= a.size(); ++i) {
    std::swap(row, previous);
    for (size_t j = 1; j <= b.size(); ++j) {
      row[j] = a[i - 1] == b[j - 1] ? previous[j - 1] + 1 : std::max(previous[j], row[j - 1]);
    }
  }
  const long common = a.empty() ? 0 : row[b.size()];
  return static_cast<long>(a.size() + b.size()) - 2 * common;
}

}  // namespace lindrel::engine::testing
