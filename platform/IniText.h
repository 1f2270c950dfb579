// The INI rules both the document and the scanner apply to a line's parts: blanks are
// spaces, tabs and carriage returns, and names match without regard to ASCII letter case.
#pragma once

#include <cstddef>
#include <string_view>

namespace lindrel::platform::ini {

constexpr std::string_view kBlanks = " \t\r";

inline bool IsBlank(char c) { return kBlanks.find(c) != std::string_view::npos; }

inline std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

inline bool NamesEqual(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace lindrel::platform::ini
