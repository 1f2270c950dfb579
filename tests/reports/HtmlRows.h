// Reads the rows of an HTML report back as cells (colour and content), so tests can
// check row by row what a browser would show. Pure functions; thread-safe.
#pragma once

#include <string>
#include <vector>

namespace lindrel::reports::testing {

struct HtmlCell {
  std::string colour;   // the bgcolor digits, "" when the cell has none
  std::string content;  // between the opening tag and "&nbsp;</td>"
};

struct HtmlRow {
  std::vector<HtmlCell> cells;
  const std::string& MasterNumber() const { return cells.front().content; }
  const std::string& SourceNumber() const { return cells.back().content; }
};

inline HtmlCell ParseCell(const std::string& cell) {
  HtmlCell parsed;
  const std::size_t tagEnd = cell.find('>');
  const std::string tag = cell.substr(0, tagEnd);
  if (auto at = tag.find("bgcolor=\""); at != std::string::npos) {
    parsed.colour = tag.substr(at + 9, 6);
  }
  std::string content = cell.substr(tagEnd + 1);
  if (!content.empty() && content.front() == '\n') content.erase(0, 1);
  const std::string nbsp = "&nbsp;";
  if (content.size() >= nbsp.size() &&
      content.compare(content.size() - nbsp.size(), nbsp.size(), nbsp) == 0) {
    content.resize(content.size() - nbsp.size());
  }
  parsed.content = content;
  return parsed;
}

// The rows after the title row.
inline std::vector<HtmlRow> ParseHtmlRows(const std::string& page) {
  std::vector<HtmlRow> rows;
  std::size_t at = page.find("<tr>\n");
  if (at == std::string::npos) return rows;
  at = page.find("<tr>\n", at + 1);  // skip the title row
  while (at != std::string::npos) {
    const std::size_t end = page.find("</tr>\n", at);
    if (end == std::string::npos) break;
    const std::string row = page.substr(at + 5, end - at - 5);
    HtmlRow parsed;
    std::size_t cell = 0;
    while (cell < row.size()) {
      const std::size_t close = row.find("</td>\n", cell);
      if (close == std::string::npos) break;
      parsed.cells.push_back(ParseCell(row.substr(cell, close - cell)));
      cell = close + 6;
    }
    rows.push_back(parsed);
    at = page.find("<tr>\n", end);
  }
  return rows;
}

}  // namespace lindrel::reports::testing
