// The shared helpers of LindrelDemo for its settings file (ProgramState's
// WDD_SearchHistory.INI): text reads and writes by section and key, booleans stored as
// "TRUE" and "FALSE", and a typed key for settings with a fixed section and default.
//
// Threading: GUI thread only.
#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace lindrel::demo {

// A setting of the demo: its section, key and the default when it is missing.
struct SettingKey {
  const char* section;
  const char* name;
  const char* defaultValue;
};

// The characters before the first NUL.
QString CutAtNul(const QString& text);

// The stored text (read with a 500-character buffer, cut at NUL), or `defaultValue`.
QString ReadSetting(const QString& section, const QString& key, const QString& defaultValue);
QString ReadSetting(const SettingKey& key);
// A stored file name, or `defaultValue` when it is missing or holds a NUL: cut at the NUL
// as other texts are, it would name another file (FileNames.h).
QString ReadFileNameSetting(const QString& section, const QString& key,
                            const QString& defaultValue);

// Stores `value`. False, with the reason in `error`, when the file cannot be written.
bool WriteSetting(const QString& section, const QString& key, const QString& value,
                  QString* error = nullptr);
bool WriteSetting(const SettingKey& key, const QString& value, QString* error = nullptr);
// Stores several keys of one section at once.
bool WriteSettings(const QString& section, const QList<QPair<QString, QString>>& entries,
                   QString* error = nullptr);

// The leading whole number of `text` (an optional sign first, blanks skipped before),
// 0 when there is none.
long LeadingNumber(const QString& text);

// A boolean as the comparison windows read it: false only when the stored text is
// exactly "FALSE", so "false" or "no" read as true.
bool ReadSettingFlag(const QString& section, const QString& key, bool defaultValue);
// The leading whole number of the stored text, or `defaultValue` when the key is missing.
long ReadSettingNumber(const QString& section, const QString& key, long defaultValue);
// The same for a key of a window's table, with the key's own default.
bool ReadSettingFlag(const SettingKey& key);
long ReadSettingNumber(const SettingKey& key);
// A report file's key, whose default names a file in the Lindrel directory.
QString ReadReportPath(const SettingKey& key);
// Stores several keys at once, each in its own section.
bool WriteSettings(const QList<QPair<SettingKey, QString>>& entries, QString* error = nullptr);

// True when `failures` is empty; otherwise false, with the distinct reasons one per line
// in `error` (when given).
bool NoFailures(QStringList failures, QString* error);

// "TRUE" or "FALSE".
QString BoolText(bool value);
// True for "TRUE" (in any letter case).
bool IsTrueText(const QString& text);

}  // namespace lindrel::demo
