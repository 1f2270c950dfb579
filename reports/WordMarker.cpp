#include "reports/WordMarker.h"

#include <algorithm>

#include "reports/HtmlColour.h"
#include "reports/WordText.h"

namespace lindrel::reports {

namespace {

constexpr WordStyle kBold{true, false, false};
constexpr WordStyle kBoldUnderlined{true, true, false};
constexpr WordStyle kBoldStruck{true, false, true};

const std::string& DefaultColourOpener() {
  static const std::string opener = "<font color=" + QuotedColour(kDefaultTextColour) + ">";
  return opener;
}

// Puts deleted master words back into the merged text right after the separator that
// ends word `afterWord`. Before the first word they go to the very start; where word
// `afterWord` ends the text without a separator, or the words would run into the text
// that follows, a blank keeps them apart so that the word numbering stays right.
void InsertDeletedWords(std::string& merged, long afterWord, std::string_view words) {
  std::size_t at = 0;
  bool blankBefore = false;
  if (afterWord >= 1) {
    const std::size_t end = WordEnd(merged, afterWord);
    if (end >= merged.size()) {
      at = merged.size();
      blankBefore = at > 0 && !IsWordSeparator(merged[at - 1]);
    } else {
      at = end + 1;
    }
  }
  const bool blankAfter = at < merged.size() && !IsWordSeparator(merged[at]) && !words.empty() &&
                          !IsWordSeparator(words.back());
  InsertPieces(merged, at,
               {blankBefore ? std::string_view(" ") : std::string_view(), words,
                blankAfter ? std::string_view(" ") : std::string_view()});
}

// Paragraph lines of a text: one per piece; the last piece may lack its separator.
long ParagraphLineCount(std::string_view text) {
  long lines = 0;
  for (char c : text) lines += IsWordSeparator(c) ? 1 : 0;
  if (!text.empty() && !IsWordSeparator(text.back())) ++lines;
  return lines;
}

// A row with one empty side whose other side holds plain text: every word is one block.
bool OneSidedPlain(std::string_view master, std::string_view source) {
  if (!master.empty() && !source.empty()) return false;
  const std::string_view words = master.empty() ? source : master;
  // Control bytes change how the engine reads the file (a line break gives the paragraph
  // an empty line, which ignoring empty lines may discard; Ctrl-Z ends it). Loaded lines
  // never hold them, but a text that does goes to the engine.
  return std::none_of(words.begin(), words.end(),
                      [](char c) { return static_cast<unsigned char>(c) < 32; });
}

}  // namespace

bool WordMarker::NeedsComparison(std::string_view master, std::string_view source) {
  return master != source && !OneSidedPlain(master, source);
}

void WordMarker::PrepareComparer() {
  if (comparer_ == nullptr && comparerSource_) comparer_ = comparerSource_();
}

bool WordMarker::AnswerOneSidedRow(std::string_view master, std::string_view source,
                                   std::vector<engine::ChangeRecord>& records) {
  if (!OneSidedPlain(master, source)) return false;
  if (options_.quickCompare) return true;  // the files differ, but without records
  const long lines = ParagraphLineCount(master.empty() ? source : master);
  if (master.empty()) {
    records.push_back({engine::kAddition, 0, 0, 1, lines});
  } else {
    records.push_back({engine::kDeletion, 1, lines, 0, 0});
  }
  return true;
}

WordMarker::WordMarker(std::function<WordComparer*()> comparer, WordCompareOptions options,
                       ChangeCounts& counters)
    : comparerSource_(std::move(comparer)), options_(options), marks_(counters) {}

WordMarker::~WordMarker() {
  if (!filesReset_) return;
  ParagraphFiles& files = ParagraphFiles::Instance();
  auto lock = files.Lock();
  // The report is written; files that cannot take its last row only leave an older
  // row's words in the scratch directory.
  files.Flush();
}

bool WordMarker::CompareWords(std::string_view master, std::string_view source,
                              std::vector<engine::ChangeRecord>& records) {
  ParagraphFiles& files = ParagraphFiles::Instance();
  auto lock = files.Lock();
  if (!filesReset_) {
    // Once per report: reopen at the current scratch directory, and write the first
    // row so that the files exist for the comparison.
    files.Reset();
    filesReset_ = true;
    if (!files.Write(master, source)) return false;
  } else {
    files.Stage(master, source);
  }
  records.clear();
  // Rows whose outcome the comparison could only confirm: two equal texts have no
  // differences under any switch, and against an empty text every word is one block
  // (the files are written all the same).
  if (master == source) return true;
  if (AnswerOneSidedRow(master, source, records)) return true;
  if (comparer_ == nullptr && comparerSource_) comparer_ = comparerSource_();
  if (comparer_ == nullptr) return false;
  return comparer_->CompareWritten(files.Paths(), files.MasterBytes(), files.SourceBytes(),
                                   options_, records);
}

bool WordMarker::CompareRow(std::string_view master, std::string_view source,
                            std::vector<engine::ChangeRecord>& records) {
  records.clear();
  return CompareWords(master, source, records);
}

std::optional<MarkedPair> WordMarker::MarkSideBySide(std::string_view master,
                                                     std::string_view source) {
  if (!CompareWords(master, source, records_)) return std::nullopt;
  MarkedPair pair;
  marks_.SideBySide(records_, master, source, pair.master, pair.source);
  return pair;
}

std::optional<std::string> WordMarker::MergeAllInOne(std::string_view master,
                                                     std::string_view source) {
  if (!CompareWords(master, source, records_)) return std::nullopt;
  std::string merged;
  marks_.AllInOne(records_, master, source, merged);
  return merged;
}

void WordMarks::SideBySide(const std::vector<engine::ChangeRecord>& records,
                           std::string_view master, std::string_view source,
                           std::string& markedMaster, std::string& markedSource) {
  masterRuns_.clear();
  sourceRuns_.clear();
  for (const engine::ChangeRecord& r : records) {
    switch (r.kind) {
      case engine::kDeletion:
        ++counters_.deletions;
        masterRuns_.push_back({r.masterStart, r.masterEnd, kDeletedColour, kBold});
        break;
      case engine::kChange:
        ++counters_.changes;
        masterRuns_.push_back({r.masterStart, r.masterEnd, kChangedColour, kBold});
        sourceRuns_.push_back({r.sourceStart, r.sourceEnd, kChangedColour, kBold});
        break;
      case engine::kAddition:
        ++counters_.additions;
        sourceRuns_.push_back({r.sourceStart, r.sourceEnd, kAddedColour, kBold});
        break;
      default: break;
    }
  }
  const std::string& opener = DefaultColourOpener();
  markedMaster.assign(opener);
  AppendMarkedRuns(master, masterRuns_, scratch_, markedMaster);
  markedSource.assign(opener);
  AppendMarkedRuns(source, sourceRuns_, scratch_, markedSource);
}

void WordMarks::AllInOne(const std::vector<engine::ChangeRecord>& records, std::string_view master,
                         std::string_view source, std::string& merged) {
  merged.assign(source);
  for (auto r = records.rbegin(); r != records.rend(); ++r) {
    switch (r->kind) {
      case engine::kAddition:
        ++counters_.additions;
        MarkWords(merged, r->sourceStart, r->sourceEnd, kAddedColour, kBoldUnderlined);
        break;
      case engine::kChange:
        ++counters_.changes;
        MarkWords(merged, r->sourceStart, r->sourceEnd, kChangedColour, kBoldUnderlined);
        // The opening tags just inserted hold two separators, so the last changed source
        // word is now word sourceEnd + 2.
        InsertMarkedRun(merged, r->sourceEnd + 2, TakeWords(master, r->masterStart, r->masterEnd),
                        kChangedColour, kBoldStruck);
        break;
      case engine::kDeletion:
        ++counters_.deletions;
        InsertDeletedWords(merged, r->sourceStart, TakeWords(master, r->masterStart, r->masterEnd));
        MarkWords(merged, r->sourceStart + 1, r->sourceStart + 1 + (r->masterEnd - r->masterStart),
                  kDeletedColour, kBoldStruck);
        break;
      default: break;
    }
  }
  merged.insert(0, DefaultColourOpener());
}

}  // namespace lindrel::reports
