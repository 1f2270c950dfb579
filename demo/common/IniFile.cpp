#include "demo/common/IniFile.h"

#include "demo/common/FileNames.h"
#include "platform/IniFile.h"

namespace lindrel::demo::ini {
namespace {

std::string FileName(const QString& path) { return FileNameToStd(path); }

// Values are often file names: their bytes are kept as they are, whether UTF-8 or not.
std::string Utf8(const QString& text) { return FileNameToStd(text); }

bool Fail(const platform::Status& status, QString* error) {
  if (error) *error = QString::fromStdString(status.ToString());
  return false;
}

}  // namespace

QString ReadString(const QString& path, const QString& section, const QString& key,
                   const QString& defaultValue, int bufferSize) {
  std::string value = platform::GetPrivateProfileString(
      Utf8(section), Utf8(key), Utf8(defaultValue),
      bufferSize > 0 ? static_cast<std::size_t>(bufferSize) : 0, FileName(path));
  return FileNameFromBytes(value);
}

long ReadInt(const QString& path, const QString& section, const QString& key, long defaultValue) {
  return platform::GetPrivateProfileInt(Utf8(section), Utf8(key), defaultValue, FileName(path));
}

bool CanStoreValue(const QString& value) { return platform::IsStorableProfileValue(Utf8(value)); }

bool WriteString(const QString& path, const QString& section, const QString& key,
                 const QString& value, QString* error) {
  return WriteStrings(path, section, {{key, value}}, error);
}

bool WriteStrings(const QString& path, const QString& section,
                  const QList<QPair<QString, QString>>& entries, QString* error) {
  const std::string file = FileName(path);
  platform::Status loaded;
  platform::IniDocument document = platform::IniDocument::Load(file, &loaded);
  // A settings file that exists but cannot be read is never replaced by what this write
  // knows of it: every other section would be lost.
  if (!loaded.ok()) return Fail(loaded, error);
  for (const auto& [key, value] : entries) {
    if (platform::Status set = document.Set(Utf8(section), Utf8(key), Utf8(value)); !set.ok())
      return Fail(set, error);
  }
  if (platform::Status saved = document.Save(file); !saved.ok()) return Fail(saved, error);
  return true;
}

}  // namespace lindrel::demo::ini
