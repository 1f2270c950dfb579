#include "DesignerSession.h"

#include <QWidget>
#include <QtDesigner/QDesignerComponents>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QDesignerFormWindowManagerInterface>
#include <QtDesigner/QDesignerIntegration>
#include <QtDesigner/QDesignerObjectInspectorInterface>
#include <QtDesigner/QDesignerPropertyEditorInterface>
#include <QtDesigner/QDesignerWidgetBoxInterface>

namespace lindrel::testing {

DesignerSession::DesignerSession() {
  core_ = QDesignerComponents::createFormEditor(nullptr);
  QDesignerComponents::initializeResources();
  QDesignerComponents::initializePlugins(core_);
  QDesignerWidgetBoxInterface* widgetBox = QDesignerComponents::createWidgetBox(core_, nullptr);
  core_->setWidgetBox(widgetBox);
  // Designer's standard widget box; the custom widgets join it when it loads.
  widgetBox->setFileName(QStringLiteral(":/qt-project.org/widgetbox/widgetbox.xml"));
  widgetBox->load();
  core_->setPropertyEditor(QDesignerComponents::createPropertyEditor(core_, nullptr));
  core_->setObjectInspector(QDesignerComponents::createObjectInspector(core_, nullptr));
  core_->setIntegration(new QDesignerIntegration(core_, core_));
}

DesignerSession::~DesignerSession() {
  CloseForms();
  delete core_->widgetBox();
  delete core_->propertyEditor();
  delete core_->objectInspector();
  delete core_;
}

QDesignerFormWindowInterface* DesignerSession::Open(const QString& ui) {
  auto* host = new QWidget;
  formHosts_.append(host);
  QDesignerFormWindowInterface* form = core_->formWindowManager()->createFormWindow(host);
  core_->formWindowManager()->setActiveFormWindow(form);
  if (!form->setContents(ui)) return nullptr;
  form->setDirty(false);
  return form;
}

void DesignerSession::CloseForms() {
  qDeleteAll(formHosts_);  // each with its form window and the form's controls
  formHosts_.clear();
}

QString DesignerSession::FormWithComponents(const QStringList& names) {
  QString controls;
  int x = 10;
  for (const QString& name : names) {
    controls += QStringLiteral(
                    "<widget class=\"lindrel::widgets::LindrelWidget\" name=\"%1\">"
                    "<property name=\"geometry\"><rect><x>%2</x><y>10</y><width>32</width>"
                    "<height>32</height></rect></property></widget>")
                    .arg(name)
                    .arg(x);
    x += 50;
  }
  return QStringLiteral(
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
             "<ui version=\"4.0\"><class>Form</class>"
             "<widget class=\"QWidget\" name=\"Form\">"
             "<property name=\"geometry\"><rect><x>0</x><y>0</y><width>300</width>"
             "<height>100</height></rect></property>%1</widget>"
             "<customwidgets><customwidget><class>lindrel::widgets::LindrelWidget</class>"
             "<extends>QWidget</extends>"
             "<header location=\"global\">lindrel/widgets/LindrelWidget.h</header>"
             "</customwidget></customwidgets><resources/><connections/></ui>")
      .arg(controls);
}

QWidget* DesignerSession::Control(QDesignerFormWindowInterface* form, const QString& name) {
  QWidget* container = form != nullptr ? form->mainContainer() : nullptr;
  return container != nullptr ? container->findChild<QWidget*>(name) : nullptr;
}

}  // namespace lindrel::testing
