#include "demo/common/SettingsFile.h"

#include <QMap>

#include "demo/common/FileNames.h"
#include "demo/common/IniStrings.h"
#include "demo/common/ProgramState.h"
#include "demo/common/SettingsDirectory.h"
#include "lindrel/HostFiles.h"

namespace lindrel::demo {
namespace {

constexpr int kSettingBufferSize = 500;

}  // namespace

QString CutAtNul(const QString& text) {
  qsizetype nul = text.indexOf(QChar(0));
  return nul < 0 ? text : text.left(nul);
}

QString ReadSetting(const QString& section, const QString& key, const QString& defaultValue) {
  const QString& path = ProgramState::Instance().SettingsFilePath();
  if (path.isEmpty()) return defaultValue;
  return CutAtNul(ini::ReadString(path, section, key, defaultValue, kSettingBufferSize));
}

QString ReadFileNameSetting(const QString& section, const QString& key,
                            const QString& defaultValue) {
  const QString& path = ProgramState::Instance().SettingsFilePath();
  if (path.isEmpty()) return defaultValue;
  const QString name = ini::ReadString(path, section, key, defaultValue, kSettingBufferSize);
  return HoldsNul(name) ? defaultValue : name;
}

QString ReadSetting(const SettingKey& key) {
  return ReadSetting(QString::fromUtf8(key.section), QString::fromUtf8(key.name),
                     QString::fromUtf8(key.defaultValue));
}

bool WriteSetting(const QString& section, const QString& key, const QString& value,
                  QString* error) {
  return WriteSettings(section, {{key, value}}, error);
}

bool WriteSetting(const SettingKey& key, const QString& value, QString* error) {
  return WriteSetting(QString::fromUtf8(key.section), QString::fromUtf8(key.name), value, error);
}

bool WriteSettings(const QString& section, const QList<QPair<QString, QString>>& entries,
                   QString* error) {
  ProgramState& program = ProgramState::Instance();
  const QString& path = program.SettingsFilePath();
  if (path.isEmpty()) {
    if (error)
      *error = QStringLiteral("no settings directory: %1").arg(program.SettingsFileError());
    return false;
  }
  return ini::WriteStrings(path, section, entries, error);
}

long LeadingNumber(const QString& text) {
  return files::ParseProfileInt(text.trimmed().toUtf8().toStdString());
}

bool ReadSettingFlag(const QString& section, const QString& key, bool defaultValue) {
  return ReadSetting(section, key, BoolText(defaultValue)) != QLatin1String("FALSE");
}

long ReadSettingNumber(const QString& section, const QString& key, long defaultValue) {
  return LeadingNumber(ReadSetting(section, key, QString::number(defaultValue)));
}

bool ReadSettingFlag(const SettingKey& key) { return ReadSetting(key) != QLatin1String("FALSE"); }

long ReadSettingNumber(const SettingKey& key) { return LeadingNumber(ReadSetting(key)); }

QString ReadReportPath(const SettingKey& key) {
  return ReadFileNameSetting(QString::fromUtf8(key.section), QString::fromUtf8(key.name),
                             DefaultReportPath(QString::fromUtf8(key.defaultValue)));
}

bool WriteSettings(const QList<QPair<SettingKey, QString>>& entries, QString* error) {
  // One write per section, in the order the sections first appear.
  QStringList sections;
  QMap<QString, QList<QPair<QString, QString>>> bySection;
  for (const auto& [key, value] : entries) {
    const QString section = QString::fromUtf8(key.section);
    if (!sections.contains(section)) sections << section;
    bySection[section].append({QString::fromUtf8(key.name), value});
  }
  QStringList failures;
  for (const QString& section : sections) {
    QString failure;
    if (!WriteSettings(section, bySection[section], &failure)) failures << failure;
  }
  return NoFailures(failures, error);
}

bool NoFailures(QStringList failures, QString* error) {
  if (failures.isEmpty()) return true;
  failures.removeDuplicates();
  if (error != nullptr) *error = failures.join(QLatin1Char('\n'));
  return false;
}

QString BoolText(bool value) { return value ? QStringLiteral("TRUE") : QStringLiteral("FALSE"); }

bool IsTrueText(const QString& text) {
  return text.trimmed().compare(QStringLiteral("TRUE"), Qt::CaseInsensitive) == 0;
}

}  // namespace lindrel::demo
