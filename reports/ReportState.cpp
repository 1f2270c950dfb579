#include "reports/ReportState.h"

#include <unistd.h>

#include <exception>
#include <system_error>
#include <thread>
#include <tuple>

#include "lindrel/Errors.h"
#include "platform/ReplacementFile.h"
#include "reports/DelimitedReport.h"
#include "reports/HtmlAlignment.h"
#include "reports/HtmlReport.h"
#include "reports/TextReport.h"

namespace lindrel::reports {

namespace {
constexpr long kMasterCapacityHint = 5000;

// A report written over one of the compared files (the same name, a link or a hard link
// to it) would destroy it.
bool TargetIsInput(const ReportRequest& request) {
  return platform::SameExistingFile(request.target, request.fileMaster) ||
         platform::SameExistingFile(request.target, request.fileSource);
}

long RefuseTarget(const ReportRequest& request) {
  if (request.onError) request.onError(kErrorUnableToOpenFile, request.target);
  return kReportWriterFailed;
}
}  // namespace

ReportState::ReportState() : clock_(SystemLocalTime) {}
ReportState::~ReportState() = default;

void ReportState::OnFileCompareStarted() {
  textLoaded_ = false;
  htmlLoaded_ = false;
  aborted_ = false;
}

void ReportState::OnFileCompareAborted() { aborted_ = true; }

void ReportState::ReleaseWordComparer() { wordComparer_.reset(); }

long ReportState::CreateReport(const ReportRequest& request) {
  if (aborted_) return kReportAborted;
  if (request.comparisonActive) return kReportComparisonRunning;
  switch (request.format) {
    case kFormatHtml: return CreateHtmlReport(request);
    case kFormatText:
    case kFormatCommaDelimited:
    case kFormatTabDelimited: return CreateTextReport(request);
    default: return kReportWritten;
  }
}

long ReportState::LoadTables(const ReportRequest& request, LineTable& master, LineTable& source,
                             std::size_t masterExtra, std::size_t sourceExtra) {
  ++tableLoads_;
  // The master loads on a second thread while this one loads the source. The source's
  // size hint is then not the master's line count, which only presizes its table.
  long masterLines = -1;
  std::exception_ptr masterError;
  std::thread masterLoader;
  try {
    masterLoader = std::thread([&] {
      try {
        masterLines = LoadLineTable(request.fileMaster, master, kMasterCapacityHint, masterExtra);
      } catch (...) {
        masterError = std::current_exception();
      }
    });
  } catch (const std::system_error&) {
    masterLines = LoadLineTable(request.fileMaster, master, kMasterCapacityHint, masterExtra);
    if (masterLines < 0) return kReportMasterUnreadable;
  }
  long sourceLines = -1;
  std::exception_ptr sourceError;
  try {
    sourceLines =
        LoadLineTable(request.fileSource, source,
                      masterLoader.joinable() ? kMasterCapacityHint : masterLines, sourceExtra);
  } catch (...) {
    sourceError = std::current_exception();
  }
  if (masterLoader.joinable()) masterLoader.join();
  if (masterError) std::rethrow_exception(masterError);
  if (masterLines < 0) return kReportMasterUnreadable;
  if (sourceError) std::rethrow_exception(sourceError);
  if (sourceLines < 0) return kReportSourceUnreadable;
  return kReportWritten;
}

long ReportState::CheckReadable(const ReportRequest& request) {
  for (const std::string* path : {&request.fileMaster, &request.fileSource}) {
    const int fd = platform::OpenRegularFileForReading(*path);
    if (fd < 0) {
      return path == &request.fileMaster ? kReportMasterUnreadable : kReportSourceUnreadable;
    }
    ::close(fd);
  }
  return kReportWritten;
}

ReportInputs ReportState::MakeInputs(const ReportRequest& request) const {
  ReportInputs inputs;
  inputs.differWithoutRecords = request.differWithoutRecords && request.records.empty();
  inputs.records = request.records;
  inputs.counters = request.counters;
  inputs.masterCaption = CaptionFor(request.reportFileMaster, request.fileMaster);
  inputs.sourceCaption = CaptionFor(request.reportFileSource, request.fileSource);
  inputs.timestamp = FormatReportTimestamp(clock_ ? clock_() : SystemLocalTime());
  inputs.onError = request.onError;
  return inputs;
}

long ReportState::CreateHtmlReport(const ReportRequest& request) {
  if (request.differWithoutRecords && request.records.empty()) {
    // The page shows no line of either file: checking that both can still be read
    // replaces loading them whole (two 2 GB binaries would need 4 GB).
    if (long readable = CheckReadable(request); readable != kReportWritten) return readable;
    if (TargetIsInput(request)) return RefuseTarget(request);
    HtmlOptions options;
    options.title = request.reportFileTitle;
    options.doubleWideCharset = request.doubleWideCharset;
    const LineTable none;
    return WriteHtmlSideBySide(request.target, MakeInputs(request), options, none, none)
               ? kReportWritten
               : kReportWriterFailed;
  }
  if (!htmlLoaded_ || alignments_.Pending()) {
    // Until the pair is complete again, the next request must reload it.
    htmlLoaded_ = false;
    const FillerCounts fillers = CountFillers(request.records);
    if (long loaded = LoadTables(request, htmlMaster_, htmlSource_, fillers.master, fillers.source);
        loaded != kReportWritten) {
      return loaded;
    }
    BuildAutomaticAlignment(request.records, htmlMaster_, htmlSource_);
    if (alignments_.Pending()) alignments_.Apply(htmlMaster_, htmlSource_);
    htmlLoaded_ = true;
  }

  HtmlOptions options;
  options.title = request.reportFileTitle;
  std::tie(options.allInOneMasterCaption, options.allInOneSourceCaption) = AllInOneCaptions(
      request.reportFileMaster, request.reportFileSource, request.fileMaster, request.fileSource);
  options.highDetail = request.highDetail;
  options.doubleWideCharset = request.doubleWideCharset;
  options.wordOptions = request.wordOptions;
  options.comparer = [this, &request]() -> WordComparer* {
    if (!wordComparer_ && request.makeWordComparer) wordComparer_ = request.makeWordComparer();
    return wordComparer_.get();
  };

  if (TargetIsInput(request)) return RefuseTarget(request);
  const ReportInputs inputs = MakeInputs(request);
  const bool written =
      request.style == kStyleSideBySide
          ? WriteHtmlSideBySide(request.target, inputs, options, htmlMaster_, htmlSource_)
          : WriteHtmlAllInOne(request.target, inputs, options, htmlMaster_, htmlSource_);
  return written ? kReportWritten : kReportWriterFailed;
}

long ReportState::CreateTextReport(const ReportRequest& request) {
  const bool withoutLines = request.differWithoutRecords && request.records.empty();
  if (withoutLines) {
    // No line of either file is quoted; see CreateHtmlReport.
    if (long readable = CheckReadable(request); readable != kReportWritten) return readable;
  } else if (!textLoaded_) {
    if (long loaded = LoadTables(request, textMaster_, textSource_); loaded != kReportWritten) {
      return loaded;
    }
    textLoaded_ = true;
  }
  // The delimited reports of an empty result write nothing, so they harm nothing.
  const bool writes = request.format == kFormatText || !request.records.empty();
  if (writes && TargetIsInput(request)) return RefuseTarget(request);
  const ReportInputs inputs = MakeInputs(request);
  bool written = false;
  switch (request.format) {
    case kFormatText:
      written = withoutLines ? WriteTextReport(request.target, inputs, LineTable(), LineTable())
                             : WriteTextReport(request.target, inputs, textMaster_, textSource_);
      break;
    case kFormatCommaDelimited:
      written =
          WriteDelimitedReport(request.target, Delimiter::kComma, inputs, textMaster_, textSource_);
      break;
    default:
      written =
          WriteDelimitedReport(request.target, Delimiter::kTab, inputs, textMaster_, textSource_);
      break;
  }
  return written ? kReportWritten : kReportWriterFailed;
}

}  // namespace lindrel::reports
