#include "reports/ReportState.h"

#include <tuple>

#include "reports/DelimitedReport.h"
#include "reports/HtmlAlignment.h"
#include "reports/HtmlReport.h"
#include "reports/TextReport.h"

namespace lindrel::reports {

namespace {
constexpr long kMasterCapacityHint = 5000;
}

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
    case kFormatHtml:
      return CreateHtmlReport(request);
    case kFormatText:
    case kFormatCommaDelimited:
    case kFormatTabDelimited:
      return CreateTextReport(request);
    default:
      return kReportWritten;
  }
}

long ReportState::LoadTables(const ReportRequest& request, LineTable& master,
                             LineTable& source, std::size_t masterExtra,
                             std::size_t sourceExtra) {
  ++tableLoads_;
  const long masterLines =
      LoadLineTable(request.fileMaster, master, kMasterCapacityHint, masterExtra);
  if (masterLines < 0) return kReportMasterUnreadable;
  if (LoadLineTable(request.fileSource, source, masterLines, sourceExtra) < 0) {
    return kReportSourceUnreadable;
  }
  return kReportWritten;
}

ReportInputs ReportState::MakeInputs(const ReportRequest& request) const {
  ReportInputs inputs;
  inputs.records = request.records;
  inputs.counters = request.counters;
  inputs.masterCaption = CaptionFor(request.reportFileMaster, request.fileMaster);
  inputs.sourceCaption = CaptionFor(request.reportFileSource, request.fileSource);
  inputs.timestamp = FormatReportTimestamp(clock_ ? clock_() : SystemLocalTime());
  inputs.onError = request.onError;
  return inputs;
}

long ReportState::CreateHtmlReport(const ReportRequest& request) {
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
  std::tie(options.allInOneMasterCaption, options.allInOneSourceCaption) =
      AllInOneCaptions(request.reportFileMaster, request.reportFileSource, request.fileMaster,
                       request.fileSource);
  options.highDetail = request.highDetail;
  options.doubleWideCharset = request.doubleWideCharset;
  options.wordOptions = request.wordOptions;
  options.comparer = [this, &request]() -> WordComparer* {
    if (!wordComparer_ && request.makeWordComparer) wordComparer_ = request.makeWordComparer();
    return wordComparer_.get();
  };

  const ReportInputs inputs = MakeInputs(request);
  const bool written =
      request.style == kStyleSideBySide
          ? WriteHtmlSideBySide(request.target, inputs, options, htmlMaster_, htmlSource_)
          : WriteHtmlAllInOne(request.target, inputs, options, htmlMaster_, htmlSource_);
  return written ? kReportWritten : kReportWriterFailed;
}

long ReportState::CreateTextReport(const ReportRequest& request) {
  if (!textLoaded_) {
    if (long loaded = LoadTables(request, textMaster_, textSource_); loaded != kReportWritten) {
      return loaded;
    }
    textLoaded_ = true;
  }
  const ReportInputs inputs = MakeInputs(request);
  bool written = false;
  switch (request.format) {
    case kFormatText:
      written = WriteTextReport(request.target, inputs, textMaster_, textSource_);
      break;
    case kFormatCommaDelimited:
      written = WriteDelimitedReport(request.target, Delimiter::kComma, inputs, textMaster_,
                                     textSource_);
      break;
    default:
      written = WriteDelimitedReport(request.target, Delimiter::kTab, inputs, textMaster_,
                                     textSource_);
      break;
  }
  return written ? kReportWritten : kReportWriterFailed;
}

}  // namespace lindrel::reports
