// The text difference engine: a command-line style comparison run in-process.
//
// RunEngine takes an argument vector ("Lindrel", master path, source path, switches),
// compares the two operands and delivers one ChangeRecord per non-ignorable hunk to the
// sink. Every run starts from default settings and keeps nothing but the records it
// delivered. All state lives in the run, so runs on different threads are independent.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/ChangeRecord.h"

namespace lindrel::engine {

// Engine results.
enum EngineResult : int {
  kSame = 0,
  kDifferent = 1,
  kTrouble = 2,
};

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

// The argument vector of a file comparison, entry 0 the program name "Lindrel".
std::vector<std::string> BuildEngineArguments(const FileCompareOptions& options);

// Splits `text` on non-overlapping occurrences of `delimiter`; empty pieces are dropped.
std::vector<std::string> SplitPatterns(std::string_view text, std::string_view delimiter = "@@");

// Runs one comparison. Returns kSame, kDifferent or kTrouble.
int RunEngine(const std::vector<std::string>& arguments, ChangeSink& sink);

}  // namespace lindrel::engine
