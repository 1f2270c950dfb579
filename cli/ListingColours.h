// ListingColours: the terminal colours of the listings that show lines: removed lines
// red, added lines green, hunk headings cyan. Plain values; any thread.
//
// A coloured line is its prefix and text between the colour's start and the reset, the
// reset placed before the line feed, so that a pager cutting the output into lines never
// carries a colour over into the next one. Without colours every string is empty and the
// listings are written byte for byte as they are without the option.
#pragma once

#include <string>

namespace lindrel::cli {

struct ListingColours {
  const char* removed = "";
  const char* added = "";
  const char* heading = "";
  const char* reset = "";

  bool on() const { return *reset != '\0'; }

  static ListingColours None() { return {}; }
  static ListingColours Terminal() { return {"\033[31m", "\033[32m", "\033[36m", "\033[m"}; }
};

// Whether a --color choice ("auto", "always" or "never") gives colours: "auto" only when
// standard output is a terminal and NO_COLOR is not set to a non-empty value (the common
// convention for turning colours off everywhere). An explicit "always" wins over
// NO_COLOR.
bool ColoursWanted(const std::string& choice, bool outIsTerminal);

}  // namespace lindrel::cli
