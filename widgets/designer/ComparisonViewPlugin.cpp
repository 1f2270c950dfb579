#include "widgets/designer/ComparisonViewPlugin.h"

#include <QIcon>

#include "lindrel/widgets/AboutDialog.h"
#include "lindrel/widgets/ComparisonView.h"

namespace lindrel::designer {

ComparisonViewPlugin::ComparisonViewPlugin(QObject* parent) : QObject(parent) {}

QString ComparisonViewPlugin::name() const {
  return QStringLiteral("lindrel::widgets::ComparisonView");
}

QString ComparisonViewPlugin::group() const { return QStringLiteral("Lindrel"); }

QIcon ComparisonViewPlugin::icon() const { return QIcon(widgets::ComponentIcon()); }

QString ComparisonViewPlugin::toolTip() const {
  return QStringLiteral("Lindrel comparison view: two files side by side or all in one");
}

QString ComparisonViewPlugin::whatsThis() const {
  return QStringLiteral(
      "Shows the result of a Lindrel file comparison: padded grids coloured by change, the "
      "change map, moves between changes and the words that differ. Name the form's "
      "Lindrel component in componentName, or call SetComponent or Compare from code.");
}

bool ComparisonViewPlugin::isContainer() const { return false; }

// Angle brackets: forms include the installed header as a system header.
QString ComparisonViewPlugin::includeFile() const {
  return QStringLiteral("<lindrel/widgets/ComparisonView.h>");
}

QString ComparisonViewPlugin::domXml() const {
  return QStringLiteral(
             "<ui language=\"c++\" displayname=\"Comparison View\">\n"
             " <widget class=\"%1\" name=\"comparisonView\">\n"
             "  <property name=\"geometry\">\n"
             "   <rect><x>0</x><y>0</y><width>480</width><height>320</height></rect>\n"
             "  </property>\n"
             " </widget>\n"
             " <customwidgets>\n"
             "  <customwidget>\n"
             "   <class>%1</class>\n"
             "   <propertyspecifications>\n"
             "    <stringpropertyspecification name=\"componentName\" notr=\"true\" "
             "type=\"singleline\"/>\n"
             "   </propertyspecifications>\n"
             "  </customwidget>\n"
             " </customwidgets>\n"
             "</ui>\n")
      .arg(name());
}

QWidget* ComparisonViewPlugin::createWidget(QWidget* parent) {
  auto* view = new widgets::ComparisonView(parent);
  // In Designer's form editor nothing is compared; a view there only takes its place.
  if (initialized_) view->SetTakesDrops(false);
  return view;
}

void ComparisonViewPlugin::initialize(QDesignerFormEditorInterface*) { initialized_ = true; }

}  // namespace lindrel::designer
