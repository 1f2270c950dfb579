// Pairs of files as real projects have them, made from a seed: source code edited over
// years (hunks of every size, blocks moved and re-indented, blank and brace lines
// everywhere), a log of two runs, and a CSV export taken twice. Lines are text; tests turn
// them into classes or files as they need. Header-only, tests and benchmarks.
#pragma once

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace lindrel::testing {

using TextLines = std::vector<std::string>;

class RealisticEdits {
 public:
  explicit RealisticEdits(unsigned seed) : random_(seed) {}

  // A source file of `count` lines: about one line in eight blank, one in seven a line
  // that recurs everywhere (braces, "break;", "#endif", ...), the rest statements that
  // rarely repeat.
  TextLines Code(int count) {
    TextLines lines;
    while (static_cast<int>(lines.size()) < count) lines.push_back(CodeLine());
    return lines;
  }

  // `master` after years of edits touching about `changedLines` lines: small and large
  // insertions, deletions and rewrites, blocks moved elsewhere and blocks re-indented.
  TextLines EditedCode(TextLines master, int changedLines) {
    int changed = 0;
    while (changed < changedLines) {
      const int roll = Uniform(1, 100);
      const int at = Uniform(0, static_cast<int>(master.size()));
      if (roll <= 40) {  // a rewrite of a few lines
        const int length = Uniform(1, 6);
        changed += Replace(master, at, length, [&] { return CodeLine(); });
      } else if (roll <= 60) {  // a few lines added
        changed += Insert(master, at, Code(Uniform(1, 30)));
      } else if (roll <= 64) {  // a new function or class
        changed += Insert(master, at, Code(Uniform(100, 400)));
      } else if (roll <= 80) {  // a few lines removed
        changed += Erase(master, at, Uniform(1, 30));
      } else if (roll <= 84) {  // a whole section removed
        changed += Erase(master, at, Uniform(100, 300));
      } else if (roll <= 94) {  // a block moved elsewhere
        const int length = std::min(Uniform(20, 200), static_cast<int>(master.size()) - at);
        TextLines block(master.begin() + at, master.begin() + at + length);
        master.erase(master.begin() + at, master.begin() + at + length);
        changed += 2 * Insert(master, Uniform(0, static_cast<int>(master.size())), block);
      } else {  // a block re-indented: every line of it differs
        const int length = Uniform(10, 50);
        changed += Replace(
            master, at, length, [] { return std::string(); }, "  ");
      }
    }
    return master;
  }

  // A log of `count` lines: time-stamped messages, almost all distinct, among recurring
  // ones (heartbeats, separators, repeated warnings).
  TextLines Log(int count) {
    TextLines lines;
    for (int i = 0; i < count; ++i) lines.push_back(LogLine(i));
    return lines;
  }

  // The log of another run of the same program: about `changes` messages differ, come
  // and go, and recurring lines appear at other places.
  TextLines OtherRun(TextLines master, int changes) {
    for (int n = 0; n < changes; ++n) {
      const int at = Uniform(0, static_cast<int>(master.size()) - 1);
      const int roll = Uniform(1, 4);
      if (roll == 1)
        master[static_cast<size_t>(at)] = LogLine(Uniform(0, 1 << 20));
      else if (roll == 2)
        master.erase(master.begin() + at);
      else
        master.insert(master.begin() + at, LogLine(Uniform(0, 1 << 20)));
    }
    return master;
  }

  // A CSV export of `count` rows with a heading, then the same table exported again after
  // about `changes` rows were updated, added or deleted.
  std::pair<TextLines, TextLines> CsvExports(int count, int changes) {
    TextLines first{"id,name,quantity,price,status"};
    for (int id = 1; id <= count; ++id) first.push_back(CsvRow(id));
    TextLines second = first;
    int nextId = count + 1;
    for (int n = 0; n < changes; ++n) {
      const int at = Uniform(1, static_cast<int>(second.size()) - 1);
      const int roll = Uniform(1, 10);
      if (roll <= 6)
        second[static_cast<size_t>(at)] = CsvRow(at) + ",updated";
      else if (roll <= 8)
        second.erase(second.begin() + at);
      else
        second.push_back(CsvRow(nextId++));
    }
    return {first, second};
  }

 private:
  int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

  std::string Word() {
    static const char* const kWords[] = {"value",  "count",  "index",  "buffer", "result", "state",
                                         "node",   "item",   "size",   "name",   "path",   "offset",
                                         "length", "flags",  "handle", "entry",  "key",    "data",
                                         "next",   "parent", "child",  "total",  "limit",  "error"};
    return std::string(kWords[Uniform(0, 23)]) + std::to_string(Uniform(0, 400));
  }

  std::string CodeLine() {
    static const char* const kRecurring[] = {"}",
                                             "  }",
                                             "    }",
                                             "};",
                                             "{",
                                             "  {",
                                             "} else {",
                                             "    break;",
                                             "  return true;",
                                             "  return false;",
                                             "#endif",
                                             "default:",
                                             "public:",
                                             "private:",
                                             "  //",
                                             "/**",
                                             " */",
                                             "    continue;",
                                             "  return;",
                                             "namespace {",
                                             "}  // namespace",
                                             "      }"};
    const int roll = Uniform(1, 100);
    if (roll <= 12) return "";
    if (roll <= 26) return kRecurring[Uniform(0, 21)];
    std::string line(static_cast<size_t>(2 * Uniform(1, 4)), ' ');
    line += Word() + " = " + Word();
    for (int k = Uniform(0, 3); k > 0; --k) line += (Uniform(0, 1) ? " + " : "->") + Word();
    return line + ";";
  }

  std::string LogLine(int i) {
    const int roll = Uniform(1, 100);
    if (roll <= 5) return "-- MARK --";
    if (roll <= 9) return "heartbeat ok";
    if (roll <= 11) return "WARN connection pool exhausted, retrying";
    return "2024-03-" + std::to_string(10 + i % 18) + " " + std::to_string(i % 24) + ":" +
           std::to_string(Uniform(10, 59)) + " INFO worker-" + std::to_string(Uniform(1, 8)) +
           " request " + std::to_string(Uniform(0, 1 << 24)) + " done in " +
           std::to_string(Uniform(1, 900)) + " ms";
  }

  std::string CsvRow(int id) {
    return std::to_string(id) + "," + Word() + "," + std::to_string(Uniform(0, 50)) + "," +
           std::to_string(Uniform(1, 9999)) + "." + std::to_string(Uniform(10, 99)) + "," +
           (Uniform(0, 3) == 0 ? "closed" : "open");
  }

  template <typename Make>
  int Replace(TextLines& lines, int at, int length, Make make, const char* indent = nullptr) {
    length = std::min(length, static_cast<int>(lines.size()) - at);
    for (int k = 0; k < length; ++k) {
      std::string& line = lines[static_cast<size_t>(at + k)];
      line = indent != nullptr ? indent + line : make();
    }
    return length;
  }

  static int Insert(TextLines& lines, int at, const TextLines& block) {
    lines.insert(lines.begin() + at, block.begin(), block.end());
    return static_cast<int>(block.size());
  }

  static int Erase(TextLines& lines, int at, int length) {
    length = std::min(length, static_cast<int>(lines.size()) - at);
    lines.erase(lines.begin() + at, lines.begin() + at + length);
    return length;
  }

  std::mt19937 random_;
};

}  // namespace lindrel::testing
