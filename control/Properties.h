// The values of a component's writable properties, with their defaults, as
// lindrel/PropertyList.h lists them. Owner thread only: a job copies what it needs when it
// begins.
#pragma once

#include <string>

#include "lindrel/PropertyList.h"

namespace lindrel {

// The type a property of each kind is held in.
using BooleanValue = long;
using NumberValue = long;
using PriorityValue = long;
using TextValue = std::string;
using DirectoryValue = std::string;

struct Properties {
#define LINDREL_PROPERTY_FIELD(Name, member, Kind, Default, StateKey) Kind##Value member = Default;
  LINDREL_PROPERTIES(LINDREL_PROPERTY_FIELD)
#undef LINDREL_PROPERTY_FIELD
};

// Booleans are stored as 1 or 0 whatever non-zero value the host passes.
inline long ToBool(long value) { return value != 0 ? 1 : 0; }

}  // namespace lindrel
