#include "widgets/designer/PropertyPagesTaskMenu.h"

#include <QAction>
#include <QtDesigner/QDesignerFormWindowCursorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>

#include "lindrel/widgets/LindrelWidget.h"
#include "widgets/designer/FormPropertyPages.h"

namespace lindrel::designer {
namespace {

// The controls the pages edit: every selected component when the clicked one is among
// the selection (the pages show where they disagree), else the clicked one alone.
QList<widgets::LindrelWidget*> EditedControls(widgets::LindrelWidget* clicked,
                                              QDesignerFormWindowInterface* form) {
  QList<widgets::LindrelWidget*> selected;
  if (form != nullptr && form->cursor() != nullptr) {
    QDesignerFormWindowCursorInterface* cursor = form->cursor();
    for (int i = 0; i < cursor->selectedWidgetCount(); ++i) {
      if (auto* control = qobject_cast<widgets::LindrelWidget*>(cursor->selectedWidget(i)))
        selected.append(control);
    }
  }
  if (!selected.contains(clicked)) return {clicked};
  return selected;
}

}  // namespace

PropertyPagesTaskMenu::PropertyPagesTaskMenu(widgets::LindrelWidget* control, QObject* parent)
    : QObject(parent), control_(control) {
  pagesAction_ = new QAction(tr("Property Pages..."), this);
  pagesAction_->setObjectName(QStringLiteral("lindrelPropertyPages"));
  connect(pagesAction_, &QAction::triggered, this, &PropertyPagesTaskMenu::EditProperties);
  aboutAction_ = new QAction(tr("About Lindrel..."), this);
  aboutAction_->setObjectName(QStringLiteral("lindrelAboutBox"));
  connect(aboutAction_, &QAction::triggered, this, &PropertyPagesTaskMenu::ShowAboutBox);
}

QAction* PropertyPagesTaskMenu::preferredEditAction() const { return pagesAction_; }

QList<QAction*> PropertyPagesTaskMenu::taskActions() const { return {pagesAction_, aboutAction_}; }

void PropertyPagesTaskMenu::EditProperties() {
  if (!control_) return;
  QDesignerFormWindowInterface* form = QDesignerFormWindowInterface::findFormWindow(control_);
  EditOnForm(form, EditedControls(control_, form), control_->window());
}

void PropertyPagesTaskMenu::ShowAboutBox() {
  if (control_) control_->AboutBox();
}

PropertyPagesTaskMenuFactory::PropertyPagesTaskMenuFactory(QExtensionManager* parent)
    : QExtensionFactory(parent) {}

QObject* PropertyPagesTaskMenuFactory::createExtension(QObject* object, const QString& iid,
                                                       QObject* parent) const {
  if (iid != QLatin1String(Q_TYPEID(QDesignerTaskMenuExtension))) return nullptr;
  if (auto* control = qobject_cast<widgets::LindrelWidget*>(object))
    return new PropertyPagesTaskMenu(control, parent);
  return nullptr;
}

}  // namespace lindrel::designer
