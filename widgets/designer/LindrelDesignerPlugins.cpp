#include "widgets/designer/LindrelDesignerPlugins.h"

#include "widgets/designer/ComparisonViewPlugin.h"
#include "widgets/designer/LindrelWidgetPlugin.h"

namespace lindrel::designer {

LindrelDesignerPlugins::LindrelDesignerPlugins(QObject* parent) : QObject(parent) {
  widgets_.append(new LindrelWidgetPlugin(this));
  widgets_.append(new ComparisonViewPlugin(this));
}

QList<QDesignerCustomWidgetInterface*> LindrelDesignerPlugins::customWidgets() const {
  return widgets_;
}

}  // namespace lindrel::designer
