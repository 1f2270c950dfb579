// FileIdentity: what identifies a compared file to a program reading the JSON output:
// the path as given, its size on disk and its last-write time. Plain value; any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace lindrel::cli {

struct FileIdentity {
  std::string path;
  std::int64_t size = 0;
  std::int64_t mtimeSeconds = 0;  // since the epoch
  long mtimeNanoseconds = 0;

  // The status of `path` now, or nullopt when it cannot be examined.
  static std::optional<FileIdentity> Of(const std::string& path);

  // The last-write time in UTC, ISO 8601 with nanoseconds: "2024-05-01T12:30:00.000000000Z".
  std::string MtimeText() const;

  // The last-write time in local time, as the header lines of a unified listing give it:
  // "2024-05-01 14:30:00.000000000 +0200".
  std::string LocalMtimeText() const;

  // {"path": ..., "size": ..., "mtime": ..., "mtimeNs": ...}
  std::string Json() const;
};

}  // namespace lindrel::cli
