// Names of the component's properties by dispatch id, as the widget's Qt properties
// carry them.
// Threading: pure function, any thread.
#pragma once

#include <QString>

namespace lindrel::widgets {

// The property name of `dispId`, or "" for an id that is not a property.
QString DispatchName(long dispId);

}  // namespace lindrel::widgets
