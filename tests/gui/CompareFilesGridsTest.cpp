// The Compare Files window's grid contents: how a file is split into rows, how the two
// grids are padded and coloured from the change records, and how the all-in-one grid
// merges them. The one-pass builders are checked against the row-by-row procedure they
// replace, written out literally below, on random record lists.
#include <QBrush>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextLayout>
#include <QtTest>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "LiteralColours.h"
#include "widgets/view/AlignedRows.h"
#include "widgets/view/AllInOneModel.h"
#include "widgets/view/ComparisonGrid.h"
#include "widgets/view/FileGridModel.h"
#include "widgets/view/GridLines.h"
#include "widgets/view/WrappedLineCounter.h"

using lindrel::widgets::AlignedRows;
using lindrel::widgets::AllInOneModel;
using lindrel::widgets::FileGridModel;
using lindrel::widgets::GridLines;
using lindrel::widgets::GridRecord;
using lindrel::widgets::GridRow;
using lindrel::widgets::RowBack;
using lindrel::widgets::RowFore;

namespace {

// The pages of mapped files the process holds (RssFile), in bytes.
qint64 MappedFileBytesHeld() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("RssFile:")) return line.mid(8).trimmed().split(' ')[0].toLongLong() * 1024;
  return -1;
}

// A line as a grid shows it, worked out from its bytes: UTF-8 when valid, else Latin-1,
// tabs as four blanks, cut after `max` characters.
QString ShownAs(const QByteArray& bytes, qsizetype max) {
  QString text = bytes.isValidUtf8() ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes);
  return text.replace(QLatin1Char('\t'), QStringLiteral("    ")).left(max);
}

// --- The literal procedure: insert padding row by row, last record first -----------------

using Grid = std::vector<GridRow>;  // index 0 is grid row 1

void InsertPadding(Grid& grid, long position, RowBack back) {
  grid.insert(grid.begin() + (position - 1), GridRow{0, back, RowFore::Normal});
}

void Paint(Grid& grid, long row, RowFore fore) {
  grid[static_cast<size_t>(row - 1)].back = RowBack::Change;
  grid[static_cast<size_t>(row - 1)].fore = fore;
}

AlignedRows LiteralPadding(int masterLines, int sourceLines,
                           const std::vector<GridRecord>& records) {
  AlignedRows grids;
  for (int i = 1; i <= masterLines; ++i)
    grids.master.push_back({i, RowBack::Normal, RowFore::Normal});
  for (int i = 1; i <= sourceLines; ++i)
    grids.source.push_back({i, RowBack::Normal, RowFore::Normal});
  Grid& master = grids.master;
  Grid& source = grids.source;
  for (auto it = records.rbegin(); it != records.rend(); ++it) {
    const long m1 = it->masterStart, m2 = it->masterEnd, s1 = it->sourceStart, s2 = it->sourceEnd;
    switch (it->changeType) {
      case 'c': {
        const long dm = m2 - m1, ds = s2 - s1;
        long span = dm;
        if (ds < dm) {
          for (long p = 1; p <= dm - ds; ++p) InsertPadding(source, s2 + p, RowBack::Normal);
        } else if (ds > dm) {
          for (long p = 1; p <= ds - dm; ++p) InsertPadding(master, m2 + p, RowBack::Normal);
          span = ds;
        }
        for (long k = 0; k <= span; ++k) {
          Paint(master, m1 + k, RowFore::Changed);
          Paint(source, s1 + k, RowFore::Changed);
        }
        break;
      }
      case 'd':
        for (long k = 0; k <= m2 - m1; ++k) {
          Paint(master, m1 + k, RowFore::OnlyInMaster);
          InsertPadding(source, s1 + k + 1, RowBack::Change);
        }
        break;
      case 'a':
        for (long k = 0; k <= s2 - s1; ++k) {
          Paint(source, s1 + k, RowFore::OnlyInSource);
          InsertPadding(master, m1 + k + 1, RowBack::Change);
        }
        break;
    }
  }
  return grids;
}

// Records as the component delivers them: in file order, not overlapping. The stretches
// between records may differ in length on the two sides, as they do when ignored
// changes (blank lines, white space) are not reported.
struct RandomComparison {
  int masterLines = 0;
  int sourceLines = 0;
  std::vector<GridRecord> records;
};

