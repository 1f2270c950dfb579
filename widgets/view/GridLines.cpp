#include "widgets/view/GridLines.h"

#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <limits>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "lindrel/widgets/FileNames.h"
#include "widgets/view/HugePages.h"

namespace lindrel::widgets {

namespace {

// Files from this size on are mapped rather than read.
constexpr qsizetype kMapFrom = qsizetype{1} << 20;
// A mapped file's pages are given back in steps of this size while its lines are found.
constexpr qsizetype kReleaseStep = qsizetype{16} << 20;

// Reads the whole file at `fd` into `bytes`, sized from its status first; a file that
// grows meanwhile is read to its end. False (errno set) on a read error.
bool ReadAll(int fd, QByteArray& bytes) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) return false;
  qsizetype capacity = std::max<qsizetype>(info.st_size, 0) + 1;
  bytes = QByteArray(capacity, Qt::Uninitialized);
  AdviseHugePages(bytes.data(), static_cast<size_t>(capacity));
  qsizetype size = 0;
  for (;;) {
    if (size == capacity) {
      capacity *= 2;
      bytes.resize(capacity);
    }
    const ssize_t got = ::read(fd, bytes.data() + size, static_cast<size_t>(capacity - size));
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    size += got;
  }
  bytes.truncate(size);
  return true;
}

}  // namespace

bool GridLines::Load(const QString& path, QString* error) {
  Clear();
  // Opened by the name's own bytes (FileNames.h); Qt's conversion would lose some.
  const int fd = ::open(FileNameToBytes(path).constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (error != nullptr) *error = QString::fromLocal8Bit(std::strerror(errno));
    return false;
  }
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size >= kMapFrom &&
      info.st_size < std::numeric_limits<qsizetype>::max() &&
      mapping_.Map(fd, static_cast<size_t>(info.st_size))) {
    descriptor_ = fd;
    content_ = QByteArray::fromRawData(mapping_.data(), static_cast<qsizetype>(mapping_.size()));
    Split();
    return true;
  }
  QByteArray bytes;
  const bool read = ReadAll(fd, bytes);
  const int readError = errno;
  ::close(fd);
  if (!read) {
    if (error != nullptr) *error = QString::fromLocal8Bit(std::strerror(readError));
    return false;
  }
  SetContent(std::move(bytes));
  return true;
}

void GridLines::SetContent(QByteArray bytes) {
  content_ = std::move(bytes);
  mapping_.Unmap();
  CloseDescriptor();
  Split();
}

void GridLines::Clear() {
  longLines_.clear();
  content_.clear();
  mapping_.Unmap();
  CloseDescriptor();
  starts32_.clear();
  starts32_.shrink_to_fit();
  starts64_.clear();
  starts64_.shrink_to_fit();
  count_ = 0;
  end_ = 0;
}

GridLines::~GridLines() { CloseDescriptor(); }

void GridLines::CloseDescriptor() {
  if (descriptor_ >= 0) ::close(descriptor_);
  descriptor_ = -1;
}

void GridLines::GiveBackPages() const {
  if (mapping_.data() != nullptr) mapping_.Release(0, mapping_.size());
}

void GridLines::Split() {
  longLines_.clear();
  starts32_.clear();
  starts64_.clear();
  const char* data = content_.constData();
  const qsizetype size = content_.size();
  const bool mapped = mapping_.data() != nullptr;
  const bool narrow = size < static_cast<qsizetype>(UINT32_MAX);
  auto add = [&](qsizetype start) {
    if (narrow)
      starts32_.push_back(static_cast<std::uint32_t>(start));
    else
      starts64_.push_back(start);
  };
  if (narrow) {
    starts32_.reserve(static_cast<size_t>(size / 32 + 2));
    AdviseHugePages(starts32_.data(), starts32_.capacity() * sizeof(std::uint32_t));
  }
  if (size > 0) add(0);
  // One pass for the line feeds and the byte 26 that ends the content, in steps, so that
  // a mapped file never has all its pages in memory at once: each step's pages are asked
  // for in one go and given back once its lines are found.
  qsizetype end = size;
  for (qsizetype from = 0; from < end; from += kReleaseStep) {
    const qsizetype to = std::min(from + kReleaseStep, size);
    if (mapped) mapping_.Prefetch(static_cast<size_t>(from), static_cast<size_t>(to - from));
    qsizetype at = from;
#if defined(__SSE2__)
    // Sixteen bytes at a time: a million short lines would otherwise cost a million calls.
    const __m128i feed = _mm_set1_epi8('\n');
    const __m128i stop = _mm_set1_epi8('\x1a');
    for (; to - at >= 16; at += 16) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
      auto feeds = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, feed)));
      if (const auto stops =
              static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, stop)))) {
        end = at + __builtin_ctz(stops);
        feeds &= stops - 1;  // the line feeds before it
      }
      for (; feeds != 0; feeds &= feeds - 1) add(at + __builtin_ctz(feeds) + 1);
      if (end != size) break;
    }
