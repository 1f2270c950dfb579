// ReportState: the report side of one component. It caches the line tables of the last
// file comparison (one pair for the text and delimited reports, one aligned pair for
// HTML), keeps the forced alignments, owns the word-comparison instance once the word
// marker has needed one, and turns a report request into the right writer call.
//
// Owner thread only: the component calls it from its host calls.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/ChangeRecord.h"
#include "lindrel/ReportTypes.h"
#include "reports/ForcedAlignment.h"
#include "reports/LineTable.h"
#include "reports/ReportClock.h"
#include "reports/ReportInputs.h"
#include "reports/WordMarker.h"

namespace lindrel::reports {

// What one report request needs from the component: the request itself, the
// properties and the results of the last file comparison.
struct ReportRequest {
  std::string target;
  long format = 0;
  long style = 0;
  bool comparisonActive = false;

  std::string fileMaster;
  std::string fileSource;
  std::string reportFileMaster;
  std::string reportFileSource;
  std::string reportFileTitle;
  bool highDetail = false;
  bool doubleWideCharset = false;
  WordCompareOptions wordOptions;

  std::vector<engine::ChangeRecord> records;
  ChangeCounts counters;
  // The last comparison found a difference but no record (FileCompareResultsCount -1).
  bool differWithoutRecords = false;
  ErrorSink onError;
  // Makes the word-comparison instance the first time a word marker needs it.
  std::function<std::unique_ptr<WordComparer>()> makeWordComparer;
};

class ReportState {
 public:
  ReportState();
  ~ReportState();
  ReportState(const ReportState&) = delete;
  ReportState& operator=(const ReportState&) = delete;

  // A file comparison was accepted: the cached tables are stale and the abort is over.
  void OnFileCompareStarted();
  // The running file comparison was aborted: reports answer kReportAborted until the next one.
  void OnFileCompareAborted();
  // Destroys the word-comparison instance (first step of the component's destruction).
  void ReleaseWordComparer();

  // Writes the report the request asks for; answers a ReportResult.
  long CreateReport(const ReportRequest& request);

  ForcedAlignmentList& Alignments() { return alignments_; }

  void TEST_SetClock(ReportClock clock) { clock_ = std::move(clock); }
  // How often a pair of tables has been loaded from the files.
  int TEST_TableLoads() const { return tableLoads_; }
  const LineTable& TEST_HtmlMaster() const { return htmlMaster_; }
  const LineTable& TEST_HtmlSource() const { return htmlSource_; }

 private:
  // kReportWritten when both files can still be opened for reading, else
  // kReportMasterUnreadable / kReportSourceUnreadable; reads nothing.
  static long CheckReadable(const ReportRequest& request);
  // Loads both files into a pair of tables; kReportWritten, or kReportMasterUnreadable /
  // kReportSourceUnreadable (after OnError 602 naming a file that opened but could not be
  // read to its end).
  long LoadTables(const ReportRequest& request, LineTable& master, LineTable& source,
                  std::size_t masterExtra = 0, std::size_t sourceExtra = 0);
  ReportInputs MakeInputs(const ReportRequest& request) const;
  long CreateHtmlReport(const ReportRequest& request);
  long CreateTextReport(const ReportRequest& request);

  LineTable textMaster_, textSource_;
  bool textLoaded_ = false;
  LineTable htmlMaster_, htmlSource_;
  bool htmlLoaded_ = false;
  bool aborted_ = false;
  ForcedAlignmentList alignments_;
  std::unique_ptr<WordComparer> wordComparer_;
  ReportClock clock_;
  int tableLoads_ = 0;
};

}  // namespace lindrel::reports
