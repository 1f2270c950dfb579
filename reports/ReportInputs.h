// ReportInputs: everything a report writer reads besides the line tables: the change
// records of the last comparison, their per-kind counters, the captions, the timestamp
// and where a writer's error goes.
//
// A plain value, filled by the caller on the thread that writes the report.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/ChangeRecord.h"
#include "lindrel/Records.h"

namespace lindrel::reports {

// Receives an error of a writer: the error code (504) and the detail text (the path).
using ErrorSink = std::function<void(long code, const std::string& detail)>;

struct ReportInputs {
  std::vector<engine::ChangeRecord> records;
  ChangeCounts counters;
  std::string masterCaption;  // one side each, see CaptionFor
  std::string sourceCaption;
  std::string timestamp;
  ErrorSink onError;
  // The files differ although no record says where (a quick or a binary comparison).
  bool differWithoutRecords = false;

  long RecordCount() const { return static_cast<long>(records.size()); }
  void FireError(long code, const std::string& detail) const {
    if (onError) onError(code, detail);
  }
};

// What the reports say instead of their counts when the files differ without records.
inline constexpr std::string_view kDifferWithoutRecordsText =
    "Files differ (no line-by-line records)";

// The caption of one side: the report caption when it is set, else the compared path.
inline const std::string& CaptionFor(const std::string& reportCaption,
                                     const std::string& comparedPath) {
  return reportCaption.empty() ? comparedPath : reportCaption;
}

}  // namespace lindrel::reports
