// The Compare Files window's settings in the demo's settings file: which keys, in which
// sections, with which defaults, and how they are read and written.
//
// Booleans are stored as "TRUE" and "FALSE"; this window reads a boolean as false only
// when the stored text is exactly "FALSE" (any other text, "false" included, is true).
// The default report files live in the Lindrel directory. The file histories are not
// here: the window reads them itself and the options dialog saves them.
//
// Threading: GUI thread only.
#pragma once

#include <QString>

#include "demo/common/FontSetting.h"
#include "demo/common/SettingsFile.h"
#include "demo/compare-files/CompareFilesExchange.h"

// The window's keys: its own in section "CompareFiles", those of its options dialog in
// "General". A report file's default names a file in the Lindrel directory.
namespace lindrel::demo::compare_files_settings {

inline constexpr SettingKey kShowLegend{"CompareFiles", "ShowLegend", "TRUE"};
inline constexpr SettingKey kShowChangeMap{"CompareFiles", "ShowChangeMap", "TRUE"};
inline constexpr SettingKey kMarkWordsInEveryChange{"CompareFiles", "MarkWordsInEveryChange",
                                                    "FALSE"};
inline constexpr SettingKey kShowReportOnly{"General", "mbShowReportOnly_CF", "FALSE"};
inline constexpr SettingKey kBeepWhenDone{"General", "BeepWhenDone_CF", "TRUE"};
inline constexpr SettingKey kRemoveBlankLines{"General", "RemoveBlankLines_CF", "TRUE"};
inline constexpr SettingKey kReportText{"CompareFiles", "msgReportFileTXT_CF", "TVKReport.TXT"};
inline constexpr SettingKey kReportComma{"CompareFiles", "msgReportFileCSV_CF", "TVKReport.CSV"};
inline constexpr SettingKey kReportHtml{"CompareFiles", "msgReportFileHTM_CF", "TVKReport.HTM"};
inline constexpr SettingKey kReportTitle{"CompareFiles", "msgReportTitleHTM_CF", "Title"};
inline constexpr SettingKey kReportType{"CompareFiles", "mbReportDefaultFileType_CF", "1"};
inline constexpr SettingKey kReportStyle{"CompareFiles", "mbReportDefaultStyle_CF", "1"};
// The grid font's keys are in the same section.
inline constexpr const char* kFontSection = "CompareFiles";

}  // namespace lindrel::demo::compare_files_settings

namespace lindrel::demo {

struct CompareFilesSettings {
  bool showLegend = true;
  bool showChangeMap = true;
  bool markWordsInEveryChange = false;
  bool showReportOnly = false;
  bool beepWhenDone = true;
  bool removeBlankLines = true;  // kept and written back; no effect in the window
  CompareFilesReportSettings report;
  static inline const QString kDefaultFontName = QStringLiteral("Times New Roman");
  FontSetting font{kDefaultFontName};

  // The stored settings, with the defaults for whatever is missing.
  static CompareFilesSettings Read();
  // Stores every key. False, with the reason in `error`, when the file cannot be written.
  bool Save(QString* error = nullptr) const;
};

}  // namespace lindrel::demo
