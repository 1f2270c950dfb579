// Helpers shared by the report tests: a fixed clock, tables built from lines, and a word
// comparer that answers from a script after checking the paragraph files it was given.
// The scripted comparer belongs to one test thread.
#pragma once

#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "engine/ChangeRecord.h"
#include "reports/LineTable.h"
#include "reports/ReportClock.h"
#include "reports/WordMarker.h"
#include "tests/support/TempEnvironment.h"

namespace lindrel::reports::testing {

using lindrel::testing::TempEnvironment;

// Sunday, 6 December 2026, 15:05:50.
inline LocalTime FixedTime() { return {2026, 12, 6, 0, 15, 5, 50}; }
inline constexpr const char* kFixedTimestamp = "Sun, 12/06/2026 3:05:50 PM";

inline engine::ChangeRecord Rec(char kind, long p1, long p2, long p3, long p4) {
  return {kind, p1, p2, p3, p4};
}

// A loaded-looking table: numbered lines (taken as already cleaned) and the end entry.
inline LineTable TableOf(std::initializer_list<std::string> lines) {
  LineTable table;
  long n = 0;
  for (const std::string& line : lines) table.entries.push_back({++n, 0, table.Keep(line)});
  table.entries.push_back({n + 1, 0, kEndMarker});
  return table;
}

// Answers the records scripted for the pair of paragraph-file contents it reads; two
// equal files give no records; anything else is a failed comparison.
class ScriptedWordComparer : public WordComparer {
 public:
  void Script(const std::string& masterParagraph, const std::string& sourceParagraph,
              std::vector<engine::ChangeRecord> records) {
    script_[{masterParagraph, sourceParagraph}] = std::move(records);
  }

  bool CompareWritten(const ParagraphPaths&, std::string_view masterBytes, std::string_view sourceBytes,
                      const WordCompareOptions&, std::vector<engine::ChangeRecord>& records) override {
    ++calls;
    const std::string master(masterBytes);
    const std::string source(sourceBytes);
    seen.emplace_back(master, source);
    if (auto it = script_.find({master, source}); it != script_.end()) {
      records = it->second;
      return true;
    }
    if (master == source) {
      records.clear();
      return true;
    }
    return false;
  }

  int calls = 0;
  std::vector<std::pair<std::string, std::string>> seen;

 private:
  std::map<std::pair<std::string, std::string>, std::vector<engine::ChangeRecord>> script_;
};

}  // namespace lindrel::reports::testing
