// Private-profile (INI) files: sections "[Name]" of "key=value" lines.
//
// Section and key names match without regard to letter case. A value is read with its
// surrounding blanks trimmed and one pair of surrounding double quotes removed. Writing a
// key keeps every other section, key, comment, the line order and each line's own line
// end (a CR LF file stays CR LF), creates the file or section when missing, and replaces
// the file atomically (temporary file + rename), so a crash never leaves a half-written
// file. A write through a symbolic link replaces the link's target and keeps its mode.
// Not synchronised: one writer at a time per file.
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
  // The file's lines; a missing file gives an empty document. A file that exists but
  // cannot be read also gives an empty document, and `status` (when given) the reason:
  // writers must not replace such a file with what they know of it.
  static IniDocument Load(const std::string& path, Status* status = nullptr);

  // The value of `key` in `section`, or nothing when either is missing.
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;

  // Sets `key` in `section`, adding the section and key when missing; new lines take the
  // line end of the document's first line. Refuses, changing nothing, what an INI line
  // cannot hold: a line break or NUL anywhere, an empty name, "]" in a section name, "="
  // in a key, or a key that would read as a section header or a comment.
  [[nodiscard]] Status Set(std::string_view section, std::string_view key, std::string_view value);

  // Writes the document to `path` atomically. A durable save (the default) also waits
  // until the new content is on the disk before it replaces the file.
  enum class Durability { kDurable, kReplaceOnly };
  Status Save(const std::string& path, Durability durability = Durability::kDurable) const;

  std::string Text() const;

 private:
  struct Line {
    std::string text;  // without its line end
    std::string end;   // "\n" or "\r\n"
  };
  const char* NewLineEnd() const;

  std::vector<Line> lines_;
};

// The value, cut to `bufferSize` - 1 bytes (never inside a UTF-8 character), or
// `defaultValue` when the key is missing. Of the value no more than the buffer is kept,
// however large it is in the file (IniScan.h).
std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, std::size_t bufferSize,
                                    const std::string& path);

// The leading decimal digits of the value (an optional sign first), 0 when there are
// none, `defaultValue` when the key is missing. Reads at most 1024 bytes of the value.
long GetPrivateProfileInt(std::string_view section, std::string_view key, long defaultValue,
                          const std::string& path);

// Writes one key, keeping the rest of the file. False when the file cannot be written or
// IniDocument::Set refuses the names or the value.
bool WritePrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view value, const std::string& path);

// Cuts `text` to at most `size` bytes, never inside a UTF-8 character.
void CutAtCharacter(std::string& text, std::size_t size);

// False for a value that an INI line cannot hold (a line break or a NUL).
bool IsStorableProfileValue(std::string_view value);

// The integer reading of a profile value: leading digits after an optional sign, else 0.
long ParseProfileInt(std::string_view value);

}  // namespace lindrel::platform
