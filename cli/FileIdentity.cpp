#include "cli/FileIdentity.h"

#include <sys/stat.h>

#include <cstdio>
#include <ctime>

#include "cli/JsonText.h"

namespace lindrel::cli {

std::optional<FileIdentity> FileIdentity::Of(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  FileIdentity identity;
  identity.path = path;
  identity.size = static_cast<std::int64_t>(info.st_size);
  identity.mtimeSeconds = static_cast<std::int64_t>(info.st_mtim.tv_sec);
  identity.mtimeNanoseconds = info.st_mtim.tv_nsec;
  return identity;
}

std::string FileIdentity::MtimeText() const {
  const auto seconds = static_cast<std::time_t>(mtimeSeconds);
  std::tm utc{};
  if (::gmtime_r(&seconds, &utc) == nullptr) return std::string();
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02d.%09ldZ", utc.tm_year + 1900,
                utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, mtimeNanoseconds);
  return buffer;
}

std::string FileIdentity::LocalMtimeText() const {
  const auto seconds = static_cast<std::time_t>(mtimeSeconds);
  std::tm local{};
  if (::localtime_r(&seconds, &local) == nullptr) return std::string();
  char date[64];
  char zone[16];
  if (std::strftime(date, sizeof date, "%Y-%m-%d %H:%M:%S", &local) == 0 ||
      std::strftime(zone, sizeof zone, "%z", &local) == 0) {
    return std::string();
  }
  char buffer[96];
  std::snprintf(buffer, sizeof buffer, "%s.%09ld %s", date, mtimeNanoseconds, zone);
  return buffer;
}

std::string FileIdentity::Json() const {
  return "{\"path\": " + JsonString(path) + ", \"size\": " + std::to_string(size) +
         ", \"mtime\": " + JsonString(MtimeText()) +
         ", \"mtimeNs\": " + std::to_string(mtimeSeconds * 1'000'000'000LL + mtimeNanoseconds) +
         "}";
}

}  // namespace lindrel::cli
