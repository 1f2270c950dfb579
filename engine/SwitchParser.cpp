#include "engine/SwitchParser.h"

#include <getopt.h>

#include <mutex>

#include "engine/EngineMessage.h"
#include "engine/ProcessWideLock.h"

namespace lindrel::engine {

namespace {

enum LongOnly : int {
  kLeftColumn = 129,
  kSuppressCommonLines,
  kSdiffMergeAssist,
  kOldLineFormat,
  kNewLineFormat,
  kUnchangedLineFormat,
  kLineFormat,
  kOldGroupFormat,
  kNewGroupFormat,
  kUnchangedGroupFormat,
  kChangedGroupFormat,
  kHorizonLines,
};

// The leading "-" makes getopt_long hand back operands in place (code 1) instead of
// permuting them to the end. The effect is the same as permuting (switches apply wherever
// they stand, operands keep their order), but it also holds when POSIXLY_CORRECT is set
// in the host's environment, which would otherwise stop the scan at the first operand.
constexpr char kShortSwitches[] = "-0123456789abBcC:dD:efF:hHiI:lL:nNpPqrsS:tTuU:vwW:x:X:y";

const option kLongSwitches[] = {
    {"ignore-blank-lines", no_argument, nullptr, 'B'},
    {"context", optional_argument, nullptr, 'C'},
    {"ifdef", required_argument, nullptr, 'D'},
    {"show-function-line", required_argument, nullptr, 'F'},
    {"speed-large-files", no_argument, nullptr, 'H'},
    {"ignore-matching-lines", required_argument, nullptr, 'I'},
    {"label", required_argument, nullptr, 'L'},
    {"file-label", required_argument, nullptr, 'L'},
    {"new-file", no_argument, nullptr, 'N'},
    {"entire-new-file", no_argument, nullptr, 'N'},
    {"unidirectional-new-file", no_argument, nullptr, 'P'},
    {"starting-file", required_argument, nullptr, 'S'},
    {"initial-tab", no_argument, nullptr, 'T'},
    {"width", required_argument, nullptr, 'W'},
    {"text", no_argument, nullptr, 'a'},
    {"ascii", no_argument, nullptr, 'a'},
    {"ignore-space-change", no_argument, nullptr, 'b'},
    {"minimal", no_argument, nullptr, 'd'},
    {"ed", no_argument, nullptr, 'e'},
    {"forward-ed", no_argument, nullptr, 'f'},
    {"ignore-case", no_argument, nullptr, 'i'},
    {"paginate", no_argument, nullptr, 'l'},
    {"print", no_argument, nullptr, 'l'},
    {"rcs", no_argument, nullptr, 'n'},
    {"show-c-function", no_argument, nullptr, 'p'},
    {"binary", no_argument, nullptr, 'q'},
    {"brief", no_argument, nullptr, 'q'},
    {"recursive", no_argument, nullptr, 'r'},
    {"report-identical-files", no_argument, nullptr, 's'},
    {"expand-tabs", no_argument, nullptr, 't'},
    {"version", no_argument, nullptr, 'v'},
    {"ignore-all-space", no_argument, nullptr, 'w'},
    {"exclude", required_argument, nullptr, 'x'},
    {"exclude-from", required_argument, nullptr, 'X'},
    {"side-by-side", no_argument, nullptr, 'y'},
    {"unified", optional_argument, nullptr, 'U'},
    {"left-column", no_argument, nullptr, kLeftColumn},
    {"suppress-common-lines", no_argument, nullptr, kSuppressCommonLines},
    {"sdiff-merge-assist", no_argument, nullptr, kSdiffMergeAssist},
    {"old-line-format", required_argument, nullptr, kOldLineFormat},
    {"new-line-format", required_argument, nullptr, kNewLineFormat},
    {"unchanged-line-format", required_argument, nullptr, kUnchangedLineFormat},
    {"line-format", required_argument, nullptr, kLineFormat},
    {"old-group-format", required_argument, nullptr, kOldGroupFormat},
    {"new-group-format", required_argument, nullptr, kNewGroupFormat},
    {"unchanged-group-format", required_argument, nullptr, kUnchangedGroupFormat},
    {"changed-group-format", required_argument, nullptr, kChangedGroupFormat},
    {"horizon-lines", required_argument, nullptr, kHorizonLines},
    {nullptr, 0, nullptr, 0},
};

// What the parse found that needs more than a flag: kept as text and acted on after the
// lock is released, since compiling takes the lock again.
struct ParsedSwitches {
  std::vector<std::string> operands;
  std::vector<std::string> patterns;
};

void ApplySwitch(int code, const char* value, EngineSettings& settings, ParsedSwitches& parsed) {
  switch (code) {
    case 1:  // an operand, handed back in place
      parsed.operands.emplace_back(value);
      break;
    case 'i':
      settings.ignoreCase = true;
      settings.someChangesIgnored = true;
      break;
    case 'w':
      settings.ignoreAllSpace = true;
      settings.someChangesIgnored = true;
      settings.lineLengthsVary = true;
      break;
    case 'b':
      settings.ignoreSpaceChange = true;
      settings.someChangesIgnored = true;
      settings.lineLengthsVary = true;
      break;
    case 'B':
      settings.ignoreBlankLines = true;
      settings.someChangesIgnored = true;
      break;
    case 'I':
      settings.someChangesIgnored = true;
      parsed.patterns.emplace_back(value);
      break;
    case 'q':
      settings.brief = true;
      break;
    case 'd':
      settings.noDiscards = true;
      break;
    case 'H':
      settings.speedLargeFiles = true;
      break;
    case 'a':
      settings.alwaysText = true;
      break;
    case kHorizonLines: {
      long long lines = 0;
      if (ParseHorizon(value, lines)) {
        settings.horizonLines = lines;
      } else {
        EngineMessage("horizon must be a nonnegative integer");
      }
      break;
    }
    default:
      // Accepted or unknown: read and without effect. In particular "-F" only feeds a
      // list that nothing in the normal output style reads.
      break;
  }
}

}  // namespace

bool ParseHorizon(const std::string& text, long long& lines) {
  if (text.empty()) return false;
  constexpr long long kCeiling = 1LL << 40;
  long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    if (value < kCeiling) value = value * 10 + (c - '0');
  }
  lines = value < kCeiling ? value : kCeiling;
  return true;
}

