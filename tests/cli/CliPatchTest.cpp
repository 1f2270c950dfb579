// The normal listing is a patch: applied to the master, by a small applier written here
// and by the real `patch` program, it must give the source byte for byte when the two
// files agree in their line ends, and the source's text-mode reading in any case.
#include <gtest/gtest.h>

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

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
        if (marker()) ++p;
        else out += '\n';
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
    if (roll >= 22 && roll < 34) source += "changed " + std::to_string(rng() % 5) + "\n";
    else source += line + "\n";
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
                                     << run.out << "\nmaster:\n" << master << "\nsource:\n"
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
        << "round " << round << "\nlisting:\n" << run.out;
    EXPECT_EQ(TempEnvironment::Read(target), source) << "round " << round << "\nlisting:\n" << run.out;
  }
  EXPECT_GT(differing, 18);

  // What no listing can carry: the pair differs only in its line ends, which text mode
  // reads as equal, so there is nothing to apply.
  const CliRun same = RunLindrel(env, {"files", env.Write("lf", "a\nb\n").string(),
                                       env.Write("crlf", "a\r\nb\r\n").string()});
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

}  // namespace
}  // namespace lindrel::testing
