// A component's internal state, for the library's own layers and its tests. Not part of
// the public interface and not installed.
#pragma once

#include "control/LindrelCtrlImpl.h"

namespace lindrel {

struct ControlInternals {
  static CLindrelCtrl::Impl& Of(CLindrelCtrl& ctrl) { return *ctrl.d_; }
};

inline CLindrelCtrl::Impl& Internals(CLindrelCtrl& ctrl) { return ControlInternals::Of(ctrl); }

}  // namespace lindrel
