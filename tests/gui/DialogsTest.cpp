// The compare-files options, report options and go-to dialogs: captions, enabling rules,
// Escape and Cancel, the cancelled flag, history behaviour.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QtTest>

#include "GuiTestEnvironment.h"
#include "demo/common/IniStrings.h"
#include "demo/common/ProgramState.h"
#include "demo/compare-files/CompareFilesExchange.h"
#include "demo/compare-files/CompareFilesOptionsDialog.h"
#include "demo/compare-files/GoToDialog.h"
#include "demo/compare-files/ReportOptionsDialog.h"
#include "lindrel/widgets/LindrelWidget.h"

using lindrel::demo::CompareFilesOptionsDialog;
using lindrel::demo::CompareFilesReportSettings;
using lindrel::demo::CompareFilesValues;
using lindrel::demo::GoToDialog;
using lindrel::demo::ReportOptionsDialog;
using lindrel::testing::GuiTestEnvironment;

namespace {

template <typename T>
T* Find(QWidget& dialog, const QString& name) {
  T* found = dialog.findChild<T*>(name);
  if (found == nullptr) qWarning("no %s", qPrintable(name));
  return found;
}

QCheckBox* Box(QWidget& d, const char* name) { return Find<QCheckBox>(d, name); }
QPushButton* Button(QWidget& d, const char* name) { return Find<QPushButton>(d, name); }
QComboBox* Combo(QWidget& d, const char* name) { return Find<QComboBox>(d, name); }
QRadioButton* Radio(QWidget& d, const QString& name) { return Find<QRadioButton>(d, name); }
QLineEdit* Edit(QWidget& d, const char* name) { return Find<QLineEdit>(d, name); }

// A component with its four option properties set.
struct Component {
  Component(bool ignoreCase, bool whiteSpace, bool emptyLines, bool quick) {
    object.SetFileIgnoreCase(ignoreCase);
    object.SetFileIgnoreWhiteSpace(whiteSpace);
    object.SetFileIgnoreEmptyLines(emptyLines);
    object.SetFileQuickCompare(quick);
  }
  QList<bool> Values() const {
    return {object.GetFileIgnoreCase(), object.GetFileIgnoreWhiteSpace(),
            object.GetFileIgnoreEmptyLines(), object.GetFileQuickCompare()};
  }
  lindrel::widgets::LindrelWidget object;
};

}  // namespace

class DialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { env_ = std::make_unique<GuiTestEnvironment>(); }
  void cleanup() { env_.reset(); }

  // --- frmCompareFilesOptions ----------------------------------------------------------

  void optionsDialogCarriesItsCaptions() {
    CompareFilesValues window;
    CompareFilesOptionsDialog dialog(window);
    QCOMPARE(dialog.objectName(), QString("frmCompareFilesOptions"));
    QCOMPARE(dialog.windowTitle(), QString("Compare Files"));
    const QList<QPair<QString, QString>> buttons = {{"cmdSelectFolderMaster", "&..."},
                                                    {"cmdSelectFolderSource", "&..."},
                                                    {"cmdReportOptions", "&Report Options"},
                                                    {"cmdCompareFiles", "&Compare Files"},
                                                    {"cmdCancel", "Cancel"}};
    for (const auto& [name, caption] : buttons)
      QCOMPARE(Find<QPushButton>(dialog, name)->text(), caption);
    const QList<QPair<QString, QString>> boxes = {
        {"cbShowReportOnly", "&Show Report Only (Much Faster for VERY large files)"},
        {"cbIgnoreEmptyLines", "Ignore &Empty Lines"},
        {"cbQuickCompare", "Do a &Quick compare (Binary Comparison)"},
        {"cbIgnoreCase", "Ignore &Case Differences"},
        {"cbIgnoreWhiteSpace", "Ignore &Whitespace characters (i.e. Tabs, Spaces etc.)"},
        {"cbBeepWhenDone", "&Beep When Done"}};
    for (const auto& [name, caption] : boxes)
      QCOMPARE(Find<QCheckBox>(dialog, name)->text(), caption);
    QCOMPARE(Find<QGroupBox>(dialog, "Frame1")->title(), QString(" General Options"));
    QVERIFY(Combo(dialog, "cbMasterFile")->isEditable());
    QVERIFY(Combo(dialog, "cbSourceFile")->isEditable());
    QStringList labels;
    for (QLabel* label : dialog.findChildren<QLabel*>()) labels << label->text();
    for (const char* text : {"Master File:", "Original", "Source File:", "Modified"})
      QVERIFY2(labels.contains(text), text);
  }

  void optionsDialogOpensWithTheWindowsValues() {
    Component lindrel1(true, false, true, false);
    CompareFilesValues window(&lindrel1.object);
    window.showReportOnly = true;
    window.beepWhenDone = true;
    CompareFilesOptionsDialog dialog(window);
    QVERIFY(Box(dialog, "cbShowReportOnly")->isChecked());
    QVERIFY(Box(dialog, "cbBeepWhenDone")->isChecked());
    QVERIFY(Box(dialog, "cbIgnoreCase")->isChecked());
    QVERIFY(!Box(dialog, "cbIgnoreWhiteSpace")->isChecked());
    QVERIFY(Box(dialog, "cbIgnoreEmptyLines")->isChecked());
    QVERIFY(!Box(dialog, "cbQuickCompare")->isChecked());
  }

  void emptyHistoriesLeaveTheDropDownsEmpty() {
    CompareFilesValues window;
    CompareFilesOptionsDialog dialog(window);
    for (const char* name : {"cbMasterFile", "cbSourceFile"}) {
      QCOMPARE(Combo(dialog, name)->count(), 0);
      QCOMPARE(Combo(dialog, name)->currentIndex(), -1);
      QCOMPARE(Combo(dialog, name)->currentText(), QString());
    }
  }

  void historiesFillTheDropDownsNewestFirst() {
    CompareFilesValues window;
    for (const char* path : {"/m/old", "/m/mid", "/m/new"}) window.masterHistory.Add(path);
    window.sourceHistory.Add("/s/only");
    CompareFilesOptionsDialog dialog(window);
    QComboBox* master = Combo(dialog, "cbMasterFile");
    QCOMPARE(master->count(), 3);
    QCOMPARE(master->itemText(0), QString("/m/new"));
    QCOMPARE(master->itemText(2), QString("/m/old"));
    QCOMPARE(master->currentText(), QString("/m/new"));
    QCOMPARE(Combo(dialog, "cbSourceFile")->currentText(), QString("/s/only"));
  }

  void enablingRulesFollowTheirBoxes_data() {
    QTest::addColumn<bool>("showReportOnly");
    QTest::addColumn<bool>("quick");
    QTest::newRow("neither") << false << false;
    QTest::newRow("report only") << true << false;
    QTest::newRow("quick") << false << true;
    QTest::newRow("both") << true << true;
  }
  void enablingRulesFollowTheirBoxes() {
    QFETCH(bool, showReportOnly);
    QFETCH(bool, quick);
    Component lindrel1(true, true, false, quick);
    CompareFilesValues window(&lindrel1.object);
    window.showReportOnly = showReportOnly;
    CompareFilesOptionsDialog dialog(window);
    auto check = [&](bool reportOnlyNow, bool quickNow) {
      QCOMPARE(Button(dialog, "cmdReportOptions")->isEnabled(), reportOnlyNow);
      for (const char* name : {"cbIgnoreCase", "cbIgnoreWhiteSpace", "cbIgnoreEmptyLines"})
        QCOMPARE(Box(dialog, name)->isEnabled(), !quickNow);
    };
    check(showReportOnly, quick);
    // Disabled boxes keep their values.
    QVERIFY(Box(dialog, "cbIgnoreCase")->isChecked());
    QVERIFY(Box(dialog, "cbIgnoreWhiteSpace")->isChecked());
    Box(dialog, "cbShowReportOnly")->click();
    Box(dialog, "cbQuickCompare")->click();
    check(!showReportOnly, !quick);
    QVERIFY(Box(dialog, "cbIgnoreCase")->isChecked());
  }

  void cancellingChangesNothing_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("Escape") << "escape";
    QTest::newRow("Cancel") << "cancel";
    QTest::newRow("window closed") << "close";
  }
  void cancellingChangesNothing() {
    QFETCH(QString, how);
    Component lindrel1(false, false, false, false);
    CompareFilesValues window(&lindrel1.object);
    window.masterHistory.Add("/m/a");
    CompareFilesOptionsDialog dialog(window);
    dialog.show();
    for (const char* name : {"cbIgnoreCase", "cbQuickCompare", "cbShowReportOnly", "cbBeepWhenDone",
                             "cbIgnoreEmptyLines"})
      Box(dialog, name)->click();
    dialog.SetMasterFile("/m/new");
    dialog.SetSourceFile("/s/new");
    if (how == "escape")
      QTest::keyClick(&dialog, Qt::Key_Escape);
    else if (how == "cancel")
      Button(dialog, "cmdCancel")->click();
    else
      dialog.close();

    QVERIFY(!dialog.isVisible());
    QVERIFY(dialog.Cancelled());
    QCOMPARE(lindrel1.Values(), (QList<bool>{false, false, false, false}));
    QVERIFY(!window.showReportOnly);
    QVERIFY(!window.beepWhenDone);
    QCOMPARE(window.masterFileName, QString());
    QCOMPARE(window.masterHistory.Items(), QStringList{"/m/a"});
    QVERIFY(window.sourceHistory.IsEmpty());
    QVERIFY(!QFile::exists(env_->SettingsFile()));
  }

  void acceptingAppliesEverythingAndSavesTheHistories() {
    Component lindrel1(false, false, false, false);
    CompareFilesValues window(&lindrel1.object);
    CompareFilesOptionsDialog dialog(window);
    dialog.show();
    for (const char* name : {"cbIgnoreCase", "cbIgnoreWhiteSpace", "cbIgnoreEmptyLines",
                             "cbShowReportOnly", "cbBeepWhenDone"})
      Box(dialog, name)->click();
    dialog.SetMasterFile("/data/master.txt");
    dialog.SetSourceFile("/data/source.txt");
    Button(dialog, "cmdCompareFiles")->click();

    QVERIFY(!dialog.Cancelled());
    QCOMPARE(lindrel1.Values(), (QList<bool>{true, true, true, false}));
    QVERIFY(window.showReportOnly);
    QVERIFY(window.beepWhenDone);
    QCOMPARE(window.masterFileName, QString("/data/master.txt"));
    QCOMPARE(window.sourceFileName, QString("/data/source.txt"));
    QCOMPARE(Saved("MasterSearchFile", 20), QString("/data/master.txt"));
    QCOMPARE(Saved("SourceSearchFile", 20), QString("/data/source.txt"));
  }

  // A name holding a NUL names no file (the system would read the bytes before it, another
  // file): Compare is refused with a message, and the dialog stays open, changing nothing,
  // until the name is put right. So are the report options' paths.
  void namesHoldingNulAreRefusedAndTheDialogStaysOpen() {
    const QString nul = QString("/data/b.txt") + QChar(0) + ".evil";
    CompareFilesValues window;
    CompareFilesOptionsDialog dialog(window);
    dialog.show();
    dialog.SetMasterFile("/data/a.txt");
    dialog.SetSourceFile(nul);
    Button(dialog, "cmdCompareFiles")->click();
    QCOMPARE(GuiTestEnvironment::ShownMessages(),
             QStringList{"Compare Files|A name cannot hold a NUL byte: /data/b.txt" +
                         QString(QChar(0x2400)) + ".evil"});
    QVERIFY(dialog.isVisible() && dialog.Cancelled());
    QVERIFY(window.masterFileName.isEmpty() && window.sourceFileName.isEmpty());
    QVERIFY(window.masterHistory.IsEmpty() && window.sourceHistory.IsEmpty());
    dialog.SetSourceFile("/data/b.txt");
    Button(dialog, "cmdCompareFiles")->click();
    QVERIFY(!dialog.isVisible() && !dialog.Cancelled());
    QCOMPARE(window.sourceFileName, QString("/data/b.txt"));

    window.report.htmlPath = "/r/TVKReport.HTM";
    ReportOptionsDialog report(window);
    report.show();
    Edit(report, "txtDefaultReportHTM")->setText(nul);
    Button(report, "cmdOK")->click();
    QVERIFY(report.isVisible() && report.Cancelled());
    QCOMPARE(window.report.htmlPath, QString("/r/TVKReport.HTM"));
    QCOMPARE(GuiTestEnvironment::ShownMessages().size(), 2);
  }

  void choosingAKnownFileMovesItToTheTop() {
    CompareFilesValues window;
    for (const char* path : {"/a", "/b", "/c"}) window.masterHistory.Add(path);
    CompareFilesOptionsDialog dialog(window);
    dialog.SetMasterFile("/a");
    dialog.accept();
    QCOMPARE(window.masterHistory.NewestFirst(), (QStringList{"/a", "/c", "/b"}));
    QCOMPARE(Saved("MasterSearchFile", 20), QString("/a"));
    QCOMPARE(Saved("MasterSearchFile", 19), QString("/c"));
    QCOMPARE(Saved("MasterSearchFile", 18), QString("/b"));
    QCOMPARE(Saved("MasterSearchFile", 17), QString("<missing>"));
  }

  void theTwentyFirstFilePushesTheOldestOut() {
    CompareFilesValues window;
    for (int i = 1; i <= 20; ++i) window.masterHistory.Add(QString("/f%1").arg(i));
    CompareFilesOptionsDialog dialog(window);
    dialog.SetMasterFile("/f21");
    dialog.accept();
    QCOMPARE(Saved("MasterSearchFile", 20), QString("/f21"));
    QCOMPARE(Saved("MasterSearchFile", 1), QString("/f2"));
    lindrel::demo::HistoryList reloaded;
    reloaded.Load("MasterSearchFile");
    QCOMPARE(reloaded.Count(), 20);
    QVERIFY(!reloaded.Items().contains("/f1"));
  }

  void nothingIsAppliedWhileShuttingDown() {
    Component lindrel1(false, false, false, false);
    CompareFilesValues window(&lindrel1.object);
    CompareFilesOptionsDialog dialog(window);
    Box(dialog, "cbIgnoreCase")->click();
    dialog.SetMasterFile("/m");
    lindrel::demo::ProgramState::Instance().SetShuttingDown(true);
    dialog.accept();
    QVERIFY(!dialog.Cancelled());
    QCOMPARE(lindrel1.Values(), (QList<bool>{false, false, false, false}));
    QVERIFY(window.masterHistory.IsEmpty());
  }

  void pickingAFileFillsTheDropDownUnlessCancelled() {
    CompareFilesValues window;
    window.sourceHistory.Add("/kept");
    CompareFilesOptionsDialog dialog(window);
    lindrel::widgets::TEST_QueueFileAnswer("/picked/master.txt");
    Button(dialog, "cmdSelectFolderMaster")->click();
    QCOMPARE(dialog.MasterFile(), QString("/picked/master.txt"));
    lindrel::widgets::TEST_QueueFileAnswer(QString());  // cancelled
    Button(dialog, "cmdSelectFolderSource")->click();
    QCOMPARE(dialog.SourceFile(), QString("/kept"));
    auto requests = lindrel::widgets::TEST_FileRequests();
    QCOMPARE(requests.size(), 2);
    QCOMPARE(requests[0].caption, QString("Open A File for Editing"));
    QCOMPARE(requests[0].kind, lindrel::widgets::FileRequest::OpenFile);
  }

  void optionsGoThroughTheComponentsSetters() {
    lindrel::widgets::LindrelWidget lindrel1;
    lindrel1.SetModifiedFlag(false);
    QSignalSpy notices(&lindrel1, &lindrel::widgets::LindrelWidget::PropertyChanged);
    CompareFilesValues window(&lindrel1);
    CompareFilesOptionsDialog dialog(window);
    Box(dialog, "cbQuickCompare")->click();
    dialog.accept();
    QVERIFY(lindrel1.GetFileQuickCompare());
    QVERIFY(lindrel1.IsModified());
    QStringList names;
    for (const auto& notice : notices) names << notice.at(1).toString();
    QVERIFY(names.contains("FileQuickCompare"));
  }

  void reportOptionsOpenFromTheOptionsDialog() {
    CompareFilesValues window;
    window.showReportOnly = true;
    CompareFilesOptionsDialog dialog(window);
    Button(dialog, "cmdReportOptions")->click();
    QCOMPARE(lindrel::widgets::TEST_ModalDialogs(), QStringList{"frmCompareFilesReportOptions"});
  }

  // --- frmCompareFilesReportOptions ----------------------------------------------------

  void reportOptionsCarryTheirCaptions() {
    CompareFilesValues window;
    ReportOptionsDialog dialog(window);
    QCOMPARE(dialog.windowTitle(), QString("'Compare Files' Report Options"));
    auto* tabs = Find<QTabWidget>(dialog, "SSTab1");
    QStringList tabTexts;
    for (int i = 0; i < tabs->count(); ++i) tabTexts << tabs->tabText(i);
    QCOMPARE(tabTexts, (QStringList{"General", "HTML", "Comma Delimited", "Text"}));
    QCOMPARE(Radio(dialog, "rbDefaultReport(1)")->text(), QString("HTML"));
    QCOMPARE(Radio(dialog, "rbDefaultReport(2)")->text(), QString("Text"));
    QCOMPARE(Radio(dialog, "rbDefaultReport(3)")->text(), QString("Comma Delimited"));
    QCOMPARE(Radio(dialog, "rbDefaultReportStyle(1)")->text(), QString("All In  One"));
    QCOMPARE(Radio(dialog, "rbDefaultReportStyle(2)")->text(), QString("Side By Side"));
    QCOMPARE(Find<QGroupBox>(dialog, "frameDefaultReport")->title(), QString("Default Report"));
    QCOMPARE(Find<QLabel>(dialog, "lblDefaultReport")->text(),
             QString("The default report is created when the Compare Files \"Show Report Only\" "
                     "option is selected as well as when the View Report button is pressed.  "
                     "Please select one report type below:"));
    QCOMPARE(Button(dialog, "cmdOK")->text(), QString("&OK"));
    QCOMPARE(Button(dialog, "cbCancel")->text(), QString("Cancel"));
    for (const char* name : {"cmdSelectReportFolderDefaultHTM", "cmdSelectReportFolderDefaultCSV",
                             "cmdSelectReportFolderDefaultTXT"})
      QCOMPARE(Button(dialog, name)->text(), QString("&..."));
    QStringList labels;
    for (QLabel* label : dialog.findChildren<QLabel*>()) labels << label->text();
    QCOMPARE(labels.count("Default Report Path and Name:"), 3);
    QVERIFY(labels.contains("Report Title (Blank for no title)"));
  }

  void styleFrameShowsOnlyForHtml_data() {
    QTest::addColumn<int>("storedType");
    QTest::addColumn<int>("clicked");  // 0: none
    QTest::addColumn<bool>("visible");
    QTest::newRow("opens on HTML") << 1 << 0 << true;
    QTest::newRow("opens on Text") << 2 << 0 << false;
    QTest::newRow("opens on Comma Delimited") << 3 << 0 << false;
    QTest::newRow("opens on an unknown type") << 4 << 0 << true;
    QTest::newRow("Text chosen") << 1 << 2 << false;
    QTest::newRow("Comma Delimited chosen") << 1 << 3 << false;
    QTest::newRow("HTML chosen again") << 2 << 1 << true;
  }
  void styleFrameShowsOnlyForHtml() {
    QFETCH(int, storedType);
    QFETCH(int, clicked);
    QFETCH(bool, visible);
    CompareFilesValues window;
    window.report.defaultType = storedType;
    ReportOptionsDialog dialog(window);
    if (clicked != 0) Radio(dialog, QString("rbDefaultReport(%1)").arg(clicked))->click();
    QCOMPARE(Find<QGroupBox>(dialog, "frameReportStyle")->isVisibleTo(&dialog), visible);
  }

  void reportOptionsOpenWithAndHandBackTheValues() {
    CompareFilesValues window;
    window.report = {"/r/TVKReport.TXT", "/r/TVKReport.CSV", "/r/TVKReport.HTM", "Title", 1, 2};
    ReportOptionsDialog dialog(window);
    QCOMPARE(Edit(dialog, "txtDefaultReportTXT")->text(), QString("/r/TVKReport.TXT"));
    QCOMPARE(Edit(dialog, "txtDefaultReportCSV")->text(), QString("/r/TVKReport.CSV"));
    QCOMPARE(Edit(dialog, "txtDefaultReportHTM")->text(), QString("/r/TVKReport.HTM"));
    QCOMPARE(Edit(dialog, "txtReportTitleHTML")->text(), QString("Title"));
    QVERIFY(Radio(dialog, "rbDefaultReport(1)")->isChecked());
    QVERIFY(Radio(dialog, "rbDefaultReportStyle(2)")->isChecked());

    Radio(dialog, "rbDefaultReport(2)")->click();
    Edit(dialog, "txtDefaultReportTXT")->setText("/elsewhere/r.txt");
    Edit(dialog, "txtReportTitleHTML")->setText("");
    Button(dialog, "cmdOK")->click();
    QVERIFY(!dialog.Cancelled());
    QCOMPARE(window.report.defaultType, 2);
    QCOMPARE(window.report.defaultStyle, 2);  // the hidden style is kept
    QCOMPARE(window.report.textPath, QString("/elsewhere/r.txt"));
    QCOMPARE(window.report.htmlTitle, QString());

    // Reopened, the dialog shows the style stored for HTML.
    ReportOptionsDialog again(window);
    QVERIFY(Radio(again, "rbDefaultReport(2)")->isChecked());
    QVERIFY(!Find<QGroupBox>(again, "frameReportStyle")->isVisibleTo(&again));
    Radio(again, "rbDefaultReport(1)")->click();
    QVERIFY(Find<QGroupBox>(again, "frameReportStyle")->isVisibleTo(&again));
    QVERIFY(Radio(again, "rbDefaultReportStyle(2)")->isChecked());
  }

  void anUnknownStoredTypeIsKeptWhenNothingIsChosen() {
    CompareFilesValues window;
    window.report.defaultType = 4;
    window.report.defaultStyle = 0;
    ReportOptionsDialog dialog(window);
    for (int i = 1; i <= 3; ++i)
      QVERIFY(!Radio(dialog, QString("rbDefaultReport(%1)").arg(i))->isChecked());
    dialog.accept();
    QCOMPARE(window.report.defaultType, 4);
    QCOMPARE(window.report.defaultStyle, 0);
  }

  void cancellingReportOptionsChangesNothing_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("Escape") << "escape";
    QTest::newRow("Cancel") << "cancel";
  }
  void cancellingReportOptionsChangesNothing() {
    QFETCH(QString, how);
    CompareFilesValues window;
    window.report = {"/t", "/c", "/h", "T", 1, 1};
    ReportOptionsDialog dialog(window);
    dialog.show();
    Radio(dialog, "rbDefaultReport(3)")->click();
    Edit(dialog, "txtDefaultReportCSV")->setText("/changed");
    if (how == "escape")
      QTest::keyClick(&dialog, Qt::Key_Escape);
    else
      Button(dialog, "cbCancel")->click();
    QVERIFY(dialog.Cancelled());
    QVERIFY(!dialog.isVisible());
    QCOMPARE(window.report.defaultType, 1);
    QCOMPARE(window.report.commaDelimitedPath, QString("/c"));
  }

  void pathButtonsPickAFileUnlessCancelled() {
    CompareFilesValues window;
    window.report.htmlPath = "/old.htm";
    ReportOptionsDialog dialog(window);
    lindrel::widgets::TEST_QueueFileAnswer(QString());
    Button(dialog, "cmdSelectReportFolderDefaultHTM")->click();
    QCOMPARE(Edit(dialog, "txtDefaultReportHTM")->text(), QString("/old.htm"));
    lindrel::widgets::TEST_QueueFileAnswer("/new.csv");
    Button(dialog, "cmdSelectReportFolderDefaultCSV")->click();
    QCOMPARE(Edit(dialog, "txtDefaultReportCSV")->text(), QString("/new.csv"));
  }

  // --- frmGoTo -------------------------------------------------------------------------

  void goToCarriesItsCaptions() {
    GoToDialog dialog;
    QCOMPARE(dialog.objectName(), QString("frmGoTo"));
    QCOMPARE(dialog.windowTitle(), QString("Go To Difference"));
    QCOMPARE(Find<QLabel>(dialog, "lblGoTo")->text(), QString("Go To Difference Number"));
    QCOMPARE(Edit(dialog, "txtGoTo")->text(), QString("0"));
    QCOMPARE(Button(dialog, "cmdOK")->text(), QString("OK"));
    QCOMPARE(Button(dialog, "cmdCancel")->text(), QString("Cancel"));
  }

  void goToOkOnlyHidesIt() {
    GoToDialog dialog;
    dialog.SetText("12");
    dialog.show();
    QVERIFY(Edit(dialog, "txtGoTo")->hasSelectedText());
    Button(dialog, "cmdOK")->click();
    QVERIFY(!dialog.isVisible());
    QVERIFY(!dialog.Cancelled());
    QCOMPARE(dialog.Text(), QString("12"));
  }

  void goToCancelSetsTheFlagAndOpeningClearsIt_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("Escape") << "escape";
    QTest::newRow("Cancel") << "cancel";
  }
  void goToCancelSetsTheFlagAndOpeningClearsIt() {
    QFETCH(QString, how);
    GoToDialog dialog;
    dialog.show();
    if (how == "escape")
      QTest::keyClick(&dialog, Qt::Key_Escape);
    else
      Button(dialog, "cmdCancel")->click();
    QVERIFY(dialog.Cancelled());
    QVERIFY(!dialog.isVisible());
    dialog.show();
    QVERIFY(!dialog.Cancelled());
  }

 private:
  QString Saved(const char* section, int n) {
    return lindrel::demo::ini::ReadString(env_->SettingsFile(), section,
                                          QString(section) + QString::number(n), "<missing>");
  }

  std::unique_ptr<GuiTestEnvironment> env_;
};

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
