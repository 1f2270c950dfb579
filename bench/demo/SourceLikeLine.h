// Lines of plausible source text for the window benchmarks' generated pairs.
#pragma once

#include <string>

namespace lindrel::bench {

// A line of plausible source text, different for every seed.
inline std::string SourceLikeLine(unsigned seed) {
  static const char* words[] = {"value",  "count",  "index",      "result", "buffer",
                                "record", "return", "const",      "auto",   "if",
                                "for",    "while",  "std::size_t"};
  std::string line(2 * (seed % 5), ' ');
  for (unsigned w = 0; w < 4 + seed % 6; ++w) {
    line += words[(seed >> (w + 1)) % 13];
    line += w % 3 == 2 ? " = " : " ";
  }
  line += std::to_string(seed) + ";";
  return line;
}

}  // namespace lindrel::bench
