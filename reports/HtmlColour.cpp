#include "reports/HtmlColour.h"

namespace lindrel::reports {

std::string QuotedColour(std::uint32_t colour) {
  // Written by hand: reports ask for colours once per marked word.
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text(8, '"');
  for (int i = 6; i >= 1; --i) {
    text[static_cast<std::size_t>(i)] = kDigits[colour & 0xF];
    colour >>= 4;
  }
  return text;
}

}  // namespace lindrel::reports
