#include "cli/DirRecordFormat.h"

#include <cstdio>

#include "cli/JsonText.h"

namespace lindrel::cli {

namespace {

constexpr int kStatusWidth = 11;  // "master-only"

std::string StripRoot(const std::string& path, const std::string& root) {
  if (!root.empty() && path.compare(0, root.size(), root) == 0) return path.substr(root.size());
  return path;
}

}  // namespace

std::string RelativePath(const DirRecord& r, const DirRecord& root) {
  // A file carries the directory it was looked up in; a directory carries its own path.
  // Only a directory found on the source side alone lacks a master path.
  const bool masterSide = !r.dirMaster.empty();
  const std::string& path = masterSide ? r.dirMaster : r.dirSource;
  const std::string relative = StripRoot(path, masterSide ? root.dirMaster : root.dirSource);
  return r.isFile == 1 ? relative + r.fileName : relative;
}

bool Differs(const DirRecord& r) {
  return r.onlyInMaster != 0 || r.onlyInSource != 0 || r.sizeDifferent != 0 ||
         r.dateDifferent != 0 || r.contentDifferent != 0;
}

bool Unreadable(const DirRecord& r) { return r.contentDifferent == 2; }

const char* StatusWord(const DirRecord& r) {
  if (r.onlyInMaster != 0) return "master-only";
  if (r.onlyInSource != 0) return "source-only";
  if (r.isFile != 1) return "dir";
  if (Unreadable(r)) return "unreadable";
  return Differs(r) ? "differs" : "same";
}

std::string DifferenceDetail(const DirRecord& r) {
  std::string detail;
  const auto add = [&detail](const char* part) {
    if (!detail.empty()) detail += ", ";
    detail += part;
  };
  if (r.contentDifferent == 1) add("content");
  if (r.sizeDifferent > 0) add("master larger");
  if (r.sizeDifferent < 0) add("master smaller");
  if (r.dateDifferent > 0) add("master newer");
  if (r.dateDifferent < 0) add("master older");
  return detail;
}

std::string TableLine(const DirRecord& r, const DirRecord& root) {
  char status[kStatusWidth + 1];
  std::snprintf(status, sizeof status, "%-*s", kStatusWidth, StatusWord(r));
  std::string line = std::string(status) + "  " + EscapeForTable(RelativePath(r, root));
  if (r.onlyInMaster == 0 && r.onlyInSource == 0) {
    if (const std::string detail = DifferenceDetail(r); !detail.empty())
      line += "  (" + detail + ")";
  }
  return line;
}

std::string DirRecordJson(long index, const DirRecord& r, const DirRecord& root) {
  std::string json = "{\"index\": " + std::to_string(index);
  json += ", \"status\": " + JsonString(index == 0 ? "root" : StatusWord(r));
  json += ", \"path\": " + JsonString(index == 0 ? std::string() : RelativePath(r, root));
  json += ", \"fileName\": " + JsonString(r.fileName);
  json += ", \"dirMaster\": " + JsonString(r.dirMaster);
  json += ", \"dirSource\": " + JsonString(r.dirSource);
  json += ", \"isFile\": " + std::to_string(r.isFile);
  json += ", \"onlyInSource\": " + std::to_string(r.onlyInSource);
  json += ", \"onlyInMaster\": " + std::to_string(r.onlyInMaster);
  json += ", \"sizeDifferent\": " + std::to_string(r.sizeDifferent);
  json += ", \"dateDifferent\": " + std::to_string(r.dateDifferent);
  json += ", \"contentDifferent\": " + std::to_string(r.contentDifferent);
  return json + "}";
}

}  // namespace lindrel::cli
