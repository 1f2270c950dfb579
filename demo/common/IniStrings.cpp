#include "demo/common/IniStrings.h"

#include <string>
#include <utility>
#include <vector>

#include "demo/common/FileNames.h"
#include "lindrel/HostFiles.h"

namespace lindrel::demo::ini {
namespace {

std::string FileName(const QString& path) { return FileNameToStd(path); }

// Values are often file names: their bytes are kept as they are, whether UTF-8 or not.
std::string Utf8(const QString& text) { return FileNameToStd(text); }

}  // namespace

QString ReadString(const QString& path, const QString& section, const QString& key,
                   const QString& defaultValue, int bufferSize) {
  std::string value = files::ReadProfileString(
      Utf8(section), Utf8(key), Utf8(defaultValue),
      bufferSize > 0 ? static_cast<std::size_t>(bufferSize) : 0, FileName(path));
  return FileNameFromBytes(value);
}

long ReadInt(const QString& path, const QString& section, const QString& key, long defaultValue) {
  return files::ReadProfileInt(Utf8(section), Utf8(key), defaultValue, FileName(path));
}

bool CanStoreValue(const QString& value) { return files::IsStorableProfileValue(Utf8(value)); }

bool WriteString(const QString& path, const QString& section, const QString& key,
                 const QString& value, QString* error) {
  return WriteStrings(path, section, {{key, value}}, error);
}

bool WriteStrings(const QString& path, const QString& section,
                  const QList<QPair<QString, QString>>& entries, QString* error) {
  std::vector<std::pair<std::string, std::string>> bytes;
  bytes.reserve(static_cast<std::size_t>(entries.size()));
  for (const auto& [key, value] : entries) bytes.emplace_back(Utf8(key), Utf8(value));
  std::string why;
  if (files::WriteProfileStrings(FileName(path), Utf8(section), bytes, &why)) return true;
  if (error) *error = QString::fromStdString(why);
  return false;
}

}  // namespace lindrel::demo::ini
