// The line-difference engine on two byte buffers under switches chosen from the input
// (ignore case, all space, space amount, blank lines, ignore patterns valid or not, minimal,
// heuristic, always text, brief, horizon lines, switches without effect). Asserts, beside
// no crash and no sanitizer report:
// - the result is 0 or 1, and a binary or brief comparison delivers no record and answers
//   whether the files' bytes (and sizes) differ, those after a byte 26 included;
// - records are in line order, inside the files, apart from each other, and never empty;
// - a text comparison answers 1 exactly when it delivered a record or the bytes after a
//   byte 26, which text mode leaves unread, differ (then without records);
// - when nothing is ignored, applying the records to the master rebuilds the source, and
//   under ignore case or all space it rebuilds lines equal to the source's under that rule;
// - under ignore blank lines and plain patterns, the rebuilt lines and the source agree once
//   their ignorable lines are dropped, and every record holds a line that is not ignorable;
// - with -d and nothing ignored the records cost what a shortest edit script costs
//   (computed here by dynamic programming), and so do they under -H while it cannot act;
// - switches that have no effect change no record, and the same pair read from files (in
//   blocks, text mode across their edges) gives the same result and records.
#include <fuzzer/FuzzedDataProvider.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "engine/RunEngine.h"

#include "fuzz/FuzzChecks.h"

namespace {

using lindrel::engine::ChangeRecord;
using Lines = std::vector<std::string>;

using lindrel::fuzzing::Check;

using lindrel::fuzzing::Recorder;

// The run the component makes: the engine reading the pair from two files.
int RunOnFiles(const std::vector<std::string>& switches, const std::string& master,
               const std::string& source, Recorder& recorder) {
  static const int fds[2] = {::memfd_create("master", 0), ::memfd_create("source", 0)};
  std::vector<std::string> arguments{"Lindrel"};
  const std::string* contents[2] = {&master, &source};
  for (int i = 0; i < 2; ++i) {
    Check(fds[i] >= 0 && ::ftruncate(fds[i], 0) == 0);
    Check(::pwrite(fds[i], contents[i]->data(), contents[i]->size(), 0) ==
          static_cast<ssize_t>(contents[i]->size()));
    arguments.push_back("/proc/self/fd/" + std::to_string(fds[i]));
  }
  arguments.insert(arguments.end(), switches.begin(), switches.end());
  return lindrel::engine::RunEngine(arguments, recorder);
}

// What the engine reads: in text mode CR LF is LF and a byte 26 ends the content.
std::string AsRead(const std::string& raw, bool textMode) {
  if (!textMode) return raw;
  std::string content;
  for (std::size_t i = 0; i < raw.size() && raw[i] != '\x1a'; ++i) {
    if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
    content += raw[i];
  }
  return content;
}

// The bytes text mode leaves unread: from the first byte 26 to the end.
std::string HiddenTail(const std::string& raw, bool textMode) {
  const std::size_t end = raw.find('\x1a');
  return textMode && end != std::string::npos ? raw.substr(end) : std::string();
}

// Lines with their line feeds; a last line without one stays without, unless blank lines
// are ignored, which makes it equal to the same line with its line feed.
Lines SplitLines(const std::string& content, bool completeLastLine) {
  Lines lines;
  for (std::size_t start = 0; start < content.size();) {
    const std::size_t lineFeed = content.find('\n', start);
    const std::size_t end = lineFeed == std::string::npos ? content.size() : lineFeed + 1;
    lines.push_back(content.substr(start, end - start));
    start = end;
  }
  if (completeLastLine && !lines.empty() && lines.back().back() != '\n') lines.back() += '\n';
  return lines;
}

struct Switches {
  bool ignoreCase = false, allSpace = false, spaceAmount = false, blankLines = false;
  bool formFeedPattern = false, minimal = false, heuristic = false, alwaysText = false;
  bool brief = false;
  std::vector<std::string> patterns;
  std::vector<std::string> entries;        // the vector handed to the engine
  std::vector<std::string> withoutEffect;  // extra switches that must change nothing

  bool IgnoresHunks() const { return blankLines || formFeedPattern || !patterns.empty(); }
  bool IgnoresAnything() const { return ignoreCase || allSpace || spaceAmount || IgnoresHunks(); }
  // Patterns of letters, digits and blanks match as plain substrings.
  bool PlainPatterns() const {
    for (const std::string& p : patterns) {
      if (p.empty()) return false;
      for (char c : p) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != ' ') return false;
      }
    }
    return true;
  }
};

