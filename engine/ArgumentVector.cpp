// Building the engine's argument vector from the component's file-comparison settings.
#include "engine/ArgumentVector.h"
#include "engine/IgnorePatterns.h"

namespace lindrel::engine {

namespace {

// The engine reads its vector as a command line: an operand beginning with "-" would be
// taken for a switch, or alone for standard input. "./" in front names the same file or
// directory.
std::string OperandEntry(const std::string& path) {
  return !path.empty() && path.front() == '-' ? "./" + path : path;
}

}  // namespace

std::vector<std::string> SplitPatterns(std::string_view text, std::string_view delimiter) {
  std::vector<std::string> pieces;
  if (delimiter.empty()) {
    if (!text.empty()) pieces.emplace_back(text);
    return pieces;
  }
  size_t start = 0;
  for (;;) {
    const size_t found = text.find(delimiter, start);
    const size_t end = found == std::string_view::npos ? text.size() : found;
    if (end > start) pieces.emplace_back(text.substr(start, end - start));
    if (found == std::string_view::npos) break;
    start = found + delimiter.size();
  }
  return pieces;
}

std::vector<std::string> BuildEngineArguments(const FileCompareOptions& options) {
  std::vector<std::string> arguments{"Lindrel", OperandEntry(options.master),
                                     OperandEntry(options.source)};
  if (options.ignoreCase) arguments.emplace_back("-i");
  if (options.ignoreWhiteSpace) arguments.emplace_back("-w");
  if (options.ignoreEmptyLines) {
    // Blank lines, and every line that holds a form feed, are ignorable.
    arguments.emplace_back("-B");
    arguments.emplace_back(std::string("-I") + '\f');
  }
  if (options.quickCompare) arguments.emplace_back("-q");
  if (options.showChangesInLargerSections) arguments.emplace_back("-d");
  if (options.compareFaster) arguments.emplace_back("-H");
  if (options.useLineBracket) {
    arguments.emplace_back("--horizon-lines=" + std::to_string(options.lineBracket));
  }
  if (options.useIgnoreRegularExpression) {
    // The vector grows as needed: any number of patterns is passed on.
    for (const std::string& piece : SplitPatterns(options.ignoreRegularExpression)) {
      arguments.emplace_back("-I" + piece);
    }
  }
  return arguments;
}

std::optional<std::string> RefusedIgnorePattern(const FileCompareOptions& options) {
  if (!options.useIgnoreRegularExpression) return std::nullopt;
  for (std::string& piece : SplitPatterns(options.ignoreRegularExpression)) {
    if (HasBackReference(piece)) return std::move(piece);
  }
  return std::nullopt;
}

}  // namespace lindrel::engine
