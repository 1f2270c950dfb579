// The Compare Files window's grid contents: how a file is split into rows, how the two
// grids are padded and coloured from the change records, and how the all-in-one grid
// merges them. The one-pass builders are checked against the row-by-row procedure they
// replace, written out literally below, on random record lists.
#include <QBrush>
#include <QRandomGenerator>
#include <QtTest>

#include <string>
#include <vector>

#include "LiteralColours.h"
#include "demo/compare-files/AlignedRows.h"
#include "demo/compare-files/AllInOneModel.h"
#include "demo/compare-files/FileGridModel.h"
#include "demo/compare-files/GridLines.h"

using lindrel::demo::AlignedRows;
using lindrel::demo::AllInOneModel;
using lindrel::demo::FileGridModel;
using lindrel::demo::GridLines;
using lindrel::demo::GridRecord;
using lindrel::demo::GridRow;
using lindrel::demo::RowBack;
using lindrel::demo::RowFore;

namespace {

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
    AlignedRows rows = lindrel::demo::AlignRows(masterLines, sourceLines, list);
    QCOMPARE(QString::fromStdString(Picture(rows.master)), master);
    QCOMPARE(QString::fromStdString(Picture(rows.source)), source);
  }

  void onePassPaddingEqualsTheRowByRowProcedure() {
    QRandomGenerator random(20261207);
    for (int trial = 0; trial < 3000; ++trial) {
      RandomComparison c = MakeRandomComparison(random);
      AlignedRows expected = LiteralPadding(c.masterLines, c.sourceLines, c.records);
      AlignedRows actual = lindrel::demo::AlignRows(c.masterLines, c.sourceLines, c.records);
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
    AlignedRows rows = lindrel::demo::AlignRows(
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
      AlignedRows rows = lindrel::demo::AlignRows(c.masterLines, c.sourceLines, c.records);
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

  void sideBySideModelShowsNumbersTextsAndColours() {
    FileGridModel master;
    QAbstractItemModelTester tester(&master,
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    master.Reset(LinesOf("A\r\nB\tx\r\nC\r\n"),
                 lindrel::demo::AlignRows(3, 2, {{'d', 2, 2, 1, 1}}).master);
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
    source.Reset(LinesOf("A\r\nC\r\n"), lindrel::demo::AlignRows(3, 2, {{'d', 2, 2, 1, 1}}).source);
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
