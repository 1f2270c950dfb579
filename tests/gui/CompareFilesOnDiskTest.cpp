// Files that change on disk after a comparison, and files and folders dropped on the
// program's windows. The changes are real writes, renames and removals seen through the
// file system's notifications; waits end as soon as the window has reacted.
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMimeData>
#include <QPushButton>
#include <QTextEdit>
#include <QUrl>
#include <QtTest>

#include <unistd.h>

#include "GuiTestEnvironment.h"
#include "ViewParts.h"
#include "demo/common/FileNames.h"
#include "demo/common/UiTiming.h"
#include "demo/compare-dirs/CompareDirWindow.h"
#include "demo/compare-files/CompareFilesWindow.h"
#include "demo/compare-files/LegendBar.h"
#include "demo/main/DemoApplication.h"
#include "demo/main/MainWindow.h"
#include "lindrel/widgets/LindrelWidget.h"
#include "widgets/ModalDialogsTesting.h"
#include "widgets/view/ComparedFilesWatcher.h"
#include "widgets/view/ComparisonGrid.h"

using namespace lindrel::testing;

using lindrel::demo::CompareDirWindow;
using lindrel::demo::CompareFilesWindow;
using lindrel::demo::MainWindow;
using lindrel::testing::GuiTestEnvironment;
namespace widgets = lindrel::widgets;

