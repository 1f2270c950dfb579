// CompareDirExchange: what the Compare Directories dialogs (options, report options) read
// from the Compare Directories window and hand back: its component Lindrel1, its settings,
// the three histories of the options dialog, and the start of a comparison. The Compare
// Directories window implements it.
//
// Threading: GUI thread only.
#pragma once

#include "demo/common/HistoryList.h"
#include "demo/compare-dirs/CompareDirSettings.h"

namespace lindrel::widgets {
class LindrelWidget;
}

namespace lindrel::demo {

class CompareDirExchange {
 public:
  // Sections of the settings file that keep the options dialog's histories.
  static constexpr const char* kMasterHistorySection = "MasterSearchPath";
  static constexpr const char* kSourceHistorySection = "SourceSearchPath";
  static constexpr const char* kFileTypesHistorySection = "FileExt";

  virtual ~CompareDirExchange() = default;

  // The component whose directory options the options dialog reads and sets.
  virtual widgets::LindrelWidget* Lindrel1() const = 0;
  virtual CompareDirSettings& Settings() = 0;
  virtual HistoryList& MasterHistory() = 0;
  virtual HistoryList& SourceHistory() = 0;
  virtual HistoryList& FileTypesHistory() = 0;
  // Starts a comparison with the component's options as they are.
  virtual void StartComparison() = 0;
};

}  // namespace lindrel::demo