#endif
    for (; at < to && end == size; ++at) {
      if (data[at] == '\x1a')
        end = at;
      else if (data[at] == '\n')
        add(at + 1);
    }
    if (mapped) mapping_.Release(static_cast<size_t>(from), static_cast<size_t>(to - from));
  }
  end_ = end;
  // The end entry: one past the last line's line feed, or past the end of a last line
  // without one. A line feed as the last byte has already added it.
  if (end > 0 && data[end - 1] != '\n') add(end + 1);
  if (end == 0) {
    starts32_.clear();
    starts64_.clear();
    add(0);
  }
  // Only the lines on show are read again; the rest of a mapped file is given back.
  if (mapped) mapping_.Release(0, mapping_.size());
  // Reserved from a guess; what is kept is the exact size.
  starts32_.shrink_to_fit();
  starts64_.shrink_to_fit();
  const size_t starts = narrow ? starts32_.size() : starts64_.size();
  count_ = static_cast<int>(starts - 1);
}

GridLines::Span GridLines::SpanOf(int index) const {
  const qsizetype start = StartOf(index);
  const qsizetype end = StartOf(index + 1) - 1;  // the line feed, or end_ when none
  qsizetype length = end - start;
  // A carriage return belongs to the line end only right before a line feed.
  if (end < end_ && length > 0 && content_.constData()[end - 1] == '\r') --length;
  return {start, length};
}

bool GridLines::IsEmpty(int index) const {
  // Only a line of one byte needs a look at it (a carriage return before the line feed),
  // and for a mapped file a look aside: asked of every changed row, a look through the
  // mapping would bring the file back into memory.
  const qsizetype start = StartOf(index);
  const qsizetype end = StartOf(index + 1) - 1;
  if (end - start != 1) return end == start;
  if (end == end_) return false;  // a last line without a line feed
  char byte = 0;
  if (descriptor_ < 0 || ::pread(descriptor_, &byte, 1, static_cast<off_t>(start)) != 1)
    byte = content_.constData()[start];
  return byte == '\r';
}

QByteArray GridLines::Bytes(int index) const {
  const Span span = SpanOf(index);
  return QByteArray::fromRawData(content_.constData() + span.offset, span.length);
}

GridLines::LongLine& GridLines::Facts(int index) const {
  auto [entry, added] = longLines_.try_emplace(index);
  if (added) {
    const Span span = SpanOf(index);
    const QByteArrayView bytes(content_.constData() + span.offset, span.length);
    entry->second.utf8 = bytes.isValidUtf8();
    entry->second.tabs = bytes.count('\t');
  }
  return entry->second;
}

qsizetype GridLines::LengthBound(int index) const {
  const Span span = SpanOf(index);
  if (span.length > kLongLine) return span.length + 3 * Facts(index).tabs;
  const char* bytes = content_.constData() + span.offset;
  qsizetype tabs = 0;
  for (qsizetype i = 0; i < span.length; ++i) tabs += bytes[i] == '\t';
  // A UTF-8 line never has more characters than bytes; a tab shows as four.
  return span.length + 3 * tabs;
}

