#include "reports/HtmlAlignment.h"

#include <algorithm>

namespace lindrel::reports {

namespace {

// Fillers to place after a given line of one table (0: before the first line).
struct FillerRun {
  long afterLine;
  long count;
  int mark;
};

struct SidePlan {
  std::vector<FillerRun> fillers;
  std::vector<std::pair<long, long>> markedRanges;  // inclusive line ranges
  std::vector<int> rangeMarks;

  void Mark(long first, long last, int mark) {
    if (last < first) return;
    markedRanges.emplace_back(first, last);
    rangeMarks.push_back(mark);
  }
};

bool Fits(const engine::ChangeRecord& r, long masterLines, long sourceLines) {
  const bool ordered = r.masterStart <= r.masterEnd && r.sourceStart <= r.sourceEnd;
  return ordered && r.masterStart >= 0 && r.sourceStart >= 0 && r.masterEnd <= masterLines &&
         r.sourceEnd <= sourceLines;
}

void Rebuild(LineTable& table, const SidePlan& plan) {
  long lines = NumberOfLines(table);
  for (std::size_t i = 0; i < plan.markedRanges.size(); ++i) {
    for (long k = plan.markedRanges[i].first; k <= plan.markedRanges[i].second; ++k) {
      table.entries[static_cast<std::size_t>(k - 1)].mark = plan.rangeMarks[i];
    }
  }
  if (plan.fillers.empty()) return;

  std::size_t added = 0;
  for (const FillerRun& run : plan.fillers) added += static_cast<std::size_t>(run.count);
  // Grown in place from the back: every entry moves once, to its final index.
  std::vector<LineEntry>& entries = table.entries;
  std::size_t from = entries.size();
  entries.resize(from + added);
  std::size_t to = entries.size();
  for (auto run = plan.fillers.rbegin(); run != plan.fillers.rend(); ++run) {
    const auto keep = static_cast<std::size_t>(std::min(run->afterLine, lines));
    while (from > keep) entries[--to] = entries[--from];
    for (long k = 0; k < run->count; ++k) entries[--to] = LineEntry{0, run->mark, {}};
  }
}

}  // namespace

FillerCounts CountFillers(const std::vector<engine::ChangeRecord>& records) {
  FillerCounts counts;
  for (const engine::ChangeRecord& r : records) {
    const long dm = r.masterEnd - r.masterStart;
    const long ds = r.sourceEnd - r.sourceStart;
    if (dm < 0 || ds < 0) continue;
    switch (r.kind) {
      case engine::kAddition: counts.master += static_cast<std::size_t>(ds + 1); break;
      case engine::kDeletion: counts.source += static_cast<std::size_t>(dm + 1); break;
      case engine::kChange:
        if (dm < ds) counts.master += static_cast<std::size_t>(ds - dm);
        if (ds < dm) counts.source += static_cast<std::size_t>(dm - ds);
        break;
      default: break;
    }
  }
  return counts;
}

void BuildAutomaticAlignment(const std::vector<engine::ChangeRecord>& records,
                             LineTable& master, LineTable& source) {
  const long masterLines = NumberOfLines(master);
  const long sourceLines = NumberOfLines(source);
  if (masterLines < 0 || sourceLines < 0) return;

  SidePlan masterPlan, sourcePlan;
  long masterFloor = 0, sourceFloor = 0;  // records must move forward on both sides
  for (const engine::ChangeRecord& r : records) {
    if (!Fits(r, masterLines, sourceLines)) continue;
    if (r.masterStart < masterFloor || r.sourceStart < sourceFloor) continue;
    switch (r.kind) {
      case engine::kAddition:
        if (r.sourceStart < 1) continue;
        sourcePlan.Mark(r.sourceStart, r.sourceEnd, engine::kAddition);
        masterPlan.fillers.push_back({r.masterStart, r.sourceEnd - r.sourceStart + 1,
                                      engine::kAddition});
        break;
      case engine::kDeletion:
        if (r.masterStart < 1) continue;
        masterPlan.Mark(r.masterStart, r.masterEnd, engine::kDeletion);
        sourcePlan.fillers.push_back({r.sourceStart, r.masterEnd - r.masterStart + 1,
                                      engine::kDeletion});
        break;
      case engine::kChange: {
        if (r.masterStart < 1 || r.sourceStart < 1) continue;
        const long dm = r.masterEnd - r.masterStart;
        const long ds = r.sourceEnd - r.sourceStart;
        // Lines and fillers of a change all carry its mark.
        masterPlan.Mark(r.masterStart, r.masterEnd, engine::kChange);
        sourcePlan.Mark(r.sourceStart, r.sourceEnd, engine::kChange);
        if (ds < dm) sourcePlan.fillers.push_back({r.sourceEnd, dm - ds, engine::kChange});
        if (dm < ds) masterPlan.fillers.push_back({r.masterEnd, ds - dm, engine::kChange});
        break;
      }
      default:
        continue;
    }
    masterFloor = r.masterEnd;
    sourceFloor = r.sourceEnd;
  }
  Rebuild(master, masterPlan);
  Rebuild(source, sourcePlan);
}

}  // namespace lindrel::reports
