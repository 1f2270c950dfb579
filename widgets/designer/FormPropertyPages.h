// The component's property pages as Qt Designer runs them on a form.
//
// The pages write through the components' setters. On a form that would change the
// controls behind Designer's back: the property editor would not know, the change could
// not be undone and the saved form would not hold it. So the pages edit stand-ins, and
// what they changed is then written through the form's cursor, as one undoable command
// that marks the properties as set on the form and the form as modified.
//
// Threading: GUI thread only.
#pragma once

#include <QList>

class QDesignerFormWindowInterface;
class QWidget;

namespace lindrel::widgets {
class LindrelWidget;
}

namespace lindrel::designer {

// Shows the property pages for `controls`, placed on `form`, modally over `dialogParent`,
// and writes what the user applied back to the form. Without a form (a control that is
// not on one) the pages write to the controls directly. Answers true when anything was
// written.
bool EditOnForm(QDesignerFormWindowInterface* form, const QList<widgets::LindrelWidget*>& controls,
                QWidget* dialogParent);

}  // namespace lindrel::designer