Switches ChooseSwitches(FuzzedDataProvider& input) {
  static const char* const kWithoutEffect[] = {"-c",
                                               "-u",
                                               "-e",
                                               "-f",
                                               "-n",
                                               "-y",
                                               "-t",
                                               "-T",
                                               "-p",
                                               "-s",
                                               "-r",
                                               "-N",
                                               "-l",
                                               "-P",
                                               "--context=7",
                                               "-U3",
                                               "--unified=2",
                                               "-F",
                                               "-x",
                                               "--label=x",
                                               "--suppress-common-lines",
                                               "-W",
                                               "--left-column",
                                               "-7",
                                               "--ifdef=X",
                                               "-v"};
  Switches s;
  const auto bits = input.ConsumeIntegral<std::uint16_t>();
  s.ignoreCase = bits & 1;
  s.allSpace = bits & 2;
  s.spaceAmount = (bits & 0x0C) == 0x0C;
  s.blankLines = bits & 0x10;
  s.formFeedPattern = s.blankLines && (bits & 0x20);
  s.minimal = bits & 0x40;
  s.heuristic = bits & 0x80;
  s.alwaysText = (bits & 0x300) == 0x300;
  s.brief = (bits & 0xC00) == 0xC00;
  if (s.ignoreCase) s.entries.push_back("-i");
  if (s.allSpace) s.entries.push_back("--ignore-all-space");
  if (s.spaceAmount) s.entries.push_back("-b");
  if (s.blankLines) s.entries.push_back("-B");
  if (s.formFeedPattern) s.entries.push_back("-I\f");
  if (s.minimal) s.entries.push_back("-d");
  if (s.heuristic) s.entries.push_back(bits & 0x1000 ? "-H" : "--speed-large");
  if (s.alwaysText) s.entries.push_back("-a");
  if (s.brief) s.entries.push_back("-q");
  if (bits & 0x2000) {
    // Digits only are a horizon; anything else is refused and leaves 0.
    const std::string horizon = input.ConsumeRandomLengthString(4);
    s.entries.push_back("--horizon-lines=" + horizon);
  }
  const int patterns = (bits >> 14) & 3;
  for (int i = 0; i < patterns; ++i) {
    std::string pattern = input.ConsumeRandomLengthString(12);
    pattern.erase(std::remove(pattern.begin(), pattern.end(), '\0'), pattern.end());
    s.patterns.push_back(pattern);
    s.entries.push_back(pattern.empty() ? "--ignore-matching-lines=" : "-I" + pattern);
  }
  const int extras = input.ConsumeIntegralInRange(0, 2);
  for (int i = 0; i < extras; ++i) {
    const char* extra =
        kWithoutEffect[input.ConsumeIntegralInRange<std::size_t>(0, std::size(kWithoutEffect) - 1)];
    s.withoutEffect.push_back(extra);
    // Switches that take a value are given one as the next entry.
    if (std::string(extra) == "-F" || std::string(extra) == "-x" || std::string(extra) == "-W") {
      s.withoutEffect.push_back("arg");
    }
  }
  return s;
}

// A file's content: either raw bytes, or lines picked by the bytes from a small alphabet,
// with runs of numbered lines that both files share in order and runs of noise that each
// file draws on its own: long common stretches between costly differences, what the filter
// and the heuristic work on.
constexpr int kMaxLines = 1500;  // keeps a search without the filter quick

