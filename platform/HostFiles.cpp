// The platform helpers a host shares with the component, behind the exported interface
// of lindrel/HostFiles.h.
#include "lindrel/HostFiles.h"

#include "platform/FileSearch.h"
#include "platform/IniFile.h"
#include "platform/LindrelDirectory.h"
#include "platform/OwnDescriptor.h"
#include "platform/ReplacementFile.h"
#include "platform/TextFile.h"

namespace lindrel::files {
namespace {

bool Fail(const platform::Status& status, std::string* error) {
  if (error) *error = status.ToString();
  return false;
}

}  // namespace

std::optional<std::string> LindrelDirectory(std::string* failure) {
  platform::Status status;
  std::optional<std::string> directory = platform::LindrelDirectory(&status);
  if (!directory && failure) *failure = status.ToString();
  return directory;
}

std::string ReadProfileString(std::string_view section, std::string_view key,
                              std::string_view defaultValue, std::size_t bufferSize,
                              const std::string& path) {
  return platform::GetPrivateProfileString(section, key, defaultValue, bufferSize, path);
}

long ReadProfileInt(std::string_view section, std::string_view key, long defaultValue,
                    const std::string& path) {
  return platform::GetPrivateProfileInt(section, key, defaultValue, path);
}

bool WriteProfileStrings(const std::string& path, std::string_view section,
                         const std::vector<std::pair<std::string, std::string>>& entries,
                         std::string* error) {
  platform::Status loaded;
  platform::IniDocument document = platform::IniDocument::Load(path, &loaded);
  // A file that exists but cannot be read is never replaced by what this write knows of
  // it: every other section would be lost.
  if (!loaded.ok()) return Fail(loaded, error);
  for (const auto& [key, value] : entries) {
    if (platform::Status set = document.Set(section, key, value); !set.ok())
      return Fail(set, error);
  }
  if (platform::Status saved = document.Save(path); !saved.ok()) return Fail(saved, error);
  return true;
}

bool IsStorableProfileValue(std::string_view value) {
  return platform::IsStorableProfileValue(value);
}

long ParseProfileInt(std::string_view value) { return platform::ParseProfileInt(value); }

bool ReplaceFile(const std::string& path, std::string_view bytes, std::string* error) {
  platform::ReplacementFile file;
  platform::Status status = file.Create(path);
  if (status.ok()) status = file.Write(bytes);
  if (status.ok()) status = file.Commit();
  return status.ok() || Fail(status, error);
}

int OpenRegularFileForReading(const std::string& path) {
  return platform::OpenRegularFileForReading(path);
}

void ConvertToTextMode(std::string& bytes) { platform::ConvertToTextMode(bytes); }

int OwnDescriptorNamedBy(const std::string& path) { return platform::OwnDescriptorNamedBy(path); }

bool WriteAll(int fd, const char* data, std::size_t size) {
  return platform::WriteAll(fd, data, size);
}

bool SameExistingFile(const std::string& a, const std::string& b) {
  return platform::SameExistingFile(a, b);
}

bool DirectorySearchFindsEntry(const std::string& pathOrPattern) {
  return platform::DirectorySearchFindsEntry(pathOrPattern);
}

}  // namespace lindrel::files
