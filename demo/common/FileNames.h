// File names as LindrelDemo carries them: the Qt layer's byte-exact names (see
// lindrel/widgets/FileNames.h), under the demo's own namespace.
#pragma once

#include "lindrel/widgets/FileNames.h"

namespace lindrel::demo {

using widgets::AbsoluteFileName;
using widgets::FileNameArguments;
using widgets::FileNameExists;
using widgets::FileNameFromBytes;
using widgets::FileNameToBytes;
using widgets::FileNameToStd;
using widgets::HoldsNul;
using widgets::IsDirectoryName;
using widgets::IsRegularFileName;
using widgets::ShownFileName;

}  // namespace lindrel::demo
