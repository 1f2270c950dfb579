// The window benchmarks' generated pairs: lines of plausible source text, about 10% of
// them changed, deleted or added in clusters.
#pragma once

#include <fstream>
#include <functional>
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

// Writes `lines` master lines and their source: 1% of the lines start a cluster of 1 to
// 20 lines that are changed (the source takes `changed(i)` for line i), deleted or
// added. The same pair for the same arguments.
inline void WriteClusteredPair(const std::string& master, const std::string& source, int lines,
                               const std::function<std::string(int)>& changed) {
  std::ofstream m(master), s(source);
  unsigned state = 12345;
  auto next = [&] { return state = state * 1103515245u + 12345u; };
  for (int i = 0; i < lines;) {
    if (next() % 100 < 1) {
      const int cluster = 1 + static_cast<int>(next() % 20);
      const unsigned kind = next() % 3;
      for (int k = 0; k < cluster && i < lines; ++k, ++i) {
        if (kind != 2) m << SourceLikeLine(static_cast<unsigned>(i)) << "\n";
        if (kind != 1) s << changed(i) << "\n";
      }
      continue;
    }
    m << SourceLikeLine(static_cast<unsigned>(i)) << "\n";
    s << SourceLikeLine(static_cast<unsigned>(i)) << "\n";
    ++i;
  }
}

}  // namespace lindrel::bench