RandomComparison MakeRandomComparison(QRandomGenerator& random) {
  RandomComparison c;
  long nextMaster = 1, nextSource = 1;
  const int count = random.bounded(6);
  for (int i = 0; i < count; ++i) {
    const long gapMaster = random.bounded(3);
    const long gapSource = random.bounded(10) < 7 ? gapMaster : random.bounded(3);
    const long masterSize = 1 + random.bounded(5), sourceSize = 1 + random.bounded(5);
    GridRecord r;
    switch (random.bounded(3)) {
      case 0:
        r = {'c', nextMaster + gapMaster, nextMaster + gapMaster + masterSize - 1,
             nextSource + gapSource, nextSource + gapSource + sourceSize - 1};
        nextMaster = r.masterEnd + 1;
        nextSource = r.sourceEnd + 1;
        break;
      case 1:
        r = {'d', nextMaster + gapMaster, nextMaster + gapMaster + masterSize - 1,
             nextSource + gapSource - 1, nextSource + gapSource - 1};
        nextMaster = r.masterEnd + 1;
        nextSource = r.sourceStart + 1;
        break;
      default:
        r = {'a', nextMaster + gapMaster - 1, nextMaster + gapMaster - 1, nextSource + gapSource,
             nextSource + gapSource + sourceSize - 1};
        nextMaster = r.masterStart + 1;
        nextSource = r.sourceEnd + 1;
        break;
    }
    c.records.push_back(r);
  }
  c.masterLines = static_cast<int>(nextMaster - 1 + random.bounded(3));
  c.sourceLines = static_cast<int>(nextSource - 1 + random.bounded(3));
  return c;
}

// Compact picture of a grid: a line number or "_" for padding, then "c" (changed, red),
// "d" (only in master, blue), "a" (only in source, green) or "p" (change colour, normal
// text) for coloured rows.
std::string Picture(const std::vector<GridRow>& rows) {
  std::string picture;
  for (const GridRow& row : rows) {
    if (!picture.empty()) picture += ' ';
    picture += row.IsPadding() ? "_" : std::to_string(row.line);
    if (row.back == RowBack::Normal) continue;
    switch (row.fore) {
      case RowFore::Changed: picture += 'c'; break;
      case RowFore::OnlyInMaster: picture += 'd'; break;
      case RowFore::OnlyInSource: picture += 'a'; break;
      case RowFore::Normal: picture += 'p'; break;
    }
  }
  return picture;
}

QByteArray FileOf(const std::vector<QByteArray>& lines) {
  QByteArray content;
  for (const QByteArray& line : lines) content += line + "\r\n";
  return content;
}

std::shared_ptr<GridLines> LinesOf(const QByteArray& content) {
  auto lines = std::make_shared<GridLines>();
  lines->SetContent(content);
  return lines;
}

QStringList RowsOf(const QByteArray& content) {
  GridLines lines;
  lines.SetContent(content);
  QStringList rows;
  for (int i = 0; i < lines.Count(); ++i) rows << lines.Text(i);
  return rows;
}

// The lines `text` takes when laid out as a cell lays it out (word wrap at `width`).
QStringList LaidOut(const QString& text, const QFont& font, qreal width) {
  QTextOption option;
  option.setWrapMode(QTextOption::WordWrap);
  QTextLayout layout(text, font);
  layout.setTextOption(option);
  layout.beginLayout();
  QStringList lines;
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(width);
    lines << text.mid(line.textStart(), line.textLength());
  }
  layout.endLayout();
  return lines;
}

// The start of `line` that lies within `width` pixels (what a cell shows of it).
QString VisiblePart(const QString& line, const QFont& font, qreal width) {
  const QFontMetricsF metrics(font);
  qreal x = 0;
  qsizetype k = 0;
  while (k < line.size() && x <= width) x += metrics.horizontalAdvance(line[k++]);
  return line.left(k);
}

