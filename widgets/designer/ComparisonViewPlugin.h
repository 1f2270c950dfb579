// ComparisonViewPlugin: describes ComparisonView to Qt Designer (its entry in the
// "Lindrel" group of the widget box, the header a form includes, a new view's name and
// size) and creates the placed views. A form joins a view to a component of the same form
// through the view's componentName property.
//
// Threading: GUI thread only.
#pragma once

#include <QObject>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

namespace lindrel::designer {

class ComparisonViewPlugin final : public QObject, public QDesignerCustomWidgetInterface {
  Q_OBJECT
  Q_INTERFACES(QDesignerCustomWidgetInterface)

 public:
  explicit ComparisonViewPlugin(QObject* parent = nullptr);

  QString name() const override;
  QString group() const override;
  QIcon icon() const override;
  QString toolTip() const override;
  QString whatsThis() const override;
  bool isContainer() const override;
  QString includeFile() const override;
  QString domXml() const override;
  QWidget* createWidget(QWidget* parent) override;
  bool isInitialized() const override { return initialized_; }
  void initialize(QDesignerFormEditorInterface* core) override;

 private:
  bool initialized_ = false;
};

}  // namespace lindrel::designer
