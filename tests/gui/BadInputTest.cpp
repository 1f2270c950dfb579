// The desktop program under bad input and unlucky timing, as a hostile or unlucky user
// meets it: reports whose path cannot be written, files that change while they are
// compared, file names that are not UTF-8, placements off every screen or full of
// garbage, and refused steps. Each case checks what the user is shown and what is left
// on disk. Pauses and the clock are injected; nothing waits real seconds.
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

#include "GuiTestEnvironment.h"
#include "ViewParts.h"
#include "demo/common/DesktopOpener.h"
#include "demo/common/FileNames.h"
#include "demo/common/UiTiming.h"
#include "demo/compare-dirs/CompareDirWindow.h"
#include "demo/compare-files/CompareFilesOptionsDialog.h"
#include "demo/compare-files/CompareFilesWindow.h"
#include "demo/main/DemoApplication.h"
#include "demo/main/MainWindow.h"
#include "lindrel/widgets/LindrelWidget.h"
#include "widgets/ModalDialogsTesting.h"
#include "widgets/view/FileGridModel.h"

using namespace lindrel::testing;

using lindrel::demo::CompareDirWindow;
using lindrel::demo::CompareFilesWindow;
using lindrel::demo::MainWindow;
using lindrel::testing::GuiTestEnvironment;
namespace widgets = lindrel::widgets;