std::string MakeContent(const std::string& bytes, bool asLines, unsigned salt) {
  if (!asLines) return bytes;
  static const char* const kAlphabet[] = {"a", "b", "", "A", "a b", " ", "x\ty", "c\r", "\f"};
  std::string content;
  int shared = 0, lines = 0;
  unsigned noise = salt * 7919 + 1;
  for (unsigned char b : bytes) {
    if (lines > kMaxLines) break;
    if (b >= 0xE0) {
      for (int k = 0; k < (b - 0xDF) * 3; ++k, ++lines)
        content += "shared " + std::to_string(shared++) + "\n";
    } else if (b >= 0xC0) {
      for (int k = 0; k < (b - 0xBF) * 8; ++k, ++lines) {
        noise = noise * 1103515245u + 12345u;
        content += "noise " + std::to_string((noise >> 16) % 13) + "\n";
      }
    } else {
      content += kAlphabet[b % std::size(kAlphabet)];
      content += (b & 0x20) ? "\r\n" : "\n";
      ++lines;
    }
  }
  if (!bytes.empty() && (bytes.back() & 0x10)) content.pop_back();  // no final line feed
  return content;
}

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// A line's comparable form under ignore case and ignore all space.
std::string Canonical(const std::string& line, const Switches& s) {
  std::string text = line;
  if (!text.empty() && text.back() == '\n') text.pop_back();
  std::string out;
  for (char c : text) {
    if (s.allSpace && IsSpace(c)) continue;
    out += s.ignoreCase && c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return out;
}

bool Equivalent(const std::string& a, const std::string& b, const Switches& s) {
  if (a == b) return true;
  if (!s.ignoreCase && !s.allSpace) return false;
  const bool aComplete = !a.empty() && a.back() == '\n';
  const bool bComplete = !b.empty() && b.back() == '\n';
  // The appended line feed of a last line counts against it unless lengths may vary.
  if (!s.allSpace && !s.blankLines && aComplete != bComplete) return false;
  return Canonical(a, s) == Canonical(b, s);
}

bool Ignorable(const std::string& line, const Switches& s) {
  if (s.blankLines && line == "\n") return true;
  if (s.formFeedPattern && line.find('\f') != std::string::npos) return true;
  for (const std::string& p : s.patterns) {
    if (line.find(p) != std::string::npos) return true;
  }
  return false;
}

struct Span {
  long first0, count0, first1, count1;
};

Span SpanOf(const ChangeRecord& r) {
  Span s{};
  s.first0 = r.kind == 'a' ? r.masterStart : r.masterStart - 1;
  s.count0 = r.kind == 'a' ? 0 : r.masterEnd - r.masterStart + 1;
  s.first1 = r.kind == 'd' ? r.sourceStart : r.sourceStart - 1;
  s.count1 = r.kind == 'd' ? 0 : r.sourceEnd - r.sourceStart + 1;
  return s;
}

// Checks the records' invariants and returns the master with them applied.
Lines CheckedApply(const Lines& master, const Lines& source,
                   const std::vector<ChangeRecord>& records, bool equalStretches) {
  Lines out;
  long end0 = 0, end1 = 0;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const ChangeRecord& r = records[i];
    Check(r.kind == 'a' || r.kind == 'c' || r.kind == 'd');
    const Span s = SpanOf(r);
    Check(r.kind == 'a' ? r.masterStart == r.masterEnd : r.masterStart >= 1 && s.count0 >= 1);
    Check(r.kind == 'd' ? r.sourceStart == r.sourceEnd : r.sourceStart >= 1 && s.count1 >= 1);
    Check(s.first0 >= 0 && s.first1 >= 0);
    Check(static_cast<std::size_t>(s.first0 + s.count0) <= master.size());
    Check(static_cast<std::size_t>(s.first1 + s.count1) <= source.size());
    if (i > 0) Check(s.first0 > end0 && s.first1 > end1);  // an unchanged line between
    if (equalStretches) Check(s.first0 - end0 == s.first1 - end1);
    out.insert(out.end(), master.begin() + end0, master.begin() + s.first0);
    out.insert(out.end(), source.begin() + s.first1, source.begin() + s.first1 + s.count1);
    end0 = s.first0 + s.count0;
    end1 = s.first1 + s.count1;
  }
  if (equalStretches) Check(master.size() - end0 == source.size() - end1);
  out.insert(out.end(), master.begin() + end0, master.end());
  return out;
}

// Deleted plus inserted lines of a shortest edit script.
long MinimumCost(const Lines& a, const Lines& b) {
  std::vector<long> row(b.size() + 1, 0), previous(b.size() + 1, 0);
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::swap(row, previous);
    for (std::size_t j = 1; j <= b.size(); ++j) {
      row[j] = a[i - 1] == b[j - 1] ? previous[j - 1] + 1 : std::max(previous[j], row[j - 1]);
    }
  }
  return static_cast<long>(a.size() + b.size()) - 2 * row[b.size()];
}

long Cost(const std::vector<ChangeRecord>& records) {
  long cost = 0;
  for (const ChangeRecord& r : records) cost += SpanOf(r).count0 + SpanOf(r).count1;
  return cost;
}

