#include "reports/ReportState.h"

#include <unistd.h>

#include <exception>
#include <system_error>
#include <thread>
#include <tuple>

#include "lindrel/Errors.h"
#include "platform/FileSearch.h"
#include "platform/ReplacementFile.h"
#include "reports/DelimitedReport.h"
#include "reports/HtmlAlignment.h"
#include "reports/HtmlReport.h"
#include "reports/TextReport.h"

namespace lindrel::reports {

namespace {
constexpr long kMasterCapacityHint = 5000;

// A report written over one of the compared files (the same name, a link or a hard link
// to it) would destroy it; a name holding a NUL byte would be written as the part before
// it, another file. The delimited reports of an empty result write nothing, so they harm
// nothing.
bool RefusedTarget(const ReportRequest& request) {
  if (request.format != kReportFormatText && request.format != kReportFormatHtml &&
      request.records.empty())
    return false;
  return platform::HoldsNul(request.target) ||
         platform::SameExistingFile(request.target, request.fileMaster) ||
         platform::SameExistingFile(request.target, request.fileSource);
}

long RefuseTarget(const ReportRequest& request) {
  if (request.onError) request.onError(kErrorUnableToOpenFile, request.target);
  return kReportNotWritten;
}

// A compared file whose table could not be loaded (`loaded`, LoadLineTable's answer): -3
// or -4. One that opened but could not be read to its end is named to the host as well,
// on this (the owner's) thread.
long Unreadable(const ReportRequest& request, const std::string& path, long loaded) {
  if (loaded == kUnreadableFile && request.onError) request.onError(kErrorReadingFile, path);
  return &path == &request.fileMaster ? kReportMasterUnreadable : kReportSourceUnreadable;
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
  // Refused as it is asked for, before a file is read or a word compared.
  if (request.format >= kReportFormatHtml && request.format <= kReportFormatTabDelimited &&
      RefusedTarget(request)) {
    return RefuseTarget(request);
  }
  switch (request.format) {
    case kReportFormatHtml: return CreateHtmlReport(request);
    case kReportFormatText:
    case kReportFormatCommaDelimited:
    case kReportFormatTabDelimited: return CreateTextReport(request);
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
    if (masterLines < 0) return Unreadable(request, request.fileMaster, masterLines);
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
  if (masterLines < 0) return Unreadable(request, request.fileMaster, masterLines);
  if (sourceError) std::rethrow_exception(sourceError);
  if (sourceLines < 0) return Unreadable(request, request.fileSource, sourceLines);
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
    HtmlOptions options;
    options.title = request.reportFileTitle;
    options.doubleWideCharset = request.doubleWideCharset;
    const LineTable none;
    return WriteHtmlSideBySide(request.target, MakeInputs(request), options, none, none)
               ? kReportWritten
               : kReportNotWritten;
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

  const ReportInputs inputs = MakeInputs(request);
  const bool written =
      request.style == kReportStyleSideBySide
          ? WriteHtmlSideBySide(request.target, inputs, options, htmlMaster_, htmlSource_)
          : WriteHtmlAllInOne(request.target, inputs, options, htmlMaster_, htmlSource_);
  return written ? kReportWritten : kReportNotWritten;
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
  const ReportInputs inputs = MakeInputs(request);
  bool written = false;
  switch (request.format) {
    case kReportFormatText:
      written = withoutLines ? WriteTextReport(request.target, inputs, LineTable(), LineTable())
                             : WriteTextReport(request.target, inputs, textMaster_, textSource_);
      break;
    case kReportFormatCommaDelimited:
      written =
          WriteDelimitedReport(request.target, Delimiter::kComma, inputs, textMaster_, textSource_);
      break;
    default:
      written =
          WriteDelimitedReport(request.target, Delimiter::kTab, inputs, textMaster_, textSource_);
      break;
  }
  return written ? kReportWritten : kReportNotWritten;
}

}  // namespace lindrel::reports
