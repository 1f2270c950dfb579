// The HTML report: the two files as one table, aligned row by row, either side by side
// (master left, source right) or all in one (one merged column), with the words of each
// difference row compared by a WordMarker and marked by WordMarks. When the header counts
// words, the body goes to an unnamed scratch file beside the target first because those
// counts are only known once every row is marked; it is then copied behind the header.
// The target is replaced only by a complete page.
//
// Runs on the caller's thread; a report of many difference rows compares their words on
// a second thread meanwhile (see MarkAhead.h), and marks them as it writes them. The
// word counters belong to the report being written.
#pragma once

#include <functional>
#include <string>

#include "reports/LineTable.h"
#include "reports/ReportInputs.h"
#include "reports/WordMarker.h"

namespace lindrel::reports {

struct HtmlOptions {
  std::string title;                  // ReportFileTitle; no heading when empty
  std::string allInOneMasterCaption;  // see AllInOneCaptions
  std::string allInOneSourceCaption;
  bool highDetail = false;         // header counts words instead of records
  bool doubleWideCharset = false;  // header declares Shift_JIS
  std::function<WordComparer*()> comparer;
  WordCompareOptions wordOptions;
};

// The captions of the all-in-one title cell, chosen together: the report captions
// when either is set (an empty one stays empty), else both compared paths.
std::pair<std::string, std::string> AllInOneCaptions(const std::string& reportMaster,
                                                     const std::string& reportSource,
                                                     const std::string& fileMaster,
                                                     const std::string& fileSource);

// `&`, `<`, `>` and `"` as character references, for captions and the title.
std::string EscapeHtml(const std::string& text);

// Write the report from aligned tables to `target` (replaced once complete). False, after
// firing 504 with the target path, when the target or its body file cannot be created or
// written; the target is then as it was.
bool WriteHtmlSideBySide(const std::string& target, const ReportInputs& inputs,
                         const HtmlOptions& options, const LineTable& master,
                         const LineTable& source);
bool WriteHtmlAllInOne(const std::string& target, const ReportInputs& inputs,
                       const HtmlOptions& options, const LineTable& master,
                       const LineTable& source);

// Test hook: reports with at least `rows` difference rows mark them on a second thread
// (64 by default); a huge value keeps every report on one thread.
void TEST_SetMarkAheadMinimumRows(std::size_t rows);

}  // namespace lindrel::reports
