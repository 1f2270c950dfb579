// RowWordMarks: the words that differ in each changed row of a comparison view, for the
// grids to mark as they paint the row ("Mark Words in Every Change").
//
// A row is looked at only when a grid paints it, and only when both files have a line on
// it and it belongs to a change: a line alone on its row differs as a whole, which its
// colour says already. The words (as the detail view splits them: each with its
// delimiter) are compared with a longest common subsequence of their own, under the
// component's ignore-case and ignore-white-space settings, so no files are written and
// nothing else runs. The cost per row is bounded: at most kMarkedCharacters characters
// of each line are compared, the common words at both ends are set aside first, and a
// middle too large for the table (more than kMaxCells word pairs) is marked as a whole.
// The marks of the last kCachedRows rows painted are kept.
//
// Threading: GUI thread only (WordDifferences is a plain function).
#pragma once

#include <QCache>
#include <QString>

#include <functional>
#include <vector>

#include "widgets/view/Testable.h"

namespace lindrel::widgets {

class GridSet;

// Characters [begin, end) of a line. In the all-in-one text a deletion is an empty
// range: where the removed words stood.
struct WordMark {
  enum class Kind : std::uint8_t { Changed, Added, Deleted };
  int begin = 0;
  int end = 0;
  Kind kind = Kind::Changed;
  bool operator==(const WordMark&) const = default;
};

struct WordCompareOptions {
  bool ignoreCase = false;        // A-Z match a-z
  bool ignoreWhiteSpace = false;  // blanks, tabs, line ends do not count
};

struct WordDifferences {
  std::vector<WordMark> master;  // changed and deleted words of the master line
  std::vector<WordMark> source;  // changed and added words of the source line
  // Of the source line as the all-in-one grid shows it: changed and added words, and
  // where deleted words stood.
  std::vector<WordMark> merged;
};

// The words of `master` and `source` that differ, in the order of the lines.
LINDREL_WIDGETS_TESTABLE WordDifferences DiffWords(const QString& master, const QString& source,
                                                   WordCompareOptions options = {});

class LINDREL_WIDGETS_TESTABLE RowWordMarks {
 public:
  static constexpr qsizetype kMarkedCharacters = 4000;
  static constexpr long kMaxCells = 250000;
  static constexpr int kCachedRows = 2048;

  // `grids` outlives the marks; `options` gives the comparison's settings at the time a
  // row is first marked.
  RowWordMarks(const GridSet& grids, std::function<WordCompareOptions()> options);

  bool On() const { return on_; }
  void SetOn(bool on);
  // The rows changed (a new result, new settings): marks are made anew.
  void Forget() { cache_.clear(); }

  // The marks of grid row `gridRow` (empty when off or when the row has none).
  const WordDifferences& Of(int gridRow);
  // Rows whose marks were worked out, since the marks were made (for measuring).
  long RowsWorkedOut() const { return worked_; }

 private:
  const GridSet& grids_;
  std::function<WordCompareOptions()> options_;
  QCache<int, WordDifferences> cache_{kCachedRows};
  WordDifferences none_;
  bool on_ = false;
  long worked_ = 0;
};

}  // namespace lindrel::widgets
