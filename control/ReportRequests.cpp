// Report and alignment methods of CLindrelCtrl, and the word-comparison instance that the
// HTML report's word marker runs on.
#include <algorithm>
#include <cstdint>
#include <exception>
#include <limits>

#include "control/ControlInternals.h"
#include "control/LindrelCtrlImpl.h"
#include "engine/EngineResult.h"
#include "engine/TextEngine.h"

#include "platform/TickCount.h"
#include "reports/ReportState.h"

namespace lindrel {

namespace {

// The word-comparison instance keeps a state file of its own so that its destruction never
// overwrites the settings of the component that owns it: the owner's name with "_WORDS"
// appended ("TVK_WORDS.INI" for an unnamed owner; a full path gains the suffix as is).
std::string WordComparerStateFileName(const std::string& ownerStateFileName) {
  return (ownerStateFileName.empty() ? std::string("TVK") : ownerStateFileName) + "_WORDS";
}

// A second component, owned by the reporting one, compares the paragraph files of one
// row on the calling thread.
class SecondInstanceWordComparer final : public reports::WordComparer {
 public:
  explicit SecondInstanceWordComparer(const std::string& ownerStateFileName)
      : second_(std::make_unique<CLindrelCtrl>(WordComparerStateFileName(ownerStateFileName))) {
    // Its settings are set afresh by every report; a crash may lose them at no cost.
    Internals(*second_).durableStateFile = false;
  }

  // The bytes are the paragraphs themselves; the files may lag behind during a report.
  bool CompareWritten(const reports::ParagraphPaths& paths, std::string_view masterBytes,
                      std::string_view sourceBytes, const reports::WordCompareOptions& options,
                      std::vector<engine::ChangeRecord>& records) override {
    return RunJob(paths, options, records, [&](engine::ChangeSink& sink) {
      // The switches are parsed once per setting, not under the process-wide lock per row.
      if (!textEngine_) {
        textEngine_ =
            std::make_unique<engine::TextEngine>(Switches(options), paths.master, paths.source);
      }
      return textEngine_->Run(masterBytes, sourceBytes, sink);
    });
  }

 private:
  static std::vector<std::string> Switches(const reports::WordCompareOptions& options) {
    std::vector<std::string> switches;
    if (options.ignoreCase) switches.emplace_back("-i");
    if (options.ignoreWhiteSpace) switches.emplace_back("-w");
    if (options.ignoreEmptyLines) switches.emplace_back("-B");
    if (options.quickCompare) switches.emplace_back("-q");
    return switches;
  }

  // One comparison as a job of the second instance: its settings, busy rule, result store
  // and timing, whatever runs the engine.
  template <typename RunEngineOnce>
  bool RunJob(const reports::ParagraphPaths& paths, const reports::WordCompareOptions& options,
              std::vector<engine::ChangeRecord>& records, RunEngineOnce runEngine) {
    CLindrelCtrl& second = *second_;
    // A report sets the same values for every row; setting them once is enough.
    if (!configured_ || second.GetFileMaster() != paths.master ||
        second.GetFileSource() != paths.source || !SameOptions(options)) {
      second.SetFileMaster(paths.master);
      second.SetFileSource(paths.source);
      second.SetThreadPriority(options.threadPriority);
      second.SetFileIgnoreCase(options.ignoreCase);
      second.SetFileIgnoreWhiteSpace(options.ignoreWhiteSpace);
      second.SetFileIgnoreEmptyLines(options.ignoreEmptyLines);
      second.SetFileQuickCompare(options.quickCompare);
      options_ = options;
      configured_ = true;
      textEngine_.reset();
    }

    CLindrelCtrl::Impl& d = Internals(second);
    if (d.fileJob.active) return false;

    d.fileJob.Start(platform::TickCount());
    d.fileJob.abort = false;
    d.fileResults.Clear();
    d.fileJob.active = true;
    // Even if the engine throws (out of memory), the instance must not stay busy: every
    // later row would fail, and its destruction would wait for a job that never ends.
    struct Inactive {
      JobState& job;
      ~Inactive() { job.active = false; }
    } inactive{d.fileJob};
    const int result = runEngine(d.fileResults);
    d.fileJob.active = false;
    d.fileDifferWithoutRecords = result > 0 && d.fileResults.Count() == 0;
    d.fileJob.StoreElapsed(platform::TickCount());
    if (result == engine::kTrouble) return false;
    records = d.fileResults.Snapshot();
    return true;
  }

  bool SameOptions(const reports::WordCompareOptions& o) const {
    return o.threadPriority == options_.threadPriority && o.ignoreCase == options_.ignoreCase &&
           o.ignoreWhiteSpace == options_.ignoreWhiteSpace &&
           o.ignoreEmptyLines == options_.ignoreEmptyLines &&
           o.quickCompare == options_.quickCompare;
  }

  std::unique_ptr<CLindrelCtrl> second_;
  std::unique_ptr<engine::TextEngine> textEngine_;  // for the current settings
  reports::WordCompareOptions options_;
  bool configured_ = false;
};

// The list stores 32-bit numbers; saturating keeps a row outside the tables outside them.
std::int32_t ToInt32(long value) {
  return static_cast<std::int32_t>(std::clamp<long>(value, std::numeric_limits<std::int32_t>::min(),
                                                    std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

long CLindrelCtrl::FileCompareCreateReport(const std::string& targetFile, long format, long style) {
  Impl& d = *d_;
  const Properties& p = d.props;
  reports::ReportRequest request;
  request.target = targetFile;
  request.format = format;
  request.style = style;
  request.comparisonActive = d.fileJob.active;
  request.fileMaster = p.fileMaster;
  request.fileSource = p.fileSource;
  request.reportFileMaster = p.reportFileMaster;
  request.reportFileSource = p.reportFileSource;
  request.reportFileTitle = p.reportFileTitle;
  request.highDetail = p.reportHTMLHighDetail == 1;
  request.doubleWideCharset = p.reportDoubleWideCharset == 1;
  request.wordOptions = {p.threadPriority, p.fileIgnoreCase == 1, p.fileIgnoreWhiteSpace == 1,
                         p.fileIgnoreEmptyLines == 1, p.fileQuickCompare == 1};
  if (!request.comparisonActive) {
    request.records = d.fileResults.Snapshot();
    request.counters = d.fileResults.GetCounters();
    request.differWithoutRecords = d.fileDifferWithoutRecords;
  }
  request.onError = [&d](long code, const std::string& detail) { d.FireError(code, detail); };
  request.makeWordComparer = [&d] {
    return std::make_unique<SecondInstanceWordComparer>(d.props.stateFileName);
  };
  try {
    return d.reports.CreateReport(request);
  } catch (const std::exception&) {
    // Out of memory (a forced alignment asking for billions of blank rows, a file too
    // large to load): the component answers instead of throwing to its host, and says
    // which report was not written. An unfinished report never replaced its target.
    d.FireError(kErrorUnableToOpenFile, targetFile);
    return kReportNotWritten;
  }
}

bool CLindrelCtrl::AlignmentChangeAdd(long changeType, long lineStart, long lineEnd,
                                      long numLines) {
  d_->reports.Alignments().Add(
      {ToInt32(changeType), ToInt32(lineStart), ToInt32(lineEnd), ToInt32(numLines)});
  return true;
}

bool CLindrelCtrl::AlignmentChangeClear() {
  d_->reports.Alignments().Clear();
  return true;
}

bool CLindrelCtrl::AlignmentChangeUndo() {
  d_->reports.Alignments().Undo();
  return true;
}

}  // namespace lindrel
