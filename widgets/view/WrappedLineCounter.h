// WrappedLineCounter: how many lines a cell's text takes when wrapped at word boundaries
// into a column of a given width, in a given font, as the grids draw it.
//
// Most lines of a file fit their column; those are recognised from their length and the
// widths of their characters (cached per character) without laying the text out, so a
// grid of a few hundred thousand rows is measured in a fraction of a second. Only lines
// that come close to the width or exceed it are laid out for real, up to a budget per
// counter, and only lines of at most kLayoutLength characters (laying out costs more
// than linear time in the length: a line of millions of characters would take seconds).
// Past either bound the count is estimated from the characters' widths with room to
// spare, so a row may be a little taller than needed but its text is never cut. The
// estimate stops as soon as the text surely needs the caller's largest useful count.
//
// Threading: GUI thread only (it uses the font engine).
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QString>

#include <limits>
#include <vector>

#include "widgets/view/Testable.h"

namespace lindrel::widgets {

class LINDREL_WIDGETS_TESTABLE WrappedLineCounter {
 public:
  static constexpr int kLayoutBudget = 4000;
  static constexpr qsizetype kLayoutLength = 2000;

  WrappedLineCounter(const QFont& font, qreal width);

  // The number of lines `text` wraps to, at least 1; or `maxLines` when it needs at
  // least that many (a row is never taller than maxLines, so more is not worth counting).
  // Never fewer lines than the text needs, up to maxLines.
  int Lines(const QString& text, int maxLines = std::numeric_limits<int>::max());

  // A bound on the width of any text of `length` characters, for callers that can skip
  // building the text when it is obviously short.
  bool SurelyFits(qsizetype length) const { return length * maxCharWidth_ <= width_ * 0.98; }

  // Lays out the next kLayoutBudget texts for real again (for a caller that counts a few
  // rows at a time, as they are shown).
  void RefillLayoutBudget() { layoutsLeft_ = kLayoutBudget; }

 private:
  qreal CharWidth(QChar c);
  int LaidOutLines(const QString& text);
  int EstimatedLines(qreal sum, qsizetype longestWord) const;

  QFont font_;
  QFontMetricsF metrics_;
  qreal width_;
  qreal maxCharWidth_;
  int layoutsLeft_ = kLayoutBudget;
  std::vector<float> charWidths_;  // by UTF-16 code unit; negative = not measured yet
};

}  // namespace lindrel::widgets
