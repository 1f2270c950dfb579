// LindrelDesignerPlugins: the Qt Designer plugin library of Lindrel, the collection of the
// custom widgets it offers (the component and the comparison view).
//
// Threading: GUI thread only, as Designer and QUiLoader call it.
#pragma once

#include <QObject>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>

namespace lindrel::designer {

class LindrelDesignerPlugins final : public QObject,
                                     public QDesignerCustomWidgetCollectionInterface {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface" FILE
                        "lindrel_designer.json")
  Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)

 public:
  explicit LindrelDesignerPlugins(QObject* parent = nullptr);

  QList<QDesignerCustomWidgetInterface*> customWidgets() const override;

 private:
  QList<QDesignerCustomWidgetInterface*> widgets_;
};

}  // namespace lindrel::designer
