#include "cli/DirsCommand.h"

#include <sys/stat.h>

#include <CLI/CLI.hpp>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "cli/CompareSession.h"
#include "cli/DirRecordFormat.h"
#include "cli/JsonText.h"
#include "cli/OptionChecks.h"
#include "cli/ProgressLine.h"
#include "lindrel/HostFiles.h"

namespace lindrel::cli {

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The component treats a missing root as an empty one; on the command line that is
// almost always a typing error, so it is refused before anything runs.
bool IsReadableDirectory(const std::string& path, std::ostream& err) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    err << "lindrel: " << path << ": " << std::strerror(errno) << '\n';
    return false;
  }
  if (!S_ISDIR(info.st_mode)) {
    err << "lindrel: " << path << ": " << std::strerror(ENOTDIR) << '\n';
    return false;
  }
  return true;
}

// The component appends the separator only to paths of two or more characters; "." would
// then be joined to names without one, and relative paths could not be told apart.
std::string WithFinalSlash(const std::string& path) {
  return !path.empty() && path.back() == '/' ? path : path + "/";
}

// Every property the walk reads is set, so nothing stored by an earlier run changes it.
void ApplyOptions(CLindrelCtrl& ctrl, const DirsOptions& o) {
  ctrl.SetDirMaster(WithFinalSlash(o.master));
  ctrl.SetDirSource(WithFinalSlash(o.source));
  ctrl.SetDirFileTypes(o.types.empty() ? "*.*" : o.types);
  ctrl.SetDirDoSubDirectories(o.recursive);
  ctrl.SetDirContentCompare(!o.noContent);
  ctrl.SetDirIgnoreDateDifferences(o.ignoreDates);
  ctrl.SetDirShowOnlyInMaster(!o.hideOnlyInMaster);
  ctrl.SetDirShowOnlyInSource(!o.hideOnlyInSource);
  ctrl.SetDirShowSameInBothPlaces(!o.hideSame);
  ctrl.SetDirShowDifferentInBothPlaces(!o.hideDifferent);
  ctrl.SetDirThrottle(o.throttle);
  ctrl.SetThreadPriority(o.priority);
  ctrl.SetDirExcludePatterns(o.excludes);
}

// A pattern is matched against one name at a time: one holding a "/" could never match,
// and an empty one matches nothing. Both would silently exclude nothing.
bool CheckExcludes(const std::vector<std::string>& excludes, std::ostream& err) {
  for (const std::string& pattern : excludes) {
    if (pattern.empty() || pattern.find('/') != std::string::npos) {
      err << "lindrel: --exclude '" << pattern
          << "': a pattern is matched against the name of each entry, which is neither empty "
             "nor holds a '/'\n";
      return false;
    }
  }
  return true;
}

// The component's tab export writes names as stored, so a name holding a tab or a line
// feed would break its line. The command line writes the same columns with the texts
// escaped as in the table (backslash, tab, line feed and carriage return as \\, \t, \n
// and \r, other control bytes as \ooo), one record per line, and replaces the file only
// once it is complete. False, after saying so, when it cannot be written.
bool WriteTabFile(CLindrelCtrl& ctrl, const std::string& path, std::ostream& err) {
  std::string text(kDirTabHeader);
  long i = 0;
  for (const DirRecord& r : ctrl.DirCompareRecords()) {
    text += std::to_string(i++) + '\t' + EscapeForTable(r.fileName) + '\t' +
            EscapeForTable(r.dirMaster) + '\t' + EscapeForTable(r.dirSource);
    for (long value : {r.isFile, r.onlyInSource, r.onlyInMaster, r.sizeDifferent, r.dateDifferent,
                       r.contentDifferent}) {
      text += '\t' + std::to_string(value);
    }
    text += '\n';
  }
  if (!files::ReplaceFile(path, text)) {
    // The component's own wording for an export that cannot be written.
    err << "lindrel: " << ErrorText(kErrorUnableToOpenFile) << path << '\n';
    return false;
  }
  return true;
}

// Writes the records the walk has counted since the last call, as they arrive.
class RecordPrinter {
 public:
  enum class Output { kTable, kJson, kNone };

  RecordPrinter(CLindrelCtrl& ctrl, Console& console, ProgressLine& progress, Output output)
      : ctrl_(ctrl), console_(console), progress_(progress), output_(output) {}

  void Drain() {
    const std::vector<DirRecord> arrived = ctrl_.DirCompareRecordsFrom(shown_);
    if (arrived.empty()) return;
    progress_.Clear();
    for (const DirRecord& record : arrived) {
      Print(record);
      ++shown_;
    }
    console_.out.flush();
  }

  long shown() const { return shown_; }
  bool anyDifference() const { return anyDifference_; }
  bool anyUnreadable() const { return anyUnreadable_; }

 private:
  void Print(const DirRecord& record) {
    if (shown_ == 0) root_ = record;
    if (output_ == Output::kJson) {
      console_.out << (shown_ == 0 ? "\n    " : ",\n    ") << DirRecordJson(shown_, record, root_);
    }
    if (shown_ == 0) return;  // the roots themselves, already named on the command line
    anyDifference_ = anyDifference_ || Differs(record);
    if (Unreadable(record)) {
      anyUnreadable_ = true;
      console_.err << "lindrel: " << RelativePath(record, root_)
                   << ": cannot be read on one side; contents not compared\n";
    }
    if (output_ == Output::kTable) console_.out << TableLine(record, root_) << '\n';
  }

