// Generated file pairs for the walk through the Compare Files window, and a literal
// reference of what its grids must show for them.
//
// The pairs cover the shapes that broke the window before: mixed and lone line ends, no
// final line end, empty and identical files, binary files, long and wide-character
// lines, byte-order marks, thousands of changes, changes at the first and last lines and
// far below the first screen.
//
// The reference is written the slow, obvious way the window's documentation reads: the
// text-mode lines of each file, then padding rows inserted record by record from the last
// to the first, each row tagged with the record it belongs to.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <random>
#include <vector>

namespace lindrel::testing {

struct WalkPair {
  QByteArray master;
  QByteArray source;
  QString shape;
  bool binary = false;  // compared with quick compare on
};

// Makes pairs from a seeded generator.
class WalkPairMaker {
 public:
  explicit WalkPairMaker(std::mt19937& random) : random_(random) {}

  WalkPair Make();
  // A pair whose first change lies far below the first screen.
  WalkPair MakeLateFirstChange();
  // The same file with its end cut off, grown by new lines, or emptied.
  QByteArray Shortened(const QByteArray& file);
  QByteArray Lengthened(const QByteArray& file);

 private:
  int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
  bool OneIn(int n) { return Below(n) == 0; }
  QByteArray Line();
  QByteArray LineEnd();
  QList<QByteArray> Lines(int count);
  QList<QByteArray> Edited(const QList<QByteArray>& lines, int hunks, bool atEnds);
  QByteArray Joined(const QList<QByteArray>& lines, bool finalEnd);

  std::mt19937& random_;
};

// A change record as the component reports it.
struct WalkRecord {
  long kind = 0;
  long m1 = 0, m2 = 0, s1 = 0, s2 = 0;
};

enum class WalkFore { Normal, Changed, OnlyInMaster, OnlyInSource };

// One row of a side-by-side grid.
struct WalkRow {
  int line = 0;       // 0: padding
  int record = -1;    // index of the record the row belongs to, -1 for none
  WalkFore fore = WalkFore::Normal;
};

struct WalkGrids {
  std::vector<WalkRow> master;  // grid rows 1 and up
  std::vector<WalkRow> source;
};

// The lines of `bytes` read in text mode (CR LF as LF, a byte 26 ends the content, a
// lone CR stays in its line), split at line feeds; no empty line after a final line end.
QList<QByteArray> TextModeLines(const QByteArray& bytes);

// The text a grid shows for line `index` of those lines: tabs as four blanks, a
// byte-order mark dropped at the start of the file only.
QString ShownText(const QList<QByteArray>& lines, int index);

// The padded, coloured rows of both grids, inserted record by record.
WalkGrids ReferenceGrids(int masterLines, int sourceLines, const std::vector<WalkRecord>& records);

}  // namespace lindrel::testing
