#include "widgets/view/ParagraphWords.h"

#include <algorithm>

namespace lindrel::widgets {
namespace {

bool IsDelimiter(QChar c) {
  const char16_t u = c.unicode();
  return u == 10 || u == 13 || u == 32 || u == 7;
}

}  // namespace

ParagraphWords::ParagraphWords(const QString& text) : text_(text) {
  for (int i = 0; i < text.size(); ++i) {
    if (IsDelimiter(text[i])) ends_.push_back(i + 1);
  }
  if (ends_.empty() ? !text.isEmpty() : ends_.back() < text.size())
    ends_.push_back(static_cast<int>(text.size()));
}

WordRange ParagraphWords::Range(int k) const {
  return {k == 1 ? 0 : ends_[static_cast<size_t>(k - 2)], ends_[static_cast<size_t>(k - 1)]};
}

QString ParagraphWords::Text(int first, int last) const {
  if (!Has(first) || !Has(last) || last < first) return {};
  const int begin = Range(first).begin;
  return text_.mid(begin, Range(last).end - begin);
}

int ParagraphWords::After(int k) const {
  if (k < 1) return 0;
  return Has(k) ? Range(k).end : static_cast<int>(text_.size());
}

int ParagraphWords::Before(int k) const {
  if (k < 1) return 0;
  return Has(k) ? Range(k).begin : static_cast<int>(text_.size());
}

QByteArray ParagraphWords::WordFile() const {
  QByteArray file;
  for (int k = 1; k <= Count(); ++k) {
    const WordRange word = Range(k);
    file += text_.mid(word.begin, word.end - word.begin).toUtf8();
    file += '\n';
  }
  return file;
}

}  // namespace lindrel::widgets
