#include "widgets/view/WrappedLineCounter.h"

#include <QTextLayout>
#include <QTextOption>

#include <algorithm>
#include <cmath>

namespace lindrel::widgets {
namespace {

// Kerning and shaping can make a laid-out line a little narrower or wider than the sum of
// its characters; sums this close to the width are laid out to be sure.
constexpr qreal kCertainMargin = 0.05;

}  // namespace

WrappedLineCounter::WrappedLineCounter(const QFont& font, qreal width)
    : font_(font),
      metrics_(font),
      width_(std::max<qreal>(width, 1.0)),
      maxCharWidth_(std::max<qreal>(metrics_.maxWidth(), 1.0)),
      charWidths_(0x10000, -1.0f) {}

qreal WrappedLineCounter::CharWidth(QChar c) {
  float& width = charWidths_[c.unicode()];
  if (width < 0) width = static_cast<float>(metrics_.horizontalAdvance(c));
  return width;
}

int WrappedLineCounter::Lines(const QString& text, int maxLines) {
  maxLines = std::max(maxLines, 1);
  if (text.isEmpty() || SurelyFits(text.size())) return 1;
  const bool layOut = text.size() <= kLayoutLength && layoutsLeft_ > 0;
  if (layOut) {
    qreal sum = 0;
    for (QChar c : text) sum += CharWidth(c);
    if (sum <= width_ * (1 - kCertainMargin)) return 1;
    --layoutsLeft_;
    return LaidOutLines(text);
  }
  // An estimate is never below sum / width lines: once that reaches maxLines the rest of
  // the text changes nothing.
  const qreal enough = static_cast<qreal>(maxLines) * width_;
  qreal sum = 0;
  qsizetype longestWord = 0, word = 0;
  for (QChar c : text) {
    sum += CharWidth(c);
    word = c.isSpace() ? 0 : word + 1;
    longestWord = std::max(longestWord, word);
    if (sum >= enough) return maxLines;
  }
  if (sum <= width_ * (1 - kCertainMargin)) return 1;
  return std::min(EstimatedLines(sum, longestWord), maxLines);
}

int WrappedLineCounter::EstimatedLines(qreal sum, qsizetype longestWord) const {
  // Wrapping at word boundaries leaves part of each line empty: allow for a word's
  // width at the end of every line.
  const qreal slack =
      std::min<qreal>(static_cast<qreal>(longestWord) * maxCharWidth_, width_ * 0.5);
  return std::max(1, static_cast<int>(std::ceil(sum / std::max<qreal>(width_ - slack, 1.0))));
}

int WrappedLineCounter::LaidOutLines(const QString& text) {
  QTextOption option;
  option.setWrapMode(QTextOption::WordWrap);
  QTextLayout layout(text, font_);
  layout.setTextOption(option);
  layout.beginLayout();
  int lines = 0;
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(width_);
    ++lines;
  }
  layout.endLayout();
  return std::max(lines, 1);
}

}  // namespace lindrel::widgets