namespace {

const QByteArray kMaster = "alpha\nbeta\ngamma\ndelta\n";
const QByteArray kSource = "alpha\nBETA\ngamma\ndelta\nepsilon\n";

// Writes `content` to the file whose name is exactly `bytes`.
bool WriteRaw(const QByteArray& bytes, const QByteArray& content) {
  const int fd = ::open(bytes.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (fd < 0) return false;
  const bool written =
      ::write(fd, content.constData(), static_cast<size_t>(content.size())) == content.size();
  return ::close(fd) == 0 && written;
}

// True when a user can grab the window's top edge on one of `areas`.
bool Reachable(const QRect& window, const QList<QRect>& areas) {
  for (const QRect& area : areas) {
    const QRect top = QRect(window.topLeft(), QSize(window.width(), std::min(window.height(), 30)))
                          .intersected(area);
    if (top.width() >= std::min(window.width(), 100) &&
        top.height() >= std::min(window.height(), 30) && window.width() <= area.width() &&
        window.height() <= area.height())
      return true;
  }
  return false;
}

QList<QRect> ScreenAreas() {
  QList<QRect> areas;
  for (const QScreen* screen : QGuiApplication::screens()) areas << screen->availableGeometry();
  return areas;
}

}  // namespace

class BadInputTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    clock_ = 1000;
    env_ = std::make_unique<GuiTestEnvironment>(GuiTestEnvironment::SimulatedClock(clock_));
  }
  void cleanup() {
    lindrel::demo::TEST_SetOpener(nullptr);
    opened_.clear();
    widgets::TEST_SetModalHandler(nullptr);
    env_.reset();
  }

  // --- Reports --------------------------------------------------------------------------

  void aReportIsOpenedOnlyWhenThisRequestWroteIt_data() {
    QTest::addColumn<QString>("target");   // "master", "source" or "old report"
    QTest::addColumn<bool>("masterGone");  // removed after the comparison
    QTest::addColumn<QString>("why");      // what the status must say
    QTest::newRow("path of the master file") << "master" << false << "is the master file";
    QTest::newRow("path of the source file") << "source" << false << "is the source file";
    QTest::newRow("older report, master gone")
        << "old report" << true << "cannot read the master file";
  }
  void aReportIsOpenedOnlyWhenThisRequestWroteIt() {
    QFETCH(QString, target);
    QFETCH(bool, masterGone);
    QFETCH(QString, why);
    RecordOpenedFiles();
    const QString master = env_->Write("m.txt", kMaster);
    const QString source = env_->Write("s.txt", kSource);
    const QString old = env_->Write("old report.txt", "an older report\n");
    const QString path = target == "master" ? master : target == "source" ? source : old;

    CompareFilesWindow window;
    window.ComparePair(master, source);
    WaitForCompletion(window);
    if (masterGone) QFile::remove(master);
    auto report = window.ReportSettings();
    report.defaultType = lindrel::kReportFormatText;
    report.textPath = path;
    report.commaDelimitedPath = path;
    report.htmlPath = path;
    window.SetReportSettings(report);
    const QByteArray before = GuiTestEnvironment::Read(path);

    // Every way to a report: View Report, the three menu entries.
    for (int type : {lindrel::kReportFormatText, lindrel::kReportFormatHtml,
                     lindrel::kReportFormatCommaDelimited}) {
      report.defaultType = type;
      window.SetReportSettings(report);
      window.cmdViewReport_Click();
      QVERIFY2(window.StatusText(3).startsWith("The report was not written: ") &&
                   window.StatusText(3).contains(why),
               qPrintable(window.StatusText(3)));
    }
    window.mnuReportTextFile_Click();
    window.mnuReportHTMLFile_Click();
    window.mnuReportCommaDelimitedFile_Click();
    QVERIFY2(window.StatusText(3).contains(why), qPrintable(window.StatusText(3)));
    QCOMPARE(opened_, QStringList());
    QCOMPARE(GuiTestEnvironment::Read(path), before);

    // Show-report-only mode says the same after its completion text.
    if (!masterGone) {
      window.SetShowReportOnly(true);
      window.DoComparison();
      WaitForCompletion(window);
      QVERIFY2(
          window.StatusText(3).startsWith("File Compare Completed. The report was not written: ") &&
              window.StatusText(3).contains(why),
          qPrintable(window.StatusText(3)));
      QCOMPARE(opened_, QStringList());
    }

    // A path the component can write is written and opened, as before.
    if (!masterGone) {
      window.SetShowReportOnly(false);
      report.textPath = env_->Root() + "/new report.txt";
      report.defaultType = lindrel::kReportFormatText;
      window.SetReportSettings(report);
      window.cmdViewReport_Click();
      QCOMPARE(window.StatusText(3), QString("Launching Report"));
      QCOMPARE(opened_, QStringList{report.textPath});
      QVERIFY(QFile(report.textPath).size() > 0);
    }
  }

  void aDelimitedReportOfNoDifferencesOpensNoOlderFile() {
    RecordOpenedFiles();
    const QString old = env_->Write("old.csv", "an older report\n");
    CompareFilesWindow window;
    window.ComparePair(env_->Write("m.txt", kMaster), env_->Write("s.txt", kMaster));
    WaitForCompletion(window);
    auto report = window.ReportSettings();
    report.defaultType = lindrel::kReportFormatCommaDelimited;
    report.commaDelimitedPath = old;
    window.SetReportSettings(report);
    window.cmdViewReport_Click();
    QCOMPARE(window.StatusText(3),
             QString("The report was not written: the comparison found no differences to list"));
    window.mnuReportCommaDelimitedFile_Click();
    QCOMPARE(opened_, QStringList());
    QCOMPARE(GuiTestEnvironment::Read(old), QByteArray("an older report\n"));
  }

  // --- Refused steps leave a status that says what happened ------------------------------

  void aRefusedStepSaysWhatHappened() {
    CompareFilesWindow window;
    window.ComparePair(env_->Write("m.txt", kMaster), env_->Root() + "/missing.txt");
    QCOMPARE(window.StatusText(3), "File does not exist: " + env_->Root() + "/missing.txt");

    window.ComparePair(env_->Root() + "/m.txt", env_->Write("s.txt", kSource));
    WaitForCompletion(window);
    auto report = window.ReportSettings();
    report.defaultType = 4;
    window.SetReportSettings(report);
    window.cmdViewReport_Click();
    QVERIFY2(window.StatusText(3).startsWith("The report was not written: report type 4"),
             qPrintable(window.StatusText(3)));

    // A directory comparison the component refuses (no master directory).
    CompareDirWindow dirs;
    widgets::TEST_SetModalHandler([this](QDialog& dialog) {
      dialog.findChild<QComboBox*>("cbMasterDirectory")->setEditText(QString());
      dialog.findChild<QComboBox*>("cbSourceDirectory")->setEditText(env_->Root());
      dialog.findChild<QPushButton*>("cmdCompareDirectories")->click();
    });
    dirs.CompareDirectories();
    widgets::TEST_SetModalHandler(nullptr);
    QVERIFY2(dirs.StatusText(3).startsWith("The directory comparison did not start: "),
             qPrintable(dirs.StatusText(3)));
  }

  // --- Files that change while they are compared --------------------------------------------

  void aFileChangedWhileComparedIsNoticed_data() {
    QTest::addColumn<QString>("side");
    QTest::addColumn<QByteArray>("now");  // the file's content when the grids load
    QTest::addColumn<QString>("change");  // %1: its size then, %2: its size when compared
    QTest::newRow("master truncated")
        << "master" << QByteArray() << "is now %1 bytes, it was %2 when compared";
    QTest::newRow("source shrunk")
        << "source" << QByteArray("alpha\n") << "is now %1 bytes, it was %2 when compared";
    QTest::newRow("master grown") << "master" << kMaster + "more\nand more\n"
                                  << "is now %1 bytes, it was %2 when compared";
    QTest::newRow("source rewritten, same size")
        << "source" << QByteArray(kSource).replace('a', 'A') << "was rewritten";
    QTest::newRow("master replaced") << "master" << QByteArray("*replace*") << "was replaced";
  }
  void aFileChangedWhileComparedIsNoticed() {
    QFETCH(QString, side);
    QFETCH(QByteArray, now);
    QFETCH(QString, change);
    const QString master = env_->Write("m.txt", kMaster);
    const QString source = env_->Write("s.txt", kSource);
    const QString path = side == "master" ? master : source;
    if (change.contains("%1"))
      change = change.arg(now.size()).arg((side == "master" ? kMaster : kSource).size());
    CompareFilesWindow window;
    window.TEST_SetCompletionProbe([&] {
      if (now == "*replace*") {
        // Another file under the same name, of the same size.
        const QString other = env_->Write("other.txt", QByteArray(kMaster).replace('l', 'L'));
        QVERIFY(::rename(QFile::encodeName(other).constData(),
                         QFile::encodeName(path).constData()) == 0);
      } else {
        // Written in place; the last-write time may not move between two quick writes.
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite | QIODevice::Truncate));
        file.write(now);
        // Later than the comparison, as a write a moment after it would be; the file
        // system's clock may not have moved on yet.
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(2),
                                 QFileDevice::FileModificationTime));
      }
    });
    window.ComparePair(master, source);
    WaitForCompletion(window);
    const QString status = window.StatusText(3);
    QVERIFY2(status.contains("Changed since the comparison: " + path + " " + change) &&
                 status.contains("The view may not match the files"),
             qPrintable(status));
    const QStringList messages = GuiTestEnvironment::ShownMessages();
    QVERIFY2(!messages.isEmpty() && messages.last().contains(path + " " + change),
             qPrintable(messages.join('\n')));

    // Compared again as they are now: nothing to warn about.
    window.TEST_SetCompletionProbe(nullptr);
    window.Refresh_View();
    WaitForCompletion(window);
    QCOMPARE(window.StatusText(3), QString("File Compare Completed"));
  }

  // --- File names that are not UTF-8 ----------------------------------------------------------

  void fileNamesThatAreNotUtf8AreComparedAndReported() {
    const QByteArray root = QFile::encodeName(env_->Root());
    QVERIFY(QDir(env_->Root()).mkpath("m") && QDir(env_->Root()).mkpath("s"));
    const QByteArray name = "caf\xe9 \xff\xfe.txt";  // Latin-1 and stray bytes
    QVERIFY(WriteRaw(root + "/m/" + name, kMaster));
    QVERIFY(WriteRaw(root + "/s/" + name, kSource));
    RecordOpenedFiles();

    MainWindow main(lindrel::demo::DemoChildFactories());
    main.show();
    // Found by a directory comparison, opened from its row.
    main.ShowChild(MainWindow::kCompareDir);
    auto* dirs = qobject_cast<CompareDirWindow*>(main.Child(MainWindow::kCompareDir));
    QVERIFY(dirs != nullptr);
    dirs->CompareDirectoriesPair(env_->Root() + "/m", env_->Root() + "/s");
    QTRY_VERIFY_WITH_TIMEOUT(dirs->StatusText(3).startsWith("Compare Completed"), 20000);
    int row = 0;
    for (int r = 1; r < dirs->GridModel().GridRowCount(); ++r)
      if (dirs->GridModel().Row(r).text[0].contains("caf")) row = r;
    QVERIFY(row > 0);
    widgets::TEST_SetModalHandler([](QDialog& dialog) { dialog.accept(); });
    dirs->OpenRow(row);
    auto* files = qobject_cast<CompareFilesWindow*>(main.Child(MainWindow::kCompareFiles));
    QVERIFY(files != nullptr);
    WaitForCompletion(*files);
    QVERIFY2(GuiTestEnvironment::ShownMessages().isEmpty(),
             qPrintable(GuiTestEnvironment::ShownMessages().join('\n')));
    QCOMPARE(RecordCount(files), 2);
    QCOMPARE(MasterModel(files).LineText(2), QString("beta"));
    QCOMPARE(lindrel::demo::FileNameToBytes(files->MasterFileName()), root + "/m/" + name);
    QVERIFY(MasterModel(files).HeaderText().endsWith(
        QString::fromUtf8("caf\xEF\xBF\xBD \xEF\xBF\xBD\xEF\xBF\xBD.txt")));

    // Reported: the report names the file by its bytes.
    auto report = files->ReportSettings();
    report.textPath = env_->Root() + "/report.txt";
    files->SetReportSettings(report);
    files->mnuReportTextFile_Click();
    QVERIFY(GuiTestEnvironment::Read(report.textPath).contains(root + "/m/" + name));
    QCOMPARE(opened_, QStringList{report.textPath});

    // The history keeps the bytes: a later session compares the same files again.
    main.Child(MainWindow::kCompareFiles)->parentWidget()->close();
    {
      CompareFilesWindow again;
      QCOMPARE(lindrel::demo::FileNameToBytes(again.MasterFileName()), root + "/m/" + name);
      again.DoComparison();
      WaitForCompletion(again);
      QCOMPARE(RecordCount(again), 2);
    }

    // From the command line, as the operands' bytes.
    const QByteArray master = root + "/m/" + name, source = root + "/s/" + name;
    const char* argv[] = {"LindrelDemo", master.constData(), source.constData()};
    lindrel::demo::OpenFromCommandLine(main, lindrel::demo::FileNameArguments(3, argv));
    files = qobject_cast<CompareFilesWindow*>(main.Child(MainWindow::kCompareFiles));
    WaitForCompletion(*files);
    QVERIFY2(GuiTestEnvironment::ShownMessages().isEmpty(),
             qPrintable(GuiTestEnvironment::ShownMessages().join('\n')));
    QCOMPARE(lindrel::demo::FileNameToBytes(files->SourceFileName()), source);
    QCOMPARE(RecordCount(files), 2);
    // Qt's own directory removal does not see these names.
    ::unlink(master.constData());
    ::unlink(source.constData());
  }

  void fileNameBytesSurviveTheRoundTrip() {
    // Every byte value but NUL and "/", alone and in the sequences that are almost UTF-8.
    QList<QByteArray> names{"plain.txt", "caf\xc3\xa9", "\xf0\x9f\x98\x80", "\xe6\xbc\xa2"};
    for (int b = 1; b < 256; ++b)
      if (b != '/') names << QByteArray("x") + char(b) + "y";
    names << "\xc0\xaf"
          << "\xe0\x80\xaf"
          << "\xed\xa0\x80"
          << "\xed\xb2\x80"
          << "\xf4\x90\x80\x80"
          << "\xc3"
          << "\xe6\xbc"
          << "\xf0\x9f\x98"
          << "\xed\xa0\x80\xed\xb0\x80"
          << "\xc3\xa9\xff\xc3\xa9";
    for (const QByteArray& bytes : names) {
      const QString name = lindrel::demo::FileNameFromBytes(bytes);
      QCOMPARE(lindrel::demo::FileNameToBytes(name), bytes);
      if (QUtf8StringView(bytes).isValidUtf8()) QCOMPARE(name, QString::fromUtf8(bytes));
      QVERIFY(!lindrel::demo::ShownFileName(name).contains(QChar(0xDCFF)));
    }
  }

  // --- Window placement ----------------------------------------------------------------------

  void aStoredPlacementOffEveryScreenIsBroughtBack_data() {
    QTest::addColumn<QList<int>>("placement");  // Left, Top, Width, Height in twips
    QTest::newRow("second monitor gone (right)") << QList<int>{60000, 1500, 9000, 6000};
    QTest::newRow("second monitor gone (left)") << QList<int>{-45000, 1500, 9000, 6000};
    QTest::newRow("far below") << QList<int>{1500, 900000, 9000, 6000};
    QTest::newRow("extreme position") << QList<int>{-2147483647, 2147483647, 9000, 6000};
    QTest::newRow("extreme size") << QList<int>{0, 0, 2147483647, 2147483647};
    QTest::newRow("title above the screen") << QList<int>{1500, -3000, 9000, 6000};
  }
  void aStoredPlacementOffEveryScreenIsBroughtBack() {
    QFETCH(QList<int>, placement);
    {
      QSettings store(env_->PlacementFile(), QSettings::IniFormat);
      for (const QString& group :
           {QString("SettingsfrmMainMDI"), QString("SettingsfrmCompareFiles")}) {
        store.beginGroup(group);
        store.setValue("WindowState", 0);
        store.setValue("Left", placement[0]);
        store.setValue("Top", placement[1]);
        store.setValue("Width", placement[2]);
        store.setValue("Height", placement[3]);
        store.endGroup();
      }
    }
    MainWindow main(lindrel::demo::DemoChildFactories());
    QVERIFY2(Reachable(QRect(main.pos(), main.size()), ScreenAreas()),
             qPrintable(QString("main window at %1,%2 size %3x%4")
                            .arg(main.pos().x())
                            .arg(main.pos().y())
                            .arg(main.width())
                            .arg(main.height())));
    main.resize(700, 500);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    main.ShowChild(MainWindow::kCompareFiles);
    QWidget* frame = main.Child(MainWindow::kCompareFiles)->parentWidget();
    QVERIFY(qobject_cast<QMdiSubWindow*>(frame) != nullptr);
    QVERIFY2(Reachable(QRect(frame->pos(), frame->size()), {main.MdiArea()->viewport()->rect()}),
             qPrintable(QString("child at %1,%2 size %3x%4 in %5x%6")
                            .arg(frame->pos().x())
                            .arg(frame->pos().y())
                            .arg(frame->width())
                            .arg(frame->height())
                            .arg(main.MdiArea()->viewport()->width())
                            .arg(main.MdiArea()->viewport()->height())));
  }

  void aPlacementStoreHoldingGarbageIsRewrittenWithoutFalseAlarm_data() {
    QTest::addColumn<QByteArray>("garbage");
    QTest::newRow("binary") << QByteArray("\x01\x02\xff\xfe garbage \n[[[[\n=\n");
    QTest::newRow("unterminated section") << QByteArray("[SettingsfrmMainMDI\nLeft=abc\n");
    QTest::newRow("stray quote") << QByteArray("\"\n");
    QTest::newRow("backslash") << QByteArray("%%%%\n[x]\n\\\n");
  }
  void aPlacementStoreHoldingGarbageIsRewrittenWithoutFalseAlarm() {
    QFETCH(QByteArray, garbage);
    env_->Write("home/LindrelDemo.ini", garbage);
    {
      MainWindow main(lindrel::demo::DemoChildFactories());
      main.setWindowState(Qt::WindowNoState);
      main.move(30, 40);
      main.resize(600, 450);
      main.show();
      QVERIFY(QTest::qWaitForWindowExposed(&main));
      main.ShowChild(MainWindow::kCompareFiles);
      main.close();
    }
    QVERIFY2(GuiTestEnvironment::ShownMessages().isEmpty(),
             qPrintable(GuiTestEnvironment::ShownMessages().join('\n')));
    QSettings store(env_->PlacementFile(), QSettings::IniFormat);
    QCOMPARE(store.value("SettingsfrmMainMDI/Left").toInt(), 30 * 15);
    QCOMPARE(store.value("SettingsfrmMainMDI/Height").toInt(), 450 * 15);
    QVERIFY(store.contains("SettingsfrmCompareFiles/WindowState"));
  }

  void aPlacementStoreThatCannotBeWrittenIsNamed() {
    // A folder where the store's file should be: nothing can be written there.
    QVERIFY(QDir(env_->Home()).mkpath("LindrelDemo.ini"));
    {
      MainWindow main;
      main.close();
    }
    const QStringList messages = GuiTestEnvironment::ShownMessages();
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages[0].contains("cannot write the window placement to " + env_->PlacementFile()),
             qPrintable(messages[0]));
  }

 private:
  void WaitForCompletion(CompareFilesWindow& window) {
    QTRY_VERIFY_WITH_TIMEOUT(window.StatusText(3).startsWith("File Compare Completed"), 20000);
  }

  void RecordOpenedFiles() {
    lindrel::demo::TEST_SetOpener([this](const QString& path) { opened_ << path; });
  }

  std::unique_ptr<GuiTestEnvironment> env_;
  long clock_ = 0;
  QStringList opened_;
};

QTEST_MAIN(BadInputTest)
#include "BadInputTest.moc"
