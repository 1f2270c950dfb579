// The listings are patches: the normal listing applied to the master, by a small applier
// written here and by the real `patch` program, and the unified listing applied by
// `patch -u` and by `git apply`, must give the source byte for byte when the two files
// agree in their line ends, and the source's text-mode reading in any case.
#include <gtest/gtest.h>

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "TestConfig.h"
#include "tests/cli/CliRunner.h"
#include "tests/support/TempEnvironment.h"

namespace lindrel::testing {
namespace {

// A file as lines; each knows whether a line feed ends it.
struct Lines {
  std::vector<std::string> text;
  std::vector<bool> newline;
};

std::string TextMode(std::string bytes) {
  if (const auto end = bytes.find('\x1a'); end != std::string::npos) bytes.resize(end);
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); ++i)
    if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')) out += bytes[i];
  return out;
}

Lines Split(const std::string& content) {
  Lines lines;
  std::size_t start = 0;
  while (start < content.size()) {
    const std::size_t end = content.find('\n', start);
    if (end == std::string::npos) {
      lines.text.push_back(content.substr(start));
      lines.newline.push_back(false);
      break;
    }
    lines.text.push_back(content.substr(start, end - start));
    lines.newline.push_back(true);
    start = end + 1;
  }
  return lines;
}

// A hunk heading "M[,M]{a,c,d}S[,S]"; a single number stands for both ends.
struct Heading {
  long m0 = 0, m1 = 0;
  char kind = 0;
  long s0 = 0, s1 = 0;
};

bool ReadNumber(std::string_view text, std::size_t& at, long& value) {
  const auto [end, failure] = std::from_chars(text.data() + at, text.data() + text.size(), value);
  if (failure != std::errc() || end == text.data() + at || text[at] == '-') return false;
  at = static_cast<std::size_t>(end - text.data());
  return true;
}

bool ReadRange(std::string_view text, std::size_t& at, long& first, long& last) {
  if (!ReadNumber(text, at, first)) return false;
  last = first;
  if (at < text.size() && text[at] == ',') return ReadNumber(text, ++at, last);
  return true;
}

std::optional<Heading> ParseHeading(std::string_view line) {
  Heading h;
  std::size_t at = 0;
  if (!ReadRange(line, at, h.m0, h.m1) || at >= line.size()) return std::nullopt;
  h.kind = line[at++];
  if (h.kind != 'a' && h.kind != 'c' && h.kind != 'd') return std::nullopt;
  if (!ReadRange(line, at, h.s0, h.s1) || at != line.size()) return std::nullopt;
  return h;
}

std::string WithCrLf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

