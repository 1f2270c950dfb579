/// @file
/// The file rules of the component, for the programs that host it: where the Lindrel
/// directory is, how INI files are read and written, how a report file replaces another,
/// how a file is opened and read in text mode. A host that follows them reads and writes
/// its own files exactly as the component does.
///
/// Threading: every function may be called from any thread; callers serialise writes to
/// one file. None of them throws.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "lindrel/export.h"

/// File helpers shared by the component and its hosts.
namespace lindrel::files {

/// @name The Lindrel directory
/// @{

/// The directory where state files, a host's settings and default reports live, without
/// a final "/": $LINDREL_HOME when set and not empty; else $XDG_CONFIG_HOME/lindrel when
/// that is an absolute path; else $HOME/.config/lindrel. Created (mode 0700) on first use.
/// Nothing when it cannot be determined or created; `failure`, when given, then says why
/// ("path: reason"). Safe from any thread that does not change the environment meanwhile.
LINDREL_EXPORT std::optional<std::string> LindrelDirectory(std::string* failure = nullptr);
/// @}

/// @name INI files
/// Sections "[Name]" of "key=value" lines. Section and key names match without regard to
/// letter case; a value is read with its surrounding blanks trimmed and one pair of
/// surrounding double quotes removed. A write keeps every other section, key, comment,
/// the line order and each line's own line end, creates the file or section when missing,
/// and replaces the file only once it is complete.
/// @{

/// The value of `key` in `section` of the file at `path`, cut to `bufferSize` - 1 bytes
/// (never inside a UTF-8 character), or `defaultValue` when the file, section or key is
/// missing.
LINDREL_EXPORT std::string ReadProfileString(std::string_view section, std::string_view key,
                                             std::string_view defaultValue, std::size_t bufferSize,
                                             const std::string& path);

/// The value's leading decimal digits (an optional sign first), 0 when there are none,
/// `defaultValue` when the file, section or key is missing.
LINDREL_EXPORT long ReadProfileInt(std::string_view section, std::string_view key,
                                   long defaultValue, const std::string& path);

/// Writes `entries` (key, value) into `section` of the file at `path` in one rewrite.
/// False, with the reason in `error` when given, and the file unchanged, when the file
/// exists but cannot be read, cannot be written, or an entry cannot be stored in an INI
/// line (a line break or NUL anywhere, an empty name, "]" in a section name, "=" in a key,
/// a key that would read as a section header or a comment).
LINDREL_EXPORT bool WriteProfileStrings(
    const std::string& path, std::string_view section,
    const std::vector<std::pair<std::string, std::string>>& entries, std::string* error = nullptr);

/// False for a value that an INI line cannot hold (a line break or a NUL).
LINDREL_EXPORT bool IsStorableProfileValue(std::string_view value);

/// The number ReadProfileInt reads from `value`: its leading decimal digits after an
/// optional sign, else 0.
LINDREL_EXPORT long ParseProfileInt(std::string_view value);
/// @}

/// @name Reading and replacing files
/// @{

/// Writes `bytes` to a private temporary file next to `path` and renames it over `path`
/// once complete: a failed write leaves the previous file as it was. A link keeps the
/// link (the file it leads to is replaced); a file that is not a regular one, or one of
/// the process's own streams, is written in place. False, with the reason in `error` when
/// given, when the file cannot be created or written (a name holding a NUL byte included).
LINDREL_EXPORT bool ReplaceFile(const std::string& path, std::string_view bytes,
                                std::string* error = nullptr);

/// Opens `path` read-only without blocking, and only when it is a regular file, so that a
/// FIFO never hangs the caller and a device never feeds it without end. The descriptor,
/// owned by the caller, is blocking again on return. -1 with errno set (EINVAL for a file
/// that is not regular, EISDIR for a directory, ENOENT for a name holding a NUL byte).
LINDREL_EXPORT int OpenRegularFileForReading(const std::string& path);

/// Turns raw bytes into their text-mode reading, in place, as the component reads the
/// files it compares: every CR LF pair becomes LF, a byte 26 (Ctrl-Z) ends the content,
/// every other byte (a lone CR included) stays.
LINDREL_EXPORT void ConvertToTextMode(std::string& bytes);

/// The descriptor of the calling process that `path` names ("/dev/stdout", "/dev/fd/N",
/// "/proc/self/fd/N", a link to one of those, or a name of the regular file standard
/// output or error is open on), or -1 when it names none (or does not exist).
LINDREL_EXPORT int OwnDescriptorNamedBy(const std::string& path);

/// Writes all `size` bytes of `data` to `fd`, retrying short and interrupted writes.
/// False with errno set (EIO for a write that makes no progress).
LINDREL_EXPORT bool WriteAll(int fd, const char* data, std::size_t size);

/// True when both paths name one existing file (same device and inode, links followed);
/// false when either does not exist or holds a NUL byte.
LINDREL_EXPORT bool SameExistingFile(const std::string& a, const std::string& b);

/// True for an existing file or directory, or for a pattern whose last component holds
/// '*' or '?' and matches at least one name in its directory ("*.*" matches every name);
/// false for a name holding a NUL byte. The component checks FileMaster and FileSource so.
LINDREL_EXPORT bool DirectorySearchFindsEntry(const std::string& pathOrPattern);
/// @}

}  // namespace lindrel::files
