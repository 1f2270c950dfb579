// Property getters and setters of CLindrelCtrl. Every setter stores at once, marks the
// component modified and sends the property's change notice; the exceptions are spelled
// out where they occur.
#include "control/LindrelCtrlImpl.h"

namespace lindrel {

namespace {

template <class T>
void Store(CLindrelCtrl::Impl& d, T Properties::*member, T value, long dispId) {
  d.props.*member = std::move(value);
  d.PropertyChanged(dispId);
}

// Directories gain a final "/" so that names can be appended; an empty value is stored
// quietly and a one-character value (such as "/") is stored as given.
void StoreDirectory(CLindrelCtrl::Impl& d, std::string Properties::*member,
                    const std::string& value, long dispId) {
  if (value.empty()) {
    d.props.*member = value;
    return;
  }
  std::string stored = value;
  if (stored.size() >= 2 && stored.back() != '/') stored += '/';
  Store(d, member, std::move(stored), dispId);
}

}  // namespace

// One getter and setter per property of the list, by kind.
#define LINDREL_GETTER(Name, member, Type) \
  Type CLindrelCtrl::Get##Name() const { return d_->props.member; }
#define LINDREL_ACCESSORS_Boolean(Name, member)                  \
  LINDREL_GETTER(Name, member, long)                             \
  void CLindrelCtrl::Set##Name(long value) {                     \
    Store(*d_, &Properties::member, ToBool(value), kDisp##Name); \
  }
#define LINDREL_ACCESSORS_Number(Name, member) \
  LINDREL_GETTER(Name, member, long)           \
  void CLindrelCtrl::Set##Name(long value) { Store(*d_, &Properties::member, value, kDisp##Name); }
// Outside the scale: ignored, no error.
#define LINDREL_ACCESSORS_Priority(Name, member)                                       \
  LINDREL_GETTER(Name, member, long)                                                   \
  void CLindrelCtrl::Set##Name(long value) {                                           \
    if (value >= 0 && value <= 4) Store(*d_, &Properties::member, value, kDisp##Name); \
  }
#define LINDREL_VIEW(Name, member) \
  std::string_view CLindrelCtrl::Name##View() const { return d_->props.member; }
#define LINDREL_ACCESSORS_Text(Name, member)               \
  LINDREL_GETTER(Name, member, std::string)                \
  LINDREL_VIEW(Name, member)                               \
  void CLindrelCtrl::Set##Name(const std::string& value) { \
    Store(*d_, &Properties::member, value, kDisp##Name);   \
  }
#define LINDREL_ACCESSORS_Directory(Name, member)                 \
  LINDREL_GETTER(Name, member, std::string)                       \
  LINDREL_VIEW(Name, member)                                      \
  void CLindrelCtrl::Set##Name(const std::string& value) {        \
    StoreDirectory(*d_, &Properties::member, value, kDisp##Name); \
  }
#define LINDREL_ACCESSORS(Name, member, Kind, Default, StateKey) \
  LINDREL_ACCESSORS_##Kind(Name, member)

LINDREL_PROPERTIES(LINDREL_ACCESSORS)

#undef LINDREL_ACCESSORS
#undef LINDREL_ACCESSORS_Directory
#undef LINDREL_ACCESSORS_Text
#undef LINDREL_ACCESSORS_Priority
#undef LINDREL_ACCESSORS_Number
#undef LINDREL_ACCESSORS_Boolean
#undef LINDREL_VIEW
#undef LINDREL_GETTER

}  // namespace lindrel