// Applies a normal listing to `master`; nullopt (with `error`) when it does not fit.
std::optional<std::string> Apply(const std::string& master, const std::string& listing,
                                 std::string& error) {
  const Lines m = Split(master);
  const Lines patch = Split(listing);
  std::string out;
  long outLines = 0;
  long next = 1;  // next master line to copy
  std::size_t p = 0;
  const auto copyMaster = [&](long upTo) {
    for (; next <= upTo; ++next, ++outLines)
      out += m.text[next - 1] + (m.newline[next - 1] ? "\n" : "");
  };
  const auto marker = [&] {
    return p < patch.text.size() && patch.text[p] == "\\ No newline at end of file";
  };
  while (p < patch.text.size()) {
    const std::string headingText = patch.text[p];
    const std::optional<Heading> heading = ParseHeading(headingText);
    if (!heading) {
      error = "not a heading: " + headingText;
      return std::nullopt;
    }
    ++p;
    const auto [m0, m1, kind, s0, s1] = *heading;
    if (kind == 'a' ? m0 < next - 1 || m0 > static_cast<long>(m.text.size())
                    : m0 < next || m1 > static_cast<long>(m.text.size())) {
      error = "hunk out of order or range: " + headingText;
      return std::nullopt;
    }
    copyMaster(kind == 'a' ? m0 : m0 - 1);
    if (kind != 'a') {
      for (long n = m0; n <= m1; ++n, ++p) {
        if (p >= patch.text.size() || patch.text[p] != "< " + m.text[n - 1]) {
          error = "master line " + std::to_string(n) + " does not match";
          return std::nullopt;
        }
      }
      if (marker()) {
        if (m.newline[m1 - 1]) error = "marker after a master line that has a line feed";
        ++p;
      }
      next = m1 + 1;
    }
    if (kind == 'c' && (p >= patch.text.size() || patch.text[p++] != "---")) {
      error = "missing ---";
      return std::nullopt;
    }
    // The source side of the heading must name the lines where the result stands.
    if (kind == 'd' ? s0 != outLines || s1 != s0 : s0 != outLines + 1) {
      error = "source numbers do not fit: " + headingText;
      return std::nullopt;
    }
    if (kind != 'd') {
      while (p < patch.text.size() && patch.text[p].rfind("> ", 0) == 0) {
        out += patch.text[p++].substr(2);
        ++outLines;
        if (marker())
          ++p;
        else
          out += '\n';
      }
      if (outLines != s1) {
        error = "source line count does not fit: " + headingText;
        return std::nullopt;
      }
    }
  }
  copyMaster(static_cast<long>(m.text.size()));
  if (!error.empty()) return std::nullopt;
  return out;
}

std::string RandomLines(std::mt19937& rng, int count) {
  static const char* const words[] = {"alpha", "beta", "gamma", "", "delta", "alpha", "}"};
  std::string text;
  for (int i = 0; i < count; ++i) text += std::string(words[rng() % 7]) + "\n";
  return text;
}

// The master with scattered deletions, replacements and insertions.
std::string Edit(std::mt19937& rng, const std::string& master) {
  const Lines m = Split(master);
  std::string source;
  std::uniform_int_distribution<int> percent(0, 99);
  for (const std::string& line : m.text) {
    const int roll = percent(rng);
    if (roll < 10) source += RandomLines(rng, 1 + static_cast<int>(rng() % 3));
    if (roll >= 10 && roll < 22) continue;
    if (roll >= 22 && roll < 34)
      source += "changed " + std::to_string(rng() % 5) + "\n";
    else
      source += line + "\n";
  }
  if (percent(rng) < 20) source += RandomLines(rng, 2);
  return source;
}

TEST(CliPatchTest, NormalListingAppliedToMasterGivesSource) {
  TempEnvironment env;
  std::mt19937 rng(20240611);
  const std::vector<std::vector<std::string>> optionSets = {
      {}, {"-d"}, {"-H"}, {"--horizon-lines", "3"}};
  int differing = 0;
  for (int round = 0; round < 120; ++round) {
    std::string master = RandomLines(rng, static_cast<int>(rng() % (round < 100 ? 30 : 600)));
    std::string source = Edit(rng, master);
    // Some files end without a line feed; some pairs use CR LF line ends, and in some only
    // one file does, which text mode cannot see.
    if (rng() % 4 == 0 && !master.empty()) master.pop_back();
    if (rng() % 4 == 0 && !source.empty()) source.pop_back();
    const unsigned ends = rng() % 8;
    if (ends == 0 || ends == 1) master = WithCrLf(master);
    if (ends == 0 || ends == 2) source = WithCrLf(source);
    const bool endsAgree = ends != 1 && ends != 2;

    const std::string masterPath = env.Write("patch-m", master).string();
    const std::string sourcePath = env.Write("patch-s", source).string();
    std::vector<std::string> args{"files"};
    const auto& options = optionSets[round % optionSets.size()];
    args.insert(args.end(), options.begin(), options.end());
    args.push_back(masterPath);
    args.push_back(sourcePath);
    const CliRun run = RunLindrel(env, args);

    const std::string expected = TextMode(source);
    const bool same = TextMode(master) == expected;
    ASSERT_EQ(run.status, same ? 0 : 1) << "round " << round << "\n" << run.err;
    differing += same ? 0 : 1;
    std::string error;
    const std::optional<std::string> patched = Apply(master, run.out, error);
    ASSERT_TRUE(patched.has_value()) << "round " << round << ": " << error << "\n"
                                     << run.out << "\nmaster:\n"
                                     << master << "\nsource:\n"
                                     << source;
    ASSERT_EQ(TextMode(*patched), expected) << "round " << round << "\nlisting:\n" << run.out;
    if (endsAgree) {
      ASSERT_EQ(*patched, source) << "round " << round << "\nlisting:\n" << run.out;
    }
  }
  EXPECT_GT(differing, 100);  // the generator really produces differences
}

