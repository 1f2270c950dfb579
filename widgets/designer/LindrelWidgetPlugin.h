// LindrelWidgetPlugin: describes LindrelWidget to Qt Designer (its entry in the widget box,
// the header a form includes, a new control's name) and creates the placed controls.
//
// Designer calls initialize() with its form editor; QUiLoader never does. So an
// initialized plugin creates design-time controls (see DesignTimeLindrelWidget), and an
// uninitialized one, serving a program that loads a form at run time, the component as
// the program uses it.
//
// Threading: GUI thread only.
#pragma once

#include <QObject>
#include <QTemporaryDir>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <memory>

namespace lindrel::designer {

class LindrelWidgetPlugin final : public QObject, public QDesignerCustomWidgetInterface {
  Q_OBJECT
  Q_INTERFACES(QDesignerCustomWidgetInterface)

 public:
  explicit LindrelWidgetPlugin(QObject* parent = nullptr);
  ~LindrelWidgetPlugin() override;

  QString name() const override;
  QString group() const override;
  QIcon icon() const override;
  QString toolTip() const override;
  QString whatsThis() const override;
  bool isContainer() const override;
  QString includeFile() const override;
  QString domXml() const override;
  QWidget* createWidget(QWidget* parent) override;

  bool isInitialized() const override;
  // Registers the property pages' task menu with Designer.
  void initialize(QDesignerFormEditorInterface* core) override;

 private:
  // Where the design-time controls keep their state files, made when Designer initializes
  // the plugin (none: the plugin serves QUiLoader) and removed with the plugin.
  std::unique_ptr<QTemporaryDir> designTimeFiles_;
};

}  // namespace lindrel::designer
