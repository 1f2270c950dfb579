#include "demo/common/ProgramState.h"

#include "demo/common/SettingsDirectory.h"

namespace lindrel::demo {

ProgramState& ProgramState::Instance() {
  static ProgramState state;
  return state;
}

const QString& ProgramState::SettingsFilePath() {
  if (!resolved_) {
    resolved_ = true;
    QString directory = SettingsDirectory(&settingsError_);
    settingsPath_ = directory.isEmpty()
                        ? QString()
                        : directory + QStringLiteral("/WDD_SearchHistory") + QStringLiteral(".INI");
  }
  return settingsPath_;
}

void ProgramState::TEST_Reset() { *this = ProgramState(); }

}  // namespace lindrel::demo
