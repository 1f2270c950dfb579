// The plain-text report: a header with both captions and the counts of each kind, then
// one block per change record quoting the affected lines.
//
// Runs on the caller's thread; reads its inputs only.
#pragma once

#include <string>

#include "reports/LineTable.h"
#include "reports/ReportInputs.h"

namespace lindrel::reports {

// Writes the report to `target` (truncated). False, after firing 504 with the path,
// when the target cannot be opened or written.
bool WriteTextReport(const std::string& target, const ReportInputs& inputs,
                     const LineTable& master, const LineTable& source);

}  // namespace lindrel::reports
