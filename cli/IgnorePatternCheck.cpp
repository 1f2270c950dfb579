#include "cli/IgnorePatternCheck.h"

#include <regex.h>

namespace lindrel::cli {

std::string IgnorePatternError(const std::string& pattern) {
  re_pattern_buffer buffer{};
  buffer.translate = nullptr;
  buffer.fastmap = nullptr;
  const reg_syntax_t saved = re_set_syntax(0);
  const char* error = re_compile_pattern(pattern.data(), pattern.size(), &buffer);
  re_set_syntax(saved);
  std::string reason = error != nullptr ? error : "";
  regfree(&buffer);
  return reason;
}

}  // namespace lindrel::cli
