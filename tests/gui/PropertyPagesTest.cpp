// The property pages: exact captions, boxes bound by name, only changed boxes written
// through the normal setters.
#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QtTest>

#include <functional>

#include "GuiTestEnvironment.h"
#include "lindrel/widgets/LindrelWidget.h"
#include "lindrel/widgets/PropertySheet.h"

using lindrel::testing::GuiTestEnvironment;
using lindrel::widgets::LindrelWidget;

namespace {

QCheckBox* Box(QDialog& sheet, const char* property) {
  return sheet.findChild<QCheckBox*>(QString::fromLatin1(property));
}

QPushButton* Button(QDialog& sheet, QDialogButtonBox::StandardButton which) {
  auto* buttons = sheet.findChild<QDialogButtonBox*>("sheetButtons");
  return buttons ? buttons->button(which) : nullptr;
}

// Runs the sheet for `components`, letting `drive` act on it.
bool RunSheet(const QList<QObject*>& components, std::function<void(QDialog&)> drive) {
  lindrel::widgets::TEST_SetModalHandler(std::move(drive));
  return lindrel::widgets::ShowPropertySheet(components);
}

}  // namespace

class PropertyPagesTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { env_ = std::make_unique<GuiTestEnvironment>(); }
  void cleanup() { env_.reset(); }

  void pagesCarryTheExactCaptions_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("property");
    QTest::addColumn<QString>("caption");
    QTest::newRow("master only") << 0 << "DirShowOnlyInMaster"
                                 << "Show Files that are only in the &Master Directory";
    QTest::newRow("source only") << 0 << "DirShowOnlyInSource"
                                 << "Show Files that are only in the &Source Directory";
    QTest::newRow("same") << 0 << "DirShowSameInBothPlaces"
                          << "Show Files whose CONTENT are the SA&ME in both directories";
    QTest::newRow("different, two blanks") << 0 << "DirShowDifferentInBothPlaces"
                                           << "Show Files whose CONTENT is  &DIFFERENT in both "
                                              "directories";
    QTest::newRow("subdirectories") << 0 << "DirDoSubDirectories" << "&Look in SUBDIRECTORIES";
    QTest::newRow("case") << 1 << "FileIgnoreCase" << "Ignore &CASE differences";
    QTest::newRow("white space") << 1 << "FileIgnoreWhiteSpace"
                                 << "Ignore &Whitespace characters (i.e. Tabs, Spaces etc.)";
    QTest::newRow("quick") << 1 << "FileQuickCompare" << "Do a &Quick compare (Binary Comparison)";
    QTest::newRow("empty lines") << 1 << "FileIgnoreEmptyLines" << "Ignore &Empty Lines";
  }
  void pagesCarryTheExactCaptions() {
    QFETCH(int, tab);
    QFETCH(QString, property);
    QFETCH(QString, caption);
    LindrelWidget widget;
    RunSheet({&widget}, [&](QDialog& sheet) {
      auto* tabs = sheet.findChild<QTabWidget*>("propertyPages");
      QVERIFY(tabs);
      QCOMPARE(tabs->count(), 3);
      QCOMPARE(tabs->tabText(0), QString("Directory Compare"));
      QCOMPARE(tabs->tabText(1), QString("File Compare"));
      QCOMPARE(tabs->tabText(2), QString("About"));
      QCheckBox* box = tabs->widget(tab)->findChild<QCheckBox*>(property);
      QVERIFY(box);
      QCOMPARE(box->text(), caption);
      QCOMPARE(box->isChecked(), widget.property(property.toLatin1()).toBool());
    });
  }

  void applyingWritesOnlyTheChangedBoxes() {
    LindrelWidget widget;
    widget.setProperty("FileIgnoreWhiteSpace", true);
    widget.SetModifiedFlag(false);
    QSignalSpy notices(&widget, &LindrelWidget::PropertyChanged);

    bool applied = RunSheet({&widget}, [](QDialog& sheet) {
      Box(sheet, "FileIgnoreCase")->click();
      Button(sheet, QDialogButtonBox::Ok)->click();
    });

    QVERIFY(applied);
    QCOMPARE(notices.count(), 1);
    QCOMPARE(notices.at(0).at(1).toString(), QString("FileIgnoreCase"));
    QVERIFY(widget.IsModified());
    QCOMPARE(widget.property("FileIgnoreCase").toBool(), true);
    QCOMPARE(widget.property("FileIgnoreWhiteSpace").toBool(), true);
    QCOMPARE(widget.property("FileQuickCompare").toBool(), false);
    QCOMPARE(widget.property("FileIgnoreEmptyLines").toBool(), false);
  }

  void nothingIsWrittenWithoutAChange_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("box toggled back") << "toggle twice, OK";
    QTest::newRow("cancelled") << "toggle, Cancel";
    QTest::newRow("escape") << "toggle, Escape";
  }
  void nothingIsWrittenWithoutAChange() {
    QFETCH(QString, how);
    LindrelWidget widget;
    widget.SetModifiedFlag(false);
    QSignalSpy notices(&widget, &LindrelWidget::PropertyChanged);
    bool applied = RunSheet({&widget}, [&](QDialog& sheet) {
      QCheckBox* box = Box(sheet, "DirDoSubDirectories");
      box->click();
      if (how.startsWith("toggle twice")) {
        box->click();
        QVERIFY(!Button(sheet, QDialogButtonBox::Apply)->isEnabled());
        Button(sheet, QDialogButtonBox::Ok)->click();
      } else if (how.endsWith("Cancel")) {
        Button(sheet, QDialogButtonBox::Cancel)->click();
      } else {
        QTest::keyClick(&sheet, Qt::Key_Escape);
      }
    });
    QVERIFY(!applied);
    QCOMPARE(notices.count(), 0);
    QVERIFY(!widget.IsModified());
    QCOMPARE(widget.property("DirDoSubDirectories").toBool(), false);
  }

  void applyThenOkWritesOnce() {
    LindrelWidget widget;
    QSignalSpy notices(&widget, &LindrelWidget::PropertyChanged);
    RunSheet({&widget}, [&](QDialog& sheet) {
      QPushButton* apply = Button(sheet, QDialogButtonBox::Apply);
      QVERIFY(!apply->isEnabled());
      Box(sheet, "DirShowOnlyInMaster")->click();
      QVERIFY(apply->isEnabled());
      apply->click();
      QCOMPARE(notices.count(), 1);
      QVERIFY(!apply->isEnabled());
      Button(sheet, QDialogButtonBox::Ok)->click();
    });
    QCOMPARE(notices.count(), 1);
    QCOMPARE(widget.property("DirShowOnlyInMaster").toBool(), false);
  }

  void componentsThatDisagreeShowAThirdStateUntilChosen() {
    LindrelWidget first;
    LindrelWidget second;
    first.setProperty("DirDoSubDirectories", true);
    second.setProperty("DirDoSubDirectories", false);
    QSignalSpy firstNotices(&first, &LindrelWidget::PropertyChanged);
    QSignalSpy secondNotices(&second, &LindrelWidget::PropertyChanged);

    RunSheet({&first, &second}, [](QDialog& sheet) {
      QCheckBox* box = Box(sheet, "DirDoSubDirectories");
      QCOMPARE(box->checkState(), Qt::PartiallyChecked);
      QCOMPARE(Box(sheet, "DirShowOnlyInMaster")->checkState(), Qt::Checked);
      box->click();
      QCOMPARE(box->checkState(), Qt::Checked);
      Button(sheet, QDialogButtonBox::Ok)->click();
    });
    QCOMPARE(first.property("DirDoSubDirectories").toBool(), true);
    QCOMPARE(second.property("DirDoSubDirectories").toBool(), true);
    QCOMPARE(firstNotices.count(), 1);
    QCOMPARE(secondNotices.count(), 1);
  }

  void placedControlOpensItsPages() {
    LindrelWidget widget;
    auto* properties = widget.findChild<QAction*>("actionProperties");
    QVERIFY(properties);
    QCOMPARE(widget.contextMenuPolicy(), Qt::ActionsContextMenu);
    properties->trigger();
    QCOMPARE(lindrel::widgets::TEST_ModalDialogs(), QStringList{"LindrelPropertySheet"});
  }

 private:
  std::unique_ptr<GuiTestEnvironment> env_;
};

QTEST_MAIN(PropertyPagesTest)
#include "PropertyPagesTest.moc"
