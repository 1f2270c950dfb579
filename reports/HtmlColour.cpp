#include "reports/HtmlColour.h"

#include <cstdio>

namespace lindrel::reports {

std::string QuotedColour(std::uint32_t colour) {
  char text[16];
  std::snprintf(text, sizeof text, "\"%06X\"", static_cast<unsigned>(colour & 0xFFFFFF));
  return text;
}

}  // namespace lindrel::reports
