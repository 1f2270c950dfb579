#include "demo/compare-files/CompareFilesSettings.h"

#include <QStringList>

namespace lindrel::demo {

namespace keys = compare_files_settings;

CompareFilesSettings CompareFilesSettings::Read() {
  CompareFilesSettings s;
  s.showLegend = ReadSettingFlag(keys::kShowLegend);
  s.showChangeMap = ReadSettingFlag(keys::kShowChangeMap);
  s.markWordsInEveryChange = ReadSettingFlag(keys::kMarkWordsInEveryChange);
  s.showReportOnly = ReadSettingFlag(keys::kShowReportOnly);
  s.beepWhenDone = ReadSettingFlag(keys::kBeepWhenDone);
  s.removeBlankLines = ReadSettingFlag(keys::kRemoveBlankLines);
  s.report.textPath = ReadReportPath(keys::kReportText);
  s.report.commaDelimitedPath = ReadReportPath(keys::kReportComma);
  s.report.htmlPath = ReadReportPath(keys::kReportHtml);
  s.report.htmlTitle = ReadSetting(keys::kReportTitle);
  s.report.defaultType = static_cast<int>(ReadSettingNumber(keys::kReportType));
  s.report.defaultStyle = static_cast<int>(ReadSettingNumber(keys::kReportStyle));
  s.font = FontSetting::Read(QString::fromUtf8(keys::kFontSection), kDefaultFontName);
  return s;
}

bool CompareFilesSettings::Save(QString* error) const {
  QList<QPair<SettingKey, QString>> entries{
      {keys::kShowReportOnly, BoolText(showReportOnly)},
      {keys::kBeepWhenDone, BoolText(beepWhenDone)},
      {keys::kRemoveBlankLines, BoolText(removeBlankLines)},
      {keys::kShowLegend, BoolText(showLegend)},
      {keys::kShowChangeMap, BoolText(showChangeMap)},
      {keys::kMarkWordsInEveryChange, BoolText(markWordsInEveryChange)},
      {keys::kReportText, report.textPath},
      {keys::kReportComma, report.commaDelimitedPath},
      {keys::kReportHtml, report.htmlPath},
      {keys::kReportTitle, report.htmlTitle},
      {keys::kReportType, QString::number(report.defaultType)},
      {keys::kReportStyle, QString::number(report.defaultStyle)}};
  QStringList failures;
  QString failure;
  if (!WriteSettings(entries, &failure)) failures << failure;
  if (!WriteSettings(QString::fromUtf8(keys::kFontSection), font.Entries(), &failure))
    failures << failure;
  return NoFailures(failures, error);
}

}  // namespace lindrel::demo
