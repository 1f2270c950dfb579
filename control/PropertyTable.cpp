#include "lindrel/PropertyTable.h"

#include <algorithm>
#include <array>

#include "lindrel/LindrelCtrl.h"

namespace lindrel {
namespace {

// A default as text: numbers spelled out, texts as they are.
#define LINDREL_DEFAULT_TEXT_Boolean(Default) #Default
#define LINDREL_DEFAULT_TEXT_Number(Default) #Default
#define LINDREL_DEFAULT_TEXT_Priority(Default) #Default
#define LINDREL_DEFAULT_TEXT_Text(Default) Default
#define LINDREL_DEFAULT_TEXT_Directory(Default) Default
#define LINDREL_WRITABLE_INFO(Name, member, Kind, Default, StateKey) \
  PropertyInfo{                                                      \
      #Name, kDisp##Name, PropertyKind::Kind, true, LINDREL_DEFAULT_TEXT_##Kind(Default), StateKey},
#define LINDREL_READ_ONLY_INFO(Name, Kind) \
  PropertyInfo{#Name, kDisp##Name, PropertyKind::Kind, false, "", nullptr},

constexpr PropertyInfo kTable[] = {LINDREL_PROPERTIES(LINDREL_WRITABLE_INFO)
                                       LINDREL_READ_ONLY_PROPERTIES(LINDREL_READ_ONLY_INFO)};

#undef LINDREL_READ_ONLY_INFO
#undef LINDREL_WRITABLE_INFO
#undef LINDREL_DEFAULT_TEXT_Directory
#undef LINDREL_DEFAULT_TEXT_Text
#undef LINDREL_DEFAULT_TEXT_Priority
#undef LINDREL_DEFAULT_TEXT_Number
#undef LINDREL_DEFAULT_TEXT_Boolean

}  // namespace

std::span<const PropertyInfo> PropertyTable() { return kTable; }

const PropertyInfo* FindProperty(std::string_view name) {
  const auto* found = std::find_if(std::begin(kTable), std::end(kTable),
                                   [name](const PropertyInfo& p) { return name == p.name; });
  return found != std::end(kTable) ? found : nullptr;
}

const PropertyInfo* FindProperty(long dispId) {
  const auto* found = std::find_if(std::begin(kTable), std::end(kTable),
                                   [dispId](const PropertyInfo& p) { return dispId == p.dispId; });
  return found != std::end(kTable) ? found : nullptr;
}

}  // namespace lindrel
