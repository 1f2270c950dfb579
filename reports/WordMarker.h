// WordMarker: compares the words of the master and source text of one HTML row. Each side
// is written as a paragraph file (one word per line) and the two files are compared by a
// WordComparer. WordMarks turns the records, numbered in words, into font and style tags,
// from the last record to the first so that inserted tags never move the words of a
// record still to come.
//
// A marker belongs to one report on one thread, and so do the WordMarks of a report
// (possibly another thread than the marker's); the counters they add to are that
// report's own.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/ChangeRecord.h"
#include "reports/ParagraphFiles.h"
#include "reports/ReportInputs.h"
#include "reports/WordText.h"

namespace lindrel::reports {

// The comparison switches the word comparison takes over from the reporting component.
struct WordCompareOptions {
  long threadPriority = 0;
  bool ignoreCase = false;
  bool ignoreWhiteSpace = false;
  bool ignoreEmptyLines = false;
  bool quickCompare = false;
};

// Compares two paragraph files. Used by one report's thread at a time. Implemented on a second
// component instance by the control layer, and by fakes in tests.
class WordComparer {
 public:
  virtual ~WordComparer() = default;
  // Fills `records` with the word-level change records of the two paragraph texts
  // (word numbers in place of line numbers). The paragraph files at `paths` exist, but
  // during a report they may still hold an earlier row's words: compare the bytes. The
  // bytes are valid for the call only. False when the comparison could not be run (busy,
  // engine trouble).
  virtual bool CompareWritten(const ParagraphPaths& paths, std::string_view masterBytes,
                              std::string_view sourceBytes, const WordCompareOptions& options,
                              std::vector<engine::ChangeRecord>& records) = 0;
};

struct MarkedPair {
  std::string master;
  std::string source;
};

// Turns the word records of one row into its marked texts and counts them. Needs no
// comparer, so a report can mark a row on another thread than the one comparing it.
class WordMarks {
 public:
  explicit WordMarks(ChangeCounts& counters) : counters_(counters) {}

  // Side by side: both texts with their differing words marked, into `markedMaster` and
  // `markedSource` (their storage reused).
  void SideBySide(const std::vector<engine::ChangeRecord>& records, std::string_view master,
                  std::string_view source, std::string& markedMaster, std::string& markedSource);
  // All in one: the source text with added and changed words marked and the master's
  // changed and deleted words inserted, struck through, into `merged`.
  void AllInOne(const std::vector<engine::ChangeRecord>& records, std::string_view master,
                std::string_view source, std::string& merged);

 private:
  ChangeCounts& counters_;
  // Kept for their storage.
  std::vector<MarkedRun> masterRuns_, sourceRuns_;
  MarkScratch scratch_;
};

class WordMarker {
 public:
  // `comparer` is asked for the comparer on first use (it may create it then); it may
  // answer nullptr, which fails every row.
  WordMarker(std::function<WordComparer*()> comparer, WordCompareOptions options,
             ChangeCounts& counters);
  // Leaves the paragraph files holding the last row's words.
  ~WordMarker();
  WordMarker(const WordMarker&) = delete;
  WordMarker& operator=(const WordMarker&) = delete;

  // True when the row's texts need the word comparison, which rows of equal texts and
  // rows with one empty side of plain text do not.
  static bool NeedsComparison(std::string_view master, std::string_view source);
  // Asks for the comparer now, on the calling thread, when it is not there yet (the
  // component behind it belongs to the thread that creates it).
  void PrepareComparer();

  // The word records of one row, for WordMarks, into `records` (its storage reused).
  // False when the word comparison failed. Counts nothing.
  bool CompareRow(std::string_view master, std::string_view source,
                  std::vector<engine::ChangeRecord>& records);

  // CompareRow and WordMarks::SideBySide: both texts with their differing words marked.
  // Nothing when the word comparison failed.
  std::optional<MarkedPair> MarkSideBySide(std::string_view master, std::string_view source);

  // CompareRow and WordMarks::AllInOne. Nothing on failure.
  std::optional<std::string> MergeAllInOne(std::string_view master, std::string_view source);

 private:
  // The row's word records into `records`, which may hold an earlier row's on failure.
  bool CompareWords(std::string_view master, std::string_view source,
                    std::vector<engine::ChangeRecord>& records);
  // Fills `records` for a row with one empty side without running the comparison; false
  // when the row needs the comparison after all.
  bool AnswerOneSidedRow(std::string_view master, std::string_view source,
                         std::vector<engine::ChangeRecord>& records);

  std::function<WordComparer*()> comparerSource_;
  bool filesReset_ = false;
  WordComparer* comparer_ = nullptr;
  WordCompareOptions options_;
  std::vector<engine::ChangeRecord> records_;  // for MarkSideBySide and MergeAllInOne
  WordMarks marks_;
};

}  // namespace lindrel::reports
