// The demo's settings helpers: INI reads and writes, history lists, the Lindrel
// directory, text helpers.
#include <QFileInfo>
#include <QtTest>

#include <sys/stat.h>

#include "GuiTestEnvironment.h"
#include "demo/common/DesktopOpener.h"
#include "demo/common/HistoryList.h"
#include "demo/common/IniStrings.h"
#include "demo/common/Pickers.h"
#include "demo/common/SettingsDirectory.h"
#include "demo/common/SettingsFile.h"
#include "demo/compare-files/CompareFilesSettings.h"

using lindrel::testing::GuiTestEnvironment;
namespace demo = lindrel::demo;
namespace ini = lindrel::demo::ini;

class SettingsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { env_ = std::make_unique<GuiTestEnvironment>(); }
  void cleanup() { env_.reset(); }

  void readsValuesAsProfilesDo_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << QByteArray("[Main]\nActiveForm=frmCompareDir\n") << "Main"
                           << "ActiveForm"
                           << "frmCompareDir";
    QTest::newRow("names in any case") << QByteArray("[MAIN]\nactiveform=x\n") << "Main"
                                       << "ActiveForm"
                                       << "x";
    QTest::newRow("blanks trimmed") << QByteArray("[Main]\n  ActiveForm =  x y  \n") << "Main"
                                    << "ActiveForm"
                                    << "x y";
    QTest::newRow("one pair of quotes removed")
        << QByteArray("[Main]\nActiveForm=\"\"quoted\"\"\n") << "Main"
        << "ActiveForm"
        << "\"quoted\"";
    QTest::newRow("CR LF lines") << QByteArray("[Main]\r\nActiveForm=x\r\nOther=y\r\n") << "Main"
                                 << "ActiveForm"
                                 << "x";
    QTest::newRow("other section's key")
        << QByteArray("[General]\nActiveForm=x\n[Main]\n") << "Main"
        << "ActiveForm"
        << "default";
    QTest::newRow("missing section") << QByteArray("[General]\n") << "Main"
                                     << "ActiveForm"
                                     << "default";
    QTest::newRow("no file") << QByteArray() << "Main"
                             << "ActiveForm"
                             << "default";
    QTest::newRow("comment is no key") << QByteArray("[Main]\n;ActiveForm=x\n") << "Main"
                                       << "ActiveForm"
                                       << "default";
    QTest::newRow("cut to the buffer") << "[Main]\nActiveForm=" + QByteArray(600, 'a') + "\n"
                                       << "Main"
                                       << "ActiveForm" << QString(499, 'a');
  }
  void readsValuesAsProfilesDo() {
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QString path = file.isNull() ? env_->Root() + "/none.INI" : env_->Write("s.INI", file);
    QCOMPARE(ini::ReadString(path, section, key, "default", 500), expected);
  }

  void readsNumbersFromTheirLeadingDigits_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<long>("expected");
    QTest::newRow("digits") << QByteArray("42") << 42L;
    QTest::newRow("digits then text") << QByteArray("3rd") << 3L;
    QTest::newRow("negative") << QByteArray("-7") << -7L;
    QTest::newRow("letters") << QByteArray("abc") << 0L;
    QTest::newRow("empty") << QByteArray("") << 0L;
    QTest::newRow("missing key") << QByteArray() << 99L;
  }
  void readsNumbersFromTheirLeadingDigits() {
    QFETCH(QByteArray, value);
    QFETCH(long, expected);
    QByteArray file = "[Main]\n";
    if (!value.isNull()) file += "n=" + value + "\n";
    QString path = env_->Write("n.INI", file);
    QCOMPARE(ini::ReadInt(path, "Main", "n", 99), expected);
  }

  void writingKeepsEverythingElse() {
    QString path = env_->Write("w.INI",
                               "; settings\r\n[General]\r\nb=1\r\n\r\n[Main]\r\nA=1\r\nB=2\r\n"
                               "[Last]\r\nz=9\r\n");
    QVERIFY(ini::WriteString(path, "main", "b", "two"));
    QVERIFY(ini::WriteString(path, "Main", "C", "3"));
    QVERIFY(ini::WriteString(path, "New", "k", "v"));
    QCOMPARE(GuiTestEnvironment::Read(path),
             QByteArray("; settings\r\n[General]\r\nb=1\r\n\r\n[Main]\r\nA=1\r\nb=two\r\nC=3\r\n"
                        "[Last]\r\nz=9\r\n\r\n[New]\r\nk=v\r\n"));
    // Written atomically: nothing but the file itself is left in the folder.
    QCOMPARE(QDir(env_->Root()).entryList(QDir::Files), QStringList{"w.INI"});
  }

  void refusesWhatWouldCorruptTheFile_data() {
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::newRow("line break in value") << "Main"
                                         << "k"
                                         << "a\n[Evil]\nx=1";
    QTest::newRow("carriage return in value") << "Main"
                                              << "k"
                                              << "a\rb";
    QTest::newRow("equals sign in key") << "Main"
                                        << "k=v"
                                        << "x";
    QTest::newRow("bracket in section") << "Ma]in"
                                        << "k"
                                        << "x";
    QTest::newRow("empty key") << "Main"
                               << ""
                               << "x";
    QTest::newRow("key read as a section") << "Main"
                                           << "[Evil]"
                                           << "x";
    QTest::newRow("NUL in value") << "Main"
                                  << "k" << QString("a") + QChar(0) + "b";
  }
  void refusesWhatWouldCorruptTheFile() {
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QString path = env_->Write("r.INI", "[Main]\nk=old\n");
    QString error;
    QVERIFY(!ini::WriteString(path, section, key, value, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(GuiTestEnvironment::Read(path), QByteArray("[Main]\nk=old\n"));
  }

  void keepsTextAndFileNamesBeyondAscii() {
    const QString path = env_->Root() + "/réglages ü.INI";
    const QString value = QString::fromUtf8("/home/jürgen/ファイル €.txt");
    QVERIFY(ini::WriteStrings(path, "Main", {{"a", value}, {"b", "2"}}));
    QCOMPARE(ini::ReadString(path, "Main", "a", ""), value);
    QCOMPARE(ini::ReadInt(path, "Main", "b", 0), 2L);
    // A batch with one refused entry writes none of them.
    QVERIFY(!ini::WriteStrings(path, "Main", {{"a", "new"}, {"b", "3\n"}}));
    QCOMPARE(ini::ReadString(path, "Main", "a", ""), value);
  }

  void neverReplacesAFileItCannotRead() {
    // A FIFO stands in for a settings file that exists but cannot be read: a write that
    // went ahead would replace it with only the one key it knows.
    QVERIFY(::mkfifo(QFile::encodeName(env_->SettingsFile()).constData(), 0600) == 0);
    QString error;
    QVERIFY(!lindrel::demo::WriteSetting("Main", "key", "value", &error));
    QVERIFY2(error.contains(env_->SettingsFile()), qPrintable(error));
    QVERIFY(QFileInfo(env_->SettingsFile()).exists() && !QFileInfo(env_->SettingsFile()).isFile());
  }

  void reportsAFileThatCannotBeWritten() {
    QString error;
    QVERIFY(!ini::WriteString(env_->Root() + "/no/such/folder/x.INI", "Main", "k", "v", &error));
    QVERIFY(error.contains("x.INI"));
  }

  void historyAddMovesDuplicatesToTheNewestPlace() {
    demo::HistoryList history;
    for (const char* item : {"a", "b", "", "c", "a"}) history.Add(item);
    QCOMPARE(history.Items(), (QStringList{"b", "c", "a"}));
    QCOMPARE(history.NewestFirst(), (QStringList{"a", "c", "b"}));
  }

  void historySavesTheNewestTwentyUnderCountingDownKeys() {
    demo::HistoryList history;
    for (int i = 1; i <= 21; ++i) history.Add(QString("/f/%1").arg(i));
    QVERIFY(history.Save("MasterSearchFile"));
    QCOMPARE(demo::ReadSetting("MasterSearchFile", "MasterSearchFile20", ""), QString("/f/21"));
    QCOMPARE(demo::ReadSetting("MasterSearchFile", "MasterSearchFile1", ""), QString("/f/2"));

    demo::HistoryList loaded;
    loaded.Add("stale");
    loaded.Load("MasterSearchFile");
    QCOMPARE(loaded.Count(), 20);
    QCOMPARE(loaded.Items().first(), QString("/f/2"));  // the 21st pushed /f/1 out
    QCOMPARE(loaded.Items().last(), QString("/f/21"));
  }

  // A stored name holding a NUL is no name (cut at the NUL, it names another file): it is
  // left out of a history as a missing one is, and a stored report path reads as its
  // default; other texts are still cut at the NUL.
  void historyLoadSkipsMissingKeysDuplicatesAndNamesHoldingNul() {
    const QByteArray nul(1, '\0');
    env_->Write("home/WDD_SearchHistory.INI",
                "[SourceSearchFile]\nSourceSearchFile18=/x\nSourceSearchFile19=+-!#\n"
                "SourceSearchFile20=/x\nSourceSearchFile3=/y\nSourceSearchFile4=/z" +
                    nul + ".evil\n[CompareFiles]\nmsgReportFileTXT_CF=/r/report.txt" + nul +
                    "x\nmsgReportTitleHTM_CF=My title" + nul + "x\n");
    demo::HistoryList history;
    history.Load("SourceSearchFile");
    QCOMPARE(history.Items(), (QStringList{"/y", "/x"}));
    QCOMPARE(demo::ReadSetting("SourceSearchFile", "SourceSearchFile4", ""), QString("/z"));
    const demo::CompareFilesSettings settings = demo::CompareFilesSettings::Read();
    QCOMPARE(settings.report.textPath, env_->Home() + "/TVKReport.TXT");
    QCOMPARE(settings.report.htmlTitle, QString("My title"));
  }

  void historySkipsNamesAnIniLineCannotHold() {
    demo::HistoryList history;
    history.Add("/ok/one");
    history.Add("/odd\nname");
    history.Add("/ok/two");
    QVERIFY(history.Save("FileExt"));
    demo::HistoryList loaded;
    loaded.Load("FileExt");
    QCOMPARE(loaded.Items(), (QStringList{"/ok/one", "/ok/two"}));
  }

  void textHelpers() {
    QCOMPARE(demo::CutAtNul(QString("abc") + QChar(0) + "def"), QString("abc"));
    QCOMPARE(demo::CutAtNul("plain"), QString("plain"));
    QCOMPARE(demo::LeadingNumber(" 4x"), 4L);
    QCOMPARE(demo::LeadingNumber("x4"), 0L);
  }

  void lindrelDirectoryFollowsTheEnvironment_data() {
    QTest::addColumn<QString>("lindrelHome");
    QTest::addColumn<QString>("xdg");
    QTest::addColumn<QString>("expected");  // relative to the test root
    QTest::newRow("LINDREL_HOME") << "lh"
                                  << "xdg"
                                  << "lh";
    QTest::newRow("XDG_CONFIG_HOME") << ""
                                     << "xdg"
                                     << "xdg/lindrel";
    QTest::newRow("relative XDG ignored") << ""
                                          << "relative"
                                          << "user/.config/lindrel";
    QTest::newRow("HOME") << ""
                          << ""
                          << "user/.config/lindrel";
  }
  void lindrelDirectoryFollowsTheEnvironment() {
    QFETCH(QString, lindrelHome);
    QFETCH(QString, xdg);
    QFETCH(QString, expected);
    QByteArray savedXdg = qgetenv("XDG_CONFIG_HOME");
    QByteArray savedHome = qgetenv("HOME");
    const QString root = env_->Root();
    qputenv("LINDREL_HOME",
            lindrelHome.isEmpty() ? QByteArray() : (root + "/" + lindrelHome).toUtf8());
    if (xdg == "relative")
      qputenv("XDG_CONFIG_HOME", "relative/config");
    else
      qputenv("XDG_CONFIG_HOME", xdg.isEmpty() ? QByteArray() : (root + "/" + xdg).toUtf8());
    qputenv("HOME", (root + "/user").toUtf8());

    QString directory = demo::SettingsDirectory();

    qputenv("XDG_CONFIG_HOME", savedXdg);
    qputenv("HOME", savedHome);
    QCOMPARE(directory, root + "/" + expected);
    QFileInfo info(directory);
    QVERIFY(info.isDir());
    QCOMPARE(info.permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteOther),
             QFile::Permissions());
  }

  void pickersAskWithTheirTitles() {
    lindrel::widgets::TEST_QueueFileAnswer("/chosen/folder");
    QCOMPARE(demo::PickFolder(nullptr), QString("/chosen/folder"));
    QCOMPARE(demo::PickFile(nullptr), QString());  // nothing queued: cancelled
    auto requests = lindrel::widgets::TEST_FileRequests();
    QCOMPARE(requests.size(), 2);
    QCOMPARE(requests[0].kind, lindrel::widgets::FileRequest::Directory);
    QCOMPARE(requests[0].caption, QString("Select Directory"));
    QCOMPARE(requests[1].kind, lindrel::widgets::FileRequest::OpenFile);
    QCOMPARE(requests[1].caption, QString("Open A File for Editing"));
    QCOMPARE(requests[1].directory, QString());
    QCOMPARE(requests[1].filter, QString("All files (*)"));
  }

  void openerPassesOddNamesWhole() {
    QString log = env_->Root() + "/opened.txt";
    QString script = env_->Write(
        "record-open", "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > \"" + log.toUtf8() + "\"\n");
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("LINDREL_OPEN_COMMAND", script.toUtf8());
    QString report = env_->Write("my reports/it's \"new\"; $HOME.txt", "report\n");

    QCOMPARE(demo::OpenInTextEditor(report, nullptr), demo::OpenOutcome::Command);
    QTRY_VERIFY(QFile::exists(log));
    QTRY_COMPARE(QString::fromUtf8(GuiTestEnvironment::Read(log)), "1|" + report);
  }

  void openerReportsAMissingFile() {
    qputenv("LINDREL_OPEN_COMMAND", "/bin/true");
    QString missing = env_->Root() + "/gone.htm";
    QCOMPARE(demo::OpenDocument(missing, nullptr), demo::OpenOutcome::Failed);
    auto messages = lindrel::widgets::TEST_Messages();
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].text, "Unable to open file:  " + missing + "\nThe file does not exist.");

    // A command that cannot be started: the path and the command, the path's "%1" kept.
    qputenv("LINDREL_OPEN_COMMAND", QByteArray("/no such program"));
    QString present = env_->Write("100%1 done.htm", "<p>x</p>");
    QCOMPARE(demo::OpenDocument(present, nullptr), demo::OpenOutcome::Failed);
    messages = lindrel::widgets::TEST_Messages();
    QCOMPARE(messages.size(), 2);
    QCOMPARE(messages[1].text,
             "Unable to open file:  " + present + "\nCannot start \"/no such program\".");
  }

  void lindrelDirectoryFailsWithAReason() {
    QString blocker = env_->Write("file", "not a folder");
    qputenv("LINDREL_HOME", (blocker + "/lindrel").toUtf8());
    QString error;
    QCOMPARE(demo::SettingsDirectory(&error), QString());
    QVERIFY(!error.isEmpty());
  }

 private:
  std::unique_ptr<GuiTestEnvironment> env_;
};

QTEST_MAIN(SettingsTest)
#include "SettingsTest.moc"
