// The comparison view as a program that embeds it uses it: only the installed headers, no
// demo code. The grids are looked at as the user sees them, through their object names
// and what their models show; every expectation is written out here.
#include <QAbstractItemView>
#include <QFile>
#include <QMimeData>
#include <QPalette>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include <lindrel/widgets/ComparisonPalette.h>
#include <lindrel/widgets/ComparisonView.h>
#include <lindrel/widgets/LindrelWidget.h>

using lindrel::widgets::ComparisonPalette;
using lindrel::widgets::ComparisonView;
using lindrel::widgets::LindrelWidget;

namespace {

const QColor kChange(0xEF, 0xEF, 0xEF);
const QColor kCurrentChange(0xC0, 0xC0, 0xC0);
const QColor kRed(0xFF, 0x00, 0x00);
const QColor kBlue(0x00, 0x00, 0xFF);
const QColor kGreen(0x00, 0x80, 0x00);

// "two" changed to "2", "four" deleted, "six" added at the end.
const QByteArray kMaster = "one\ntwo\nthree\nfour\nfive\n";
const QByteArray kSource = "one\n2\nthree\nfive\nsix\n";

// One row of both side-by-side grids: number and text of each side, the text colour of
// each side (invalid: the normal colour) and whether the row belongs to a change.
struct Row {
  const char* masterNumber;
  const char* masterText;
  const char* sourceNumber;
  const char* sourceText;
  QColor masterFore;
  QColor sourceFore;
  int change;  // 0 for none
};
const Row kRows[] = {
    {"1", "one", "1", "one", {}, {}, 0},     {"2", "two", "2", "2", kRed, kRed, 1},
    {"3", "three", "3", "three", {}, {}, 0}, {"4", "four", "    ", "", kBlue, {}, 2},
    {"5", "five", "4", "five", {}, {}, 0},   {"    ", "", "5", "six", {}, kGreen, 3},
};

QColor Colour(const QVariant& brush) {
  return brush.isValid() ? brush.value<QBrush>().color() : QColor();
}

}  // namespace

class ComparisonViewTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    qputenv("LINDREL_HOME", QFile::encodeName(dir_->path()));
    qputenv("TMPDIR", QFile::encodeName(dir_->path()));
    master_ = Write("master.txt", kMaster);
    source_ = Write("source.txt", kSource);
  }
  void cleanup() { dir_.reset(); }

  void showsTheFilesPaddedAndColouredAndMovesThroughTheChanges() {
    ComparisonView view;
    view.resize(800, 400);
    view.show();
    QSignalSpy shown(&view, &ComparisonView::CurrentChangeChanged);
    CompareAndWait(view, master_, source_);
    QCOMPARE(view.ChangeCount(), 3);
    QCOMPARE(shown.count(), 0);  // nothing is current until the host moves
    CheckRows(view, 0);

    view.MoveFirst();
    QCOMPARE(view.CurrentChange(), 1);
    QCOMPARE(shown.takeFirst().at(0).toInt(), 1);
    CheckRows(view, 1);
    // F7 steps through the rows of a change first; this one has a single row.
    view.MoveNext();
    QCOMPARE(view.CurrentChange(), 2);
    view.MoveLast();
    QCOMPARE(view.CurrentChange(), 3);
    CheckRows(view, 3);
    view.MoveNextChange();  // the last stays the last
    QCOMPARE(view.CurrentChange(), 3);
    view.MovePreviousChange();
    QCOMPARE(view.CurrentChange(), 2);
    view.GoToChange(7);  // not a change: ignored
    QCOMPARE(view.CurrentChange(), 2);
    QCOMPARE(Grid(view, "msfgMaster")->currentIndex().row() + 1, 4);

    // All in one: every line once, master lines of a deletion and source lines of an
    // addition in their colours.
    QSignalSpy switched(&view, &ComparisonView::AllInOneChanged);
    view.SetAllInOne(true);
    QCOMPARE(switched.count(), 1);
    QAbstractItemModel* merged = Grid(view, "msfgAllInOne")->model();
    const char* const texts[] = {"one", "2", "three", "four", "five", "six"};
    QCOMPARE(merged->rowCount(), 6);
    for (int row = 0; row < 6; ++row)
      QCOMPARE(merged->index(row, 1).data().toString(), QString(texts[row]));
    QCOMPARE(Colour(merged->index(3, 1).data(Qt::ForegroundRole)), kBlue);
    QCOMPARE(Colour(merged->index(5, 1).data(Qt::ForegroundRole)), kGreen);
    QCOMPARE(view.CurrentChange(), 2);
  }

  void takesTheColoursOfItsPalette() {
    ComparisonView view;
    ComparisonPalette colours;
    colours.change = QColor(0x20, 0x20, 0x30);
    colours.changed = QColor(0xFF, 0xA0, 0x40);
    view.SetColours(colours);
    CompareAndWait(view, master_, source_);
    QAbstractItemModel* master = Grid(view, "msfgMaster")->model();
    QCOMPARE(Colour(master->index(1, 1).data(Qt::BackgroundRole)), QColor(0x20, 0x20, 0x30));
    QCOMPARE(Colour(master->index(1, 1).data(Qt::ForegroundRole)), QColor(0xFF, 0xA0, 0x40));
    QCOMPARE(Colour(master->index(3, 1).data(Qt::ForegroundRole)), kBlue);  // kept
  }

  void followsADarkPaletteUntilTheHostSetsColours() {
    ComparisonView view;
    const ComparisonPalette standard;
    QCOMPARE(view.Colours().changed, standard.changed);
    QPalette dark = view.palette();
    dark.setColor(QPalette::Window, QColor(0x30, 0x30, 0x30));
    dark.setColor(QPalette::WindowText, QColor(0xE0, 0xE0, 0xE0));
    dark.setColor(QPalette::Base, QColor(0x28, 0x28, 0x28));
    dark.setColor(QPalette::Text, QColor(0xE0, 0xE0, 0xE0));
    view.setPalette(dark);
    const ComparisonPalette darkColours = ComparisonPalette::Dark();
    QCOMPARE(view.Colours().changed, darkColours.changed);
    QCOMPARE(view.Colours().change, darkColours.change);
    CompareAndWait(view, master_, source_);
    QAbstractItemModel* master = Grid(view, "msfgMaster")->model();
    QCOMPARE(Colour(master->index(3, 1).data(Qt::ForegroundRole)), darkColours.onlyInMaster);
    QVERIFY(darkColours.onlyInMaster != kBlue);

    // A host's own colours stay, whatever the palette does next.
    ComparisonPalette own;
    own.changed = QColor(0xFF, 0xA0, 0x40);
    view.SetColours(own);
    view.setPalette(QPalette());
    QCOMPARE(view.Colours().changed, QColor(0xFF, 0xA0, 0x40));
  }

  // Misuse gets an answer, never a crash.
  void answersMisuse() {
    ComparisonView view;
    QSignalSpy shown(&view, &ComparisonView::CurrentChangeChanged);
    // No comparison: moves do nothing.
    for (auto move :
         {&ComparisonView::MoveFirst, &ComparisonView::MoveNext, &ComparisonView::MovePrevious,
          &ComparisonView::MoveLast, &ComparisonView::MoveNextChange, &ComparisonView::ShowDetail})
      (view.*move)();
    view.GoToChange(1);
    QCOMPARE(shown.count(), 0);
    QCOMPARE(view.CurrentChange(), 0);

    CompareAndWait(view, master_, source_);
    QCOMPARE(Grid(view, "msfgMaster")->model()->rowCount(), 6);

    // A missing file is refused as the component refuses it, with its message; the view
    // keeps what it shows.
    QSignalSpy notices(&view, &ComparisonView::Notice);
    QVERIFY(!view.Compare(dir_->filePath("missing.txt"), source_));
    QCOMPARE(notices.count(), 1);
    QCOMPARE(notices.at(0).at(0).toString(), QString("Invalid Master File, may not exist."));
    QCOMPARE(Grid(view, "msfgMaster")->model()->rowCount(), 6);

    // The component destroyed under the view leaves the view empty.
    delete view.Component();
    QCOMPARE(view.Component(), nullptr);
    QCOMPARE(Grid(view, "msfgMaster")->model()->rowCount(), 0);
    view.MoveFirst();
    QCOMPARE(shown.count(), 0);
  }

  // A file that vanished between its comparison and its showing leaves its grid empty,
  // the other uncoloured, and the reason said.
  void saysWhyAFileCannotBeShown() {
    ComparisonView view;
    view.SetShowsCompletions(false);
    CompareAndWait(view, master_, source_);
    QVERIFY(QFile::remove(master_));
    QSignalSpy notices(&view, &ComparisonView::Notice);
    view.ShowResult();
    QVERIFY2(view.Problem().startsWith("Cannot show " + master_), qPrintable(view.Problem()));
    QCOMPARE(notices.count(), 1);
    QCOMPARE(notices.at(0).at(0).toString(), view.Problem());
    QCOMPARE(Grid(view, "msfgMaster")->model()->rowCount(), 0);
    QAbstractItemModel* source = Grid(view, "msfgSource")->model();
    QCOMPARE(source->rowCount(), 5);
    QVERIFY(!source->index(1, 1).data(Qt::ForegroundRole).isValid());
    view.MoveFirst();
    QCOMPARE(view.CurrentChange(), 1);  // remembered, but nothing to show
  }

  void watchesTheComparedFilesAndComparesAgainOnRefresh() {
    ComparisonView view;
    view.show();
    CompareAndWait(view, master_, source_);
    QCOMPARE(view.ChangedOnDiskText(), QString());
    Write("source.txt", kSource + "seven\n");
    QTRY_COMPARE(view.ChangedOnDiskText(), QString("The source file changed on disk."));

    // Nothing connected to RefreshRequested: the view compares the same files again.
    QSignalSpy done(view.Component(), &LindrelWidget::FileCompareCompleted);
    auto* refresh = view.findChild<QPushButton*>("cmdDiskRefresh");
    QVERIFY(refresh);
    refresh->click();
    QVERIFY(done.wait());
    QCOMPARE(view.ChangeCount(), 3);
    QCOMPARE(view.ChangedOnDiskText(), QString());
    QCOMPARE(Grid(view, "msfgSource")->model()->index(6, 1).data().toString(), QString("seven"));

    view.SetWatchesFiles(false);
    Write("master.txt", "gone\n");
    QCoreApplication::processEvents();
    QCOMPARE(view.ChangedOnDiskText(), QString());
  }

  void showsLargeFilesAsTheyWereCompared() {
    // Past a megabyte the files are read while they are compared: what is shown must be
    // the pair of this comparison, also when the same names hold new contents.
    auto lines = [](int count, int changed) {
      QByteArray content;
      for (int i = 1; i <= count; ++i)
        content += (i == changed ? QByteArray("changed ") : QByteArray("line ")) +
                   QByteArray::number(i) + " of a file large enough to be mapped\n";
      return content;
    };
    ComparisonView view;
    view.show();
    const QString master = Write("large-master.txt", lines(30000, 0));
    const QString source = Write("large-source.txt", lines(30000, 12345));
    CompareAndWait(view, master, source);
    QCOMPARE(view.ChangeCount(), 1);
    QCOMPARE(view.MasterLineCount(), 30000);
    QCOMPARE(view.LineText(ComparisonView::Side::Source, 12345, 100),
             QString("changed 12345 of a file large enough to be mapped"));
    QCOMPARE(view.ChangedOnDiskText(), QString());

    Write("large-master.txt", lines(31000, 7));
    CompareAndWait(view, master, source);
    QCOMPARE(view.ChangeCount(), 3);
    QCOMPARE(view.MasterLineCount(), 31000);
    QCOMPARE(view.LineText(ComparisonView::Side::Master, 7, 100),
             QString("changed 7 of a file large enough to be mapped"));

    CompareAndWait(view, master_, source_);
    QCOMPARE(view.MasterLineCount(), 5);
    CheckRows(view, 0);
  }

  void takesDrops() {
    ComparisonView view;
    QSignalSpy pairs(&view, &ComparisonView::FilesDropped);
    QSignalSpy refusals(&view, &ComparisonView::DropRefused);
    QMimeData two;
    two.setUrls({QUrl::fromLocalFile(master_), QUrl::fromLocalFile(source_)});
    view.TakeDrop(&two, ComparisonView::Side::Both);
    QTRY_COMPARE(pairs.count(), 1);
    QCOMPARE(pairs.at(0).at(0).toString(), master_);
    QCOMPARE(pairs.at(0).at(1).toString(), source_);
    QMimeData one;
    one.setUrls({QUrl::fromLocalFile(master_)});
    view.TakeDrop(&one, ComparisonView::Side::Both);
    QCOMPARE(refusals.count(), 1);
    view.SetTakesDrops(false);
    view.TakeDrop(&two, ComparisonView::Side::Both);
    QCoreApplication::processEvents();
    QCOMPARE(pairs.count(), 1);

    // Unheard: a file on each grid in turn makes a pair the view compares.
    ComparisonView alone;
    QSignalSpy notices(&alone, &ComparisonView::Notice);
    QMimeData masterOnly, sourceOnly;
    masterOnly.setUrls({QUrl::fromLocalFile(master_)});
    sourceOnly.setUrls({QUrl::fromLocalFile(source_)});
    alone.TakeDrop(&masterOnly, ComparisonView::Side::Master);
    QCOMPARE(notices.count(), 1);
    alone.TakeDrop(&sourceOnly, ComparisonView::Side::Source);
    QTRY_VERIFY(alone.Component() != nullptr);
    QTRY_COMPARE(alone.ChangeCount(), 3);
    QTRY_COMPARE(alone.MasterFile(), master_);
  }

  // Find, Go To Line and the word marks of every changed row, in both views.
  void findsGoesToLinesAndMarksTheWordsOfEveryChange() {
    const QString master = Write("fm.txt", "one fish two fish\nred fish\nblue fish\nold here\n");
    const QString source = Write("fs.txt", "one fish 2 fish\nred fish\nblue fish\nnew here\n");
    ComparisonView view;
    view.resize(800, 400);
    view.show();
    CompareAndWait(view, master, source);
    QSignalSpy finished(&view, &ComparisonView::FindFinished);
    // 1 found, 0 not found, -1 answered on the spot or never (the window must go on
    // meanwhile, and hear the end).
    auto find = [&](bool next) {
      finished.clear();
      next ? view.FindNext() : view.FindPrevious();
      const bool running = view.Finding() && finished.isEmpty();
      if (!running || !finished.wait(10000)) return -1;
      return finished.first().first().toBool() ? 1 : 0;
    };

    view.SetFindText("fish");
    // Master before source on a row, each from its start.
    for (const char* expected :
         {"Line 1 of the master.", "Line 1 of the master.", "Line 1 of the source."}) {
      QCOMPARE(find(true), 1);
      QCOMPARE(view.FindStatus(), QString(expected));
    }
    QVERIFY(view.FindBarShown());
    QCOMPARE(find(false), 1);
    QCOMPARE(view.FindStatus(), QString("Line 1 of the master."));

    view.SetFindText("here");
    QCOMPARE(find(true), 1);
    QCOMPARE(view.FindStatus(), QString("Line 4 of the master."));
    QCOMPARE(view.CurrentLine(ComparisonView::Side::Master), 4L);
    QCOMPARE(find(true), 1);
    QCOMPARE(view.FindStatus(), QString("Line 4 of the source."));
    QCOMPARE(find(true), 1);
    QCOMPARE(view.FindStatus(), QString("Line 4 of the master. Went on from the top."));

    view.SetFindText("zebra");
    QCOMPARE(find(true), 0);
    QCOMPARE(view.FindStatus(), QString("No match for \"zebra\"."));
    view.SetFindText("RED");
    view.SetFindMatchCase(true);
    QCOMPARE(find(true), 0);
    view.SetFindMatchCase(false);
    QCOMPARE(find(true), 1);
    QCOMPARE(view.CurrentLine(ComparisonView::Side::Source), 2L);
    view.HideFindBar();
    QVERIFY(!view.FindBarShown());

    view.SetAllInOne(true);
    QVERIFY(view.GoToLine(ComparisonView::Side::Source, 3));
    QCOMPARE(view.CurrentLine(ComparisonView::Side::Master), 3L);
    QCOMPARE(Grid(view, "msfgAllInOne")->currentIndex().row(), 2);
    QVERIFY(!view.GoToLine(ComparisonView::Side::Master, 5));
    QVERIFY(!view.GoToLine(ComparisonView::Side::Source, 0));
    QCOMPARE(view.CurrentLine(ComparisonView::Side::Master), 3L);

    // The marks' edge is drawn in the palette's colour: a colour nothing else uses.
    ComparisonPalette colours;
    colours.changedWords = QColor(0x12, 0x34, 0x56);
    view.SetColours(colours);
    QVERIFY(!view.MarksWordsInEveryChange());
    for (const char* grid : {"msfgAllInOne", "msfgMaster"}) {
      view.SetAllInOne(QByteArray(grid) == "msfgAllInOne");
      view.SetMarksWordsInEveryChange(false);
      QCOMPARE(PixelsOf(view, grid, 0, colours.changedWords), 0);
      view.SetMarksWordsInEveryChange(true);
      QVERIFY2(PixelsOf(view, grid, 0, colours.changedWords) > 0, grid);
      QVERIFY2(PixelsOf(view, grid, 3, colours.changedWords) > 0, grid);
      QCOMPARE(PixelsOf(view, grid, 1, colours.changedWords), 0);
    }
  }

 private:
  QString Write(const QString& name, const QByteArray& content) {
    const QString path = dir_->filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size()) return {};
    return path;
  }

  // Pixels of `colour` in the text cell of model row `row` of grid `name`, as drawn now.
  static int PixelsOf(const ComparisonView& view, const char* name, int row, const QColor& colour) {
    QAbstractItemView* grid = Grid(view, name);
    const QImage image = grid->viewport()->grab().toImage();
    const QRect cell = grid->visualRect(grid->model()->index(row, 1));
    int count = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
      for (int x = cell.left(); x <= cell.right(); ++x)
        if (image.pixelColor(x, y) == colour) ++count;
    return count;
  }

  static QAbstractItemView* Grid(const ComparisonView& view, const char* name) {
    auto* grid = view.findChild<QAbstractItemView*>(QString::fromUtf8(name));
    if (grid == nullptr) qFatal("the view has no %s", name);
    return grid;
  }

  static void CompareAndWait(ComparisonView& view, const QString& master, const QString& source) {
    QVERIFY(view.Compare(master, source));
    QSignalSpy done(view.Component(), &LindrelWidget::FileCompareCompleted);
    QVERIFY(done.wait());
  }

  // Both grids against kRows, with change `current` on the current-change back.
  static void CheckRows(const ComparisonView& view, int current) {
    QAbstractItemModel* master = Grid(view, "msfgMaster")->model();
    QAbstractItemModel* source = Grid(view, "msfgSource")->model();
    QCOMPARE(master->rowCount(), int(std::size(kRows)));
    QCOMPARE(source->rowCount(), int(std::size(kRows)));
    for (int row = 0; row < int(std::size(kRows)); ++row) {
      const Row& r = kRows[row];
      const QColor back = r.change == 0 ? QColor() : r.change == current ? kCurrentChange : kChange;
      for (auto [model, number, text, fore] :
           {std::tuple{master, r.masterNumber, r.masterText, r.masterFore},
            std::tuple{source, r.sourceNumber, r.sourceText, r.sourceFore}}) {
        const QString where = QStringLiteral("row %1").arg(row + 1);
        QVERIFY2(model->index(row, 0).data().toString() == QString(number), qPrintable(where));
        QVERIFY2(model->index(row, 1).data().toString() == QString(text), qPrintable(where));
        QVERIFY2(Colour(model->index(row, 1).data(Qt::ForegroundRole)) == fore, qPrintable(where));
        QVERIFY2(Colour(model->index(row, 1).data(Qt::BackgroundRole)) == back, qPrintable(where));
      }
    }
  }

  std::unique_ptr<QTemporaryDir> dir_;
  QString master_;
  QString source_;
};

QTEST_MAIN(ComparisonViewTest)
#include "ComparisonViewTest.moc"
