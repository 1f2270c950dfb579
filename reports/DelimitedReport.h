// The comma-delimited and tab-delimited reports: one row per line of every change
// record, tagged with the record number, its kind and a line number, for spreadsheets.
// Fields are never quoted. A comparison without records writes no file at all.
//
// Runs on the caller's thread; reads its inputs only.
#pragma once

#include <string>

#include "reports/LineTable.h"
#include "reports/ReportInputs.h"

namespace lindrel::reports {

enum class Delimiter { kComma, kTab };

// Writes the report to `target` (truncated). With no records nothing is touched and
// the answer is true. False, after firing 504 with the path, when the target cannot be
// opened or written.
bool WriteDelimitedReport(const std::string& target, Delimiter delimiter,
                          const ReportInputs& inputs, const LineTable& master,
                          const LineTable& source);

}  // namespace lindrel::reports