namespace {

constexpr int kReactMs = 5000;  // an upper bound: the waits end when the window has reacted

QUrl FileUrl(const QByteArray& pathBytes, const QByteArray& host = {}) {
  return QUrl::fromEncoded("file://" + host + pathBytes.toPercentEncoding("/"));
}

// Appends `text` to the file named by `pathBytes`, making it when missing.
bool Append(const QByteArray& pathBytes, const char* text) {
  FILE* f = std::fopen(pathBytes.constData(), "a");
  if (f == nullptr) return false;
  const bool written = std::fputs(text, f) >= 0;
  return std::fclose(f) == 0 && written;
}

QMimeData* Paths(const QList<QUrl>& urls) {
  auto* data = new QMimeData;
  data->setUrls(urls);
  return data;
}

// Drags `data` over the middle of `under` and drops it there, as a file manager does: the
// events go to the innermost widget there that takes drops, as the window system's do.
bool Drop(QWidget* under, QMimeData* data) {
  std::unique_ptr<QMimeData> owned(data);
  const QPoint centre = under->rect().center();
  QWidget* receiver = under->childAt(centre) != nullptr ? under->childAt(centre) : under;
  while (receiver != nullptr && !receiver->acceptDrops()) receiver = receiver->parentWidget();
  if (receiver == nullptr) return false;
  const QPoint at = receiver->mapFromGlobal(under->mapToGlobal(centre));
  QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(receiver, &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(QPointF(at), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(receiver, &drop);
  return drop.isAccepted();
}

}  // namespace

class CompareFilesOnDiskTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { env_ = std::make_unique<GuiTestEnvironment>(GuiTestEnvironment::NoPauses()); }
  void cleanup() { env_.reset(); }

  // A write in place, a rename over the file (as editors save), a removal: each shows the
  // bar naming the file, and none compares again; Refresh compares and the bar goes; a
  // file written next to them says nothing.
  void barNamesTheFileThatChangedAndNeverRefreshesByItself() {
    CompareFilesWindow window;
    window.show();
    int started = 0;
    connect(window.Lindrel1(), &widgets::LindrelWidget::FileCompareStarted, this,
            [&] { ++started; });
    const QString master = env_->Write("pair/master.txt", "a\nb\nc\n");
    const QString source = env_->Write("pair/source.txt", "a\nB\nc\n");
    Compare(window, master, source, started);
    QVERIFY(ChangedOnDiskBar(window)->isHidden());

    env_->Write("pair/report.txt", "a report next to the files\n");
    env_->Write("pair/source.txt", "a\nB\nc\nd\n");
    QTRY_COMPARE_WITH_TIMEOUT(ChangedOnDiskText(window),
                              QString("The source file changed on disk."), kReactMs);
    QCOMPARE(started, 1);

    // Refresh on the bar compares again; the new comparison takes the bar away.
    QTest::mouseClick(ChangedOnDiskRefreshButton(window), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(window.StatusText(3).startsWith("File Compare Completed"), 20000);
    QCOMPARE(started, 2);
    QVERIFY(ChangedOnDiskBar(window)->isHidden());
    QCOMPARE(SourceLineCount(window), 4);

    // Saved the way many editors save: a new file renamed over the old one.
    env_->Write("pair/master.txt.new", "a\nb\nc\nd\n");
    QVERIFY(::rename(QFile::encodeName(master + ".new").constData(),
                     QFile::encodeName(master).constData()) == 0);
    QTRY_COMPARE_WITH_TIMEOUT(ChangedOnDiskText(window),
                              QString("The master file changed on disk."), kReactMs);
    // The file now under that name is watched in its turn.
    QFile::remove(master);
    QTRY_COMPARE_WITH_TIMEOUT(ChangedOnDiskText(window),
                              QString("The master file is no longer on disk."), kReactMs);
    QCOMPARE(started, 2);

    // F5 on a missing file starts nothing: the bar still tells the truth.
    window.Refresh_View();
    QCOMPARE(started, 2);
    QVERIFY(!ChangedOnDiskBar(window)->isHidden());

    // After a new comparison, a rename over the new file and then a write in place to the
    // file renamed in: both are seen.
    env_->Write("pair/master.txt", "a\nb\n");
    Compare(window, master, source, started);
    QVERIFY(ChangedOnDiskBar(window)->isHidden());
    env_->Write("pair/source.txt.new", "x\n");
    QVERIFY(::rename(QFile::encodeName(source + ".new").constData(),
                     QFile::encodeName(source).constData()) == 0);
    env_->Write("pair/master.txt", "a\nb\nc\n");
    QTRY_COMPARE_WITH_TIMEOUT(ChangedOnDiskText(window),
                              QString("The master and source files changed on disk."), kReactMs);
    QCOMPARE(started, 3);
  }

  // The folders on the way to the files are watched too: renamed (and back), removed and
  // made again with new files, at the files' own level and further up, the bar says each
  // time what has become of the files. Made again before the window hears of it, or
  // after the new folder is watched: both orders are taken in turn, not left to chance.
  void foldersOnTheWayAreWatchedAndFollowed() {
    CompareFilesWindow window;
    window.show();
    int started = 0;
    connect(window.Lindrel1(), &widgets::LindrelWidget::FileCompareStarted, this,
            [&] { ++started; });
    const QString master = env_->Write("up/pair/m.txt", "a\nb\n");
    const QString source = env_->Write("up/pair/s.txt", "a\nc\n");
    Compare(window, master, source, started);
    QVERIFY(!Watcher(window)->IsPolling());  // the news come from the kernel, at once
    const QString up = env_->Root() + "/up", pair = up + "/pair";
    const QString bothGone = "The master and source files are no longer on disk.";

    QVERIFY(QDir().rename(pair, pair + ".moved"));
    QTRY_COMPARE_WITH_TIMEOUT(ChangedOnDiskText(window), bothGone, kReactMs);
    QVERIFY(QDir().rename(pair + ".moved", pair));
    QTRY_VERIFY_WITH_TIMEOUT(ChangedOnDiskBar(window)->isHidden(), kReactMs);

    QVERIFY(QDir(pair).removeRecursively());
    QTRY_COMPARE_WITH_TIMEOUT(ChangedOnDiskText(window), bothGone, kReactMs);
    // A file where the folder was leads nowhere, and needs no looking at in turn.
    env_->Write("up/pair", "a file\n");
    Watcher(window)->Check();
    QVERIFY(!Watcher(window)->IsPolling());
    QCOMPARE(ChangedOnDiskText(window), bothGone);
    QVERIFY(QFile::remove(pair));
    env_->Write("up/pair/m.txt", "new\n");
    QTRY_COMPARE_WITH_TIMEOUT(
        ChangedOnDiskText(window),
        QString("The master file changed on disk. The source file is no longer on disk."),
        kReactMs);

    QVERIFY(QDir(up).removeRecursively());
    QTRY_COMPARE_WITH_TIMEOUT(ChangedOnDiskText(window), bothGone, kReactMs);
    QVERIFY(QDir().mkpath(pair));
    QTRY_VERIFY_WITH_TIMEOUT(Watcher(window)->WatchedPaths().contains(pair), kReactMs);
    env_->Write("up/pair/m.txt", "a\nb\n");
    env_->Write("up/pair/s.txt", "newer\n");
    QTRY_COMPARE_WITH_TIMEOUT(ChangedOnDiskText(window),
                              QString("The master and source files changed on disk."), kReactMs);
    QCOMPARE(started, 1);
  }

  // A file whose name is not UTF-8 is watched by the name's bytes: a write to it is seen.
  void aNameThatIsNotUtf8IsWatchedByItsBytes() {
    CompareFilesWindow window;
    window.show();
    int started = 0;
    connect(window.Lindrel1(), &widgets::LindrelWidget::FileCompareStarted, this,
            [&] { ++started; });
    const QString source = env_->Write("odd/plain.txt", "1\n2\n");
    const QByteArray odd = QFile::encodeName(env_->Root()) + "/odd/caf\xE9.txt";
    // Removed by hand: the temporary folder's own clean-up cannot name it.
    struct Unlink {
      QByteArray path;
      ~Unlink() { ::unlink(path.constData()); }
    } removeOdd{odd};
    QVERIFY(Append(odd, "1\n3\n"));
    Compare(window, lindrel::demo::FileNameFromBytes(odd), source, started);
    QVERIFY(ChangedOnDiskBar(window)->isHidden());
    QVERIFY(!Watcher(window)->IsPolling());
    QVERIFY(Append(odd, "4\n"));
    QTRY_COMPARE_WITH_TIMEOUT(ChangedOnDiskText(window),
                              QString("The master file changed on disk."), kReactMs);

    // Where the kernel gives no news (no inotify; a folder that cannot be read, the watch
    // limit reached), the files are looked at every second instead.
    lindrel::widgets::ComparedFilesWatcher::TEST_SetKernelNews(false);
    window.Refresh_View();
    QTRY_COMPARE_WITH_TIMEOUT(started, 2, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(window.StatusText(3).startsWith("File Compare Completed"), 20000);
    lindrel::widgets::ComparedFilesWatcher::TEST_SetKernelNews(true);
    QVERIFY(Watcher(window)->IsPolling());
    QVERIFY2(ChangedOnDiskBar(window)->isHidden(), qPrintable(ChangedOnDiskText(window)));
    QVERIFY(Append(odd, "5\n"));
    QTRY_COMPARE_WITH_TIMEOUT(ChangedOnDiskText(window),
                              QString("The master file changed on disk."), kReactMs);
  }

  // Two files dropped on the window, or one on a grid, are compared; anything else is
  // refused with a message, and nothing is compared.
  void dropsOnTheCompareFilesWindow() {
    CompareFilesWindow window;
    window.resize(900, 600);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    int started = 0;
    connect(window.Lindrel1(), &widgets::LindrelWidget::FileCompareStarted, this,
            [&] { ++started; });
    const QByteArray m = QFile::encodeName(env_->Write("d/one.txt", "1\n2\n"));
    const QByteArray s = QFile::encodeName(env_->Write("d/two.txt", "1\n3\n"));
    // A name that is not UTF-8 keeps its bytes.
    const QByteArray odd = QFile::encodeName(env_->Root()) + "/d/caf\xE9.txt";
    // Removed by hand: the temporary folder's own clean-up cannot name it.
    struct Unlink {
      QByteArray path;
      ~Unlink() { ::unlink(path.constData()); }
    } removeOdd{odd};
    FILE* f = std::fopen(odd.constData(), "w");
    QVERIFY(f != nullptr);
    std::fputs("1\n4\n", f);
    std::fclose(f);
    const QString folder = env_->Root() + "/d";

    // One file on the window (here its legend), a file and a folder, three files, an address on the
    // web, a file that is not there, a file on another computer (the path of a file here), a
    // name holding a NUL (its bytes before the NUL a file here): refused, said, not compared.
    const QList<QPair<QList<QUrl>, QString>> refused{
        {{FileUrl(m)}, "One file was dropped"},
        {{FileUrl(m), QUrl::fromLocalFile(folder)}, "A file can only be compared with a file"},
        {{FileUrl(m), FileUrl(s), FileUrl(odd)}, "3 items were dropped"},
        {{FileUrl(m), QUrl("https://example.org/two.txt")},
         "Only files and folders on this computer can be compared: https://example.org/two.txt"},
        {{FileUrl(m), QUrl::fromLocalFile(env_->Root() + "/d/gone.txt")}, "Not found: "},
        {{FileUrl(m), FileUrl(s, "fileserver")},
         "Only files and folders on this computer can be compared: file://fileserver/"},
        {{FileUrl(m), FileUrl(s + QByteArray(1, '\0') + ".evil")},
         "A name cannot hold a NUL byte: " + QString::fromUtf8(s) + QChar(0x2400) + ".evil"},
    };
    for (const auto& [urls, why] : refused) {
      widgets::TEST_SetNonInteractive(true);  // forget earlier messages
      QVERIFY(Drop(Legend(window), Paths(urls)));
      QCoreApplication::processEvents();
      QCOMPARE(started, 0);
      const auto messages = widgets::TEST_Messages();
      QVERIFY2(messages.size() == 1 && messages[0].icon == QMessageBox::Warning &&
                   messages[0].text.startsWith(why),
               qPrintable(QStringLiteral("%1 messages, the first: %2; expected: %3")
                              .arg(messages.size())
                              .arg(messages.value(0).text, why)));
      QCOMPARE(window.StatusText(3), messages[0].text);
    }
    // Not paths at all: the drag is not taken.
    auto* text = new QMimeData;
    text->setText("some text");
    QVERIFY(!Drop(Legend(window), text));

    // Two files on the window: master then source, compared; "localhost" is this computer.
    QVERIFY(Drop(ChangeListing(window), Paths({FileUrl(m), FileUrl(s, "LocalHost")})));
    QTRY_VERIFY_WITH_TIMEOUT(window.StatusText(3).startsWith("File Compare Completed"), 20000);
    QCOMPARE(started, 1);
    QCOMPARE(lindrel::demo::FileNameToBytes(window.MasterFileName()), m);
    QCOMPARE(lindrel::demo::FileNameToBytes(window.SourceFileName()), s);
    QCOMPARE(QByteArray(window.Lindrel1()->Control().GetFileSource().c_str()), s);

    // One file on the source grid: the source is replaced, the master kept.
    QVERIFY(Drop(SourceGrid(window)->viewport(), Paths({FileUrl(odd)})));
    QTRY_COMPARE_WITH_TIMEOUT(started, 2, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(window.StatusText(3).startsWith("File Compare Completed"), 20000);
    QCOMPARE(QByteArray(window.Lindrel1()->Control().GetFileSource().c_str()), odd);
    QCOMPARE(QByteArray(window.Lindrel1()->Control().GetFileMaster().c_str()), m);
    QCOMPARE(SourceModel(window).LineText(2), QString("4"));

    // ... and on the master grid, over the detail view's box on the current row.
    QVERIFY(MasterOverlay(window)->isVisible());
    QVERIFY(Drop(MasterOverlay(window), Paths({FileUrl(s)})));
    QTRY_COMPARE_WITH_TIMEOUT(started, 3, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(window.StatusText(3).startsWith("File Compare Completed"), 20000);
    QCOMPARE(QByteArray(window.Lindrel1()->Control().GetFileMaster().c_str()), s);

    // One file on the all-in-one grid names no side: refused.
    cmdCompareFilesViewFormat_Click(window);
    widgets::TEST_SetNonInteractive(true);
    QVERIFY(Drop(AllInOneGrid(window)->viewport(), Paths({FileUrl(m)})));
    QCoreApplication::processEvents();
    QCOMPARE(started, 3);
    QCOMPARE(widgets::TEST_Messages().size(), 1);
  }

  // On the main window: two folders open the Compare Directories window on them, two
  // files the Compare Files window; two folders dropped on the Compare Files window go
  // to the Compare Directories window too.
  void dropsOnTheMainWindow() {
    MainWindow main(lindrel::demo::DemoChildFactories());
    main.resize(1000, 700);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    const QString a = env_->Write("trees/a/x.txt", "1\n");
    const QString b = env_->Write("trees/b/x.txt", "2\n");
    const QString dirA = env_->Root() + "/trees/a", dirB = env_->Root() + "/trees/b";

    QVERIFY(Drop(&main, Paths({QUrl::fromLocalFile(dirA), QUrl::fromLocalFile(dirB)})));
    QTRY_VERIFY(main.IsChildVisible(MainWindow::kCompareDir));
    auto* dirs = qobject_cast<CompareDirWindow*>(main.Child(MainWindow::kCompareDir));
    QVERIFY(dirs != nullptr);
    QCOMPARE(dirs->Lindrel1()->GetDirMaster(), dirA + "/");
    QCOMPARE(dirs->Lindrel1()->GetDirSource(), dirB + "/");
    QTRY_VERIFY_WITH_TIMEOUT(dirs->StatusText(3).startsWith("Compare Completed"), 20000);

    QVERIFY(
        Drop(main.MdiArea()->viewport(), Paths({QUrl::fromLocalFile(a), QUrl::fromLocalFile(b)})));
    QTRY_VERIFY(main.IsChildVisible(MainWindow::kCompareFiles));
    auto* files = qobject_cast<CompareFilesWindow*>(main.Child(MainWindow::kCompareFiles));
    QVERIFY(files != nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(files->StatusText(3).startsWith("File Compare Completed"), 20000);
    QCOMPARE(files->MasterFileName(), a);
    QCOMPARE(files->SourceFileName(), b);

    // Folders the other way round, dropped on the Compare Files window.
    QVERIFY(Drop(files, Paths({QUrl::fromLocalFile(dirB), QUrl::fromLocalFile(dirA)})));
    QTRY_COMPARE(dirs->Lindrel1()->GetDirMaster(), dirB + "/");
    QCOMPARE(dirs->Lindrel1()->GetDirSource(), dirA + "/");

    // One file on the main window: refused.
    widgets::TEST_SetNonInteractive(true);
    QVERIFY(Drop(&main, Paths({QUrl::fromLocalFile(a)})));
    QCOMPARE(widgets::TEST_Messages().size(), 1);
  }

 private:
  void Compare(CompareFilesWindow& window, const QString& master, const QString& source,
               const int& started) {
    const int before = started;
    window.ComparePair(master, source);
    QTRY_VERIFY_WITH_TIMEOUT(
        started == before + 1 && window.StatusText(3).startsWith("File Compare Completed"), 20000);
    widgets::TEST_SetNonInteractive(true);
  }

  std::unique_ptr<GuiTestEnvironment> env_;
};

QTEST_MAIN(CompareFilesOnDiskTest)
#include "CompareFilesOnDiskTest.moc"
