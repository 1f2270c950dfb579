#include "lindrel/widgets/TextBytes.h"

namespace lindrel::widgets {
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

}  // namespace

QString TextFromBytes(QByteArrayView bytes) {
  QString text;
  text.reserve(bytes.size());
  for (qsizetype i = 0; i < bytes.size();) {
    const int length = SequenceLength(bytes, i);
    if (length == 0) {
      text += QChar(static_cast<char16_t>(kEscapeBase + static_cast<unsigned char>(bytes[i])));
      ++i;
      continue;
    }
    text += QString::fromUtf8(bytes.sliced(i, length));
    i += length;
  }
  return text;
}

QByteArray TextToBytes(const QString& text) {
  QByteArray bytes;
  bytes.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i].unicode();
    if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      AppendUtf8(bytes, QChar::surrogateToUcs4(unit, text[i + 1].unicode()));
      ++i;
    } else if (IsEscape(unit)) {
      bytes += static_cast<char>(unit - kEscapeBase);
    } else if (QChar::isSurrogate(unit)) {
      AppendUtf8(bytes, 0xFFFD);  // half a pair that no bytes decode to
    } else {
      AppendUtf8(bytes, unit);
    }
  }
  return bytes;
}

QString ShownText(const QString& text) {
  QString shown = text;
  for (qsizetype i = 0; i < shown.size(); ++i) {
    if (shown[i].isHighSurrogate() && i + 1 < shown.size() && shown[i + 1].isLowSurrogate())
      ++i;
    else if (IsEscape(shown[i].unicode()))
      shown[i] = QChar(QChar::ReplacementCharacter);
  }
  return shown;
}

}  // namespace lindrel::widgets