namespace {

// `bytes` as a grid shows them: UTF-8 when `utf8` (a leading byte-order mark dropped when
// `fileStart`), else Latin-1; tabs as four blanks.
QString Decode(QByteArrayView bytes, bool utf8, bool fileStart) {
  QString text;
  if (utf8) {
    // The decoder drops a leading byte-order mark unless told otherwise.
    QStringConverter::Flags flags = QStringConverter::Flag::Stateless;
    if (!fileStart) flags |= QStringConverter::Flag::ConvertInitialBom;
    QStringDecoder decoder(QStringDecoder::Utf8, flags);
    text = decoder.decode(bytes);
  } else {
    text = QString::fromLatin1(bytes);
  }
  if (text.contains(QLatin1Char('\t'))) text.replace(QLatin1Char('\t'), QStringLiteral("    "));
  return text;
}

// The first `maxCharacters` UTF-16 units of `text`, a pair never split.
QString Truncated(QString text, qsizetype maxCharacters) {
  if (text.size() > maxCharacters) {
    qsizetype keep = maxCharacters;
    if (keep > 0 && text[keep - 1].isHighSurrogate()) --keep;
    text.truncate(keep);
  }
  return text;
}

}  // namespace

QString GridLines::Text(int index) const {
  const Span span = SpanOf(index);
  QByteArrayView bytes(content_.constData() + span.offset, span.length);
  const bool utf8 = span.length > kLongLine ? Facts(index).utf8 : bytes.isValidUtf8();
  return Decode(bytes, utf8, span.offset == 0);
}

QString GridLines::Text(int index, qsizetype maxCharacters) const {
  const Span span = SpanOf(index);
  maxCharacters = std::max<qsizetype>(maxCharacters, 0);
  QString text;
  if (span.length > kLongLine && maxCharacters <= kKeptCharacters) {
    LongLine& facts = Facts(index);
    if (!facts.started) {
      facts.start = Start(index, kKeptCharacters, facts.utf8);
      facts.started = true;
    }
    text = facts.start;
  } else {
    const bool utf8 =
        span.length > kLongLine
            ? Facts(index).utf8
            : QByteArrayView(content_.constData() + span.offset, span.length).isValidUtf8();
    text = Start(index, maxCharacters, utf8);
  }
  return Truncated(std::move(text), maxCharacters);
}

QString GridLines::Start(int index, qsizetype maxCharacters, bool utf8) const {
  const Span span = SpanOf(index);
  return StartOf(QByteArrayView(content_.constData() + span.offset, span.length), span.offset,
                 maxCharacters, utf8);
}

QString GridLines::StartOf(QByteArrayView bytes, qsizetype offset, qsizetype maxCharacters,
                           bool utf8) {
  // A character takes at most four bytes; a byte-order mark three more.
  qsizetype end = std::min(bytes.size(), 4 * maxCharacters + 3);
  // Not inside a character.
  while (utf8 && end > 0 && end < bytes.size() &&
         (static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80)
    --end;
  return Decode(bytes.first(end), utf8, offset == 0);
}

QString GridLines::TextAside(int index, qsizetype maxCharacters) const {
  // The span without SpanOf, which looks at the byte before the line feed in the mapping.
  const qsizetype start = StartOf(index);
  const qsizetype end = std::min(StartOf(index + 1) - 1, end_);
  if (descriptor_ < 0 || end - start > kLongLine) return Text(index, maxCharacters);
  maxCharacters = std::max<qsizetype>(maxCharacters, 0);
  // Read whole: whether the line is UTF-8 depends on all of its bytes.
  char buffer[kLongLine];
  qsizetype got = 0;
  while (got < end - start) {
    const ssize_t n = ::pread(descriptor_, buffer + got, static_cast<size_t>(end - start - got),
                              static_cast<off_t>(start + got));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return Text(index, maxCharacters);  // shortened: as the mapping reads it
    got += n;
  }
  // A carriage return belongs to the line end only right before a line feed.
  if (end < end_ && got > 0 && buffer[got - 1] == '\r') --got;
  const QByteArrayView bytes(buffer, got);
  return Truncated(StartOf(bytes, start, maxCharacters, bytes.isValidUtf8()), maxCharacters);
}

}  // namespace lindrel::widgets
