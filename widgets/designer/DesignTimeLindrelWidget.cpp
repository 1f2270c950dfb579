#include "widgets/designer/DesignTimeLindrelWidget.h"

namespace lindrel::designer {
namespace {

// A state file that is never written, so reading it gives every property its default.
QString NeverWrittenStateFile(const QString& scratchFolder) {
  return scratchFolder + QStringLiteral("/defaults.INI");
}

}  // namespace

DesignTimeLindrelWidget::DesignTimeLindrelWidget(QWidget* parent, const QString& scratchFolder)
    : widgets::LindrelWidget(parent, NeverWrittenStateFile(scratchFolder)),
      discardedStateFile_(scratchFolder + QStringLiteral("/discarded.INI")) {
  // The placed control shows the component's own default name (none).
  Control().SetStateFileName(std::string());
  Control().SetModifiedFlag(false);
}

DesignTimeLindrelWidget::~DesignTimeLindrelWidget() {
  // The component writes its state file as it is destroyed; send that write away.
  Control().SetStateFileName(discardedStateFile_.toStdString());
}

}  // namespace lindrel::designer
