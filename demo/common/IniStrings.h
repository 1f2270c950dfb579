// Private-profile (INI) files as the demo's settings file uses them: QString adapters over
// the component's lindrel/HostFiles.h, so the demo and the component read and write these
// files by the same rules.
//
// Sections "[Name]", lines "key=value"; section and key names match case-insensitively;
// a value is read with surrounding blanks trimmed and one pair of surrounding double
// quotes removed; a missing file, section or key gives the caller's default. Writing keeps
// every other section, key, comment, line order and line ending, creates the file or
// section when missing, and replaces the file atomically. Texts are UTF-8 in the file;
// a value that holds a file name keeps the name's bytes (FileNames.h).
//
// Threading: stateless; callers serialise writes to one file.
#pragma once

#include <QList>
#include <QPair>
#include <QString>

namespace lindrel::demo::ini {

// The value of `key` in `section`, cut to `bufferSize` - 1 bytes of UTF-8 (never inside
// a character), or `defaultValue` when the file, section or key is missing.
QString ReadString(const QString& path, const QString& section, const QString& key,
                   const QString& defaultValue, int bufferSize = 500);

// The leading decimal digits of the value (an optional sign first), 0 when there are
// none, `defaultValue` when the key is missing.
long ReadInt(const QString& path, const QString& section, const QString& key, long defaultValue);

// Writes one key. False, with the reason in `error`, when the file cannot be written or
// a name or value cannot be stored in an INI line (a line break, a NUL, "]" in a section
// name or "=" in a key would corrupt the file).
bool WriteString(const QString& path, const QString& section, const QString& key,
                 const QString& value, QString* error = nullptr);

// False for a value that cannot be stored in an INI line (a line break or a NUL).
bool CanStoreValue(const QString& value);

// Writes several keys of one section in one rewrite of the file; when any of them is
// refused, nothing is written.
bool WriteStrings(const QString& path, const QString& section,
                  const QList<QPair<QString, QString>>& entries, QString* error = nullptr);

}  // namespace lindrel::demo::ini
