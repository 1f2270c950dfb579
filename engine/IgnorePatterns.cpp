#include "engine/IgnorePatterns.h"

#include <climits>
#include <cstdlib>
#include <mutex>

#include "engine/ProcessWideLock.h"

namespace lindrel::engine {

bool IgnorePatterns::Add(const std::string& pattern, std::string& error) {
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

bool IgnorePatterns::MatchesLine(const char* text, size_t length) const {
  // The library takes int offsets; a line beyond that is searched in its first 2 GiB.
  const regoff_t size = length > static_cast<size_t>(INT_MAX - 1)
                            ? static_cast<regoff_t>(INT_MAX - 1)
                            : static_cast<regoff_t>(length);
  // Start positions run up to the line feed, not past it: an empty match just after the
  // line's own line feed would make "^$" match every line and hide every change.
  const bool endsWithLineFeed = size > 0 && text[size - 1] == '\n';
  const regoff_t range = endsWithLineFeed ? size - 1 : size;
  for (const auto& pattern : list_) {
    if (re_search(&pattern->buffer, text, size, 0, range, nullptr) >= 0) return true;
  }
  return false;
}

}  // namespace lindrel::engine