// Runs `command` through the shell; its exit status.
int Shell(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

// Runs git in `folder` with no configuration but the test's own (none): HOME is the
// test's directory and the system's configuration is not read.
int Git(const TempEnvironment& env, const std::filesystem::path& folder,
        const std::string& arguments) {
  return Shell("cd " + Quoted(folder) + " && HOME=" + Quoted(env.root()) +
               " GIT_CONFIG_NOSYSTEM=1 git " + arguments);
}

// The real `patch` on pairs that both use CR LF line ends (with lone carriage returns
// inside lines, and last lines without a line end), and on one LF pair.
TEST(CliPatchTest, PatchProgramRebuildsCrLfSources) {
  ASSERT_EQ(Shell("patch --version > /dev/null"), 0) << "the patch program is not installed";
  TempEnvironment env;
  std::mt19937 rng(7);
  int differing = 0;
  for (int round = 0; round < 24; ++round) {
    std::string master = RandomLines(rng, 5 + static_cast<int>(rng() % 80));
    std::string source = Edit(rng, master);
    if (round % 3 == 0) source += "half\rway\n";
    if (round % 4 == 1 && !master.empty()) master.pop_back();
    if (round % 4 == 2 && !source.empty()) source.pop_back();
    if (round != 23) {
      master = WithCrLf(master);
      source = WithCrLf(source);
    }
    const std::filesystem::path masterPath = env.Write("crlf-m", master);
    const std::filesystem::path sourcePath = env.Write("crlf-s", source);
    const std::filesystem::path target = env.Write("crlf-target", master);
    std::vector<std::string> args{"files"};
    if (round % 3 == 1) args.push_back("-d");
    if (round % 3 == 2) args.push_back("-H");
    args.push_back(masterPath.string());
    args.push_back(sourcePath.string());
    const CliRun run = RunLindrel(env, args);
    ASSERT_EQ(run.status, master == source ? 0 : 1) << "round " << round << "\n" << run.err;
    if (run.status == 0) continue;
    ++differing;
    const std::filesystem::path listing = env.Write("crlf-listing", run.out);
    ASSERT_EQ(Shell("patch --quiet " + Quoted(target) + " " + Quoted(listing)), 0)
        << "round " << round << "\nlisting:\n"
        << run.out;
    EXPECT_EQ(TempEnvironment::Read(target), source) << "round " << round << "\nlisting:\n"
                                                     << run.out;
  }
  EXPECT_GT(differing, 18);

  // What no listing can carry: the pair differs only in its line ends, which text mode
  // reads as equal, so there is nothing to apply.
  const CliRun same = RunLindrel(
      env, {"files", env.Write("lf", "a\nb\n").string(), env.Write("crlf", "a\r\nb\r\n").string()});
  EXPECT_EQ(same.status, 0);
  EXPECT_EQ(same.out, "");
}

// The applier itself must refuse what does not fit, or the test above proves nothing.
TEST(CliPatchTest, ApplierRefusesListingsThatDoNotFit) {
  const std::string master = "a\nb\nc\n";
  struct Case {
    std::string listing;
    std::optional<std::string> result;
  } cases[] = {
      {"2c2\n< b\n---\n> x\n", "a\nx\nc\n"},
      {"2c2\n< z\n---\n> x\n", std::nullopt},
      {"3a4\n> d\n\\ No newline at end of file\n", "a\nb\nc\nd"},
      {"0a1\n> z\n2d2\n< b\n", "z\na\nc\n"},
      {"2d1\n< b\n1d0\n< a\n", std::nullopt},  // out of order
      {"2x2\n", std::nullopt},
      {"2c3\n< b\n---\n> x\n", std::nullopt},  // source numbers do not fit
      {"2c2,3\n< b\n---\n> x\n", std::nullopt},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_EQ(Apply(master, c.listing, error), c.result) << c.listing;
  }
}

// A hunk of a unified listing: the numbers of its heading and the kind of each of its
// lines (' ', '-' or '+'), the "no newline" markers left out.
struct UnifiedHunk {
  long oldStart = 0, oldCount = 0, newStart = 0, newCount = 0;
  std::string kinds;
};

// "S,N", or "S" for one line.
bool ReadHunkRange(std::string_view text, std::size_t& at, long& start, long& count) {
  if (!ReadNumber(text, at, start)) return false;
  count = 1;
  if (at < text.size() && text[at] == ',') return ReadNumber(text, ++at, count);
  return true;
}

std::optional<UnifiedHunk> ParseHunkHeading(std::string_view line) {
  UnifiedHunk h;
  std::size_t at = 4;
  if (line.substr(0, at) != "@@ -" || !ReadHunkRange(line, at, h.oldStart, h.oldCount) ||
      line.substr(at, 2) != " +")
    return std::nullopt;
  at += 2;
  if (!ReadHunkRange(line, at, h.newStart, h.newCount) || line.substr(at) != " @@")
    return std::nullopt;
  return h;
}

// The hunks of a unified listing; nullopt (with `error`) when its header is missing or a
// heading's counts do not fit the lines that follow it.
std::optional<std::vector<UnifiedHunk>> ParseUnified(const std::string& listing,
                                                     std::string& error) {
  const Lines lines = Split(listing);
  std::vector<UnifiedHunk> hunks;
  if (lines.text.size() < 2 || lines.text[0].rfind("--- ", 0) != 0 ||
      lines.text[1].rfind("+++ ", 0) != 0) {
    error = "no header lines";
    return std::nullopt;
  }
  long oldLeft = 0, newLeft = 0;
  for (std::size_t i = 2; i < lines.text.size(); ++i) {
    const std::string& line = lines.text[i];
    if (line == "\\ No newline at end of file") continue;
    if (oldLeft == 0 && newLeft == 0) {
      const std::optional<UnifiedHunk> heading = ParseHunkHeading(line);
      if (!heading) {
        error = "not a hunk heading: " + line;
        return std::nullopt;
      }
      hunks.push_back(*heading);
      oldLeft = heading->oldCount;
      newLeft = heading->newCount;
      continue;
    }
    const char kind = line.empty() ? '?' : line[0];
    if (kind != ' ' && kind != '-' && kind != '+') {
      error = "not a hunk line: " + line;
      return std::nullopt;
    }
    if (kind != '+') --oldLeft;
    if (kind != '-') --newLeft;
    if (oldLeft < 0 || newLeft < 0) {
      error = "more lines than the heading counts in hunk " + std::to_string(hunks.size());
      return std::nullopt;
    }
    hunks.back().kinds += kind;
  }
  if (oldLeft != 0 || newLeft != 0) {
    error = "fewer lines than the last heading counts";
    return std::nullopt;
  }
  return hunks;
}

// What is wrong with how the hunks use their context, or "": `context` lines before and
// after each run of changes (fewer only at the start and end of the master, which has
// `masterLines` lines), no run of context inside a hunk longer than twice the context (the
// hunk should have been split there), and at least one line left out between two hunks
// (otherwise their contexts touch and they should have been one).
std::string ContextFault(const std::vector<UnifiedHunk>& hunks, long context, long masterLines) {
  long previousEnd = 0;  // the first master line after the previous hunk
  for (std::size_t n = 0; n < hunks.size(); ++n) {
    const UnifiedHunk& h = hunks[n];
    const std::string where = "hunk " + std::to_string(n + 1) + ": ";
    const std::size_t firstChange = h.kinds.find_first_not_of(' ');
    if (firstChange == std::string::npos) return where + "no change";
    const long lead = static_cast<long>(firstChange);
    const long trail = static_cast<long>(h.kinds.size() - 1 - h.kinds.find_last_not_of(' '));
    const long first = h.oldCount == 0 ? h.oldStart + 1 : h.oldStart;
    const long last = first + h.oldCount - 1;
    if (lead > context || (lead < context && first != 1)) return where + "leading context";
    if (trail > context || (trail < context && last != masterLines))
      return where + "trailing context";
    long run = 0;
    for (std::size_t i = firstChange; i < h.kinds.size() - static_cast<std::size_t>(trail); ++i) {
      run = h.kinds[i] == ' ' ? run + 1 : 0;
      if (run > 2 * context) return where + "a run of context that should split it";
    }
    if (n > 0 && first <= previousEnd) return where + "touches the hunk before";
    previousEnd = last + 1;
  }
  return "";
}

TEST(CliPatchTest, ContextCheckerRefusesHunksThatBreakTheRules) {
  // Hunks of a 20-line master with context 2, as a listing of changes at lines 5 and 15 has them.
  const auto hunk = [](long oldStart, long oldCount, const char* kinds) {
    return UnifiedHunk{oldStart, oldCount, oldStart, oldCount, kinds};
  };
  EXPECT_EQ(ContextFault({hunk(3, 5, "  - +  "), hunk(13, 5, "  - +  ")}, 2, 20), "");
  EXPECT_EQ(ContextFault({hunk(4, 4, " - +  ")}, 2, 20), "hunk 1: leading context");
  EXPECT_EQ(ContextFault({hunk(3, 4, "  - + ")}, 2, 20), "hunk 1: trailing context");
  EXPECT_EQ(ContextFault({hunk(3, 5, "  - +  "), hunk(8, 5, "  - +  ")}, 2, 20),
            "hunk 2: touches the hunk before");
  EXPECT_EQ(ContextFault({hunk(3, 11, "  -     -  ")}, 2, 20),
            "hunk 1: a run of context that should split it");
  // At the ends of the master the context is shorter.
  EXPECT_EQ(ContextFault({hunk(1, 3, " - +  "), hunk(18, 3, "  - +")}, 2, 20), "");
}

// The ranges of the headings, for a failure message.
std::string Headings(const std::string& listing) {
  std::string headings;
  for (const std::string& line : Split(listing).text)
    if (line.rfind("@@", 0) == 0) headings += line + "\n";
  return headings;
}

// One side's header line without a label: "--- PATH<TAB>2024-05-01 14:30:00.000000000 +0200".
bool HeaderNamesFile(const std::string& line, const std::string& marker, const std::string& path) {
  static const std::regex time(R"(\t\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{9} [+-]\d{4})");
  return line.rfind(marker + path, 0) == 0 &&
         std::regex_match(line.substr(marker.size() + path.size()), time);
}

// Compares `master` with `source` by a unified listing of `context` lines, checks the
// listing's form, and applies it to a copy of the master with `patch -u` and with
// `git apply`; both must rebuild the source, byte for byte when `endsAgree`.
void CheckUnifiedRoundTrip(const TempEnvironment& env, const std::string& master,
                           const std::string& source, long context, bool endsAgree,
                           const std::string& what) {
  SCOPED_TRACE(what + ", context " + std::to_string(context));
  const std::string masterPath = env.Write("u/master", master).string();
  const std::string sourcePath = env.Write("u/source", source).string();
  std::vector<std::string> args{"files", "-U", std::to_string(context), masterPath, sourcePath};
  if (context == 3) args = {"files", "-u", masterPath, sourcePath};
  const CliRun run = RunLindrel(env, args);
  const bool same = TextMode(master) == TextMode(source);
  ASSERT_EQ(run.status, same ? 0 : 1) << run.err;
  if (same) {
    EXPECT_EQ(run.out, "");
    return;
  }
  std::string error;
  const std::optional<std::vector<UnifiedHunk>> hunks = ParseUnified(run.out, error);
  ASSERT_TRUE(hunks.has_value()) << error << "\n" << run.out;
  const long masterLines = static_cast<long>(Split(TextMode(master)).text.size());
  ASSERT_EQ(ContextFault(*hunks, context, masterLines), "") << run.out;
  const Lines header = Split(run.out);
  EXPECT_TRUE(HeaderNamesFile(header.text[0], "--- ", masterPath)) << header.text[0];
  EXPECT_TRUE(HeaderNamesFile(header.text[1], "+++ ", sourcePath)) << header.text[1];

  const std::filesystem::path listing = env.Write("u/listing", run.out);
  const std::filesystem::path target = env.Write("u/target", master);
  ASSERT_EQ(Shell("patch -s -u " + Quoted(target) + " " + Quoted(listing)), 0) << Headings(run.out);
  const std::string patched = TempEnvironment::Read(target);
  EXPECT_EQ(TextMode(patched), TextMode(source)) << Headings(run.out);
  if (endsAgree) {
    EXPECT_EQ(patched, source) << Headings(run.out);
  }

  // git takes the listing once its headers name the file as a/PATH and b/PATH.
  const CliRun labelled =
      RunLindrel(env, {"files", "-U", std::to_string(context), "--label", "a/f.txt", "--label",
                       "b/f.txt", masterPath, sourcePath});
  ASSERT_EQ(labelled.status, 1) << labelled.err;
  ASSERT_EQ(labelled.out.rfind("--- a/f.txt\n+++ b/f.txt\n", 0), 0u) << labelled.out;
  // The labels change the header lines only.
  EXPECT_EQ(labelled.out.substr(labelled.out.find("\n@@")), run.out.substr(run.out.find("\n@@")));
  const std::filesystem::path gitListing = env.Write("u/git.diff", labelled.out);
  env.Write("u/repo/f.txt", master);
  ASSERT_EQ(Git(env, env.Path("u/repo"),
                "apply --whitespace=nowarn " + std::string(context == 0 ? "--unidiff-zero " : "") +
                    Quoted(gitListing)),
            0)
      << Headings(labelled.out);
  const std::string applied = TempEnvironment::Read(env.Path("u/repo/f.txt"));
  EXPECT_EQ(TextMode(applied), TextMode(source));
  if (endsAgree) {
    EXPECT_EQ(applied, source);
  }
}

TEST(CliPatchTest, UnifiedListingAppliedByPatchAndGitGivesSource) {
  ASSERT_EQ(Shell("patch --version > /dev/null"), 0) << "the patch program is not installed";
  ASSERT_EQ(Shell("git --version > /dev/null"), 0) << "git is not installed";
  TempEnvironment env;
  // git apply works on the folder as a repository of its own.
  env.Write("u/repo/f.txt", "");
  ASSERT_EQ(Git(env, env.Path("u/repo"), "init -q"), 0);

  struct Pair {
    std::string master, source;
    bool endsAgree = true;
    std::string what;
  };
  std::vector<Pair> pairs;
  std::mt19937 rng(35);
  for (int round = 0; round < 30; ++round) {
    // Empty files on either side, the usual scattered edits, and a long file whose few
    // changes stand far apart.
    std::string master = round % 10 == 0 ? "" : RandomLines(rng, 1 + static_cast<int>(rng() % 60));
    std::string source = round % 10 == 5 ? "" : Edit(rng, master);
    if (round % 10 == 9) {
      master = RandomLines(rng, 400);
      source = master;
      source.replace(source.find('\n', 40) + 1, 0, "inserted\n");
      source += "appended\n";
    }
    if (round % 4 == 1 && !master.empty()) master.pop_back();
    if (round % 4 == 2 && !source.empty()) source.pop_back();
    const int ends = round % 6;  // 0: both CR LF, 1: only the master, 2: only the source
    if (ends == 0 || ends == 1) master = WithCrLf(master);
    if (ends == 0 || ends == 2) source = WithCrLf(source);
    pairs.push_back({master, source, ends != 1 && ends != 2, "round " + std::to_string(round)});
  }
  // Files large enough to be read side by side first, whose listing starts reading where
  // the equal start ends: context lines just before it, a line too long to read back over,
  // a change right after the first line, and CR LF line ends.
  {
    std::string body;
    for (int i = 0; i < 7000; ++i)
      body += "numbered line " + std::to_string(i) + " of the large file " + RandomLines(rng, 1);
    ASSERT_GT(body.size(), size_t{280000});  // past the size read side by side
    const size_t middle = body.find('\n', body.size() / 2) + 1;
    std::string changed = body;
    changed.insert(middle, "changed in the middle\n");
    pairs.push_back({body, changed, true, "large, middle"});
    std::string longLine = body;
    longLine.insert(middle, std::string(200000, 'x') + "\n");
    std::string afterLong = longLine;
    afterLong.insert(middle + 200001 + body.find('\n') + 1, "after the long line\n");
    pairs.push_back({longLine, afterLong, true, "large, after a long line"});
    std::string early = body;
    early.insert(body.find('\n') + 1, "second line\n");
    pairs.push_back({body, early, true, "large, second line"});
    std::string fifth = body;
    fifth.erase(0, fifth.find('\n') + 1);
    pairs.push_back({WithCrLf(body), WithCrLf(changed), true, "large, CR LF"});
    pairs.push_back({body + body, changed + changed, true, "large, twice"});
    pairs.push_back({body, fifth, true, "large, first line removed"});
  }
  // The bundled samples, both ways round, and the files the sample trees share.
  const std::filesystem::path examples = LINDREL_EXAMPLES_DIR;
  const std::string sampleMaster = TempEnvironment::Read(examples / "master.txt");
  const std::string sampleSource = TempEnvironment::Read(examples / "source.txt");
  ASSERT_FALSE(sampleMaster.empty());
  pairs.push_back({sampleMaster, sampleSource, true, "examples/master.txt"});
  pairs.push_back({sampleSource, sampleMaster, true, "examples/source.txt"});
  for (const auto& entry :
       std::filesystem::recursive_directory_iterator(examples / "dirs" / "master")) {
    const std::filesystem::path relative =
        std::filesystem::relative(entry.path(), examples / "dirs" / "master");
    const std::filesystem::path other = examples / "dirs" / "source" / relative;
    if (!entry.is_regular_file() || !std::filesystem::is_regular_file(other)) continue;
    pairs.push_back({TempEnvironment::Read(entry.path()), TempEnvironment::Read(other), true,
                     "examples/dirs " + relative.string()});
  }

  int differing = 0;
  for (const Pair& pair : pairs) {
    for (long context : {0L, 3L, 10L}) {
      CheckUnifiedRoundTrip(env, pair.master, pair.source, context, pair.endsAgree, pair.what);
      if (::testing::Test::HasFatalFailure()) return;
    }
    differing += TextMode(pair.master) != TextMode(pair.source) ? 1 : 0;
  }
  EXPECT_GT(differing, 28);  // the generator and the samples really differ
}

}  // namespace
}  // namespace lindrel::testing
