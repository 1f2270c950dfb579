#include "demo/compare-dirs/CompareDirSettings.h"

#include <QStringList>

namespace lindrel::demo {

namespace keys = compare_dir_settings;

namespace {

constexpr int Number(const char* text) {
  int n = 0;
  for (; *text != '\0'; ++text) n = n * 10 + (*text - '0');
  return n;
}

// The table's defaults are the widths FitColumns takes for "never changed".
constexpr bool WidthDefaultsAgree() {
  for (size_t c = 0; c < CompareDirSettings::kDefaultWidths.size(); ++c)
    if (Number(keys::kColumnWidths[c].defaultValue) != CompareDirSettings::kDefaultWidths[c])
      return false;
  return true;
}
static_assert(WidthDefaultsAgree());

}  // namespace

CompareDirSettings CompareDirSettings::Read() {
  CompareDirSettings s;
  for (size_t c = 0; c < s.columnWidths.size(); ++c)
    s.columnWidths[c] = static_cast<int>(ReadSettingNumber(keys::kColumnWidths[c]));
  s.streamFindings = ReadSettingFlag(keys::kStreamFindings);
  s.showLegend = ReadSettingFlag(keys::kShowLegend);
  s.beepWhenDone = ReadSettingFlag(keys::kBeepWhenDone);
  s.reportText = ReadReportPath(keys::kReportText);
  s.reportComma = ReadReportPath(keys::kReportComma);
  s.reportHtml = ReadReportPath(keys::kReportHtml);
  s.font = FontSetting::Read(QString::fromUtf8(keys::kWindowSection), kDefaultFontName);
  return s;
}

bool CompareDirSettings::Save(QString* error) const {
  QList<QPair<SettingKey, QString>> entries;
  for (size_t c = 0; c < columnWidths.size(); ++c)
    entries.append({keys::kColumnWidths[c], QString::number(columnWidths[c])});
  entries.append({{keys::kShowLegend, BoolText(showLegend)},
                  {keys::kReportText, reportText},
                  {keys::kReportComma, reportComma},
                  {keys::kReportHtml, reportHtml}});
  QStringList failures;
  QString failure;
  if (!WriteSettings(entries, &failure)) failures << failure;
  if (!WriteSettings(QString::fromUtf8(keys::kWindowSection), font.Entries(), &failure))
    failures << failure;
  if (!WriteSetting(keys::kBeepWhenDone, BoolText(beepWhenDone), &failure)) failures << failure;
  return NoFailures(failures, error);
}

bool CompareDirSettings::SaveStreamFindings(bool stream, QString* error) {
  return WriteSetting(keys::kStreamFindings, BoolText(stream), error);
}

}  // namespace lindrel::demo
