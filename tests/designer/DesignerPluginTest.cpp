// The Designer plugin as Qt Designer uses it: the collection found in the plugin file, the
// widget box entry, a placed control showing the component's defaults and saving every
// property in the form, and the property pages on its context menu writing back to the
// form.
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDomDocument>
#include <QIcon>
#include <QMetaProperty>
#include <QPluginLoader>
#include <QPushButton>
#include <QTabWidget>
#include <QUndoStack>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowCursorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QDesignerPropertySheetExtension>
#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtDesigner/QDesignerWidgetBoxInterface>
#include <QtDesigner/QDesignerWidgetDataBaseInterface>
#include <QtDesigner/QDesignerWidgetFactoryInterface>
#include <QtDesigner/QExtensionManager>
#include <QtTest>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>

#include <algorithm>
#include <memory>

#include "DesignerSession.h"
#include "lindrel/PropertyList.h"
#include "lindrel/widgets/LindrelWidget.h"
#include "tests/support/WidgetTestEnvironment.h"
#include "widgets/ModalDialogsTesting.h"

using lindrel::testing::DesignerSession;
using lindrel::testing::WidgetTestEnvironment;
using lindrel::widgets::LindrelWidget;

namespace {

const QString kClass = QStringLiteral("lindrel::widgets::LindrelWidget");

// Every writable property of the component with its default: the container's StateFile,
// then the property list.
const QList<QPair<const char*, QVariant>>& Defaults() {
  static const QList<QPair<const char*, QVariant>> defaults = [] {
    QList<QPair<const char*, QVariant>> list = {{"StateFile", QString()}};
#define DEFAULT_Boolean(Default) QVariant(Default != 0)
#define DEFAULT_Number(Default) QVariant(Default)
#define DEFAULT_Priority(Default) QVariant(Default)
#define DEFAULT_Text(Default) QVariant(QString::fromUtf8(Default))
#define DEFAULT_Directory(Default) QVariant(QString::fromUtf8(Default))
#define PROPERTY(Name, member, Kind, Default, StateKey) \
  list.append({#Name, DEFAULT_##Kind(Default)});
    LINDREL_PROPERTIES(PROPERTY)
#undef PROPERTY
#undef DEFAULT_Directory
#undef DEFAULT_Text
#undef DEFAULT_Priority
#undef DEFAULT_Number
#undef DEFAULT_Boolean
    return list;
  }();
  return defaults;
}

// The property elements of the saved control `name`: property name -> text of its value.
QMap<QString, QString> SavedProperties(const QString& ui, const QString& name) {
  QMap<QString, QString> found;
  QDomDocument document;
  if (!document.setContent(ui)) return found;
  QDomNodeList controls = document.elementsByTagName(QStringLiteral("widget"));
  for (int i = 0; i < controls.size(); ++i) {
    QDomElement control = controls.at(i).toElement();
    if (control.attribute(QStringLiteral("name")) != name) continue;
    for (QDomElement property = control.firstChildElement(QStringLiteral("property"));
         !property.isNull(); property = property.nextSiblingElement(QStringLiteral("property")))
      found[property.attribute(QStringLiteral("name"))] = property.firstChildElement().text();
  }
  return found;
}

QCheckBox* Box(QDialog& sheet, const char* property) {
  return sheet.findChild<QCheckBox*>(QString::fromLatin1(property));
}

void Press(QDialog& sheet, QDialogButtonBox::StandardButton which) {
  auto* buttons = sheet.findChild<QDialogButtonBox*>("sheetButtons");
  QVERIFY(buttons);
  buttons->button(which)->click();
}

// Fails the test on any warning Designer prints, such as a property it cannot handle.
QStringList designerWarnings;
void RecordDesignerWarnings(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type != QtDebugMsg && text.startsWith(QLatin1String("Designer:")))
    designerWarnings.append(text);
}

// A program's settings in the default state file, which Designer must neither show nor
// change.
const QByteArray kProgramSettings =
    "[General]\nb_file_ignore_case=TRUE\nl_thread_priority=3\ns_dir_search_ext=*.cpp\n";

}  // namespace

class DesignerPluginTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    env_ = std::make_unique<WidgetTestEnvironment>();
    programStateFile_ = env_->Write("home/TVK.INI", kProgramSettings);
    session_ = std::make_unique<DesignerSession>();
  }
  void cleanupTestCase() {
    session_.reset();
    // Every design-time control is gone now, each having written its state file.
    QCOMPARE(WidgetTestEnvironment::Read(programStateFile_), kProgramSettings);
    QCOMPARE(QDir(env_->Home()).entryList(QDir::Files | QDir::Hidden), QStringList{"TVK.INI"});
    env_.reset();
  }
  void init() {
    lindrel::widgets::TEST_SetNonInteractive(false);  // forgets earlier dialogs
    lindrel::widgets::TEST_SetNonInteractive(true);
    designerWarnings.clear();
    previousHandler_ = qInstallMessageHandler(RecordDesignerWarnings);
  }
  void cleanup() {
    session_->CloseForms();
    qInstallMessageHandler(previousHandler_);
    QVERIFY2(designerWarnings.isEmpty(), qPrintable(designerWarnings.join('\n')));
  }

  void pluginFileOffersTheComponentThroughItsCollection() {
    QPluginLoader loader(QStringLiteral(LINDREL_DESIGNER_PLUGIN));
    QCOMPARE(loader.metaData().value("IID").toString(),
             QString("org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface"));
    auto* collection = qobject_cast<QDesignerCustomWidgetCollectionInterface*>(loader.instance());
    QVERIFY2(collection, qPrintable(loader.errorString()));
    // The component, then the comparison view.
    QCOMPARE(collection->customWidgets().size(), 2);
    QDesignerCustomWidgetInterface* view = collection->customWidgets().at(1);
    QCOMPARE(view->name(), QString("lindrel::widgets::ComparisonView"));
    QCOMPARE(view->group(), QString("Lindrel"));
    QCOMPARE(view->includeFile(), QString("<lindrel/widgets/ComparisonView.h>"));
    QDomDocument viewEntry;
    QVERIFY(viewEntry.setContent(view->domXml()));
    QCOMPARE(viewEntry.documentElement().firstChildElement("widget").attribute("class"),
             view->name());
    QDesignerCustomWidgetInterface* widget = collection->customWidgets().first();
    QCOMPARE(widget->name(), kClass);
    QCOMPARE(widget->group(), QString("Lindrel"));
    QCOMPARE(widget->includeFile(), QString("<lindrel/widgets/LindrelWidget.h>"));
    QVERIFY(!widget->isContainer());
    QVERIFY(widget->icon().availableSizes().contains(QSize(32, 32)));
    QVERIFY(!widget->toolTip().isEmpty());
    // Designer initialized the plugin it loaded from the same file.
    QVERIFY(widget->isInitialized());

    // The entry the widget box drops on a form: the component's class, a control name.
    QDomDocument dropped;
    QVERIFY(dropped.setContent(widget->domXml()));
    QDomElement control = dropped.documentElement().firstChildElement("widget");
    QCOMPARE(control.attribute("class"), kClass);
    QVERIFY(!control.attribute("name").isEmpty());
  }

  void widgetBoxHasTheComponentInAGroupOfItsOwn() {
    QDesignerWidgetDataBaseInterface* database = session_->Core()->widgetDataBase();
    int index = database->indexOfClassName(kClass);
    QVERIFY(index >= 0);
    QDesignerWidgetDataBaseItemInterface* item = database->item(index);
    QVERIFY(item->isCustom());
    QCOMPARE(item->group(), QString("Lindrel"));
    QCOMPARE(item->includeFile(), QString("<lindrel/widgets/LindrelWidget.h>"));
    QVERIFY(item->icon().availableSizes().contains(QSize(32, 32)));

    QDesignerWidgetBoxInterface* box = session_->Core()->widgetBox();
    int found = -1;
    for (int i = 0; i < box->categoryCount(); ++i)
      if (box->category(i).name() == QLatin1String("Lindrel")) found = i;
    QVERIFY(found >= 0);
    QDesignerWidgetBoxInterface::Category category = box->category(found);
    QCOMPARE(category.widgetCount(), 2);
    QVERIFY(category.widget(0).domXml().contains(kClass));
    QVERIFY(category.widget(1).domXml().contains("lindrel::widgets::ComparisonView"));
  }

  void placedComponentShowsEveryPropertyWithItsDefault() {
    QDesignerFormWindowInterface* form =
        session_->Open(DesignerSession::FormWithComponents({"lindrel"}));
    QVERIFY(form);
    auto* control = qobject_cast<LindrelWidget*>(DesignerSession::Control(form, "lindrel"));
    QVERIFY(control);
    QCOMPARE(control->size(), QSize(32, 32));
    auto* sheet = qt_extension<QDesignerPropertySheetExtension*>(
        session_->Core()->extensionManager(), control);
    QVERIFY(sheet);
    for (const auto& [name, value] : Defaults()) {
      int index = sheet->indexOf(QString::fromLatin1(name));
      QVERIFY2(index >= 0, name);
      QVERIFY2(sheet->isVisible(index), name);
      QCOMPARE(sheet->propertyGroup(index), kClass);
      QVERIFY2(!sheet->isChanged(index), name);
      QCOMPARE(control->property(name), value);
    }
    // Every writable property of the component is in the table.
    const QMetaObject& meta = LindrelWidget::staticMetaObject;
    int writable = 0;
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i)
      writable += meta.property(i).isWritable() ? 1 : 0;
    QCOMPARE(writable, int(Defaults().size()));

    // Designer's own record of the defaults (what "reset" restores) agrees.
    QDesignerWidgetDataBaseInterface* database = session_->Core()->widgetDataBase();
    const QList<QVariant> recorded =
        database->item(database->indexOfClassName(kClass))->defaultPropertyValues();
    int compared = 0;
    for (const auto& [name, value] : Defaults()) {
      int index = sheet->indexOf(QString::fromLatin1(name));
      if (value.typeId() == QMetaType::QString) continue;  // held in a type of Designer's
      QVERIFY2(index < recorded.size(), name);
      QCOMPARE(recorded.at(index), value);
      ++compared;
    }
    QCOMPARE(compared, int(std::count_if(Defaults().cbegin(), Defaults().cend(), [](const auto& d) {
               return d.second.typeId() != QMetaType::QString;
             })));
  }

  void everyPropertySetOnTheFormIsSavedAndLoadedBack() {
    QDesignerFormWindowInterface* form =
        session_->Open(DesignerSession::FormWithComponents({"lindrel"}));
    QVERIFY(form);
    QWidget* control = DesignerSession::Control(form, "lindrel");
    QMap<QString, QVariant> written;
    for (const auto& [name, value] : Defaults()) {
      if (QByteArray(name) == "StateFile") continue;  // loads a file: the form test's part
      QVariant changed;
      if (value.typeId() == QMetaType::Bool)
        changed = !value.toBool();
      else if (value.typeId() == QMetaType::Int)
        changed = value.toInt() == 0 ? 3 : 0;
      else
        changed = QStringLiteral("/form/%1/").arg(QString::fromLatin1(name));
      form->cursor()->setWidgetProperty(control, QString::fromLatin1(name), changed);
      QCOMPARE(control->property(name), changed);
      written[QString::fromLatin1(name)] = changed;
    }
    QVERIFY(form->isDirty());

    const QString saved = form->contents();
    QMap<QString, QString> properties = SavedProperties(saved, "lindrel");
    for (auto it = written.cbegin(); it != written.cend(); ++it) {
      QVERIFY2(properties.contains(it.key()), qPrintable(it.key()));
      QString text = it.value().typeId() == QMetaType::Bool
                         ? QString(it.value().toBool() ? "true" : "false")
                         : it.value().toString();
      QCOMPARE(properties.value(it.key()), text);
    }

    // Opened again, the form gives a new control the same values.
    QDesignerFormWindowInterface* reopened = session_->Open(saved);
    QVERIFY(reopened);
    QWidget* loaded = DesignerSession::Control(reopened, "lindrel");
    QVERIFY(loaded && loaded != control);
    for (auto it = written.cbegin(); it != written.cend(); ++it)
      QCOMPARE(loaded->property(it.key().toLatin1()), it.value());
  }

  void contextMenuOffersThePropertyPagesAndTheAboutBox() {
    QDesignerFormWindowInterface* form =
        session_->Open(DesignerSession::FormWithComponents({"lindrel"}));
    QVERIFY(form);
    QDesignerTaskMenuExtension* menu = TaskMenu(DesignerSession::Control(form, "lindrel"));
    QVERIFY(menu);
    QStringList texts;
    for (QAction* action : menu->taskActions()) texts << action->text();
    QCOMPARE(texts, QStringList({"Property Pages...", "About Lindrel..."}));
    QCOMPARE(menu->preferredEditAction(), menu->taskActions().first());

    QStringList pages;
    lindrel::widgets::TEST_SetModalHandler([&](QDialog& sheet) {
      auto* tabs = sheet.findChild<QTabWidget*>("propertyPages");
      QVERIFY(tabs);
      for (int i = 0; i < tabs->count(); ++i) pages << tabs->tabText(i);
    });
    menu->taskActions().at(0)->trigger();
    QCOMPARE(pages, QStringList({"Directory Compare", "File Compare", "About"}));

    lindrel::widgets::TEST_SetModalHandler(nullptr);
    menu->taskActions().at(1)->trigger();
    QCOMPARE(lindrel::widgets::TEST_ModalDialogs(),
             QStringList({"LindrelPropertySheet", "AboutBox"}));
    QVERIFY(!form->isDirty());

    // Other widgets keep Designer's own menus.
    QWidget* other = form->core()->widgetFactory()->createWidget("QLabel", form->mainContainer());
    QVERIFY(other);
    QDesignerTaskMenuExtension* otherMenu = TaskMenu(other);
    if (otherMenu != nullptr)
      for (QAction* action : otherMenu->taskActions()) QVERIFY(action->text() != texts.first());
  }

  void pagesWriteWhatTheUserChangedBackToTheForm() {
    QDesignerFormWindowInterface* form =
        session_->Open(DesignerSession::FormWithComponents({"lindrel"}));
    QVERIFY(form);
    QWidget* control = DesignerSession::Control(form, "lindrel");
    const int commandsBefore = form->commandHistory()->count();

    lindrel::widgets::TEST_SetModalHandler([](QDialog& sheet) {
      QCheckBox* box = Box(sheet, "FileIgnoreCase");
      QVERIFY(box && !box->isChecked());
      box->click();
      Press(sheet, QDialogButtonBox::Ok);
    });
    QVERIFY(PagesAction(control));
    PagesAction(control)->trigger();

    QCOMPARE(control->property("FileIgnoreCase").toBool(), true);
    QCOMPARE(control->property("FileIgnoreWhiteSpace").toBool(), false);
    QCOMPARE(control->property("FileQuickCompare").toBool(), false);
    QCOMPARE(control->property("FileIgnoreEmptyLines").toBool(), false);
    QVERIFY(form->isDirty());
    QMap<QString, QString> saved = SavedProperties(form->contents(), "lindrel");
    QCOMPARE(saved.value("FileIgnoreCase"), QString("true"));
    QVERIFY(!saved.contains("FileIgnoreWhiteSpace"));
    QVERIFY(!saved.contains("DirShowOnlyInMaster"));

    // One step on Designer's undo stack, which takes the change back.
    QCOMPARE(form->commandHistory()->count(), commandsBefore + 1);
    form->commandHistory()->undo();
    QCOMPARE(control->property("FileIgnoreCase").toBool(), false);
  }

  void pagesEditEverySelectedComponentAtOnce() {
    QDesignerFormWindowInterface* form =
        session_->Open(DesignerSession::FormWithComponents({"first", "second", "third"}));
    QVERIFY(form);
    QWidget* first = DesignerSession::Control(form, "first");
    QWidget* second = DesignerSession::Control(form, "second");
    QWidget* third = DesignerSession::Control(form, "third");
    form->cursor()->setWidgetProperty(second, "DirDoSubDirectories", true);
    form->clearSelection(false);
    form->selectWidget(first, true);
    form->selectWidget(second, true);
    const int commandsBefore = form->commandHistory()->count();

    lindrel::widgets::TEST_SetModalHandler([](QDialog& sheet) {
      QCheckBox* box = Box(sheet, "DirDoSubDirectories");
      QVERIFY(box);
      QCOMPARE(box->checkState(), Qt::PartiallyChecked);  // the two disagree
      box->setCheckState(Qt::Checked);
      Press(sheet, QDialogButtonBox::Ok);
    });
    PagesAction(first)->trigger();

    QCOMPARE(first->property("DirDoSubDirectories").toBool(), true);
    QCOMPARE(second->property("DirDoSubDirectories").toBool(), true);
    QCOMPARE(third->property("DirDoSubDirectories").toBool(), false);  // not selected
    QCOMPARE(SavedProperties(form->contents(), "first").value("DirDoSubDirectories"),
             QString("true"));
    QCOMPARE(form->commandHistory()->count(), commandsBefore + 1);

    // A control outside the selection opens its pages for itself alone.
    lindrel::widgets::TEST_SetModalHandler([](QDialog& sheet) {
      QCOMPARE(Box(sheet, "DirDoSubDirectories")->checkState(), Qt::Unchecked);
      Box(sheet, "FileQuickCompare")->click();
      Press(sheet, QDialogButtonBox::Ok);
    });
    PagesAction(third)->trigger();
    QCOMPARE(third->property("FileQuickCompare").toBool(), true);
    QCOMPARE(first->property("FileQuickCompare").toBool(), false);
  }

  void appliedChangesStayAndCancelledOnesDoNot() {
    QDesignerFormWindowInterface* form =
        session_->Open(DesignerSession::FormWithComponents({"lindrel"}));
    QVERIFY(form);
    QWidget* control = DesignerSession::Control(form, "lindrel");
    const int commandsBefore = form->commandHistory()->count();

    // Cancel alone writes nothing.
    lindrel::widgets::TEST_SetModalHandler([](QDialog& sheet) {
      Box(sheet, "DirShowOnlyInMaster")->click();
      Press(sheet, QDialogButtonBox::Cancel);
    });
    PagesAction(control)->trigger();
    QCOMPARE(control->property("DirShowOnlyInMaster").toBool(), true);
    QVERIFY(!form->isDirty());
    QCOMPARE(form->commandHistory()->count(), commandsBefore);

    // Apply, then a further change and Cancel: the applied change stays, only it.
    lindrel::widgets::TEST_SetModalHandler([](QDialog& sheet) {
      Box(sheet, "DirShowOnlyInSource")->click();
      Press(sheet, QDialogButtonBox::Apply);
      Box(sheet, "FileIgnoreEmptyLines")->click();
      Press(sheet, QDialogButtonBox::Cancel);
    });
    PagesAction(control)->trigger();
    QCOMPARE(control->property("DirShowOnlyInSource").toBool(), false);
    QCOMPARE(control->property("FileIgnoreEmptyLines").toBool(), false);
    QMap<QString, QString> saved = SavedProperties(form->contents(), "lindrel");
    QCOMPARE(saved.value("DirShowOnlyInSource"), QString("false"));
    QVERIFY(!saved.contains("FileIgnoreEmptyLines"));
  }

 private:
  QDesignerTaskMenuExtension* TaskMenu(QWidget* control) const {
    return qt_extension<QDesignerTaskMenuExtension*>(session_->Core()->extensionManager(), control);
  }
  QAction* PagesAction(QWidget* control) const {
    QDesignerTaskMenuExtension* menu = TaskMenu(control);
    return menu != nullptr ? menu->preferredEditAction() : nullptr;
  }

  std::unique_ptr<WidgetTestEnvironment> env_;
  std::unique_ptr<DesignerSession> session_;
  QString programStateFile_;
  QtMessageHandler previousHandler_ = nullptr;
};

QTEST_MAIN(DesignerPluginTest)
#include "DesignerPluginTest.moc"
