// Placeholder: the report state of one component (line tables, alignments, word marker).
#pragma once

namespace lindrel::reports {

class ReportState {
 public:
  // A file comparison was accepted: the loaded line tables are stale.
  void OnFileCompareStarted() {}
  // The running file comparison was aborted.
  void OnFileCompareAborted() {}
  // Releases the word-comparison instance (first step of the component's destruction).
  void ReleaseWordComparer() {}
};

}  // namespace lindrel::reports
