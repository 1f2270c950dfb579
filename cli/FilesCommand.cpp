#include "cli/FilesCommand.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <system_error>
#include <thread>

#include "cli/BinaryContent.h"
#include "cli/ChangeRecords.h"
#include "cli/CompareSession.h"
#include "cli/FileIdentity.h"
#include "cli/IgnorePatternCheck.h"
#include "cli/InputOperand.h"
#include "cli/JsonText.h"
#include "cli/LineStream.h"
#include "cli/ListingColours.h"
#include "cli/NormalListing.h"
#include "cli/OptionChecks.h"
#include "cli/UnifiedListing.h"

namespace lindrel::cli {

namespace {

using namespace std::chrono_literals;

// The component joins its ignore patterns into one property with this separator.
constexpr const char* kPatternSeparator = "@@";

bool IsDirectory(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string NamePart(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string JoinPath(const std::string& directory, const std::string& name) {
  return !directory.empty() && directory.back() == '/' ? directory + name : directory + "/" + name;
}

// `diff DIR FILE` compares DIR/FILE with FILE; two directories are a job for `dirs`, whose
// records say which files they belong to, which a listing of line ranges cannot.
bool ResolveOperands(std::string& master, std::string& source, std::ostream& err) {
  const bool masterIsDirectory = IsDirectory(master);
  const bool sourceIsDirectory = IsDirectory(source);
  if (masterIsDirectory && sourceIsDirectory) {
    err << "lindrel: " << master << " and " << source
        << " are directories; compare them with 'lindrel dirs'\n";
    return false;
  }
  if (masterIsDirectory) master = JoinPath(master, NamePart(source));
  if (sourceIsDirectory) source = JoinPath(source, NamePart(master));
  return true;
}

// True when descriptors `a` and `b` read one and the same stream.
bool SameStream(int a, int b) {
  if (a == b) return true;
  struct stat first {};
  struct stat second {};
  return ::fstat(a, &first) == 0 && ::fstat(b, &second) == 0 && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}

// Turns the operands into files to compare: directories resolved as above, streams
// copied. A stream can be read only once and names no file to look for in a directory,
// so it is refused on both sides and beside a directory.
bool PrepareOperands(const FilesOptions& o, InputOperand (&operands)[2], std::ostream& err) {
  std::string given[2] = {o.master, o.source};
  const int streams[2] = {InputOperand::StreamDescriptor(given[0]),
                          InputOperand::StreamDescriptor(given[1])};
  if (streams[0] >= 0 && streams[1] >= 0 && SameStream(streams[0], streams[1])) {
    err << "lindrel: " << given[0] << " and " << given[1] << " both name "
        << (streams[0] == STDIN_FILENO ? "standard input" : "the same stream")
        << ", which can be read only once\n";
    return false;
  }
  for (int i = 0; i < 2; ++i) {
    if (streams[i] >= 0 && IsDirectory(given[1 - i])) {
      err << "lindrel: " << given[i] << ": a stream cannot be compared with the directory "
          << given[1 - i] << '\n';
      return false;
    }
  }
  if (streams[0] < 0 && streams[1] < 0 && !ResolveOperands(given[0], given[1], err)) return false;
  for (int i = 0; i < 2; ++i) {
    const bool empty = o.devNullIsEmpty && given[i] == "/dev/null";
    if (!(empty ? operands[i].PrepareEmpty(given[i], err) : operands[i].Prepare(given[i], err)))
      return false;
  }
  return true;
}

// Keeps the patterns the engine will use. A pattern holding the separator would reach the
// engine as two different patterns, so it is refused; a pattern the engine cannot compile
// would be dropped there without a word, so the user hears about it here.
bool PreparePatterns(const std::vector<std::string>& given, std::ostream& err,
                     std::vector<std::string>& kept) {
  for (const std::string& pattern : given) {
    if (pattern.find(kPatternSeparator) != std::string::npos) {
      err << "lindrel: pattern '" << pattern << "' contains \"" << kPatternSeparator
          << "\", which the component reserves to separate patterns\n";
      return false;
    }
    if (pattern.empty()) {
      err << "lindrel: warning: ignoring the empty pattern\n";
      continue;
    }
    if (const std::string reason = IgnorePatternError(pattern); !reason.empty()) {
      err << "lindrel: warning: ignoring invalid pattern '" << pattern << "': " << reason << '\n';
      continue;
    }
    kept.push_back(pattern);
  }
  return true;
}

std::string JoinPatterns(const std::vector<std::string>& patterns) {
  std::string joined;
  for (const std::string& pattern : patterns) {
    if (!joined.empty()) joined += kPatternSeparator;
    joined += pattern;
  }
  return joined;
}

// The component's refusal names no path; the user is told which one is missing.
void ExplainMissingOperands(const std::string& master, const std::string& source,
                            std::ostream& err) {
  for (const std::string* path : {&master, &source}) {
    struct stat info {};
    if (::stat(path->c_str(), &info) != 0)
      err << "lindrel: " << *path << ": " << std::strerror(errno) << '\n';
  }
}

// Every property the comparison and the report read is set, so nothing stored in the
// state file by an earlier run changes this one.
void ApplyOptions(CLindrelCtrl& ctrl, const FilesOptions& o, const InputOperand (&operands)[2],
                  const std::vector<std::string>& patterns) {
  ctrl.SetFileMaster(operands[0].path());
  ctrl.SetFileSource(operands[1].path());
  ctrl.SetFileIgnoreCase(o.ignoreCase);
  ctrl.SetFileIgnoreWhiteSpace(o.ignoreAllSpace);
  ctrl.SetFileIgnoreEmptyLines(o.ignoreBlankLines);
  ctrl.SetFileQuickCompare(o.brief);
  ctrl.SetFileShowChangesInLargerSections(o.minimal);
  ctrl.SetFileCompareFaster(o.speedLargeFiles);
  ctrl.SetFileUseLineBracket(o.horizonLines >= 0);
  ctrl.SetFileLineBracket(o.horizonLines >= 0 ? o.horizonLines : 1);
  ctrl.SetFileUseIgnoreRegularExpression(!patterns.empty());
  ctrl.SetFileIgnoreRegularExpression(JoinPatterns(patterns));
  ctrl.SetThreadPriority(o.priority);
  // Empty captions make the reports show the compared paths; a copy's path means nothing
  // to the user.
  ctrl.SetReportFileMaster(operands[0].copied() ? operands[0].name() : "");
  ctrl.SetReportFileSource(operands[1].copied() ? operands[1].name() : "");
  ctrl.SetReportFileTitle(o.title.empty()
                              ? "Comparison of " + operands[0].name() + " and " + operands[1].name()
                              : o.title);
  ctrl.SetReportHTMLHighDetail(0);
  ctrl.SetReportDoubleWideCharset(0);
}

// True when `path` can be opened and read; otherwise `reason` says why.
bool CanRead(const std::string& path, std::string& reason) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    reason = std::strerror(errno);
    return false;
  }
  char byte;
  const bool read = ::read(fd, &byte, 1) >= 0;
  if (!read) reason = std::strerror(errno);
  ::close(fd);
  return read;
}

void WriteRecords(std::ostream& out, std::span<const FileChange> records) {
  for (const FileChange& r : records) {
    out << static_cast<char>(r.type) << ' ' << r.masterStart << ' ' << r.masterEnd << ' '
        << r.sourceStart << ' ' << r.sourceEnd << '\n';
  }
}

std::string IdentityJson(const InputOperand& operand) {
  std::optional<FileIdentity> identity = FileIdentity::Of(operand.path());
  if (!identity) return "{\"path\": " + JsonString(operand.name()) + "}";
  identity->path = operand.name();
  return identity->Json();
}

void WriteJson(std::ostream& out, const InputOperand (&operands)[2], long count,
               std::span<const FileChange> records, long elapsedMs) {
  const ChangeCounts counters = CountChanges(records);
  out << "{\n  \"master\": " << IdentityJson(operands[0])
      << ",\n  \"source\": " << IdentityJson(operands[1])
      << ",\n  \"differ\": " << (count != 0 ? "true" : "false") << ",\n  \"recordCount\": " << count
      << ",\n  \"records\": [";
  for (std::size_t i = 0; i < records.size(); ++i) {
    const FileChange& r = records[i];
    const char kind = static_cast<char>(r.type);
    out << (i == 0 ? "\n" : ",\n") << "    {\"changeType\": " << static_cast<long>(kind)
        << ", \"kind\": \"" << kind << "\", \"masterStart\": " << r.masterStart
        << ", \"masterEnd\": " << r.masterEnd << ", \"sourceStart\": " << r.sourceStart
        << ", \"sourceEnd\": " << r.sourceEnd << "}";
  }
  out << (records.empty() ? "]" : "\n  ]")
      << ",\n  \"counters\": {\"additions\": " << counters.additions
      << ", \"changes\": " << counters.changes << ", \"deletions\": " << counters.deletions
      << "},\n  \"elapsedMs\": " << elapsedMs << "\n}\n";
}

// True when the file at `path` still has the size and last-write time it had.
bool Unchanged(const std::string& path, const std::optional<FileIdentity>& before) {
  const std::optional<FileIdentity> now = FileIdentity::Of(path);
  return before && now && now->size == before->size && now->mtimeSeconds == before->mtimeSeconds &&
         now->mtimeNanoseconds == before->mtimeNanoseconds;
}

// The first line the normal listing reads from each file (0: none).
FirstLines NormalFirstLines(std::span<const FileChange> records) {
  FirstLines first{0, 0};
  for (const FileChange& r : records) {
    if (first.master == 0 && r.type != ChangeType::Addition) first.master = r.masterStart;
    if (first.source == 0 && r.type != ChangeType::Deletion) first.source = r.sourceStart;
    if (first.master != 0 && first.source != 0) break;
  }
  return first;
}

// Moves both streams to the first line the listing reads from each, the source on a
// second thread: in large files with few changes, finding those lines is most of the
// listing's work, unless the comparison found where the files' equal start ends. What goes
// wrong is left for the listing to find and tell.
void SkipToFirstLinesSideBySide(FirstLines first, FileEqualStart equalStart, LineStream& master,
                                LineStream& source) {
  const long firstMaster = first.master, firstSource = first.source;
  if (equalStart.lines > 0) {
    const LineStream::Position known{equalStart.bytes, equalStart.lines + 1};
    if (!master.StartNear(known, firstMaster) || !source.StartNear(known, firstSource)) return;
  }
  std::thread sourceSkip;
  if (firstSource > 1) {
    try {
      sourceSkip = std::thread([&source, firstSource] { source.SkipTo(firstSource); });
    } catch (const std::system_error&) {
      // No second thread: the listing skips on this one.
    }
  }
  if (firstMaster > 1) master.SkipTo(firstMaster);
  if (sourceSkip.joinable()) sourceSkip.join();
}

// How the listing is to be shown: unified (with its context and header texts) or normal,
// with or without colours.
struct ListingStyle {
  bool unified = false;
  long context = kDefaultContext;
  std::string headers[2];
  ListingColours colours;
};

// The header text of a unified listing for one side: its label, else its name and its
// last-write time as it was compared.
std::string UnifiedHeader(const std::vector<std::string>& labels, std::size_t side,
                          const InputOperand& operand,
                          const std::optional<FileIdentity>& identity) {
  if (labels.size() > side) return labels[side];
  return identity ? operand.name() + "\t" + identity->LocalMtimeText() : operand.name();
}

// Prints the listing; false (after saying why) when the files cannot be shown. The
// changed lines are read from the files once more, but only as far as the last record
// reaches, and a file that changed since `identities` were taken is refused before
// anything is printed.
bool WriteListing(std::ostream& out, std::ostream& err, const std::string& master,
                  const std::string& source, std::span<const FileChange> records,
                  FileEqualStart equalStart, const std::optional<FileIdentity> (&identities)[2],
                  const ListingStyle& style) {
  LineStream files[2];
  const std::string* paths[2] = {&master, &source};
  for (int i = 0; i < 2; ++i) {
    std::string reason;
    if (!files[i].Open(*paths[i], reason)) {
      err << "lindrel: " << *paths[i] << ": " << reason << '\n';
      return false;
    }
    if (!Unchanged(*paths[i], identities[i])) {
      err << "lindrel: " << *paths[i] << ": changed while it was compared\n";
      return false;
    }
  }
  std::string error;
  bool written;
  if (style.unified) {
    SkipToFirstLinesSideBySide(UnifiedFirstLines(records, style.context), equalStart, files[0],
                               files[1]);
    written = WriteUnifiedListing(out, records, style.context, style.headers[0], style.headers[1],
                                  files[0], files[1], error, style.colours);
  } else {
    SkipToFirstLinesSideBySide(NormalFirstLines(records), equalStart, files[0], files[1]);
    written = WriteNormalListing(out, records, files[0], files[1], error, style.colours);
  }
  if (!written) {
    out.flush();
    err << "lindrel: " << error << '\n';
    return false;
  }
  return true;
}

const char* ReportFailure(long result) {
  switch (result) {
    case kReportAborted: return "the comparison was aborted";
    case kReportComparisonRunning: return "a comparison is still running";
    case kReportMasterUnreadable: return "the master file cannot be read";
    case kReportSourceUnreadable: return "the source file cannot be read";
    default: return "the report file cannot be written";
  }
}

}  // namespace

ReportFormat ReportFormatFor(const std::string& name, const std::string& path) {
  std::string chosen = name;
  if (chosen.empty()) {
    const std::size_t dot = path.find_last_of('.');
    std::string extension = dot == std::string::npos ? "" : path.substr(dot + 1);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension == "txt" || extension == "text")
      chosen = "text";
    else if (extension == "csv")
      chosen = "csv";
    else if (extension == "tab" || extension == "tsv")
      chosen = "tab";
    else
      chosen = "html";
  }
  if (chosen == "text") return kReportFormatText;
  if (chosen == "csv") return kReportFormatCommaDelimited;
  if (chosen == "tab") return kReportFormatTabDelimited;
  return kReportFormatHtml;
}

