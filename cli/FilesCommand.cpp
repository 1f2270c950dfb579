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
#include "cli/JsonText.h"
#include "cli/LineStream.h"
#include "cli/NormalListing.h"
#include "cli/OptionChecks.h"

namespace lindrel::cli {

namespace {

using namespace std::chrono_literals;

// The component joins its ignore patterns into one property with this separator.
constexpr const char* kPatternSeparator = "@@";

constexpr long kReportHtml = 1;
constexpr long kReportText = 2;
constexpr long kReportCsv = 3;
constexpr long kReportTab = 4;
constexpr long kStyleAllInOne = 1;
constexpr long kStyleSideBySide = 2;

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
void ApplyOptions(CLindrelCtrl& ctrl, const FilesOptions& o, const std::string& master,
                  const std::string& source, const std::vector<std::string>& patterns) {
  ctrl.SetFileMaster(master);
  ctrl.SetFileSource(source);
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
  // Empty captions make the reports show the compared paths.
  ctrl.SetReportFileMaster("");
  ctrl.SetReportFileSource("");
  ctrl.SetReportFileTitle(o.title.empty() ? "Comparison of " + master + " and " + source : o.title);
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

std::string IdentityJson(const std::string& path) {
  const std::optional<FileIdentity> identity = FileIdentity::Of(path);
  return identity ? identity->Json() : "{\"path\": " + JsonString(path) + "}";
}

void WriteJson(std::ostream& out, const std::string& master, const std::string& source, long count,
               std::span<const FileChange> records, long elapsedMs) {
  const ChangeCounters counters = CountChanges(records);
  out << "{\n  \"master\": " << IdentityJson(master) << ",\n  \"source\": " << IdentityJson(source)
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

// Moves both streams to the first line the listing reads from each, the source on a
// second thread: in large files with few changes, finding those lines is most of the
// listing's work. What goes wrong is left for the listing to find and tell.
void SkipToFirstLinesSideBySide(std::span<const FileChange> records, LineStream& master,
                                LineStream& source) {
  long firstMaster = 0, firstSource = 0;
  for (const FileChange& r : records) {
    if (firstMaster == 0 && r.type != ChangeType::Addition) firstMaster = r.masterStart;
    if (firstSource == 0 && r.type != ChangeType::Deletion) firstSource = r.sourceStart;
    if (firstMaster != 0 && firstSource != 0) break;
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

// Prints the normal listing; false (after saying why) when the files cannot be shown. The
// changed lines are read from the files once more, but only as far as the last record
// reaches, and a file that changed since `identities` were taken is refused before
// anything is printed.
bool WriteListing(std::ostream& out, std::ostream& err, const std::string& master,
                  const std::string& source, std::span<const FileChange> records,
                  const std::optional<FileIdentity> (&identities)[2]) {
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
  SkipToFirstLinesSideBySide(records, files[0], files[1]);
  std::string error;
  if (!WriteNormalListing(out, records, files[0], files[1], error)) {
    out.flush();
    err << "lindrel: " << error << '\n';
    return false;
  }
  return true;
}

const char* ReportFailure(long result) {
  switch (result) {
    case -1: return "the comparison was aborted";
    case -2: return "a comparison is still running";
    case -3: return "the master file cannot be read";
    case -4: return "the source file cannot be read";
    default: return "the report file cannot be written";
  }
}

}  // namespace

long ReportFormatNumber(const std::string& name, const std::string& path) {
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
  if (chosen == "text") return kReportText;
  if (chosen == "csv") return kReportCsv;
  if (chosen == "tab") return kReportTab;
  return kReportHtml;
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
  std::vector<std::string> patterns;
  if (!PreparePatterns(o.ignorePatterns, console.err, patterns)) return kExitTrouble;
  std::string master = o.master;
  std::string source = o.source;
  if (!ResolveOperands(master, source, console.err)) return kExitTrouble;

  CompareSession session(console);
  CLindrelCtrl& ctrl = session.ctrl();
  ApplyOptions(ctrl, o, master, source, patterns);
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
    WriteJson(console.out, master, source, count, records, ctrl.GetFileCompareTime());
  } else if (count < 0) {
    const bool binary = !o.brief && (LooksBinary(master) || LooksBinary(source));
    console.out << (binary ? "Binary files " : "Files ") << master << " and " << source
                << " differ\n";
  } else if (count > 0 &&
             !WriteListing(console.out, console.err, master, source, records, identities)) {
    return kExitTrouble;
  }
  console.out.flush();

  if (!o.reportPath.empty()) {
    const long format = ReportFormatNumber(o.reportFormat, o.reportPath);
    const long style = o.style == "all-in-one" ? kStyleAllInOne : kStyleSideBySide;
    const long written = ctrl.FileCompareCreateReport(o.reportPath, format, style);
    if (written < 0) {
      console.err << "lindrel: no report written to " << o.reportPath << ": "
                  << ReportFailure(written) << '\n';
      status = kExitTrouble;
    }
  }
  return status;
}

}  // namespace lindrel::cli
