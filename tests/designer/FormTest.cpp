// A form saved by Qt Designer with two placed components, in a program that links the Qt
// layer: compiled by uic, and loaded at run time by QUiLoader through the Designer plugin.
// Either way the placed controls are the component, the form's values win over the state
// file the form names, and the component keeps the state file as a program's component
// does.
#include <QAbstractItemView>
#include <QDir>
#include <QUiLoader>
#include <QtTest>

#include <memory>

#include "lindrel/widgets/ComparisonView.h"
#include "lindrel/widgets/LindrelWidget.h"
#include "tests/support/WidgetTestEnvironment.h"
#include "ui_ComparisonForm.h"

using lindrel::testing::WidgetTestEnvironment;
using lindrel::widgets::LindrelWidget;

class FormTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    env_ = std::make_unique<WidgetTestEnvironment>();
    // The state file the form names for its first component.
    stateFile_ = env_->Write("home/WDD_FORM_TVK1.INI",
                             "[General]\ns_dir_search_ext=*.h\nb_file_ignore_case=FALSE\n"
                             "b_dir_use_subdirectories=TRUE\n");
  }
  void cleanup() { env_.reset(); }

  void compiledFormPlacesTheComponents() {
    QWidget host;
    Ui::ComparisonForm form;
    form.setupUi(&host);
    Check(form.fileComparer, form.wordComparer);
  }

  void compiledFormComparesWithTheFormsOptions() {
    QWidget host;
    Ui::ComparisonForm form;
    form.setupUi(&host);
    // Differ only in case, which the form told the first component to ignore.
    form.fileComparer->SetFileMaster(env_->Write("master.txt", "Alpha\nBeta\n"));
    form.fileComparer->SetFileSource(env_->Write("source.txt", "alpha\nBETA\n"));
    QVERIFY(form.fileComparer->FileCompareBeginSynchronous());
    QCOMPARE(form.fileComparer->FileCompareResultsCount(), 0L);
  }

  // The form's view names the form's first component: shown, it shows that component's
  // comparisons, and its moves reach the changes.
  void compiledFormShowsTheComponentsComparisonInItsView() {
    QWidget host;
    Ui::ComparisonForm form;
    form.setupUi(&host);
    host.show();
    QCOMPARE(form.view->Component(), form.fileComparer);
    form.fileComparer->SetFileMaster(env_->Write("master.txt", "one\ntwo\nthree\n"));
    form.fileComparer->SetFileSource(env_->Write("source.txt", "one\nthree\nfour\n"));
    QSignalSpy shown(form.view, &lindrel::widgets::ComparisonView::CurrentChangeChanged);
    QSignalSpy done(form.fileComparer, &LindrelWidget::FileCompareCompleted);
    QVERIFY(form.fileComparer->FileCompareBeginSynchronous());
    if (done.isEmpty()) QVERIFY(done.wait());
    QCOMPARE(form.view->ChangeCount(), 2);
    form.view->MoveLast();
    QCOMPARE(shown.count(), 1);
    QCOMPARE(form.view->CurrentChange(), 2);
    auto* master = form.view->findChild<QAbstractItemView*>("msfgMaster");
    QVERIFY(master);
    // Padded: "four" stands opposite an empty row.
    QCOMPARE(master->model()->rowCount(), 4);
  }

  void loaderBuildsTheFormThroughThePlugin() {
    QUiLoader loader;
    loader.clearPluginPaths();
    loader.addPluginPath(QStringLiteral(LINDREL_DESIGNER_PLUGIN_DIR));
    QVERIFY(loader.availableWidgets().contains("lindrel::widgets::LindrelWidget"));
    QVERIFY(loader.availableWidgets().contains("lindrel::widgets::ComparisonView"));
    QFile ui(QStringLiteral(LINDREL_COMPARISON_FORM));
    QVERIFY(ui.open(QIODevice::ReadOnly));
    std::unique_ptr<QWidget> host(loader.load(&ui));
    QVERIFY2(host, qPrintable(loader.errorString()));
    Check(host->findChild<LindrelWidget*>("fileComparer"),
          host->findChild<LindrelWidget*>("wordComparer"));

    // A component the program loaded is the program's own: at its end it writes the state
    // file the form named.
    host.reset();
    QByteArray written = WidgetTestEnvironment::Read(stateFile_);
    QVERIFY2(written.contains("b_file_ignore_case=TRUE"), written.constData());
    QVERIFY2(written.contains("m_report_file_title=Weekly comparison"), written.constData());
  }

 private:
  // The values the form gave, over the state file it named, over the defaults.
  void Check(LindrelWidget* first, LindrelWidget* second) {
    QVERIFY(first && second);
    QCOMPARE(first->size(), QSize(32, 32));
    QCOMPARE(first->GetStateFileName(), QString("WDD_FORM_TVK1"));
    QCOMPARE(first->GetDirFileTypes(), QString("*.h"));  // from the state file
    QCOMPARE(first->GetDirDoSubDirectories(), true);     // from the state file
    QCOMPARE(first->GetFileIgnoreCase(), true);          // the form wins
    QCOMPARE(first->GetThreadPriority(), 2L);
    QCOMPARE(first->GetReportFileTitle(), QString("Weekly comparison"));
    QCOMPARE(first->GetDirMaster(), QString("/data/master/"));
    QCOMPARE(first->GetFileQuickCompare(), false);

    QCOMPARE(second->GetStateFileName(), QString());
    QCOMPARE(second->GetFileQuickCompare(), true);
    QCOMPARE(second->GetFileLineBracket(), 4L);
    QCOMPARE(second->GetDirShowOnlyInSource(), false);
    QCOMPARE(second->GetDirShowOnlyInMaster(), true);
    QCOMPARE(second->GetDirFileTypes(), QString("*.*"));
    QCOMPARE(second->GetFileIgnoreCase(), false);
  }

  std::unique_ptr<WidgetTestEnvironment> env_;
  QString stateFile_;
};

QTEST_MAIN(FormTest)
#include "FormTest.moc"
