// DesignTimeLindrelWidget: the component as Qt Designer places it on a form.
//
// At run time a component reads its state file when created and writes it when destroyed.
// Designer creates and destroys controls all the time (to learn the defaults, while
// dragging, in every preview), so a design-time control must keep away from the state
// files that programs use: otherwise the property editor would show whatever the last
// program left in the default file instead of the component's defaults, and what a
// developer tried on a form would land in the settings of every program that uses that
// file. A design-time control therefore starts from the defaults and, when destroyed,
// writes into a scratch folder of the Designer session. A state file the developer names
// through the "StateFile" property is still read, so the form shows what it will load.
//
// Deliberately without Q_OBJECT: Designer, the property editor and saved forms must see
// the component's own class, lindrel::widgets::LindrelWidget.
//
// Threading: GUI thread only.
#pragma once

#include <QString>

#include "lindrel/widgets/LindrelWidget.h"

namespace lindrel::designer {

class DesignTimeLindrelWidget final : public widgets::LindrelWidget {
 public:
  // `scratchFolder`: a folder private to this Designer session.
  DesignTimeLindrelWidget(QWidget* parent, const QString& scratchFolder);
  ~DesignTimeLindrelWidget() override;

 private:
  QString discardedStateFile_;
};

}  // namespace lindrel::designer
