#include "WalkPairs.h"

#include <QStringDecoder>

#include <algorithm>
#include <set>

namespace lindrel::testing {
namespace {

const char* const kWords[] = {"alpha", "beta", "gamma", "delta", "return", "int", "x", "=", "{",
                              "}", "if", "(a", "b)", "0x1f", "//", "note", "value;", "TODO"};
const char* const kWide[] = {"\xF0\x9F\x98\x80 smile \xF0\x9F\x8E\x89",     // emoji (two UTF-16 units)
                             "\xE6\xBC\xA2\xE5\xAD\x97\xE3\x81\xA8\xE3\x81\x8B",  // CJK
                             "cafe\xCC\x81 na\xC3\xAFve",                        // combining accent
                             "x\xEF\xBB\xBFy",                                   // U+FEFF inside
                             "\xEF\xBB\xBF" "starts with a byte-order mark",
                             "caf\xE9 in Latin-1"};

}  // namespace

QByteArray WalkPairMaker::Line() {
  switch (Below(12)) {
    case 0:
      return {};
    case 1:
      return "\t\tindented " + QByteArray(kWords[Below(std::size(kWords))]);
    case 2:
      return kWide[Below(std::size(kWide))];
    case 3: {
      // A long line, sometimes without a blank to wrap at; sometimes with an emoji just
      // where a list entry would be cut.
      QByteArray line;
      const int length = 150 + Below(OneIn(8) ? 4000 : 600);
      const bool blanks = !OneIn(4);
      if (OneIn(3)) line = QByteArray(99, 'e') + "\xF0\x9F\x98\x80";
      while (line.size() < length) {
        line += kWords[Below(std::size(kWords))];
        if (blanks) line += ' ';
      }
      return line;
    }
    default: {
      QByteArray line;
      for (int n = 1 + Below(8); n > 0; --n) line += QByteArray(kWords[Below(std::size(kWords))]) + ' ';
      return line + QByteArray::number(Below(1000));
    }
  }
}

QByteArray WalkPairMaker::LineEnd() {
  switch (Below(20)) {
    case 0: return "\r";        // a lone CR: the next line joins this one
    case 1: return "\n\r\n";    // a line feed right before a CR LF
    case 2: return "\r\r\n";    // a CR before a CR LF
    case 3: case 4: case 5: case 6: case 7: case 8: return "\r\n";
    default: return "\n";
  }
}

// Lines with their own line ends, so that a line kept by an edit keeps its end too.
QList<QByteArray> WalkPairMaker::Lines(int count) {
  QList<QByteArray> lines;
  for (int i = 0; i < count; ++i) lines << Line() + LineEnd();
  return lines;
}

QList<QByteArray> WalkPairMaker::Edited(const QList<QByteArray>& lines, int hunks, bool atEnds) {
  const int n = static_cast<int>(lines.size());
  std::set<int> at;
  for (int h = 0; h < hunks && n > 0; ++h) at.insert(Below(n));
  if (atEnds && n > 0) {
    at.insert(0);
    at.insert(n - 1);
  }
  QList<QByteArray> edited;
  for (int i = 0; i < n;) {
    if (!at.count(i)) {
      edited << lines[i++];
      continue;
    }
    // Delete some, insert some, or both (a change); runs of up to a few hundred lines.
    const int longest = OneIn(20) ? 300 : 6;
    const int deleted = std::min(Below(longest + 1), n - i);
    int inserted = Below(longest + 1);
    if (deleted == 0 && inserted == 0) inserted = 1;
    i += deleted;
    for (int k = 0; k < inserted; ++k) edited << Line() + " *" + LineEnd();
    if (deleted == 0 && i < n) edited << lines[i++];
  }
  if (atEnds) edited << "appended at the end" + LineEnd();
  return edited;
}

QByteArray WalkPairMaker::Joined(const QList<QByteArray>& lines, bool finalEnd) {
  QByteArray bytes = lines.join();
  if (!finalEnd)
    while (bytes.endsWith('\n') || bytes.endsWith('\r')) bytes.chop(1);
  return bytes;
}

WalkPair WalkPairMaker::Make() {
  WalkPair pair;
  switch (Below(20)) {
    case 0: {
      pair.shape = "identical";
      pair.master = pair.source = Joined(Lines(Below(80)), !OneIn(3));
      break;
    }
    case 1: {
      pair.shape = "empty";
      const QByteArray other = Joined(Lines(1 + Below(30)), true);
      const int which = Below(3);  // the master, the source or both empty
      pair.master = which == 1 ? other : QByteArray();
      pair.source = which == 0 ? other : QByteArray();
      break;
    }
    case 2: {
      pair.shape = "binary";
      pair.binary = true;
      for (int i = 300 + Below(3000); i > 0; --i) pair.master += static_cast<char>(Below(256));
      pair.source = pair.master;
      pair.source[Below(static_cast<int>(pair.source.size()))] ^= 0x55;
      pair.source += '\0';
      break;
    }
    case 3: {
      pair.shape = "large";
      const QList<QByteArray> lines = Lines(2000 + Below(3000));
      pair.master = Joined(lines, true);
      pair.source = Joined(Edited(lines, 300 + Below(1200), OneIn(2)), true);
      break;
    }
    case 4: case 5: case 6:
      return MakeLateFirstChange();
    case 7: {
      pair.shape = "byte 26";
      const QByteArray text = Joined(Lines(1 + Below(20)), true);
      pair.master = text + '\x1a' + "after the end";
      pair.source = text + '\x1a' + "something else";
      break;
    }
    case 8: case 9: {
      pair.shape = "first and last lines";
      const QList<QByteArray> lines = Lines(2 + Below(60));
      pair.master = Joined(lines, !OneIn(2));
      pair.source = Joined(Edited(lines, Below(4), true), !OneIn(2));
      break;
    }
    default: {
      pair.shape = "small";
      const QList<QByteArray> lines = Lines(Below(70));
      pair.master = Joined(lines, !OneIn(4));
      pair.source = Joined(Edited(lines, 1 + Below(6), false), !OneIn(4));
      break;
    }
  }
  return pair;
}

WalkPair WalkPairMaker::MakeLateFirstChange() {
  WalkPair pair;
  pair.shape = "late first change";
  const QList<QByteArray> lines = Lines(150 + Below(300));
  const QList<QByteArray> tail = Edited(lines.mid(120), 1 + Below(8), false);
  pair.master = Joined(lines, true);
  pair.source = Joined(lines.mid(0, 120) + tail, true);
  return pair;
}

QByteArray WalkPairMaker::Shortened(const QByteArray& file) {
  return file.left(file.isEmpty() ? 0 : Below(static_cast<int>(file.size() / 2) + 1));
}

QByteArray WalkPairMaker::Lengthened(const QByteArray& file) {
  return file + Joined(Lines(50 + Below(400)), true);
}

QList<QByteArray> TextModeLines(const QByteArray& bytes) {
  QByteArray text;
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\x1a') break;
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    text += bytes[i];
  }
  QList<QByteArray> lines = text.split('\n');
  if (text.isEmpty() || text.endsWith('\n')) lines.removeLast();
  return lines;
}

