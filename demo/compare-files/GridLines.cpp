#include "demo/compare-files/GridLines.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

#include "demo/common/FileNames.h"

namespace lindrel::demo {

bool GridLines::Load(const QString& path, QString* error) {
  Clear();
  // Opened by the name's own bytes (FileNames.h); Qt's conversion would lose some.
  const int fd = ::open(FileNameToBytes(path).constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (error != nullptr) *error = QString::fromLocal8Bit(std::strerror(errno));
    return false;
  }
  QFile file;
  if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(fd);
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
  qsizetype size = content_.size();
  if (const void* end = std::memchr(data, '\x1a', static_cast<size_t>(size)))
    size = static_cast<const char*>(end) - data;
  qsizetype start = 0;
  while (start < size) {
    const void* lf = std::memchr(data + start, '\n', static_cast<size_t>(size - start));
    const qsizetype end = lf != nullptr ? static_cast<const char*>(lf) - data : size;
    qsizetype length = end - start;
    if (lf != nullptr && length > 0 && data[end - 1] == '\r') --length;
    spans_.push_back({start, length});
    start = end + 1;
  }
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
  // The decoder drops a leading byte-order mark unless told otherwise.
  QStringConverter::Flags flags = QStringConverter::Flag::Stateless;
  if (span.offset != 0) flags |= QStringConverter::Flag::ConvertInitialBom;
  QStringDecoder utf8(QStringDecoder::Utf8, flags);
  QString text = utf8.decode(bytes);
  if (utf8.hasError()) text = QString::fromLatin1(bytes);
  if (text.contains(QLatin1Char('\t'))) text.replace(QLatin1Char('\t'), QStringLiteral("    "));
  return text;
}

}  // namespace lindrel::demo
