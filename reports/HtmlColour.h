// The colours of the HTML report and their written form: six upper-case hexadecimal
// digits inside double quotes, without "#" (bgcolor="C0C0C0"). Constants and a pure
// function; thread-safe.
#pragma once

#include <cstdint>
#include <string>

namespace lindrel::reports {

inline constexpr std::uint32_t kGrey = 0xC0C0C0;
inline constexpr std::uint32_t kWhite = 0xFFFFFF;
inline constexpr std::uint32_t kYellow = 0xFFFF00;
inline constexpr std::uint32_t kChangedColour = 0xFF0000;
inline constexpr std::uint32_t kAddedColour = 0x009000;
inline constexpr std::uint32_t kDeletedColour = 0x0000FF;
inline constexpr std::uint32_t kDefaultTextColour = 0x000000;

// "\"C0C0C0\"" for 0xC0C0C0.
std::string QuotedColour(std::uint32_t colour);

}  // namespace lindrel::reports
