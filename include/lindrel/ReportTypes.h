/// @file
/// The values of CLindrelCtrl::FileCompareCreateReport: the report formats and HTML styles
/// it takes and the results it answers.
///
/// They cross the interface as long values and are stored as numbers in hosts' settings,
/// so each value is fixed for good.
///
/// Threading: constants only.
#pragma once

namespace lindrel {

/// What kind of file FileCompareCreateReport writes. Any other value writes nothing and
/// answers kReportWritten.
enum ReportFormat : long {
  kReportFormatHtml = 1,            ///< an HTML page, in the ReportStyle asked for
  kReportFormatText = 2,            ///< plain text
  kReportFormatCommaDelimited = 3,  ///< comma-delimited lines
  kReportFormatTabDelimited = 4,    ///< tab-delimited lines
};

/// How the HTML report lays out the two files; the other formats ignore it.
enum ReportStyle : long {
  kReportStyleAllInOne = 1,    ///< one column holding both files; also any value but 2
  kReportStyleSideBySide = 2,  ///< the master and the source file in two columns
};

/// What FileCompareCreateReport answers.
enum ReportResult : long {
  kReportWritten = 0,             ///< written (or the format names none)
  kReportAborted = -1,            ///< the last file comparison was aborted
  kReportComparisonRunning = -2,  ///< a file comparison is running
  kReportMasterUnreadable = -3,   ///< the master file cannot be read
  kReportSourceUnreadable = -4,   ///< the source file cannot be read
  /// The target cannot be written (after OnError 504): also a target that is one of the
  /// compared files or whose name holds a NUL byte.
  kReportNotWritten = -5,
};

// Hosts keep these numbers in their settings files and scripts pass them as they are.
static_assert(kReportFormatHtml == 1 && kReportFormatText == 2 &&
              kReportFormatCommaDelimited == 3 && kReportFormatTabDelimited == 4);
static_assert(kReportStyleAllInOne == 1 && kReportStyleSideBySide == 2);
static_assert(kReportWritten == 0 && kReportAborted == -1 && kReportComparisonRunning == -2 &&
              kReportMasterUnreadable == -3 && kReportSourceUnreadable == -4 &&
              kReportNotWritten == -5);

}  // namespace lindrel
