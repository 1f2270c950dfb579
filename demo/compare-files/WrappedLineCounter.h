// WrappedLineCounter: how many lines a cell's text takes when wrapped at word boundaries
// into a column of a given width, in a given font, as the grids draw it.
//
// Most lines of a file fit their column; those are recognised from their length and the
// widths of their characters (cached per character) without laying the text out, so a
// grid of a few hundred thousand rows is measured in a fraction of a second. Only lines
// that come close to the width or exceed it are laid out for real, up to a budget per
// counter; past it (a very narrow column over a very large file) the count is estimated
// from the characters' widths with room to spare, so a row may be a little taller than
// needed but its text is never cut.
//
// Threading: GUI thread only (it uses the font engine).
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QString>

#include <vector>

namespace lindrel::demo {

class WrappedLineCounter {
 public:
  static constexpr int kLayoutBudget = 4000;

  WrappedLineCounter(const QFont& font, qreal width);

  // At least 1.
  int Lines(const QString& text);

  // A bound on the width of any text of `length` characters, for callers that can skip
  // building the text when it is obviously short.
  bool SurelyFits(qsizetype length) const { return length * maxCharWidth_ <= width_ * 0.98; }

 private:
  qreal CharWidth(QChar c);
  int LaidOutLines(const QString& text);
  int EstimatedLines(const QString& text, qreal sum) const;

  QFont font_;
  QFontMetricsF metrics_;
  qreal width_;
  qreal maxCharWidth_;
  int layoutsLeft_ = kLayoutBudget;
  std::vector<float> charWidths_;  // by UTF-16 code unit; negative = not measured yet
};

}  // namespace lindrel::demo
