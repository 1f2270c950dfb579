#include "demo/compare-files/GridLines.h"

#include <QFile>
#include <QStringDecoder>

#include <cstring>

namespace lindrel::demo {

bool GridLines::Load(const QString& path, QString* error) {
  Clear();
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    if (error != nullptr) *error = file.errorString();
    return false;
  }
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    if (error != nullptr) *error = file.errorString();
    return false;
  }
  SetContent(std::move(bytes));
  return true;
}

void GridLines::SetContent(QByteArray bytes) {
  content_ = std::move(bytes);
  Split();
}

void GridLines::Clear() {
  content_.clear();
  spans_.clear();
  spans_.shrink_to_fit();
}

void GridLines::Split() {
  spans_.clear();
  const char* data = content_.constData();
  const qsizetype size = content_.size();
  qsizetype pos = 0;
  while (pos < size) {
    const void* cr = std::memchr(data + pos, '\r', static_cast<size_t>(size - pos));
    qsizetype end = cr != nullptr ? static_cast<const char*>(cr) - data : size;
    AddReadLine(pos, end);
    pos = end + 1;
    if (pos < size && data[pos] == '\n') ++pos;
  }
}

void GridLines::AddReadLine(qsizetype begin, qsizetype end) {
  const char* data = content_.constData();
  qsizetype start = begin;
  bool sawLineFeed = false;
  while (start <= end) {
    const void* lf = std::memchr(data + start, '\n', static_cast<size_t>(end - start));
    if (lf == nullptr) break;
    qsizetype at = static_cast<const char*>(lf) - data;
    spans_.push_back({start, at - start});
    sawLineFeed = true;
    start = at + 1;
  }
  // A line without line feeds is a row even when empty; after a line feed only a
  // non-empty remainder is.
  if (!sawLineFeed || start < end) spans_.push_back({start, end - start});
}

QByteArray GridLines::Bytes(int index) const {
  const Span& span = spans_[index];
  return QByteArray::fromRawData(content_.constData() + span.offset, span.length);
}

qsizetype GridLines::LengthBound(int index) const {
  const Span& span = spans_[index];
  const char* bytes = content_.constData() + span.offset;
  qsizetype tabs = 0;
  for (qsizetype i = 0; i < span.length; ++i) tabs += bytes[i] == '\t';
  // A UTF-8 line never has more characters than bytes; a tab shows as four.
  return span.length + 3 * tabs;
}

QString GridLines::Text(int index) const {
  const Span& span = spans_[index];
  QByteArrayView bytes(content_.constData() + span.offset, span.length);
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8.decode(bytes);
  if (utf8.hasError()) text = QString::fromLatin1(bytes);
  if (text.contains(QLatin1Char('\t'))) text.replace(QLatin1Char('\t'), QStringLiteral("    "));
  return text;
}

}  // namespace lindrel::demo
