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
constexpr const char* kShowReportOnly = "mbShowReportOnly_CF";
constexpr const char* kBeepWhenDone = "BeepWhenDone_CF";
constexpr const char* kRemoveBlankLines = "RemoveBlankLines_CF";
constexpr const char* kReportText = "msgReportFileTXT_CF";
constexpr const char* kReportComma = "msgReportFileCSV_CF";
constexpr const char* kReportHtml = "msgReportFileHTM_CF";
constexpr const char* kReportTitle = "msgReportTitleHTM_CF";
constexpr const char* kReportType = "mbReportDefaultFileType_CF";
constexpr const char* kReportStyle = "mbReportDefaultStyle_CF";
constexpr const char* kFontName = "FontName";
constexpr const char* kFontSize = "FontSize";
constexpr const char* kFontBold = "FontBold";
constexpr const char* kFontItalic = "FontItalic";
}  // namespace keys

QString Read(const char* section, const char* key, const QString& defaultValue) {
  return ReadSetting(QString::fromUtf8(section), QString::fromUtf8(key), defaultValue);
}

bool ReadFlag(const char* section, const char* key, bool defaultValue) {
  return Read(section, key, BoolText(defaultValue)) != QLatin1String("FALSE");
}

long ReadNumber(const char* section, const char* key, long defaultValue) {
  return LeadingNumber(Read(section, key, QString::number(defaultValue)));
}

}  // namespace

QString DefaultReportPath(const QString& name) {
  QString directory = LindrelDirectory();
  // Without a Lindrel directory nothing is saved either; a report still has a place.
  if (directory.isEmpty()) directory = QDir::tempPath();
  return directory + QLatin1Char('/') + name;
}

CompareFilesSettings CompareFilesSettings::Read() {
  CompareFilesSettings s;
  s.showLegend = ReadFlag(kWindowSection, keys::kShowLegend, true);
  s.showReportOnly = ReadFlag(kGeneralSection, keys::kShowReportOnly, false);
  s.beepWhenDone = ReadFlag(kGeneralSection, keys::kBeepWhenDone, true);
  s.removeBlankLines = ReadFlag(kGeneralSection, keys::kRemoveBlankLines, true);
  s.report.textPath =
      demo::Read(kWindowSection, keys::kReportText, DefaultReportPath("TVKReport.TXT"));
  s.report.commaDelimitedPath =
      demo::Read(kWindowSection, keys::kReportComma, DefaultReportPath("TVKReport.CSV"));
  s.report.htmlPath =
      demo::Read(kWindowSection, keys::kReportHtml, DefaultReportPath("TVKReport.HTM"));
  s.report.htmlTitle = demo::Read(kWindowSection, keys::kReportTitle, QStringLiteral("Title"));
  s.report.defaultType = static_cast<int>(ReadNumber(kWindowSection, keys::kReportType, 1));
  s.report.defaultStyle = static_cast<int>(ReadNumber(kWindowSection, keys::kReportStyle, 1));
  s.fontName = demo::Read(kWindowSection, keys::kFontName, QStringLiteral("Times New Roman"));
  s.fontSize = static_cast<int>(ReadNumber(kWindowSection, keys::kFontSize, 8));
  s.fontBold = ReadFlag(kWindowSection, keys::kFontBold, false);
  s.fontItalic = ReadFlag(kWindowSection, keys::kFontItalic, false);
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
  if (!WriteSettings(QString::fromUtf8(kWindowSection),
                     {{keys::kShowLegend, BoolText(showLegend)},
                      {keys::kReportText, report.textPath},
                      {keys::kReportComma, report.commaDelimitedPath},
                      {keys::kReportHtml, report.htmlPath},
                      {keys::kReportTitle, report.htmlTitle},
                      {keys::kReportType, QString::number(report.defaultType)},
                      {keys::kReportStyle, QString::number(report.defaultStyle)},
                      {keys::kFontName, fontName},
                      {keys::kFontSize, QString::number(fontSize)},
                      {keys::kFontBold, BoolText(fontBold)},
                      {keys::kFontItalic, BoolText(fontItalic)}},
                     &failure))
    failures << failure;
  if (!failures.isEmpty() && error != nullptr) {
    failures.removeDuplicates();
    *error = failures.join(QLatin1Char('\n'));
  }
  return failures.isEmpty();
}

QFont CompareFilesSettings::Font() const {
  QFont font(fontName);
  // A stored size of 0 or less would make Qt fall back with a warning on every use.
  font.setPointSize(fontSize > 0 ? fontSize : 8);
  font.setBold(fontBold);
  font.setItalic(fontItalic);
  return font;
}

void CompareFilesSettings::SetFont(const QFont& font) {
  fontName = font.family();
  fontSize = font.pointSize() > 0 ? font.pointSize() : qRound(font.pointSizeF());
  fontBold = font.bold();
  fontItalic = font.italic();
}

}  // namespace lindrel::demo
