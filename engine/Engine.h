// The text difference engine: a command-line style comparison run in-process.
//
// RunEngine takes an argument vector ("Lindrel", master path, source path, switches),
// compares the two operands and delivers one ChangeRecord per non-ignorable hunk to the
// sink. Every run starts from default settings and keeps nothing but the records it
// delivered. All state lives in the run, so runs on different threads are independent.
#pragma once

#include <atomic>
#include <memory>
#include <optional>
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
  // Only for a run given a stop flag: the flag was set while the run read its files or
  // searched, and the run ended without delivering any record.
  kStopped = 3,
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

// The first ignore-line pattern of `options` the engine refuses to match (one holding a
// back-reference, see IgnorePatterns.h), or nothing.
std::optional<std::string> RefusedIgnorePattern(const FileCompareOptions& options);

// Splits `text` on non-overlapping occurrences of `delimiter`; empty pieces are dropped.
std::vector<std::string> SplitPatterns(std::string_view text, std::string_view delimiter = "@@");

// Runs one comparison. Returns kSame, kDifferent or kTrouble. When `stop` is given, another
// thread may set it to end the run early: the reading of the files and the difference
// search poll it and stop within a fraction of a second, and the run then answers kStopped.
int RunEngine(const std::vector<std::string>& arguments, ChangeSink& sink,
              const std::atomic<bool>* stop = nullptr);

// Runs the comparison RunEngine makes of two regular files on two byte buffers that hold
// their content: `switches` are the switch entries alone (no program name, no operands; an
// operand among them is trouble, "extra operand").
int RunEngineOnTexts(const std::vector<std::string>& switches, std::string_view master,
                     std::string_view source, ChangeSink& sink);

// RunEngineOnTexts for many pairs under the same switches: they are parsed (and their
// patterns compiled) once, and every run starts from the settings they give. `names` only
// go into the engine's messages. An object is used by one thread at a time; objects on
// different threads are independent.
class TextEngine {
 public:
  explicit TextEngine(const std::vector<std::string>& switches, std::string masterName = "master",
                      std::string sourceName = "source");
  ~TextEngine();
  TextEngine(const TextEngine&) = delete;
  TextEngine& operator=(const TextEngine&) = delete;

  // Returns kSame, kDifferent or kTrouble.
  int Run(std::string_view master, std::string_view source, ChangeSink& sink);

 private:
  struct Prepared;
  std::unique_ptr<Prepared> prepared_;  // null when memory ran out while preparing
};

}  // namespace lindrel::engine
