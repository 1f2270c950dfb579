// Private-profile (INI) files: sections "[Name]" of "key=value" lines.
//
// Section and key names match without regard to letter case. A value is read with its
// surrounding blanks trimmed and one pair of surrounding double quotes removed. Writing a
// key keeps every other section, key, comment and the line order, creates the file or
// section when missing, and replaces the file atomically (temporary file + rename), so a
// crash never leaves a half-written file. Not synchronised: one writer at a time per file.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Status.h"

namespace lindrel::platform {

class IniDocument {
 public:
  // The file's lines; a missing or unreadable file gives an empty document.
  static IniDocument Load(const std::string& path);

  // The value of `key` in `section`, or nothing when either is missing.
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;

  // Sets `key` in `section`, adding the section and key when missing. A value is one line:
  // it is cut at its first line break so that it cannot add keys of its own.
  void Set(std::string_view section, std::string_view key, std::string_view value);

  // Writes the document to `path` atomically.
  Status Save(const std::string& path) const;

  std::string Text() const;

 private:
  std::vector<std::string> lines_;
};

// The value, cut to `bufferSize` - 1 bytes, or `defaultValue` when the key is missing.
std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, std::size_t bufferSize,
                                    const std::string& path);

// The leading decimal digits of the value (an optional sign first), 0 when there are
// none, `defaultValue` when the key is missing.
long GetPrivateProfileInt(std::string_view section, std::string_view key, long defaultValue,
                          const std::string& path);

// Writes one key, keeping the rest of the file. False when the file cannot be written.
bool WritePrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view value, const std::string& path);

// The integer reading of a profile value: leading digits after an optional sign, else 0.
long ParseProfileInt(std::string_view value);

}  // namespace lindrel::platform
