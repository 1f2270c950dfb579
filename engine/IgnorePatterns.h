// The ignore-line patterns of one run ("-I"): GNU regular expressions compiled under the
// library's default syntax (syntax value 0), with newline anchoring and a 256-byte fast-scan
// table. A line is ignorable when any pattern matches somewhere in it.
//
// Compiling takes the process-wide C library lock (the syntax setting is global); matching
// needs no lock. One list belongs to one run and is used by one thread.
#pragma once

#include <regex.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace lindrel::engine {

class IgnorePatterns {
 public:
  IgnorePatterns() = default;
  IgnorePatterns(const IgnorePatterns&) = delete;
  IgnorePatterns& operator=(const IgnorePatterns&) = delete;

  // Compiles `pattern` and puts it at the head of the list. When it does not compile the
  // list is unchanged, false is returned and `error` holds the library's text.
  bool Add(const std::string& pattern, std::string& error);

  bool empty() const { return list_.empty(); }
  size_t size() const { return list_.size(); }

  // True when any pattern matches in the line [text, text + length). `length` includes
  // the line's line feed when it has one (an incomplete last line has none).
  bool MatchesLine(const char* text, size_t length) const;

 private:
  struct Compiled {
    Compiled() = default;
    Compiled(const Compiled&) = delete;
    Compiled& operator=(const Compiled&) = delete;
    ~Compiled() { regfree(&buffer); }  // also frees the fast-scan table
    re_pattern_buffer buffer{};
  };

  std::vector<std::unique_ptr<Compiled>> list_;  // newest first
};

}  // namespace lindrel::engine
