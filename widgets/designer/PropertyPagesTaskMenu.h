// PropertyPagesTaskMenu: the entries Qt Designer adds to a placed component's context
// menu: "Property Pages..." (also what a double click opens) and "About Lindrel...".
// PropertyPagesTaskMenuFactory hands one to Designer for every placed LindrelWidget.
//
// Threading: GUI thread only.
#pragma once

#include <QPointer>
#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtDesigner/QExtensionFactory>

class QAction;

namespace lindrel::widgets {
class LindrelWidget;
}

namespace lindrel::designer {

class PropertyPagesTaskMenu final : public QObject, public QDesignerTaskMenuExtension {
  Q_OBJECT
  Q_INTERFACES(QDesignerTaskMenuExtension)

 public:
  PropertyPagesTaskMenu(widgets::LindrelWidget* control, QObject* parent);

  QAction* preferredEditAction() const override;
  QList<QAction*> taskActions() const override;

 private:
  void EditProperties();
  void ShowAboutBox();

  QPointer<widgets::LindrelWidget> control_;
  QAction* pagesAction_ = nullptr;
  QAction* aboutAction_ = nullptr;
};

class PropertyPagesTaskMenuFactory final : public QExtensionFactory {
  Q_OBJECT

 public:
  explicit PropertyPagesTaskMenuFactory(QExtensionManager* parent);

 protected:
  QObject* createExtension(QObject* object, const QString& iid, QObject* parent) const override;
};

}  // namespace lindrel::designer
