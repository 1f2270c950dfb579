#include "demo/compare-files/CompareFilesSettings.h"

#include <QDir>
#include <QStringList>

#include "demo/common/LindrelDirectory.h"
#include "demo/common/SettingsFile.h"

namespace lindrel::demo {
namespace {

constexpr const char* kWindowSection = "CompareFiles";
constexpr const char* kGeneralSection = "General";

namespace keys {
constexpr const char* kShowLegend = "ShowLegend";
constexpr const char* kShowChangeMap = "ShowChangeMap";
constexpr const char* kShowReportOnly = "mbShowReportOnly_CF";
constexpr const char* kBeepWhenDone = "BeepWhenDone_CF";
constexpr const char* kRemoveBlankLines = "RemoveBlankLines_CF";
constexpr const char* kReportText = "msgReportFileTXT_CF";
constexpr const char* kReportComma = "msgReportFileCSV_CF";
constexpr const char* kReportHtml = "msgReportFileHTM_CF";
constexpr const char* kReportTitle = "msgReportTitleHTM_CF";
constexpr const char* kReportType = "mbReportDefaultFileType_CF";
constexpr const char* kReportStyle = "mbReportDefaultStyle_CF";
}  // namespace keys

QString Read(const char* section, const char* key, const QString& defaultValue) {
  return ReadSetting(QString::fromUtf8(section), QString::fromUtf8(key), defaultValue);
}

QString ReadFileName(const char* section, const char* key, const QString& defaultValue) {
  return ReadFileNameSetting(QString::fromUtf8(section), QString::fromUtf8(key), defaultValue);
}

bool ReadFlag(const char* section, const char* key, bool defaultValue) {
  return ReadSettingFlag(QString::fromUtf8(section), QString::fromUtf8(key), defaultValue);
}

int ReadNumber(const char* section, const char* key, long defaultValue) {
  return static_cast<int>(
      ReadSettingNumber(QString::fromUtf8(section), QString::fromUtf8(key), defaultValue));
}

}  // namespace

CompareFilesSettings CompareFilesSettings::Read() {
  CompareFilesSettings s;
  s.showLegend = ReadFlag(kWindowSection, keys::kShowLegend, true);
  s.showChangeMap = ReadFlag(kWindowSection, keys::kShowChangeMap, true);
  s.showReportOnly = ReadFlag(kGeneralSection, keys::kShowReportOnly, false);
  s.beepWhenDone = ReadFlag(kGeneralSection, keys::kBeepWhenDone, true);
  s.removeBlankLines = ReadFlag(kGeneralSection, keys::kRemoveBlankLines, true);
  s.report.textPath =
      ReadFileName(kWindowSection, keys::kReportText, DefaultReportPath("TVKReport.TXT"));
  s.report.commaDelimitedPath =
      ReadFileName(kWindowSection, keys::kReportComma, DefaultReportPath("TVKReport.CSV"));
  s.report.htmlPath =
      ReadFileName(kWindowSection, keys::kReportHtml, DefaultReportPath("TVKReport.HTM"));
  s.report.htmlTitle = demo::Read(kWindowSection, keys::kReportTitle, QStringLiteral("Title"));
  s.report.defaultType = ReadNumber(kWindowSection, keys::kReportType, 1);
  s.report.defaultStyle = ReadNumber(kWindowSection, keys::kReportStyle, 1);
  s.font = FontSetting::Read(QString::fromUtf8(kWindowSection), kDefaultFontName);
  return s;
}

bool CompareFilesSettings::Save(QString* error) const {
  QStringList failures;
  QString failure;
  if (!WriteSettings(QString::fromUtf8(kGeneralSection),
                     {{keys::kShowReportOnly, BoolText(showReportOnly)},
                      {keys::kBeepWhenDone, BoolText(beepWhenDone)},
                      {keys::kRemoveBlankLines, BoolText(removeBlankLines)}},
                     &failure))
    failures << failure;
  QList<QPair<QString, QString>> window{{keys::kShowLegend, BoolText(showLegend)},
                                        {keys::kShowChangeMap, BoolText(showChangeMap)},
                                        {keys::kReportText, report.textPath},
                                        {keys::kReportComma, report.commaDelimitedPath},
                                        {keys::kReportHtml, report.htmlPath},
                                        {keys::kReportTitle, report.htmlTitle},
                                        {keys::kReportType, QString::number(report.defaultType)},
                                        {keys::kReportStyle, QString::number(report.defaultStyle)}};
  window.append(font.Entries());
  if (!WriteSettings(QString::fromUtf8(kWindowSection), window, &failure)) failures << failure;
  return NoFailures(failures, error);
}

}  // namespace lindrel::demo