// Long texts of several shapes: prose, one word without end, runs of blanks, a script
// that wraps between any two characters, wide characters in narrow ones.
QString LongText(const QString& shape, qsizetype length) {
  QString text;
  int n = 0;
  while (text.size() < length) {
    if (shape == "prose")
      text += QStringLiteral("value%1 = count; ").arg(n++ % 97);
    else if (shape == "no blank")
      text += QStringLiteral("abcdefghij");
    else if (shape == "blank runs")
      text += QStringLiteral("x") + QString(n++ % 300, QLatin1Char(' '));
    else if (shape == "CJK")
      text += QString::fromUtf8("\xE6\xBC\xA2\xE5\xAD\x97\xE3\x81\xA8");
    else if (shape == "long word amid prose")
      text += (n++ % 40 == 7 ? QString(700, QLatin1Char('w')) : QStringLiteral("il mi ")) + ' ';
    else if (shape == "hyphenated")
      text += QStringLiteral("well-known-") + QString::number(n++);
    else
      text += QStringLiteral("WWW iii ");
  }
  text.truncate(length);
  return text;
}

QColor BackOf(const QAbstractItemModel& model, int gridRow, int column) {
  return model.data(model.index(gridRow - 1, column), Qt::BackgroundRole).value<QBrush>().color();
}

QColor ForeOf(const QAbstractItemModel& model, int gridRow, int column) {
  QVariant fore = model.data(model.index(gridRow - 1, column), Qt::ForegroundRole);
  return fore.isValid() ? fore.value<QBrush>().color() : QColor();
}

}  // namespace

class CompareFilesGridsTest : public QObject {
  Q_OBJECT

