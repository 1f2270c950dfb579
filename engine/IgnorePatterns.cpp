#include "engine/IgnorePatterns.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <mutex>

#include "engine/ProcessWideLock.h"
#include "lindrel/PatternCheck.h"

namespace lindrel::engine {

namespace {
// The first slice holds about this many bytes' worth of attempts (one attempt may scan
// the rest of the line).
constexpr regoff_t kStepsPerSlice = 1 << 16;
constexpr std::chrono::milliseconds kQuickSearch{10};
constexpr std::chrono::milliseconds kSlowSearch{50};
}  // namespace

bool HasBackReference(std::string_view pattern) {
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '\\') {
      if (i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') return true;
      ++i;  // the escaped character, whatever it is
    } else if (pattern[i] == '[') {
      // A bracket list: backslashes inside are ordinary, and a "]" right after "[" or
      // "[^" belongs to the list.
      size_t at = i + 1;
      if (at < pattern.size() && pattern[at] == '^') ++at;
      if (at < pattern.size() && pattern[at] == ']') ++at;
      const size_t close = pattern.find(']', at);
      if (close == std::string_view::npos) return false;  // does not compile anyway
      i = close;
    }
  }
  return false;
}

bool IgnorePatterns::Add(const std::string& pattern, std::string& error) {
  if (HasBackReference(pattern)) {
    error = kBackReferenceRefused;
    return false;
  }
  auto compiled = std::make_unique<Compiled>();
  re_pattern_buffer& buffer = compiled->buffer;
  // regfree releases the fast-scan table with free(), so it must come from malloc.
  buffer.fastmap = static_cast<char*>(std::malloc(256));
  if (buffer.fastmap == nullptr) {
    error = "virtual memory exhausted";
    return false;
  }
  buffer.translate = nullptr;  // ignore case never applies to patterns

  const char* failure = nullptr;
  {
    std::lock_guard<std::mutex> lock(CLibraryStateMutex());
    const reg_syntax_t saved = re_syntax_options;
    re_syntax_options = 0;
    failure = re_compile_pattern(pattern.data(), pattern.size(), &buffer);
    re_syntax_options = saved;
    // Built here once, so that matching never has to write into the pattern.
    if (failure == nullptr && re_compile_fastmap(&buffer) != 0) failure = "Memory exhausted";
  }
  if (failure != nullptr) {
    error = failure;
    return false;
  }
  buffer.newline_anchor = 1;  // "^" and "$" also match at line feeds
  list_.insert(list_.begin(), std::move(compiled));
  return true;
}

bool IgnorePatterns::MatchesLine(const char* text, size_t length,
                                 const std::atomic<bool>* stop) const {
  // The library takes int offsets; a line beyond that is searched in its first 2 GiB.
  const regoff_t size = length > static_cast<size_t>(INT_MAX - 1)
                            ? static_cast<regoff_t>(INT_MAX - 1)
                            : static_cast<regoff_t>(length);
  // Start positions run up to the line feed, not past it: an empty match just after the
  // line's own line feed would make "^$" match every line and hide every change.
  const bool endsWithLineFeed = size > 0 && text[size - 1] == '\n';
  const regoff_t lastStart = endsWithLineFeed ? size - 1 : size;
  for (const auto& pattern : list_) {
    if (SearchStarts(pattern->buffer, text, size, lastStart, stop)) return true;
  }
  return false;
}

bool IgnorePatterns::SearchStarts(re_pattern_buffer& buffer, const char* text, regoff_t size,
                                  regoff_t lastStart, const std::atomic<bool>* stop) {
  if (stop == nullptr) return re_search(&buffer, text, size, 0, lastStart, nullptr) >= 0;
  // One search over many start positions is often far cheaper than one per position (the
  // library skips what cannot match), but it cannot be interrupted. So the positions go
  // in slices that start small and double while a search returns quickly, and halve when
  // one is slow: a pattern that needs quadratic time on a long line is never searched
  // longer than a fraction of a second between two looks at the stop flag.
  using Clock = std::chrono::steady_clock;
  regoff_t slice = std::max<regoff_t>(1, kStepsPerSlice / std::max<regoff_t>(size, 1));
  for (regoff_t start = 0; start <= lastStart;) {
    if (stop->load(std::memory_order_relaxed)) return false;
    const regoff_t range = std::min<regoff_t>(slice - 1, lastStart - start);
    const Clock::time_point begun = Clock::now();
    if (re_search(&buffer, text, size, start, range, nullptr) >= 0) return true;
    const Clock::duration took = Clock::now() - begun;
    start += range + 1;
    if (took < kQuickSearch) {
      slice = slice > INT_MAX / 2 ? INT_MAX : slice * 2;
    } else if (took > kSlowSearch && slice > 1) {
      slice /= 2;
    }
  }
  return false;
}

}  // namespace lindrel::engine

namespace lindrel {

std::string IgnorePatternProblem(const std::string& pattern) {
  // Compiled as a comparison compiles it, under the same lock, and thrown away.
  engine::IgnorePatterns patterns;
  std::string problem;
  return patterns.Add(pattern, problem) ? std::string() : problem;
}

}  // namespace lindrel