std::vector<std::string> ParseSwitches(const std::vector<std::string>& arguments, EngineRun& run) {
  ParsedSwitches parsed;
  if (arguments.empty()) return {};

  // getopt_long takes mutable entries; the run's own copies keep the caller's vector intact.
  std::vector<std::string> entries(arguments);
  std::vector<char*> argv;
  argv.reserve(entries.size() + 1);
  for (std::string& entry : entries) argv.push_back(entry.data());
  argv.push_back(nullptr);
  const int argc = static_cast<int>(entries.size());

  {
    std::lock_guard<std::mutex> lock(CLibraryStateMutex());
    const int savedOptind = optind, savedOpterr = opterr, savedOptopt = optopt;
    char* const savedOptarg = optarg;
    optind = 0;  // 0, not 1: glibc then also forgets the previous scan entirely
    // The library would print its complaints about unknown switches to the host's
    // standard error; the engine's messages are discarded, so its parser stays silent too.
    opterr = 0;
    for (int code; (code = getopt_long(argc, argv.data(), kShortSwitches, kLongSwitches, nullptr)) != -1;) {
      ApplySwitch(code, optarg, run.settings, parsed);
    }
    for (int i = optind; i < argc; ++i) parsed.operands.emplace_back(argv[static_cast<size_t>(i)]);
    optind = savedOptind;
    opterr = savedOpterr;
    optopt = savedOptopt;
    optarg = savedOptarg;
  }

  for (const std::string& pattern : parsed.patterns) {
    std::string error;
    // A pattern that does not compile is dropped; the run goes on without it.
    if (!run.patterns.Add(pattern, error)) EngineMessage("%s: %s", pattern.c_str(), error.c_str());
  }
  return std::move(parsed.operands);
}

}  // namespace lindrel::engine
