/// @file
/// The component's properties as data, made from PropertyList.h, for hosts
/// and tools that handle properties by name (forms, property editors, scripts).
///
/// Threading: the table is constant; any thread may read it.
#pragma once

#include <span>
#include <string_view>

#include "lindrel/export.h"

namespace lindrel {

/// How a property's value is held and written (PropertyList.h).
enum class PropertyKind {
  Boolean,   ///< a long, stored as 1 for any non-zero value, else 0
  Number,    ///< a long
  Priority,  ///< a long from 0 to 4 (ThreadPriorities); other values are ignored
  Text,      ///< a string
  Directory  ///< a string that gains a final "/"
};

/// One property of the component, as data.
struct PropertyInfo {
  const char* name;         ///< "FileIgnoreCase"
  long dispId;              ///< its dispatch id (DispId)
  PropertyKind kind;        ///< how its value is held
  bool writable;            ///< false for the read-only properties
  const char* defaultText;  ///< a new component's value as text ("1", "*.*"); "" when read-only
  const char* stateKey;     ///< its key in the state file, or nullptr
};

/// Every property: the writable ones in the order of PropertyList.h, then the read-only
/// ones.
LINDREL_EXPORT std::span<const PropertyInfo> PropertyTable();
/// The property of that name; nullptr when there is none.
LINDREL_EXPORT const PropertyInfo* FindProperty(std::string_view name);
/// The property of that dispatch id; nullptr when there is none.
LINDREL_EXPORT const PropertyInfo* FindProperty(long dispId);

}  // namespace lindrel
