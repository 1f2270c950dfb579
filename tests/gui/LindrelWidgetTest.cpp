// The component as a Qt widget: fixed extent, painting, properties bound by name, change
// notices, state files per placed instance, events as signals, the About box.
#include <QCheckBox>
#include <QLabel>
#include <QMetaProperty>
#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

#include <cstdio>

#include "GuiTestEnvironment.h"
#include "lindrel/PropertyTable.h"
#include "lindrel/widgets/AboutDialog.h"
#include "lindrel/widgets/LindrelWidget.h"
#include "widgets/PropertyPage.h"

using lindrel::testing::GuiTestEnvironment;
using lindrel::widgets::LindrelWidget;

class LindrelWidgetTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { env_ = std::make_unique<GuiTestEnvironment>(); }
  void cleanup() { env_.reset(); }

  void keepsItsExtentWhateverIsRequested_data() {
    QTest::addColumn<QString>("request");
    QTest::newRow("resize") << "resize";
    QTest::newRow("setGeometry") << "setGeometry";
    QTest::newRow("minimum size") << "minimum";
    QTest::newRow("fixed size") << "fixed";
    QTest::newRow("stretching layout") << "layout";
  }
  void keepsItsExtentWhateverIsRequested() {
    QFETCH(QString, request);
    QWidget container;
    auto* layout = new QVBoxLayout(&container);
    auto* widget = new LindrelWidget(&container);
    if (request == "layout") {
      layout->addWidget(widget, 1);
    } else if (request == "resize") {
      widget->resize(200, 150);
    } else if (request == "setGeometry") {
      widget->setGeometry(5, 5, 300, 20);
    } else if (request == "minimum") {
      widget->setMinimumSize(100, 100);
    } else if (request == "fixed") {
      widget->setFixedSize(64, 10);
    }
    container.resize(400, 300);
    container.show();
    QVERIFY(QTest::qWaitForWindowExposed(&container));
    QCOMPARE(widget->size(), QSize(32, 32));
    QCOMPARE(widget->sizeHint(), QSize(32, 32));
  }

  void paintsContainerBackgroundAndIcon() {
    QWidget container;
    QPalette palette = container.palette();
    palette.setColor(QPalette::Window, QColor(200, 10, 10));
    container.setPalette(palette);
    auto* widget = new LindrelWidget(&container);
    widget->move(4, 4);
    container.resize(80, 80);

    QImage painted = widget->grab().toImage();
    QImage icon = lindrel::widgets::ComponentIcon().toImage();
    QCOMPARE(icon.size(), QSize(32, 32));
    // The icon's lower right corner is transparent: the container's colour shows.
    QCOMPARE(icon.pixelColor(31, 31).alpha(), 0);
    QCOMPARE(painted.pixelColor(31, 31), QColor(200, 10, 10));
    // An opaque pixel of the icon sits at the same place in the widget.
    QCOMPARE(icon.pixelColor(1, 2).alpha(), 255);
    QCOMPARE(painted.pixelColor(1, 2).rgb(), icon.pixelColor(1, 2).rgb());
  }

  // The widget's Qt properties and the property pages agree with the component's
  // property table: the same names, Qt types for the kinds, writability, defaults.
  void propertiesAndPagesAgreeWithTheComponentsTable() {
    LindrelWidget widget;
    const QMetaObject* meta = &LindrelWidget::staticMetaObject;
    QStringList widgetNames, tableNames;
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i)
      widgetNames << meta->property(i).name();
    widgetNames.removeAll("StateFile");  // the container's, not the component's
    for (const lindrel::PropertyInfo& p : lindrel::PropertyTable()) {
      tableNames << p.name;
      const QMetaProperty q = meta->property(meta->indexOfProperty(p.name));
      QVERIFY2(q.isValid(), p.name);
      int type = QMetaType::QString;
      if (p.kind == lindrel::PropertyKind::Boolean) type = QMetaType::Bool;
      // Writable longs are ints to Qt: Designer edits no other integer type.
      else if (p.kind == lindrel::PropertyKind::Number || p.kind == lindrel::PropertyKind::Priority)
        type = p.writable ? QMetaType::Int : QMetaType::Long;
      QVERIFY2(q.typeId() == type, p.name);
      QVERIFY2(q.isWritable() == p.writable && q.isStored() == p.writable, p.name);
      if (!p.writable || QByteArray(p.name) == "StateFileName") continue;
      const QVariant value = q.read(&widget);
      const QString shown =
          type == QMetaType::Bool ? QString::number(value.toBool() ? 1 : 0) : value.toString();
      QVERIFY2(shown == QString::fromUtf8(p.defaultText), p.name);
    }
    widgetNames.sort();
    tableNames.sort();
    QCOMPARE(widgetNames, tableNames);

    for (auto* make :
         {&lindrel::widgets::NewCLindrelPropPage, &lindrel::widgets::NewCLindrelPPG_CF}) {
      std::unique_ptr<lindrel::widgets::PropertyPage> page(make(nullptr));
      auto* boxes = qobject_cast<lindrel::widgets::BooleanPropertyPage*>(page.get());
      QVERIFY(boxes != nullptr && !boxes->BoundProperties().empty());
      for (const char* name : boxes->BoundProperties()) {
        const lindrel::PropertyInfo* p = lindrel::FindProperty(name);
        QVERIFY2(p != nullptr && p->writable && p->kind == lindrel::PropertyKind::Boolean, name);
      }
    }
  }

  void everyWritablePropertyAnnouncesItselfByName() {
    LindrelWidget widget;
    QSignalSpy notices(&widget, &LindrelWidget::PropertyChanged);
    const QMetaObject* meta = &LindrelWidget::staticMetaObject;
    int checked = 0;
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
      QMetaProperty property = meta->property(i);
      if (!property.isWritable() || QByteArray(property.name()) == "StateFile") continue;
      QVariant current = property.read(&widget);
      QVariant changed;
      if (current.typeId() == QMetaType::Bool)
        changed = !current.toBool();
      else if (current.typeId() == QMetaType::QString)
        changed = current.toString() + "/x/";
      else
        changed = QVariant::fromValue<long>((current.value<long>() + 1) % 5);
      notices.clear();
      QVERIFY2(property.write(&widget, changed), property.name());
      QCOMPARE(notices.count(), 1);
      QCOMPARE(notices.at(0).at(1).toString(), QString::fromLatin1(property.name()));
      ++checked;
    }
    QCOMPARE(checked, 30);  // every writable property of the interface, DirThrottle included
  }

  void writesAndReadsPropertiesByName_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("written");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("directory gets a final separator")
        << "DirMaster" << QVariant("/data/master") << QVariant("/data/master/");
    QTest::newRow("directory already ending in a separator")
        << "DirSource" << QVariant("/data/source/") << QVariant("/data/source/");
    QTest::newRow("file types") << "DirFileTypes" << QVariant("*.txt") << QVariant("*.txt");
    QTest::newRow("boolean true") << "FileIgnoreCase" << QVariant(true) << QVariant(true);
    QTest::newRow("boolean -1 reads TRUE")
        << "FileIgnoreWhiteSpace" << QVariant(-1) << QVariant(true);
    QTest::newRow("boolean false") << "DirShowOnlyInMaster" << QVariant(false) << QVariant(false);
    QTest::newRow("priority in range") << "ThreadPriority" << QVariant(3) << QVariant(3);
    QTest::newRow("priority 5 ignored") << "ThreadPriority" << QVariant(5) << QVariant(0);
    QTest::newRow("priority -1 ignored") << "ThreadPriority" << QVariant(-1) << QVariant(0);
    QTest::newRow("line bracket") << "FileLineBracket" << QVariant(7) << QVariant(7);
    QTest::newRow("non-ASCII text") << "ReportFileTitle" << QVariant(QString::fromUtf8("Größe"))
                                    << QVariant(QString::fromUtf8("Größe"));
  }
  void writesAndReadsPropertiesByName() {
    QFETCH(QString, name);
    QFETCH(QVariant, written);
    QFETCH(QVariant, expected);
    LindrelWidget widget;
    QVERIFY(widget.setProperty(name.toLatin1(), written));
    QVariant read = widget.property(name.toLatin1());
    if (expected.typeId() == QMetaType::Int)
      QCOMPARE(read.toLongLong(), expected.toLongLong());
    else if (expected.typeId() == QMetaType::Bool)
      QCOMPARE(read.toBool(), expected.toBool());
    else
      QCOMPARE(read.toString(), expected.toString());
  }

  void announcesChangesAndMarksModified() {
    LindrelWidget widget;
    widget.SetModifiedFlag(false);
    QSignalSpy spy(&widget, &LindrelWidget::PropertyChanged);

    widget.setProperty("FileIgnoreCase", true);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).value<long>(), 16L);
    QCOMPARE(spy.at(0).at(1).toString(), QString("FileIgnoreCase"));
    QVERIFY(widget.IsModified());

    // An empty directory is stored without notice or modified mark.
    widget.SetModifiedFlag(false);
    widget.setProperty("DirMaster", QString());
    QCOMPARE(spy.count(), 1);
    QVERIFY(!widget.IsModified());

    widget.setProperty("ReportFileTitle", "Weekly");
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(1).at(1).toString(), QString("ReportFileTitle"));
  }

  void eachPlacedInstanceLoadsItsOwnStateFile() {
    env_->Write("home/WDD_A.INI", "[General]\nb_file_ignore_case=TRUE\ns_dir_search_ext=*.cpp\n");
    env_->Write("home/WDD_B.INI", "[General]\nb_file_ignore_case=FALSE\n");

    LindrelWidget a(nullptr, "WDD_A");
    LindrelWidget b(nullptr, "WDD_B");
    QCOMPARE(a.property("FileIgnoreCase").toBool(), true);
    QCOMPARE(a.property("DirFileTypes").toString(), QString("*.cpp"));
    QCOMPARE(b.property("FileIgnoreCase").toBool(), false);
    QCOMPARE(b.property("DirFileTypes").toString(), QString("*.*"));

    // A form designer sets the saved name after creating the control.
    LindrelWidget placed;
    placed.setProperty("StateFile", "WDD_A");
    QCOMPARE(placed.property("StateFileName").toString(), QString("WDD_A"));
    QCOMPARE(placed.property("FileIgnoreCase").toBool(), true);
  }

  void writesItsStateFileWhenDestroyed() {
    {
      LindrelWidget widget(nullptr, "WDD_C");
      widget.setProperty("FileQuickCompare", true);
    }
    QByteArray written = GuiTestEnvironment::Read(env_->Home() + "/WDD_C.INI");
    QVERIFY2(written.contains("b_file_quick=TRUE"), written.constData());
  }

  void refusalsArriveAsSignals() {
    LindrelWidget widget;
    QSignalSpy errors(&widget, &LindrelWidget::OnError);
    QSignalSpy started(&widget, &LindrelWidget::FileCompareStarted);
    widget.setProperty("FileMaster", env_->Root() + "/missing.txt");
    widget.setProperty("FileSource", env_->Root() + "/missing.txt");
    QVERIFY(!widget.FileCompareBegin());
    QCOMPARE(errors.count(), 1);
    QCOMPARE(errors.at(0).at(0).value<long>(), 600L);
    QVERIFY(errors.at(0).at(1).toString().startsWith("Invalid Master File, may not exist."));
    QCOMPARE(started.count(), 0);
  }

  // Any host can hand the widget a file name that is not UTF-8, held as the Qt layer
  // holds it (each such byte B as U+DC00 + B), and the component gets the name's own
  // bytes: the file is found, compared and named back unchanged.
  void namesThatAreNotUtf8CrossByteForByte() {
    const QByteArray root = env_->Root().toUtf8();
    const QByteArray masterBytes = root + "/caf\xE9.txt";
    const QByteArray missingBytes = root + "/no\xFF\x80-dir/report.txt";
    const std::string written = masterBytes.toStdString();
    {  // written under its bytes, past any conversion
      std::FILE* f = std::fopen(written.c_str(), "wb");
      QVERIFY(f != nullptr);
      std::fputs("one\ntwo\n", f);
      std::fclose(f);
    }
    const QString master = env_->Root() + "/caf" + QChar(char16_t(0xDCE9)) + ".txt";
    const QString missing = env_->Root() + "/no" + QChar(char16_t(0xDCFF)) +
                            QChar(char16_t(0xDC80)) + "-dir/report.txt";
    LindrelWidget widget;
    QSignalSpy errors(&widget, &LindrelWidget::OnError);
    widget.SetFileMaster(master);
    QCOMPARE(widget.Control().GetFileMaster(), written);
    QCOMPARE(widget.GetFileMaster(), master);
    widget.SetFileSource(env_->Write("source.txt", "one\n2\n"));
    QVERIFY(widget.FileCompareBeginSynchronous());
    QCOMPARE(errors.count(), 0);
    QCOMPARE(widget.FileCompareResultsCount(), 1L);

    widget.Control().SetReportFileTitle(missingBytes.toStdString());
    QCOMPARE(widget.GetReportFileTitle(), missing);
    QCOMPARE(widget.FileCompareCreateReport(missing, 2, 0), -5L);
    QCOMPARE(errors.count(), 1);
    QCOMPARE(errors.at(0).at(1).toString(), "Unable to open file:  " + missing);
  }

  void completionArrivesOnTheGuiThreadThroughTheEventLoop() {
    QString master = env_->Write("master.txt", "one\ntwo\nthree\n");
    QString source = env_->Write("source.txt", "one\n2\nthree\nfour\n");
    LindrelWidget widget;
    widget.setProperty("FileMaster", master);
    widget.setProperty("FileSource", source);
    QThread* firedOn = nullptr;
    long records = -7;
    connect(
        &widget, &LindrelWidget::FileCompareCompleted, this,
        [&](long count) {
          firedOn = QThread::currentThread();
          records = count;
        },
        Qt::DirectConnection);
    QSignalSpy started(&widget, &LindrelWidget::FileCompareStarted);
    QSignalSpy completed(&widget, &LindrelWidget::FileCompareCompleted);

    QVERIFY(widget.FileCompareBegin());
    QCOMPARE(started.count(), 1);  // synchronously, inside the begin
    QVERIFY(completed.wait(20000));
    QCOMPARE(firedOn, QThread::currentThread());
    QCOMPARE(records, widget.FileCompareResultsCount());
    QVERIFY(records >= 1);
  }

  void aboutBoxShowsIconNameAndOk() {
    LindrelWidget widget;
    bool inspected = false;
    lindrel::widgets::TEST_SetModalHandler([&](QDialog& dialog) {
      auto* icon = dialog.findChild<QLabel*>("aboutIcon");
      auto* text = dialog.findChild<QLabel*>("aboutText");
      auto* ok = dialog.findChild<QPushButton*>("IDOK");
      QVERIFY(icon && text && ok);
      QCOMPARE(icon->pixmap().size(), QSize(32, 32));
      QVERIFY(text->text().contains("Lindrel"));
      QCOMPARE(ok->text(), QString("OK"));
      ok->click();
      QVERIFY(!dialog.isVisible());
      inspected = true;
    });
    widget.AboutBox();
    QVERIFY(inspected);
    QCOMPARE(lindrel::widgets::TEST_ModalDialogs(), QStringList{"AboutBox"});
  }

 private:
  std::unique_ptr<GuiTestEnvironment> env_;
};

QTEST_MAIN(LindrelWidgetTest)
#include "LindrelWidgetTest.moc"
