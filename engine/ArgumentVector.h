// The argument vector the component hands the engine for a file comparison, built from
// its file-comparison settings.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lindrel::engine {

// The component's file-comparison settings, read once at the start of a job.
struct FileCompareOptions {
  std::string master;
  std::string source;
  bool ignoreCase = false;
  bool ignoreWhiteSpace = false;
  bool ignoreEmptyLines = false;
  bool quickCompare = false;
  bool showChangesInLargerSections = false;
  bool compareFaster = false;
  bool useLineBracket = false;
  long lineBracket = 1;
  bool useIgnoreRegularExpression = false;
  std::string ignoreRegularExpression;
};

// The argument vector of a file comparison, entry 0 the program name "Lindrel", then the
// master and the source path; a path beginning with "-" gets "./" in front, so that it is
// read as the file or directory it names.
std::vector<std::string> BuildEngineArguments(const FileCompareOptions& options);

// The first ignore-line pattern of `options` the engine refuses to match (one holding a
// back-reference, see IgnorePatterns.h), or nothing.
std::optional<std::string> RefusedIgnorePattern(const FileCompareOptions& options);

// Splits `text` on non-overlapping occurrences of `delimiter`; empty pieces are dropped.
std::vector<std::string> SplitPatterns(std::string_view text, std::string_view delimiter = "@@");

}  // namespace lindrel::engine
