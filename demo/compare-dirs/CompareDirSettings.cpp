#include "demo/compare-dirs/CompareDirSettings.h"

#include <QStringList>

#include "demo/common/LindrelDirectory.h"
#include "demo/common/SettingsFile.h"

namespace lindrel::demo {
namespace {

constexpr const char* kWindowSection = "CompareDir";
constexpr const char* kGeneralSection = "General";

namespace keys {
constexpr const char* kStreamFindings = "StreamFindings";
constexpr const char* kShowLegend = "ShowLegend";
constexpr const char* kBeepWhenDone = "BeepWhenDone_CompareDir";
constexpr const char* kReportText = "msReportFileTXT_CD";
constexpr const char* kReportComma = "msReportFileCSV_CD";
constexpr const char* kReportHtml = "msReportFileHTM_CD";
}  // namespace keys

QString ColumnKey(int column) { return QStringLiteral("Col%1Width").arg(column + 1); }

QString ReadFileName(const char* section, const char* key, const QString& defaultValue) {
  return ReadFileNameSetting(QString::fromUtf8(section), QString::fromUtf8(key), defaultValue);
}

bool ReadFlag(const char* section, const char* key, bool defaultValue) {
  return ReadSettingFlag(QString::fromUtf8(section), QString::fromUtf8(key), defaultValue);
}

}  // namespace

CompareDirSettings CompareDirSettings::Read() {
  CompareDirSettings s;
  const QString window = QString::fromUtf8(kWindowSection);
  for (int c = 0; c < kColumns; ++c) {
    const auto i = static_cast<size_t>(c);
    s.columnWidths[i] =
        static_cast<int>(ReadSettingNumber(window, ColumnKey(c), kDefaultWidths[i]));
  }
  s.streamFindings = ReadFlag(kWindowSection, keys::kStreamFindings, false);
  s.showLegend = ReadFlag(kWindowSection, keys::kShowLegend, true);
  s.beepWhenDone = ReadFlag(kGeneralSection, keys::kBeepWhenDone, true);
  s.reportText = ReadFileName(kWindowSection, keys::kReportText,
                              DefaultReportPath(QStringLiteral("TVKReport.TXT")));
  s.reportComma = ReadFileName(kWindowSection, keys::kReportComma,
                               DefaultReportPath(QStringLiteral("TVKReport.CSV")));
  s.reportHtml = ReadFileName(kWindowSection, keys::kReportHtml,
                              DefaultReportPath(QStringLiteral("TVKReport.HTM")));
  s.font = FontSetting::Read(window, kDefaultFontName);
  return s;
}

bool CompareDirSettings::Save(QString* error) const {
  QStringList failures;
  QString failure;
  QList<QPair<QString, QString>> window;
  for (int c = 0; c < kColumns; ++c)
    window.append({ColumnKey(c), QString::number(columnWidths[static_cast<size_t>(c)])});
  window.append({keys::kShowLegend, BoolText(showLegend)});
  window.append({keys::kReportText, reportText});
  window.append({keys::kReportComma, reportComma});
  window.append({keys::kReportHtml, reportHtml});
  window.append(font.Entries());
  if (!WriteSettings(QString::fromUtf8(kWindowSection), window, &failure)) failures << failure;
  if (!WriteSetting(QString::fromUtf8(kGeneralSection), QString::fromUtf8(keys::kBeepWhenDone),
                    BoolText(beepWhenDone), &failure))
    failures << failure;
  return NoFailures(failures, error);
}

bool CompareDirSettings::SaveStreamFindings(bool stream, QString* error) {
  return WriteSetting(QString::fromUtf8(kWindowSection), QString::fromUtf8(keys::kStreamFindings),
                      BoolText(stream), error);
}

}  // namespace lindrel::demo
