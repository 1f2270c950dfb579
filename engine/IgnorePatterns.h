// The ignore-line patterns of one run ("-I"): GNU regular expressions compiled under the
// library's default syntax (syntax value 0), with newline anchoring and a 256-byte fast-scan
// table. A line is ignorable when any pattern matches somewhere in it.
//
// Back-references ("\1" to "\9") are refused: the library matches them by a search whose
// time and memory grow without bound (a long line exhausts the stack). Every other
// pattern is matched in time polynomial in the line's length; given a stop flag, in
// slices of start positions between which the flag is looked at, so an abort never waits
// for a slow pattern to finish a long line.
//
// Compiling takes the process-wide C library lock (the syntax setting is global); matching
// needs no lock. One list belongs to one run and is used by one thread.
#pragma once

#include <regex.h>

#include <atomic>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace lindrel::engine {

class IgnorePatterns {
 public:
  IgnorePatterns() = default;
  IgnorePatterns(const IgnorePatterns&) = delete;
  IgnorePatterns& operator=(const IgnorePatterns&) = delete;

  // Compiles `pattern` and puts it at the head of the list. When it does not compile, or
  // holds a back-reference, the list is unchanged, false is returned and `error` says why.
  bool Add(const std::string& pattern, std::string& error);

  bool empty() const { return list_.empty(); }
  size_t size() const { return list_.size(); }

  // True when any pattern matches in the line [text, text + length). `length` includes
  // the line's line feed when it has one (an incomplete last line has none). Gives up,
  // answering false, once `stop` (when given) is set; the caller looks at the flag.
  bool MatchesLine(const char* text, size_t length, const std::atomic<bool>* stop = nullptr) const;

 private:
  struct Compiled {
    Compiled() = default;
    Compiled(const Compiled&) = delete;
    Compiled& operator=(const Compiled&) = delete;
    ~Compiled() { regfree(&buffer); }  // also frees the fast-scan table
    re_pattern_buffer buffer{};
  };

  // True when a match starts at a position from 0 to `lastStart`; false once `stop` is set.
  static bool SearchStarts(re_pattern_buffer& buffer, const char* text, regoff_t size,
                           regoff_t lastStart, const std::atomic<bool>* stop);

  std::vector<std::unique_ptr<Compiled>> list_;  // newest first
};

// True when `pattern`, read under the default syntax, holds a back-reference: a
// backslash and a digit 1 to 9 outside a bracket list.
bool HasBackReference(std::string_view pattern);

// The text the engine gives for a pattern it refuses because of a back-reference.
inline constexpr const char* kBackReferenceRefused = "back-references are not supported";

}  // namespace lindrel::engine
