// The Compare Directories window's settings in the demo's settings file: keys, sections,
// defaults, and how they are read and written.
//
// Booleans are stored as "TRUE" and "FALSE" and read as false only when the stored text
// is exactly "FALSE". Column widths are in twips. StreamFindings is written by the
// options dialog the moment it closes (SaveStreamFindings), never by Save, so closing the
// window cannot undo what the dialog stored. The three history lists are not here: the
// window loads them and the options dialog saves them.
//
// Threading: GUI thread only.
#pragma once

#include <QString>

#include <array>

#include "demo/common/FontSetting.h"
#include "demo/common/SettingsFile.h"

// The window's keys: its own in section "CompareDir", the options dialog's beep in
// "General". A report file's default names a file in the Lindrel directory; the column
// widths are "Col1Width" to "Col5Width" of the window's section.
namespace lindrel::demo::compare_dir_settings {

inline constexpr const char* kWindowSection = "CompareDir";
inline constexpr SettingKey kStreamFindings{kWindowSection, "StreamFindings", "FALSE"};
inline constexpr SettingKey kShowLegend{kWindowSection, "ShowLegend", "TRUE"};
inline constexpr SettingKey kBeepWhenDone{"General", "BeepWhenDone_CompareDir", "TRUE"};
inline constexpr SettingKey kReportText{kWindowSection, "msReportFileTXT_CD", "TVKReport.TXT"};
inline constexpr SettingKey kReportComma{kWindowSection, "msReportFileCSV_CD", "TVKReport.CSV"};
inline constexpr SettingKey kReportHtml{kWindowSection, "msReportFileHTM_CD", "TVKReport.HTM"};
inline constexpr SettingKey kColumnWidths[] = {{kWindowSection, "Col1Width", "2880"},
                                               {kWindowSection, "Col2Width", "2880"},
                                               {kWindowSection, "Col3Width", "900"},
                                               {kWindowSection, "Col4Width", "690"},
                                               {kWindowSection, "Col5Width", "720"}};

}  // namespace lindrel::demo::compare_dir_settings

namespace lindrel::demo {

struct CompareDirSettings {
  static constexpr int kColumns = 5;
  static constexpr std::array<int, kColumns> kDefaultWidths{2880, 2880, 900, 690, 720};

  std::array<int, kColumns> columnWidths = kDefaultWidths;  // twips
  bool streamFindings = false;
  bool showLegend = true;
  bool beepWhenDone = true;
  QString reportText;   // default: the Lindrel directory + "/TVKReport.TXT"
  QString reportComma;  // also where the tab-delimited report is written
  QString reportHtml;
  static inline const QString kDefaultFontName = QStringLiteral("Courier New");
  FontSetting font{kDefaultFontName};

  // The stored settings, with the defaults for whatever is missing.
  static CompareDirSettings Read();
  // Stores every key but StreamFindings. False, with the reason in `error`, when the file
  // cannot be written.
  bool Save(QString* error = nullptr) const;
  // Stores StreamFindings alone.
  static bool SaveStreamFindings(bool stream, QString* error = nullptr);
};

}  // namespace lindrel::demo
