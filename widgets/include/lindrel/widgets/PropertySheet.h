/// @file
/// The component's property pages: "Directory Compare", "File Compare" and "About", shown
/// together in one modal sheet.
///
/// The check boxes are bound to the components' Qt properties by name. When the sheet
/// opens each box shows the value of the selected components (partly checked when they
/// disagree); "Apply" and "OK" write every box the user changed, and only those, through
/// the components' normal setters, so each component is marked modified and announces
/// the change. "Cancel" writes nothing.
///
/// Threading: GUI thread only.
#pragma once

#include <QList>

#include "lindrel/widgets/export.h"

class QObject;
class QWidget;

namespace lindrel::widgets {

/// Shows the sheet for `components` (objects with the component's Qt properties, usually
/// LindrelWidgets) through ExecModal. Answers true when the user applied anything.
LINDREL_WIDGETS_EXPORT bool ShowPropertySheet(const QList<QObject*>& components,
                                              QWidget* parent = nullptr);

}  // namespace lindrel::widgets