  CLindrelCtrl& ctrl_;
  Console& console_;
  ProgressLine& progress_;
  const Output output_;
  long shown_ = 0;
  DirRecord root_;
  bool anyDifference_ = false;
  bool anyUnreadable_ = false;
};

}  // namespace

void DefineDirsCommand(CLI::App& c, DirsOptions& o) {
  c.add_option("MASTER", o.master, "The original directory")->required();
  c.add_option("SOURCE", o.source, "The modified directory")->required();
  c.add_flag("-r,--recursive", o.recursive, "Compare subdirectories found on both sides");
  c.add_option("--types", o.types,
               "File types to compare, such as \"*.txt;*.cpp\" (default *.*: every file)")
      ->type_name("PATTERNS");
  c.add_flag("--no-content", o.noContent, "Do not compare file contents");
  c.add_flag("--ignore-dates", o.ignoreDates, "Do not compare last-write times");
  c.add_flag("--hide-only-in-master", o.hideOnlyInMaster, "Do not list files found only in MASTER");
  c.add_flag("--hide-only-in-source", o.hideOnlyInSource, "Do not list files found only in SOURCE");
  c.add_flag("--hide-same", o.hideSame, "Do not list files that are the same");
  c.add_flag("--hide-different", o.hideDifferent, "Do not list files that differ");
  c.add_flag("--throttle", o.throttle,
             "Pause after every directory entry, to spare a busy machine");
  AddPriorityOption(c, o.priority);
  c.add_option("--tab", o.tabPath, "Also write the records to PATH, tab-delimited")
      ->type_name("PATH")
      ->check(NonEmptyPath());
  c.add_option("--format", o.format, "Output: table (default) or json")
      ->type_name("FORMAT")
      ->check(CLI::IsMember({"table", "json"}));
  c.add_option("-x,--exclude", o.excludes,
               "Leave out files and directories whose name matches PATTERN, such as \".git\" "
               "or \"*.o\" (repeatable); an excluded directory is not entered")
      ->type_name("PATTERN")
      ->allow_extra_args(false);
  c.add_flag("-q,--brief", o.brief, "Report only whether the trees differ");
}

int RunDirs(const DirsOptions& o, Console& console) {
  // The component would walk both trees and keep no file at all, which reads as "nothing
  // differs".
  if (!o.types.empty() && !FileTypesCanSelect(o.types)) {
    console.err << "lindrel: --types '" << o.types
                << "': no file name can match; a type is matched as an extension, from its"
                   " dot ('*.txt'; '*.*' for every file)\n";
    return kExitTrouble;
  }
  if (o.format == "json" && !o.tabPath.empty() && TakesJsonOutput("--tab", o.tabPath, console.err))
    return kExitTrouble;
  if (o.brief && o.format == "json") {
    console.err << "lindrel: -q prints no records; it cannot be combined with --format json\n";
    return kExitTrouble;
  }
  if (!CheckExcludes(o.excludes, console.err)) return kExitTrouble;
  if (!IsReadableDirectory(o.master, console.err) || !IsReadableDirectory(o.source, console.err))
    return kExitTrouble;

  CompareSession session(console);
  ProgressLine progress(console.err, console.errIsTerminal);
  session.SetBeforeErrorWrite([&progress] { progress.Clear(); });
  CLindrelCtrl& ctrl = session.ctrl();
  ApplyOptions(ctrl, o);

  const bool json = o.format == "json";
  if (!ctrl.DirCompareBegin()) return kExitTrouble;
  const Clock::time_point start = Clock::now();
  if (json) {
    console.out << "{\n  \"master\": " << JsonString(o.master)
                << ",\n  \"source\": " << JsonString(o.source) << ",\n  \"records\": [";
  }

  RecordPrinter printer(ctrl, console, progress,
                        o.brief ? RecordPrinter::Output::kNone
                        : json  ? RecordPrinter::Output::kJson
                                : RecordPrinter::Output::kTable);
  while (!session.dirCompleted()) {
    session.Pump(50ms);
    printer.Drain();
    progress.Update(printer.shown(),
                    std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start));
  }
  printer.Drain();
  progress.Clear();
  if (json) {
    console.out << "\n  ],\n  \"count\": " << ctrl.GetDirCompareResultsCount()
                << ",\n  \"elapsedMs\": " << ctrl.GetDirCompareTime() << "\n}\n";
  }
  console.out.flush();

  bool trouble = session.errorCount() > 0 || printer.anyUnreadable();
  if (!o.tabPath.empty() && !WriteTabFile(ctrl, o.tabPath, console.err)) trouble = true;
  // Only a verdict the walk reached in full is worth a line.
  if (o.brief && !trouble && printer.anyDifference()) {
    console.out << "Directories " << o.master << " and " << o.source << " differ\n";
    console.out.flush();
  }
  if (trouble) return kExitTrouble;
  return printer.anyDifference() ? kExitDifferent : kExitSame;
}

}  // namespace lindrel::cli