Lines WithoutIgnorable(const Lines& lines, const Switches& s) {
  Lines kept;
  for (const std::string& line : lines) {
    if (!Ignorable(line, s)) kept.push_back(line);
  }
  return kept;
}

// Where the first byte 0 sits decides a binary comparison; the engine looks at its first
// block of 8192 bytes. Answers 1 for binary, 0 for text, -1 when the block's bounds in raw
// and read bytes disagree on it.
int BinaryDecision(const std::string& raw, const std::string& read) {
  const std::size_t inRead = read.find('\0');
  if (inRead == std::string::npos || inRead >= 8192) return 0;
  const std::size_t inRaw = raw.find('\0');
  return inRaw < 8192 ? 1 : -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const Switches s = ChooseSwitches(input);
  const bool asLines = input.ConsumeBool();
  const std::string masterBytes = input.ConsumeRandomLengthString(size);
  const std::string master = MakeContent(masterBytes, asLines, 0);
  const std::string source = MakeContent(input.ConsumeRemainingBytesAsString(), asLines, 1);

  Recorder recorder;
  const int result = lindrel::engine::RunEngineOnTexts(s.entries, master, source, recorder);
  const std::vector<ChangeRecord>& records = recorder.records;
  Check(result == 0 || result == 1);

  if (!s.withoutEffect.empty()) {
    std::vector<std::string> more = s.withoutEffect;
    more.insert(more.end(), s.entries.begin(), s.entries.end());
    Recorder again;
    Check(lindrel::engine::RunEngineOnTexts(more, master, source, again) == result);
    Check(again.records == records);
  }
  Recorder fromFiles;
  Check(RunOnFiles(s.entries, master, source, fromFiles) == result);
  Check(fromFiles.records == records);

  const bool textMode = !s.alwaysText;
  const std::string masterRead = AsRead(master, textMode);
  const std::string sourceRead = AsRead(source, textMode);
  int binary = 0;
  if (textMode) {
    const int m = BinaryDecision(master, masterRead);
    const int n = m == 1 ? 0 : BinaryDecision(source, sourceRead);
    binary = m == 1 || n == 1 ? 1 : (m < 0 || n < 0 ? -1 : 0);
  }
  const bool tailsDiffer = HiddenTail(master, textMode) != HiddenTail(source, textMode);
  if (s.brief || binary == 1) {
    Check(records.empty());
    const bool differ = master.size() != source.size() || masterRead != sourceRead || tailsDiffer;
    Check(result == (differ ? 1 : 0));
    return 0;
  }
  if (binary < 0) return 0;

  const Lines masterLines = SplitLines(masterRead, s.blankLines);
  const Lines sourceLines = SplitLines(sourceRead, s.blankLines);
  Check(result == (records.empty() && !tailsDiffer ? 0 : 1));
  const Lines rebuilt = CheckedApply(masterLines, sourceLines, records, !s.IgnoresHunks());

  if (s.spaceAmount) return 0;  // its equivalence is not modelled here
  if (!s.IgnoresHunks()) {
    Check(rebuilt.size() == sourceLines.size());
    for (std::size_t i = 0; i < rebuilt.size(); ++i)
      Check(Equivalent(rebuilt[i], sourceLines[i], s));
    if (!s.IgnoresAnything()) Check(result == (masterLines == sourceLines && !tailsDiffer ? 0 : 1));
  } else if (s.PlainPatterns() && !s.ignoreCase && !s.allSpace) {
    Check(WithoutIgnorable(rebuilt, s) == WithoutIgnorable(sourceLines, s));
    for (const ChangeRecord& r : records) {
      const Span span = SpanOf(r);
      bool substantial = false;
      for (long k = 0; k < span.count0; ++k)
        substantial |= !Ignorable(masterLines[span.first0 + k], s);
      for (long k = 0; k < span.count1; ++k)
        substantial |= !Ignorable(sourceLines[span.first1 + k], s);
      Check(substantial);
    }
  }

  // Minimal scripts: -d alone, or -H before it can act (it needs more than 200 steps).
  if (s.minimal && !s.IgnoresAnything() && masterLines.size() <= 400 && sourceLines.size() <= 400) {
    const long minimum = MinimumCost(masterLines, sourceLines);
    if (!s.heuristic || minimum <= 400) Check(Cost(records) == minimum);
  }
  return 0;
}