void DefineFilesCommand(CLI::App& c, FilesOptions& o) {
  c.add_option("MASTER", o.master, "The original file")->required();
  c.add_option("SOURCE", o.source, "The modified file")->required();
  c.add_flag("-i,--ignore-case", o.ignoreCase, "Ignore case differences in file contents");
  c.add_flag("-w,--ignore-all-space", o.ignoreAllSpace, "Ignore all white space");
  c.add_flag("-B,--ignore-blank-lines", o.ignoreBlankLines,
             "Ignore changes whose lines are all blank");
  c.add_option("-I,--ignore-matching-lines", o.ignorePatterns,
               "Ignore changes whose lines all match RE (repeatable)")
      ->type_name("RE")
      ->allow_extra_args(false);
  c.add_flag("-q,--brief", o.brief, "Report only whether the files differ");
  c.add_flag("-d,--minimal", o.minimal, "Try hard to find a smaller set of changes");
  c.add_flag("-H,--speed-large-files", o.speedLargeFiles,
             "Assume large files and many scattered small changes");
  c.add_option("--horizon-lines", o.horizonLines, "Keep N lines of the common prefix and suffix")
      ->type_name("N")
      ->transform(WholeNumberUpTo(kMaxHorizonLines));
  AddPriorityOption(c, o.priority);
  c.add_option("--format", o.format, "Output: normal (default), records or json")
      ->type_name("FORMAT")
      ->check(CLI::IsMember({"normal", "records", "json"}));
  c.add_flag("-u", o.unified, "Unified listing with 3 lines of context");
  c.add_option("-U,--unified", o.context, "Unified listing with N lines of context")
      ->type_name("N")
      ->transform(WholeNumberUpTo(kMaxContextLines));
  c.add_option("--label", o.labels,
               "Show LABEL instead of the file's name and time in the unified listing's header "
               "and in 'Files ... differ'; first for MASTER, then for SOURCE")
      ->type_name("LABEL")
      ->allow_extra_args(false);
  AddColorOption(c, o.color);
  CLI::Option* report =
      c.add_option("--report", o.reportPath, "Also write a report of the comparison to PATH")
          ->type_name("PATH")
          ->check(NonEmptyPath());
  c.add_option("--report-format", o.reportFormat,
               "Report format: html, text, csv or tab (default: from the extension, else html)")
      ->type_name("FORMAT")
      ->check(CLI::IsMember({"html", "text", "csv", "tab"}))
      ->needs(report);
  c.add_option("--style", o.style, "HTML report style: side-by-side (default) or all-in-one")
      ->type_name("STYLE")
      ->check(CLI::IsMember({"side-by-side", "all-in-one"}))
      ->needs(report);
  c.add_option("--title", o.title, "Title of the report")->type_name("T")->needs(report);
}

