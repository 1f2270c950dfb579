// TextModeFile: a whole file read in text mode and split into lines.
//
// Text mode is how the engine reads the files it compares: every CR LF pair becomes one
// LF and a byte 26 (Ctrl-Z) ends the content; every other byte, a lone CR included,
// passes unchanged. Line numbers therefore match those of the change records. The lines
// are views into the loaded content and never copied. Immutable once loaded, so any
// thread may read it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lindrel::cli {

class TextModeFile {
 public:
  // Reads `path` whole. On failure answers nullopt and puts the system's reason into
  // `error` ("No such file or directory", "Is a directory", ...).
  static std::optional<TextModeFile> Load(const std::string& path, std::string& error);

  // Converts raw bytes as text mode does; exposed for callers that already hold them.
  static TextModeFile FromBytes(std::string bytes);

  long lineCount() const { return static_cast<long>(starts_.size()); }

  // Line `number` (1-based, 1..lineCount()) without its line feed.
  std::string_view Line(long number) const;

  // True when the content is not empty and its last line has no line feed.
  bool EndsWithoutNewline() const { return !content_.empty() && content_.back() != '\n'; }

 private:
  std::string content_;
  std::vector<std::size_t> starts_;
};

}  // namespace lindrel::cli
