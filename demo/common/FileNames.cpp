#include "demo/common/FileNames.h"

#include <QDir>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace lindrel::demo {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;  // + a byte from 0x80 to 0xFF

bool IsEscape(char16_t unit) { return unit >= 0xDC80 && unit <= 0xDCFF; }

bool Continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length of the well-formed UTF-8 sequence at `bytes[i]` (the ranges of RFC 3629: no
// overlong forms, no surrogates, nothing above U+10FFFF), 0 when there is none.
int SequenceLength(QByteArrayView bytes, qsizetype i) {
  const auto at = [&](qsizetype k) { return static_cast<unsigned char>(bytes[i + k]); };
  const qsizetype left = bytes.size() - i;
  const unsigned char lead = at(0);
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return left >= 2 && Continuation(at(1)) ? 2 : 0;
  if (lead >= 0xE0 && lead <= 0xEF) {
    if (left < 3 || !Continuation(at(1)) || !Continuation(at(2))) return 0;
    if (lead == 0xE0 && at(1) < 0xA0) return 0;  // overlong
    if (lead == 0xED && at(1) > 0x9F) return 0;  // a surrogate
    return 3;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    if (left < 4 || !Continuation(at(1)) || !Continuation(at(2)) || !Continuation(at(3))) return 0;
    if (lead == 0xF0 && at(1) < 0x90) return 0;  // overlong
    if (lead == 0xF4 && at(1) > 0x8F) return 0;  // above U+10FFFF
    return 4;
  }
  return 0;
}

void AppendUtf8(QByteArray& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

bool Stat(const QString& name, struct stat& status) {
  return !name.isEmpty() && !HoldsNul(name) &&
         ::stat(FileNameToBytes(name).constData(), &status) == 0;
}

}  // namespace

QString FileNameFromBytes(QByteArrayView bytes) {
  QString name;
  name.reserve(bytes.size());
  for (qsizetype i = 0; i < bytes.size();) {
    const int length = SequenceLength(bytes, i);
    if (length == 0) {
      name += QChar(static_cast<char16_t>(kEscapeBase + static_cast<unsigned char>(bytes[i])));
      ++i;
      continue;
    }
    name += QString::fromUtf8(bytes.sliced(i, length));
    i += length;
  }
  return name;
}

QByteArray FileNameToBytes(const QString& name) {
  QByteArray bytes;
  bytes.reserve(name.size());
  for (qsizetype i = 0; i < name.size(); ++i) {
    const char16_t unit = name[i].unicode();
    if (QChar::isHighSurrogate(unit) && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
      AppendUtf8(bytes, QChar::surrogateToUcs4(unit, name[i + 1].unicode()));
      ++i;
    } else if (IsEscape(unit)) {
      bytes += static_cast<char>(unit - kEscapeBase);
    } else if (QChar::isSurrogate(unit)) {
      AppendUtf8(bytes, 0xFFFD);  // half a pair that no name decodes to
    } else {
      AppendUtf8(bytes, unit);
    }
  }
  return bytes;
}

QString ShownFileName(const QString& name) {
  QString shown = name;
  for (qsizetype i = 0; i < shown.size(); ++i) {
    if (shown[i].isHighSurrogate() && i + 1 < shown.size() && shown[i + 1].isLowSurrogate())
      ++i;
    else if (IsEscape(shown[i].unicode()))
      shown[i] = QChar(QChar::ReplacementCharacter);
    else if (shown[i].isNull())
      shown[i] = QChar(0x2400);  // SYMBOL FOR NULL: a NUL would end the text where it is shown
  }
  return shown;
}

bool HoldsNul(const QString& name) { return name.contains(QChar(0)); }

QStringList FileNameArguments(int argc, const char* const* argv) {
  QStringList operands;
  for (int i = 1; i < argc; ++i) operands << FileNameFromBytes(QByteArrayView(argv[i]));
  return operands;
}

QString AbsoluteFileName(const QString& name) {
  if (name.isEmpty()) return name;
  if (name.startsWith(QLatin1Char('/'))) return QDir::cleanPath(name);
  std::vector<char> buffer(4096);
  while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return QDir::cleanPath(name);
    buffer.resize(buffer.size() * 2);
  }
  return QDir::cleanPath(FileNameFromBytes(QByteArrayView(buffer.data())) + QLatin1Char('/') +
                         name);
}

bool FileNameExists(const QString& name) {
  struct stat status {};
  return Stat(name, status);
}

bool IsDirectoryName(const QString& name) {
  struct stat status {};
  return Stat(name, status) && S_ISDIR(status.st_mode);
}

bool IsRegularFileName(const QString& name) {
  struct stat status {};
  return Stat(name, status) && S_ISREG(status.st_mode);
}

}  // namespace lindrel::demo
