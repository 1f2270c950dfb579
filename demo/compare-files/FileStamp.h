// FileStamp: what a compared file was when its comparison began (which file, its size and
// its last-write time), so that the window can tell when the file it loads for the grids
// or the report is no longer the one that was compared.
//
// Threading: plain value; taking one touches only the file system.
#pragma once

#include <QString>

#include <cstdint>

namespace lindrel::demo {

struct FileStamp {
  bool exists = false;
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::int64_t size = 0;
  std::int64_t modifiedSeconds = 0;
  std::int64_t modifiedNanoseconds = 0;

  // The stamp of `fileName` now; `exists` false when it cannot be looked up.
  static FileStamp Of(const QString& fileName);

  bool operator==(const FileStamp&) const = default;
};

// "" when `now` is the file `compared` described; otherwise how it differs, for a
// sentence about `fileName` ("... is now 10 bytes, it was 24 when compared").
QString DescribeChange(const FileStamp& compared, const FileStamp& now);

}  // namespace lindrel::demo