int RunFiles(const FilesOptions& o, Console& console) {
  if (o.format == "json" && !o.reportPath.empty() &&
      TakesJsonOutput("--report", o.reportPath, console.err)) {
    return kExitTrouble;
  }
  if (o.labels.size() > 2) {
    console.err << "lindrel: --label given " << o.labels.size()
                << " times; it names MASTER, then SOURCE\n";
    return kExitTrouble;
  }
  const bool unified = o.unified || o.context >= 0;
  if (unified && o.format != "normal") {
    console.err << "lindrel: the unified listing (-u, -U) cannot be combined with --format "
                << o.format << '\n';
    return kExitTrouble;
  }
  std::vector<std::string> patterns;
  if (!PreparePatterns(o.ignorePatterns, console.err, patterns)) return kExitTrouble;
  InputOperand operands[2];
  if (!PrepareOperands(o, operands, console.err)) return kExitTrouble;
  const std::string& master = operands[0].path();
  const std::string& source = operands[1].path();
  // What messages call the files: the labels when given, else the operands.
  const std::string& masterShown = o.labels.size() > 0 ? o.labels[0] : operands[0].name();
  const std::string& sourceShown = o.labels.size() > 1 ? o.labels[1] : operands[1].name();

  CompareSession session(console);
  CLindrelCtrl& ctrl = session.ctrl();
  ApplyOptions(ctrl, o, operands, patterns);
  // Taken before the comparison: the listing shows lines of the files as they were then.
  const std::optional<FileIdentity> identities[2] = {FileIdentity::Of(master),
                                                     FileIdentity::Of(source)};
  if (!ctrl.FileCompareBegin()) {
    // The component's own message has been written by the session.
    ExplainMissingOperands(master, source, console.err);
    return kExitTrouble;
  }
  while (!session.fileCompleted()) session.Pump(100ms);

  const long count = ctrl.FileCompareResultsCount();
  // Valid while the session's component lives, which is the rest of this command.
  const std::span<const FileChange> records = ctrl.FileCompareChanges();
  if (session.errorCount() > 0) return kExitTrouble;

  // Differences without records come from a quick or a binary comparison, and also from
  // an engine that could not read a file: only the last is trouble.
  if (count < 0) {
    std::string reason;
    for (const std::string* path : {&master, &source}) {
      if (!CanRead(*path, reason)) {
        console.err << "lindrel: " << *path << ": " << reason << '\n';
        return kExitTrouble;
      }
    }
  }

  int status = count == 0 ? kExitSame : kExitDifferent;
  if (o.format == "records") {
    WriteRecords(console.out, records);
  } else if (o.format == "json") {
    WriteJson(console.out, operands, count, records, ctrl.GetFileCompareTime());
  } else if (count < 0) {
    const bool binary = !o.brief && (LooksBinary(master) || LooksBinary(source));
    console.out << (binary ? "Binary files " : "Files ") << masterShown << " and " << sourceShown
                << " differ\n";
  } else if (count > 0) {
    ListingStyle style;
    style.unified = unified;
    style.context = o.context >= 0 ? o.context : kDefaultContext;
    if (unified) {
      for (std::size_t i = 0; i < 2; ++i)
        style.headers[i] = UnifiedHeader(o.labels, i, operands[i], identities[i]);
    }
    if (ColoursWanted(o.color, console.outIsTerminal)) style.colours = ListingColours::Terminal();
    if (!WriteListing(console.out, console.err, master, source, records,
                      ctrl.FileCompareEqualStart(), identities, style))
      return kExitTrouble;
  }
  console.out.flush();

  if (!o.reportPath.empty()) {
    const long format = ReportFormatFor(o.reportFormat, o.reportPath);
    const long style = o.style == "all-in-one" ? kReportStyleAllInOne : kReportStyleSideBySide;
    const long written = ctrl.FileCompareCreateReport(o.reportPath, format, style);
    if (written != kReportWritten) {
      console.err << "lindrel: no report written to " << o.reportPath << ": "
                  << ReportFailure(written) << '\n';
      status = kExitTrouble;
    }
  }
  return status;
}

}  // namespace lindrel::cli
