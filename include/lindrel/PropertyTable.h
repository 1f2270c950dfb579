// PropertyTable: the component's properties as data, made from PropertyList.h, for hosts
// and tools that handle properties by name (forms, property editors, scripts).
//
// Threading: the table is constant; any thread may read it.
#pragma once

#include <span>
#include <string_view>

#include "lindrel/export.h"

namespace lindrel {

enum class PropertyKind { Boolean, Number, Priority, Text, Directory };

struct PropertyInfo {
  const char* name;  // "FileIgnoreCase"
  long dispId;       // its dispatch id
  PropertyKind kind;
  bool writable;            // false for the read-only properties
  const char* defaultText;  // a new component's value as text ("1", "*.*"); "" when read-only
  const char* stateKey;     // its key in the state file, or nullptr
};

// Every property: the writable ones in the order of PropertyList.h, then the read-only
// ones.
LINDREL_EXPORT std::span<const PropertyInfo> PropertyTable();
// The property of that name or dispatch id; nullptr when there is none.
LINDREL_EXPORT const PropertyInfo* FindProperty(std::string_view name);
LINDREL_EXPORT const PropertyInfo* FindProperty(long dispId);

}  // namespace lindrel
