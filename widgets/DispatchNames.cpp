#include "widgets/DispatchNames.h"

#include "lindrel/PropertyTable.h"

namespace lindrel::widgets {

QString DispatchName(long dispId) {
  const PropertyInfo* property = FindProperty(dispId);
  return property != nullptr ? QString::fromLatin1(property->name) : QString();
}

}  // namespace lindrel::widgets
