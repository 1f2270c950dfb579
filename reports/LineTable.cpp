#include "reports/LineTable.h"

#include <algorithm>

#include "platform/TextFile.h"

namespace lindrel::reports {

namespace {

constexpr std::size_t kCleanedLimit = 99995;
constexpr long kMinimumCapacity = 5000;
constexpr long kMaximumCapacity = 50000;

const std::string& EmptyText() {
  static const std::string empty;
  return empty;
}

}  // namespace

std::size_t PresizeFromHint(long capacityHint) {
  return static_cast<std::size_t>(std::clamp(capacityHint, kMinimumCapacity, kMaximumCapacity));
}

std::string CleanAndEscapeLine(std::string_view raw) {
  std::string cleaned;
  cleaned.reserve(raw.size());
  for (char c : raw) {
    if (cleaned.size() > kCleanedLimit) break;
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 32) {
      cleaned.push_back(c);
    } else if (byte == '\t') {
      cleaned.append("  ");
    }
  }
  if (cleaned.find_first_of("<>") == std::string::npos) return cleaned;

  std::string escaped;
  escaped.reserve(cleaned.size() + 16);
  for (char c : cleaned) {
    if (c == '<') escaped.append("&lt;");
    else if (c == '>') escaped.append("&gt;");
    else escaped.push_back(c);
  }
  return escaped;
}

long LoadLineTable(const std::string& path, LineTable& table, long capacityHint) {
  std::string content;
  if (!platform::ReadTextFile(path, content).ok()) return -1;

  table.entries.clear();
  table.entries.reserve(std::max(PresizeFromHint(capacityHint),
                                 static_cast<std::size_t>(std::count(content.begin(), content.end(), '\n') + 2)));
  long lines = 0;
  std::string_view rest(content);
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    const std::string_view line = rest.substr(0, end);
    table.entries.push_back({std::to_string(++lines), kPlainMark, CleanAndEscapeLine(line)});
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
  }
  table.entries.push_back({std::to_string(lines + 1), kPlainMark, std::string(kEndMarker)});
  return lines;
}

long NumberOfLines(const LineTable& table) {
  for (std::size_t i = table.entries.size(); i-- > 0;) {
    if (table.entries[i].IsEnd()) return static_cast<long>(i);
  }
  return -1;
}

const std::string& LineText(const LineTable& table, long lineNumber) {
  if (lineNumber < 1 || lineNumber > NumberOfLines(table)) return EmptyText();
  return table.entries[static_cast<std::size_t>(lineNumber - 1)].text;
}

}  // namespace lindrel::reports
