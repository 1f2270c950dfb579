#include "widgets/designer/LindrelWidgetPlugin.h"

#include <QDir>
#include <QIcon>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QExtensionManager>

#include "lindrel/widgets/AboutDialog.h"
#include "lindrel/widgets/LindrelWidget.h"
#include "widgets/designer/DesignTimeLindrelWidget.h"
#include "widgets/designer/PropertyPagesTaskMenu.h"

namespace lindrel::designer {

LindrelWidgetPlugin::LindrelWidgetPlugin(QObject* parent) : QObject(parent) {}

LindrelWidgetPlugin::~LindrelWidgetPlugin() = default;

QString LindrelWidgetPlugin::name() const {
  return QStringLiteral("lindrel::widgets::LindrelWidget");
}

QString LindrelWidgetPlugin::group() const { return QStringLiteral("Lindrel"); }

QIcon LindrelWidgetPlugin::icon() const { return QIcon(widgets::ComponentIcon()); }

QString LindrelWidgetPlugin::toolTip() const {
  return QStringLiteral("Lindrel file and directory comparison component");
}

QString LindrelWidgetPlugin::whatsThis() const {
  return QStringLiteral(
      "Compares two files line by line or two directory trees, and writes reports of the "
      "differences. Set its properties here or through its property pages (right-click, "
      "Property Pages...); start comparisons from code and connect to its five events.");
}

bool LindrelWidgetPlugin::isContainer() const { return false; }

// Angle brackets: forms include the installed header as a system header.
QString LindrelWidgetPlugin::includeFile() const {
  return QStringLiteral("<lindrel/widgets/LindrelWidget.h>");
}

// Names, paths and patterns are not for translators: marked so, a form keeps them in
// uic's setupUi() in the order Designer saved them, so "StateFile" (saved first) loads the
// state file before the form's own values are set. As translatable texts they would be
// set in retranslateUi(), after the form's other values, which the state file would then
// overwrite, and again at every change of language. The report captions stay
// translatable.
QString LindrelWidgetPlugin::domXml() const {
  static const char* const kUntranslated[] = {
      "StateFile",    "StateFileName", "DirSource",  "DirMaster",
      "DirFileTypes", "FileMaster",    "FileSource", "FileIgnoreRegularExpression"};
  QString specifications;
  for (const char* property : kUntranslated) {
    specifications += QStringLiteral(
                          "    <stringpropertyspecification name=\"%1\" notr=\"true\" "
                          "type=\"singleline\"/>\n")
                          .arg(QLatin1String(property));
  }
  return QStringLiteral(
             "<ui language=\"c++\" displayname=\"Lindrel\">\n"
             " <widget class=\"%1\" name=\"lindrel\"/>\n"
             " <customwidgets>\n"
             "  <customwidget>\n"
             "   <class>%1</class>\n"
             "   <propertyspecifications>\n%2"
             "   </propertyspecifications>\n"
             "  </customwidget>\n"
             " </customwidgets>\n"
             "</ui>\n")
      .arg(name(), specifications);
}

QWidget* LindrelWidgetPlugin::createWidget(QWidget* parent) {
  if (!designTimeFiles_) return new widgets::LindrelWidget(parent);
  // Without a scratch folder, a folder that is never made: the component's write fails,
  // which it ignores.
  QString folder = designTimeFiles_->isValid()
                       ? designTimeFiles_->path()
                       : QDir::tempPath() + QStringLiteral("/lindrel-designer-unavailable");
  return new DesignTimeLindrelWidget(parent, folder);
}

bool LindrelWidgetPlugin::isInitialized() const { return designTimeFiles_ != nullptr; }

void LindrelWidgetPlugin::initialize(QDesignerFormEditorInterface* core) {
  if (designTimeFiles_ || core == nullptr) return;
  designTimeFiles_ = std::make_unique<QTemporaryDir>();
  if (QExtensionManager* manager = core->extensionManager()) {
    manager->registerExtensions(new PropertyPagesTaskMenuFactory(manager),
                                Q_TYPEID(QDesignerTaskMenuExtension));
  }
}

}  // namespace lindrel::designer