 private slots:
  void filesSplitIntoRowsAsTheComponentReadsThem_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("line feeds only")
        << QByteArray("one\ntwo\nthree\n") << QStringList{"one", "two", "three"};
    QTest::newRow("line feeds, no final end") << QByteArray("a\nb") << QStringList{"a", "b"};
    QTest::newRow("a lone carriage return stays in its line")
        << QByteArray("a\rb\nc\r") << QStringList{"a\rb", "c\r"};
    QTest::newRow("empty lines kept") << QByteArray("a\r\n\r\nb") << QStringList{"a", "", "b"};
    QTest::newRow("empty lines between line feeds")
        << QByteArray("\n\nb") << QStringList{"", "", "b"};
    QTest::newRow("line feed before CR LF is an empty line")
        << QByteArray("a\n\r\nb\r\n") << QStringList{"a", "", "b"};
    QTest::newRow("carriage return before CR LF")
        << QByteArray("a\r\r\nb") << QStringList{"a\r", "b"};
    QTest::newRow("byte 26 ends the content")
        << QByteArray("a\nb\x1a\nc\n") << QStringList{"a", "b"};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("tabs become four blanks")
        << QByteArray("x\ty\t\tz\r\n") << QStringList{"x    y        z"};
    QTest::newRow("Latin-1 bytes stay readable")
        << QByteArray("caf\xe9\r\n") << QStringList{"caf\u00e9"};
    QTest::newRow("UTF-8") << QByteArray("caf\xc3\xa9\n") << QStringList{"caf\u00e9"};
    QTest::newRow("byte-order mark dropped at the start of the file only")
        << QByteArray(
               "\xef\xbb\xbf"
               "a\n\xef\xbb\xbf"
               "b\n")
        << QStringList{"a", QChar(0xFEFF) + QString("b")};
  }
  void filesSplitIntoRowsAsTheComponentReadsThem() {
    QFETCH(QByteArray, content);
    QFETCH(QStringList, rows);
    QCOMPARE(RowsOf(content), rows);
  }

  void largeFilesReadThroughAMappingGiveTheSameLines_data() {
    QTest::addColumn<QByteArray>("ending");
    QTest::addColumn<bool>("byte26");
    QTest::newRow("LF") << QByteArray("\n") << false;
    QTest::newRow("CR LF, ended by byte 26") << QByteArray("\r\n") << true;
  }
  void largeFilesReadThroughAMappingGiveTheSameLines() {
    // Past a megabyte a file is mapped, and past 16 MB its pages are given back in steps
    // while its lines are found: what is shown must not depend on either.
    QFETCH(QByteArray, ending);
    QFETCH(bool, byte26);
    std::mt19937 random(51);
    std::vector<QByteArray> lines;
    QByteArray content;
    while (content.size() < (qsizetype{18} << 20)) {
      QByteArray line = "line " + QByteArray::number(static_cast<qlonglong>(lines.size())) +
                        QByteArray(static_cast<qsizetype>(random() % 90), 'x');
      if (random() % 50 == 0) line += "\ra lone carriage return";
      if (random() % 40 == 0) line += "\ttab, caf\xc3\xa9";
      if (random() % 40 == 0) line += " Latin-1 caf\xe9";
      if (random() % 30 == 0) line.clear();
      lines.push_back(line);
      content += line + ending;
    }
    content += "last line without an end";
    lines.push_back("last line without an end");
    if (byte26) {
      // The content ends at the byte 26, which lies beyond the first 16 MB.
      const qsizetype cut = content.indexOf(ending, qsizetype{17} << 20) + ending.size();
      const auto shown = static_cast<size_t>(content.left(cut).count(ending));
      content.insert(cut, "\x1a" + QByteArray("hidden\n"));
      lines.resize(shown);
    }
    QTemporaryDir dir;
    QFile file(dir.filePath("large.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), content.size());
    file.close();

    GridLines mapped;
    QString error;
    QVERIFY2(mapped.Load(file.fileName(), &error), qPrintable(error));
    QCOMPARE(mapped.Count(), static_cast<int>(lines.size()));
    // Lines read aside (as for a list of the changes) keep no page of the file.
    const qint64 held = MappedFileBytesHeld();
    for (size_t i = 0; i < lines.size(); ++i) {
      const int max = i % 3 == 0 ? 12 : 200;
      if (mapped.TextAside(static_cast<int>(i), max) != ShownAs(lines[i], max))
        QFAIL(qPrintable(QStringLiteral("line %1 aside: \"%2\"")
                             .arg(i)
                             .arg(mapped.TextAside(static_cast<int>(i), max))));
    }
    // So does asking which lines are empty, as the all-in-one view does of every change.
    for (size_t i = 0; i < lines.size(); ++i)
      QCOMPARE(mapped.IsEmpty(static_cast<int>(i)), lines[i].isEmpty());
    QVERIFY2(MappedFileBytesHeld() - held < (qint64{4} << 20),
             qPrintable(QString::number(MappedFileBytesHeld() - held)));
    for (size_t i = 0; i < lines.size(); ++i) {
      if (mapped.Bytes(static_cast<int>(i)) != lines[i])
        QFAIL(qPrintable(QStringLiteral("line %1: \"%2\"").arg(i).arg(mapped.Text(int(i)))));
    }

    // Reading every line through the mapping brought the file in; it can be given back.
    QVERIFY(MappedFileBytesHeld() - held > (qint64{16} << 20));
    mapped.GiveBackPages();
    QVERIFY(MappedFileBytesHeld() - held < (qint64{4} << 20));

    // Shortened while it is shown: the lines past its new end read as empty bytes, and
    // the program goes on.
    QVERIFY(file.resize(1000));
    for (int i = 0; i < mapped.Count(); i += 997) (void)mapped.Text(i);
    for (int i = 0; i < mapped.Count(); i += 997) (void)mapped.TextAside(i, 100);
    const QByteArray gone = mapped.Bytes(mapped.Count() - 2);
    QVERIFY(gone.size() >= lines[lines.size() - 2].size());  // with its CR, as the end is lost
    QCOMPARE(gone.count('\0'), gone.size());
  }

  void paddingAndColoursOfTheWorkedCases_data() {
    QTest::addColumn<int>("masterLines");
    QTest::addColumn<int>("sourceLines");
    QTest::addColumn<QList<QList<int>>>("records");  // type, m1, m2, s1, s2
    QTest::addColumn<QString>("master");
    QTest::addColumn<QString>("source");
    QTest::newRow("change of equal size")
        << 4 << 4 << QList<QList<int>>{{'c', 2, 3, 2, 3}} << "1 2c 3c 4"
        << "1 2c 3c 4";
    QTest::newRow("deletion") << 3 << 2 << QList<QList<int>>{{'d', 2, 2, 1, 1}} << "1 2d 3"
                              << "1 _p 2";
    QTest::newRow("2 master lines against 5")
        << 4 << 7 << QList<QList<int>>{{'c', 2, 3, 2, 6}} << "1 2c 3c _c _c _c 4"
        << "1 2c 3c 4c 5c 6c 7";
    QTest::newRow("deletion at the start")
        << 3 << 1 << QList<QList<int>>{{'d', 1, 2, 0, 0}} << "1d 2d 3"
        << "_p _p 1";
    QTest::newRow("addition after the last line")
        << 2 << 4 << QList<QList<int>>{{'a', 2, 2, 3, 4}} << "1 2 _p _p"
        << "1 2 3a 4a";
    QTest::newRow("no records") << 2 << 2 << QList<QList<int>>{} << "1 2"
                                << "1 2";
    QTest::newRow("unknown kind changes nothing")
        << 2 << 2 << QList<QList<int>>{{'x', 1, 1, 1, 1}} << "1 2"
        << "1 2";
  }
  void paddingAndColoursOfTheWorkedCases() {
    QFETCH(int, masterLines);
    QFETCH(int, sourceLines);
    QFETCH(QList<QList<int>>, records);
    QFETCH(QString, master);
    QFETCH(QString, source);
    std::vector<GridRecord> list;
    for (const QList<int>& r : records) list.push_back({r[0], r[1], r[2], r[3], r[4]});
    AlignedRows rows = lindrel::widgets::AlignRows(masterLines, sourceLines, list);
    QCOMPARE(QString::fromStdString(Picture(rows.master)), master);
    QCOMPARE(QString::fromStdString(Picture(rows.source)), source);
  }

  void onePassPaddingEqualsTheRowByRowProcedure() {
    QRandomGenerator random(20261207);
    for (int trial = 0; trial < 3000; ++trial) {
      RandomComparison c = MakeRandomComparison(random);
      AlignedRows expected = LiteralPadding(c.masterLines, c.sourceLines, c.records);
      AlignedRows actual = lindrel::widgets::AlignRows(c.masterLines, c.sourceLines, c.records);
      if (actual.master != expected.master || actual.source != expected.source) {
        QString records;
        for (const GridRecord& r : c.records)
          records += QStringLiteral("%1 %2..%3 %4..%5; ")
                         .arg(QChar(char(r.changeType)))
                         .arg(r.masterStart)
                         .arg(r.masterEnd)
                         .arg(r.sourceStart)
                         .arg(r.sourceEnd);
        QFAIL(qPrintable(
            QStringLiteral(
                "trial %1, %2 x %3 lines, records %4\nexpected %5 | %6\nactual   %7 | %8")
                .arg(trial)
                .arg(c.masterLines)
                .arg(c.sourceLines)
                .arg(records)
                .arg(QString::fromStdString(Picture(expected.master)),
                     QString::fromStdString(Picture(expected.source)),
                     QString::fromStdString(Picture(actual.master)),
                     QString::fromStdString(Picture(actual.source)))));
      }
    }
  }

  void recordsThatNoLongerFitTheFilesShowEachLineOnce() {
    // The files were shortened after the comparison: the grids show what is there.
    AlignedRows rows = lindrel::widgets::AlignRows(
        2, 1, {{'c', 1, 5, 1, 5}, {'d', 7, 9, 6, 6}, {'a', 12, 12, 8, 9}, {'c', 3, 1, 2, 0}});
    std::vector<int> masterLines, sourceLines;
    for (const GridRow& r : rows.master)
      if (!r.IsPadding()) masterLines.push_back(r.line);
    for (const GridRow& r : rows.source)
      if (!r.IsPadding()) sourceLines.push_back(r.line);
    QCOMPARE(masterLines, (std::vector<int>{1, 2}));
    QCOMPARE(sourceLines, (std::vector<int>{1}));
  }

  // The all-in-one grid, built literally row by row from the padded grids, against the
  // model, on random comparisons whose lines are sometimes empty.
  void allInOneRowsNumbersAndColoursFollowThePaddedGrids() {
    QRandomGenerator random(7);
    for (int trial = 0; trial < 400; ++trial) {
      RandomComparison c = MakeRandomComparison(random);
      std::vector<QByteArray> masterText, sourceText;
      for (int i = 1; i <= c.masterLines; ++i)
        masterText.push_back(random.bounded(5) == 0 ? QByteArray() : "m" + QByteArray::number(i));
      for (int i = 1; i <= c.sourceLines; ++i)
        sourceText.push_back(random.bounded(5) == 0 ? QByteArray() : "s" + QByteArray::number(i));
      AlignedRows rows = lindrel::widgets::AlignRows(c.masterLines, c.sourceLines, c.records);
      FileGridModel master, source;
      master.Reset(LinesOf(FileOf(masterText)), rows.master);
      source.Reset(LinesOf(FileOf(sourceText)), rows.source);
      AllInOneModel allInOne(master, source);
      allInOne.Build("m.txt", "s.txt");
      QCOMPARE(allInOne.HeaderText(), QString("[Master] m.txt  [Source] s.txt"));
      QCOMPARE(allInOne.GridRowCount(), master.GridRowCount());

      for (int r = 1; r < master.GridRowCount(); ++r) {
        const QString m = master.LineText(r);
        const QString s = r < source.GridRowCount() ? source.LineText(r) : QString();
        const bool difference = BackOf(master, r, 1) == colours::kChange;
        QString text = m;
        QColor fore;
        if (difference) {
          if (s.isEmpty())
            fore = colours::kOnlyInMaster;
          else if (m.isEmpty()) {
            text = s;
            fore = colours::kOnlyInSource;
          } else {
            text = s;
            fore = colours::kChanged;
          }
        }
        const QString where = QStringLiteral("trial %1 row %2").arg(trial).arg(r);
        QVERIFY2(allInOne.CellText(r, 0) == master.NumberText(r), qPrintable(where));
        // Unequal stretches between records can leave the source grid shorter.
        const QString sourceNumber = r < source.GridRowCount() ? source.NumberText(r) : QString();
        QVERIFY2(allInOne.CellText(r, 2) == sourceNumber, qPrintable(where));
        QVERIFY2(allInOne.CellText(r, 1) == text, qPrintable(where));
        QVERIFY2(ForeOf(allInOne, r, 1) == fore, qPrintable(where));
        const QColor numbers =
            difference ? colours::kNumberOfDifference : colours::kNumberOfSameLine;
        QVERIFY2(BackOf(allInOne, r, 0) == numbers && BackOf(allInOne, r, 2) == numbers,
                 qPrintable(where));
        QVERIFY2(BackOf(allInOne, r, 1) == (difference ? colours::kChange : QColor(Qt::black)) ||
                     (!difference &&
                      !allInOne.data(allInOne.index(r - 1, 1), Qt::BackgroundRole).isValid()),
                 qPrintable(where));
        QVERIFY2(allInOne.data(allInOne.index(r - 1, 2), Qt::TextAlignmentRole).toInt() ==
                     int(Qt::AlignLeft | Qt::AlignBottom),
                 qPrintable(where));
      }
    }
  }

  void aLinePrefixIsTheStartOfTheLine_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("characters");
    const QByteArray longUtf8 =
        QByteArray(3000, 'a') + "\xC3\xA9\xF0\x9F\x98\x80" + QByteArray(3000, 'b');
    QTest::newRow("UTF-8, cut at a two-unit character") << longUtf8 + "\n" << 0 << 3002;
    QTest::newRow("UTF-8, cut inside a multi-byte character") << longUtf8 + "\n" << 0 << 3001;
    QTest::newRow("Latin-1 byte far past the cut decides for the whole line")
        << QByteArray(5000, 'a') + "\xE9" + "\n"
        << 0 << 100;
    QTest::newRow("tabs as four blanks") << QByteArray(2000, '\t') + QByteArray(9000, 'x') + "\n"
                                         << 0 << 7001;
    QTest::newRow("byte-order mark at the start of the file")
        << "\xEF\xBB\xBF" + QByteArray(9000, 'y') << 0 << 10;
    QTest::newRow("byte-order mark on a later line")
        << "z\n\xEF\xBB\xBF" + QByteArray(9000, 'y') << 1 << 10;
    QTest::newRow("short line") << QByteArray("short\n") << 0 << 100;
    QTest::newRow("nothing") << QByteArray("short\n") << 0 << 0;
  }
  void aLinePrefixIsTheStartOfTheLine() {
    QFETCH(QByteArray, content);
    QFETCH(int, line);
    QFETCH(int, characters);
    GridLines lines;
    lines.SetContent(content);
    const QString whole = lines.Text(line);
    QString expected = whole.left(characters);
    if (!expected.isEmpty() && expected.back().isHighSurrogate() && expected.size() < whole.size())
      expected.chop(1);
    QCOMPARE(lines.Text(line, characters), expected);
  }

  void rowCountsPastTheLayoutBoundAreEstimatesThatNeverCutText_data() {
    QTest::addColumn<QString>("shape");
    QTest::addColumn<int>("length");
    for (const char* shape : {"prose", "no blank", "blank runs", "CJK", "long word amid prose",
                              "hyphenated", "mixed widths"})
      for (int length : {2500, 20000})
        QTest::newRow(qPrintable(QStringLiteral("%1, %2 characters").arg(shape).arg(length)))
            << QString(shape) << length;
  }
  void rowCountsPastTheLayoutBoundAreEstimatesThatNeverCutText() {
    QFETCH(QString, shape);
    QFETCH(int, length);
    const QString text = LongText(shape, length);
    QVERIFY(text.size() > lindrel::widgets::WrappedLineCounter::kLayoutLength);
    for (const QFont& font : {QFont("Liberation Mono", 9), QFont("Liberation Serif", 11)}) {
      for (qreal width : {90.0, 400.0, 1500.0}) {
        const int exact = static_cast<int>(LaidOut(text, font, width).size());
        lindrel::widgets::WrappedLineCounter counter(font, width);
        const int counted = counter.Lines(text);
        QVERIFY2(counted >= exact, qPrintable(QStringLiteral("%1 px: %2 lines counted, %3 laid out")
                                                  .arg(width)
                                                  .arg(counted)
                                                  .arg(exact)));
        for (int cap : {1, 7, 60}) {
          const int capped = counter.Lines(text, cap);
          QVERIFY2(capped == std::min(counted, cap),
                   qPrintable(QStringLiteral("%1 px, at most %2: %3, uncapped %4")
                                  .arg(width)
                                  .arg(cap)
                                  .arg(capped)
                                  .arg(counted)));
        }
      }
    }
  }

  void aLineOfMillionsOfCharactersIsCountedOnlyAsFarAsTheTallestRow() {
    // Laid out, this line would take the font engine many seconds.
    const QString text = LongText("no blank", 5000000);
    lindrel::widgets::WrappedLineCounter counter(QFont("Liberation Mono", 9), 500);
    QCOMPARE(counter.Lines(text, 40), 40);
    QVERIFY(counter.Lines(text.left(lindrel::widgets::WrappedLineCounter::kLayoutLength)) ==
            1);  // laid out: one word
  }

  void aCellDrawsAllTheTextItsLinesShow_data() {
    rowCountsPastTheLayoutBoundAreEstimatesThatNeverCutText_data();
  }
  void aCellDrawsAllTheTextItsLinesShow() {
    QFETCH(QString, shape);
    QFETCH(int, length);
    const QString text = LongText(shape, length);
    for (const QFont& font : {QFont("Liberation Mono", 9), QFont("Liberation Serif", 11)}) {
      lindrel::widgets::ComparisonGrid grid("grid");
      grid.setFont(font);
      for (QSize cell : {QSize(90, 40), QSize(400, 300), QSize(1500, 900)}) {
        const QString shown = grid.ShownPart(text, cell);
        const QStringList whole = LaidOut(text, font, cell.width());
        const QStringList drawn = LaidOut(shown, font, cell.width());
        // Every line that starts inside the cell shows the same characters, up to the
        // cell's right border (a word too wide for a line runs past it).
        const int visible = cell.height() / grid.LineHeight() + 1;
        for (int i = 0; i < std::min<int>(visible, whole.size()); ++i) {
          QVERIFY2(i < drawn.size() && VisiblePart(drawn[i], font, cell.width()) ==
                                           VisiblePart(whole[i], font, cell.width()),
                   qPrintable(QStringLiteral("%1 x %2, %3 of %4 characters drawn: line %5 differs")
                                  .arg(cell.width())
                                  .arg(cell.height())
                                  .arg(shown.size())
                                  .arg(text.size())
                                  .arg(i + 1)));
        }
      }
    }
  }

  // The row of a line, against a walk over the rows: on padded random comparisons, on
  // rows that are not the lines in order, and on a file shown unpadded.
  void rowOfLineIsTheFirstRowShowingTheLine() {
    QRandomGenerator random(20261208);
    auto check = [](const FileGridModel& model, int lines, const QString& what) {
      for (long line = -1; line <= lines + 2; ++line) {
        int expected = 0;
        for (int r = 1; r < model.GridRowCount() && expected == 0; ++r)
          if (line > 0 && model.Row(r).line == line) expected = r;
        if (model.RowOfLine(line) != expected)
          QFAIL(qPrintable(QStringLiteral("%1: line %2 at row %3, expected %4")
                               .arg(what)
                               .arg(line)
                               .arg(model.RowOfLine(line))
                               .arg(expected)));
      }
    };
    for (int trial = 0; trial < 500; ++trial) {
      RandomComparison c = MakeRandomComparison(random);
      std::vector<QByteArray> text(static_cast<size_t>(c.sourceLines), "x");
      AlignedRows rows = lindrel::widgets::AlignRows(c.masterLines, c.sourceLines, c.records);
      FileGridModel source;
      source.Reset(LinesOf(FileOf(text)), rows.source);
      check(source, c.sourceLines, QStringLiteral("trial %1").arg(trial));
      // Rows given by hand in any order, a line twice, one left out.
      std::vector<GridRow> shuffled = rows.source;
      std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(trial));
      if (!shuffled.empty()) shuffled.push_back(shuffled.front());
      if (shuffled.size() > 2) shuffled.erase(shuffled.begin() + 1);
      source.Reset(LinesOf(FileOf(text)), shuffled);
      check(source, c.sourceLines, QStringLiteral("trial %1, shuffled").arg(trial));
    }

    FileGridModel plain;
    QAbstractItemModelTester tester(&plain, QAbstractItemModelTester::FailureReportingMode::QtTest);
    plain.Reset(LinesOf("A\r\n\r\nC"));
    QCOMPARE(plain.GridRowCount(), 4);
    QCOMPARE(plain.rowCount(), 3);
    QCOMPARE(plain.NumberText(2), QString("2"));
    QCOMPARE(plain.LineText(3), QString("C"));
    QVERIFY(plain.IsLineTextEmpty(2) && !plain.IsDifferenceRow(1));
    check(plain, 3, QStringLiteral("plain"));
    // Colouring a row of a plain grid keeps every other row as it was.
    plain.SetRowsBack(2, 1, RowBack::CurrentChange);
    QCOMPARE(BackOf(plain, 2, 1), colours::kCurrentChange);
    QVERIFY(!plain.IsDifferenceRow(1) && !plain.IsDifferenceRow(3));
    QCOMPARE(plain.LineText(3), QString("C"));
    check(plain, 3, QStringLiteral("plain, coloured"));
  }

  void sideBySideModelShowsNumbersTextsAndColours() {
    FileGridModel master;
    QAbstractItemModelTester tester(&master,
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    master.Reset(LinesOf("A\r\nB\tx\r\nC\r\n"),
                 lindrel::widgets::AlignRows(3, 2, {{'d', 2, 2, 1, 1}}).master);
    master.SetHeaderText("[Master] m.txt");
    QCOMPARE(master.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
             QString("[Master] m.txt"));
    QCOMPARE(master.GridRowCount(), 4);
    QCOMPARE(master.data(master.index(1, 0), Qt::DisplayRole).toString(), QString("2"));
    QCOMPARE(master.data(master.index(1, 1), Qt::DisplayRole).toString(), QString("B    x"));
    QCOMPARE(BackOf(master, 2, 1), colours::kChange);
    QCOMPARE(ForeOf(master, 2, 1), colours::kOnlyInMaster);
    QVERIFY(!master.IsDifferenceRow(1) && master.IsDifferenceRow(2) && !master.IsDifferenceRow(3));

    FileGridModel source;
    source.Reset(LinesOf("A\r\nC\r\n"),
                 lindrel::widgets::AlignRows(3, 2, {{'d', 2, 2, 1, 1}}).source);
    QCOMPARE(source.NumberText(2), QString("    "));
    QCOMPARE(source.LineText(2), QString());
    QCOMPARE(BackOf(source, 2, 1), colours::kChange);
    QVERIFY(!ForeOf(source, 2, 1).isValid());
    QCOMPARE(source.LineText(3), QString("C"));

    master.SetRowBack(2, RowBack::CurrentChange);
    QCOMPARE(BackOf(master, 2, 1), colours::kCurrentChange);
    QVERIFY(master.IsDifferenceRow(2));
  }
};

QTEST_MAIN(CompareFilesGridsTest)
#include "CompareFilesGridsTest.moc"
