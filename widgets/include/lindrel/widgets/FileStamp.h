/// @file
/// FileStamp: what a file was at one moment (which file, its size and its last-write
/// time), so that a program can tell when the file it reads now is no longer the one
/// that was compared.
///
/// Threading: plain value; taking one touches only the file system.
#pragma once

#include <QString>

#include <cstdint>

#include "lindrel/widgets/export.h"

namespace lindrel::widgets {

/// The identity and state of a file at one moment.
struct LINDREL_WIDGETS_EXPORT FileStamp {
  bool exists = false;                   ///< false when the name could not be looked up
  std::uint64_t device = 0;              ///< the file system holding the file
  std::uint64_t inode = 0;               ///< the file within it
  std::int64_t size = 0;                 ///< bytes
  std::int64_t modifiedSeconds = 0;      ///< last write, seconds of the epoch
  std::int64_t modifiedNanoseconds = 0;  ///< and its nanoseconds

  /// The stamp of `fileName` (see FileNames.h) now; `exists` false when it cannot be
  /// looked up.
  static FileStamp Of(const QString& fileName);
};

/// True when both describe the same file in the same state.
inline bool operator==(const FileStamp& a, const FileStamp& b) {
  return a.exists == b.exists && a.device == b.device && a.inode == b.inode && a.size == b.size &&
         a.modifiedSeconds == b.modifiedSeconds && a.modifiedNanoseconds == b.modifiedNanoseconds;
}
/// True when they differ in anything.
inline bool operator!=(const FileStamp& a, const FileStamp& b) { return !(a == b); }

/// "" when `now` is the file `compared` described; otherwise how it differs, for a
/// sentence about the file ("... is now 10 bytes, it was 24 when compared").
LINDREL_WIDGETS_EXPORT QString DescribeChange(const FileStamp& compared, const FileStamp& now);

}  // namespace lindrel::widgets
