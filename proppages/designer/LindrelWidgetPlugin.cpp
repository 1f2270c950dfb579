#include "proppages/designer/LindrelWidgetPlugin.h"

#include <QIcon>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QExtensionManager>

#include "lindrel/widgets/AboutDialog.h"
#include "lindrel/widgets/LindrelWidget.h"
#include "proppages/designer/DesignTimeLindrelWidget.h"
#include "proppages/designer/PropertyPagesTaskMenu.h"

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

QString LindrelWidgetPlugin::domXml() const {
  return QStringLiteral(
      "<ui language=\"c++\" displayname=\"Lindrel\">\n"
      " <widget class=\"lindrel::widgets::LindrelWidget\" name=\"lindrel\"/>\n"
      "</ui>\n");
}

QWidget* LindrelWidgetPlugin::createWidget(QWidget* parent) {
  if (core_ == nullptr) return new widgets::LindrelWidget(parent);
  return new DesignTimeLindrelWidget(parent, designTimeFiles_->path());
}

bool LindrelWidgetPlugin::isInitialized() const { return core_ != nullptr; }

void LindrelWidgetPlugin::initialize(QDesignerFormEditorInterface* core) {
  if (core_ != nullptr || core == nullptr) return;
  core_ = core;
  designTimeFiles_ = std::make_unique<QTemporaryDir>();
  if (QExtensionManager* manager = core->extensionManager()) {
    manager->registerExtensions(new PropertyPagesTaskMenuFactory(manager),
                                Q_TYPEID(QDesignerTaskMenuExtension));
  }
}

}  // namespace lindrel::designer
