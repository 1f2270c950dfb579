#include "widgets/designer/FormPropertyPages.h"

#include <QMetaProperty>
#include <QPointer>
#include <QtDesigner/QDesignerFormWindowCursorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>

#include <memory>
#include <utility>
#include <vector>

#include "lindrel/widgets/LindrelWidget.h"
#include "lindrel/widgets/PropertySheet.h"

namespace lindrel::designer {
namespace {

// A plain object carrying a copy of a control's own properties, for the pages to edit.
// The pages bind by property name, so dynamic properties serve them as well as the
// control's declared ones, and writing one has no effect anywhere else.
std::unique_ptr<QObject> StandIn(const widgets::LindrelWidget& control) {
  auto standIn = std::make_unique<QObject>();
  const QMetaObject& meta = widgets::LindrelWidget::staticMetaObject;
  for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
    const QMetaProperty property = meta.property(i);
    if (property.isWritable()) standIn->setProperty(property.name(), property.read(&control));
  }
  return standIn;
}

struct Change {
  QPointer<widgets::LindrelWidget> control;
  QByteArray name;
  QVariant value;
};

}  // namespace

bool EditOnForm(QDesignerFormWindowInterface* form, const QList<widgets::LindrelWidget*>& controls,
                QWidget* dialogParent) {
  if (controls.isEmpty()) return false;
  if (form == nullptr || form->cursor() == nullptr) {
    QList<QObject*> components(controls.begin(), controls.end());
    return widgets::ShowPropertySheet(components, dialogParent);
  }

  // Guarded: the form may drop a control while the modal pages are open.
  std::vector<std::pair<QPointer<widgets::LindrelWidget>, std::unique_ptr<QObject>>> edited;
  QList<QObject*> standIns;
  for (widgets::LindrelWidget* control : controls) {
    edited.emplace_back(control, StandIn(*control));
    standIns.append(edited.back().second.get());
  }
  widgets::ShowPropertySheet(standIns, dialogParent);

  std::vector<Change> changes;
  for (const auto& [control, standIn] : edited) {
    if (!control) continue;
    for (const QByteArray& name : standIn->dynamicPropertyNames()) {
      QVariant value = standIn->property(name.constData());
      if (value != control->property(name.constData())) changes.push_back({control, name, value});
    }
  }
  if (changes.empty()) return false;

  form->beginCommand(QObject::tr("Change Lindrel properties"));
  for (const Change& change : changes)
    form->cursor()->setWidgetProperty(change.control, QString::fromLatin1(change.name),
                                      change.value);
  form->endCommand();
  return true;
}

}  // namespace lindrel::designer
