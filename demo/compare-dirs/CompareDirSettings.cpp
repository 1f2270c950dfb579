#include "demo/compare-dirs/CompareDirSettings.h"

#include <QStringList>

#include "demo/common/SettingsFile.h"
#include "demo/compare-files/CompareFilesSettings.h"

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
constexpr const char* kFontName = "FontName";
constexpr const char* kFontSize = "FontSize";
constexpr const char* kFontBold = "FontBold";
constexpr const char* kFontItalic = "FontItalic";
}  // namespace keys

QString ColumnKey(int column) { return QStringLiteral("Col%1Width").arg(column + 1); }

QString Read(const char* section, const QString& key, const QString& defaultValue) {
  return ReadSetting(QString::fromUtf8(section), key, defaultValue);
}

bool ReadFlag(const char* section, const char* key, bool defaultValue) {
  return Read(section, QString::fromUtf8(key), BoolText(defaultValue)) != QLatin1String("FALSE");
}

long ReadNumber(const char* section, const QString& key, long defaultValue) {
  return LeadingNumber(Read(section, key, QString::number(defaultValue)));
}

}  // namespace

CompareDirSettings CompareDirSettings::Read() {
  CompareDirSettings s;
  for (int c = 0; c < kColumns; ++c) {
    const auto i = static_cast<size_t>(c);
    s.columnWidths[i] = static_cast<int>(ReadNumber(kWindowSection, ColumnKey(c), kDefaultWidths[i]));
  }
  s.streamFindings = ReadFlag(kWindowSection, keys::kStreamFindings, false);
  s.showLegend = ReadFlag(kWindowSection, keys::kShowLegend, true);
  s.beepWhenDone = ReadFlag(kGeneralSection, keys::kBeepWhenDone, true);
  s.reportText = demo::Read(kWindowSection, QString::fromUtf8(keys::kReportText),
                            DefaultReportPath(QStringLiteral("TVKReport.TXT")));
  s.reportComma = demo::Read(kWindowSection, QString::fromUtf8(keys::kReportComma),
                             DefaultReportPath(QStringLiteral("TVKReport.CSV")));
  s.reportHtml = demo::Read(kWindowSection, QString::fromUtf8(keys::kReportHtml),
                            DefaultReportPath(QStringLiteral("TVKReport.HTM")));
  s.fontName = demo::Read(kWindowSection, QString::fromUtf8(keys::kFontName),
                          QStringLiteral("Courier New"));
  s.fontSize = static_cast<int>(ReadNumber(kWindowSection, QString::fromUtf8(keys::kFontSize), 8));
  s.fontBold = ReadFlag(kWindowSection, keys::kFontBold, false);
  s.fontItalic = ReadFlag(kWindowSection, keys::kFontItalic, false);
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
  window.append({keys::kFontName, fontName});
  window.append({keys::kFontSize, QString::number(fontSize)});
  window.append({keys::kFontBold, BoolText(fontBold)});
  window.append({keys::kFontItalic, BoolText(fontItalic)});
  if (!WriteSettings(QString::fromUtf8(kWindowSection), window, &failure)) failures << failure;
  if (!WriteSetting(QString::fromUtf8(kGeneralSection), QString::fromUtf8(keys::kBeepWhenDone),
                    BoolText(beepWhenDone), &failure))
    failures << failure;
  if (!failures.isEmpty() && error != nullptr) {
    failures.removeDuplicates();
    *error = failures.join(QLatin1Char('\n'));
  }
  return failures.isEmpty();
}

bool CompareDirSettings::SaveStreamFindings(bool stream, QString* error) {
  return WriteSetting(QString::fromUtf8(kWindowSection), QString::fromUtf8(keys::kStreamFindings),
                      BoolText(stream), error);
}

QFont CompareDirSettings::Font() const {
  QFont font(fontName);
  // A stored size of 0 or less would make Qt fall back with a warning on every use.
  font.setPointSize(fontSize > 0 ? fontSize : 8);
  font.setBold(fontBold);
  font.setItalic(fontItalic);
  return font;
}

void CompareDirSettings::SetFont(const QFont& font) {
  fontName = font.family();
  fontSize = font.pointSize() > 0 ? font.pointSize() : qRound(font.pointSizeF());
  fontBold = font.bold();
  fontItalic = font.italic();
}

}  // namespace lindrel::demo
