// The main window's keys in section "Main" of the demo's settings file.
#pragma once

#include "demo/common/SettingsFile.h"

namespace lindrel::demo::main_settings {

inline constexpr SettingKey kThreadPriority{"Main", "mlThreadPriority", "0"};
inline constexpr SettingKey kCompareDirVisible{"Main", "frmCompareDir_Visible", "FALSE"};
inline constexpr SettingKey kCompareFilesVisible{"Main", "frmCompareFiles_Visible", "FALSE"};
inline constexpr SettingKey kActiveForm{"Main", "ActiveForm", "None"};

}  // namespace lindrel::demo::main_settings