QString ShownText(const QList<QByteArray>& lines, int index) {
  const QByteArray& bytes = lines[index];
  // Each line alone: a sequence cut off at the line's end is an error, not pending.
  QStringConverter::Flags flags = QStringConverter::Flag::Stateless;
  if (index > 0) flags |= QStringConverter::Flag::ConvertInitialBom;
  QStringDecoder utf8(QStringDecoder::Utf8, flags);
  QString text = utf8.decode(bytes);
  if (utf8.hasError()) text = QString::fromLatin1(bytes);
  return text.replace(QLatin1Char('\t'), QStringLiteral("    "));
}

WalkGrids ReferenceGrids(int masterLines, int sourceLines, const std::vector<WalkRecord>& records) {
  WalkGrids grids;
  for (int line = 1; line <= masterLines; ++line) grids.master.push_back({line, -1, WalkFore::Normal});
  for (int line = 1; line <= sourceLines; ++line) grids.source.push_back({line, -1, WalkFore::Normal});
  auto pad = [](std::vector<WalkRow>& rows, long gridRow, int record) {
    rows.insert(rows.begin() + std::clamp<long>(gridRow - 1, 0, static_cast<long>(rows.size())),
                WalkRow{0, record, WalkFore::Normal});
  };
  auto tag = [](std::vector<WalkRow>& rows, long gridRow, int record, WalkFore fore) {
    if (gridRow >= 1 && gridRow <= static_cast<long>(rows.size())) rows[gridRow - 1] = {rows[gridRow - 1].line, record, fore};
  };
  for (int i = static_cast<int>(records.size()) - 1; i >= 0; --i) {
    const WalkRecord& r = records[static_cast<size_t>(i)];
    const long dm = r.m2 - r.m1, ds = r.s2 - r.s1;
    switch (r.kind) {
      case 'c': {
        for (long k = 1; k <= dm - ds; ++k) pad(grids.source, r.s2 + k, i);
        for (long k = 1; k <= ds - dm; ++k) pad(grids.master, r.m2 + k, i);
        for (long k = 0; k <= std::max(dm, ds); ++k) {
          tag(grids.master, r.m1 + k, i, WalkFore::Changed);
          tag(grids.source, r.s1 + k, i, WalkFore::Changed);
        }
        break;
      }
      case 'd':
        for (long k = 0; k <= dm; ++k) {
          tag(grids.master, r.m1 + k, i, WalkFore::OnlyInMaster);
          pad(grids.source, r.s1 + k + 1, i);
        }
        break;
      case 'a':
        for (long k = 0; k <= ds; ++k) {
          tag(grids.source, r.s1 + k, i, WalkFore::OnlyInSource);
          pad(grids.master, r.m1 + k + 1, i);
        }
        break;
    }
  }
  return grids;
}

}  // namespace lindrel::testing
