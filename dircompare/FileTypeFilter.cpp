#include "dircompare/FileTypeFilter.h"

#include <string>

#include "dircompare/NameCase.h"

namespace lindrel::dircompare {

bool PassesFileTypeFilter(std::string_view fileName, std::string_view fileTypes) {
  if (fileTypes.find(".*") != std::string_view::npos) return true;
  if (fileName.empty() || fileTypes.empty()) return false;
  const std::size_t dot = fileName.rfind('.');
  if (dot == std::string_view::npos) return false;
  const std::string extension = ToUpperName(fileName.substr(dot));
  return ToUpperName(fileTypes).find(extension) != std::string::npos;
}

}  // namespace lindrel::dircompare
