/// @file
/// The Lindrel component, CLindrelCtrl, with its dispatch ids and thread priorities.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>
#if __cplusplus >= 202002L
#include <span>
#endif

#include "lindrel/Errors.h"
#include "lindrel/EventHost.h"
#include "lindrel/LindrelEvents.h"
#include "lindrel/PropertyList.h"
#include "lindrel/Records.h"
#include "lindrel/ReportTypes.h"
#include "lindrel/export.h"

/// The Lindrel component and what a host needs beside it.
namespace lindrel {

/// Dispatch identifiers of the properties and methods. They are part of the interface.
enum DispId : long {
  kDispDirSource = 1,
  kDispDirMaster = 2,
  kDispDirCompareTime = 3,
  kDispThreadPriority = 4,
  kDispDirFileTypes = 5,
  kDispDirShowOnlyInMaster = 6,
  kDispDirShowOnlyInSource = 7,
  kDispDirDoSubDirectories = 8,
  kDispDirCompareResultsCount = 9,
  kDispDirShowSameInBothPlaces = 10,
  kDispDirShowDifferentInBothPlaces = 11,
  kDispFileMaster = 12,
  kDispFileSource = 13,
  kDispFileCompareActive = 14,
  kDispFileCompareTime = 15,
  kDispFileIgnoreCase = 16,
  kDispFileIgnoreWhiteSpace = 17,
  kDispFileIgnoreEmptyLines = 18,
  kDispFileQuickCompare = 19,
  kDispDirCompareActive = 20,
  kDispStateFileName = 22,
  kDispDirContentCompare = 23,
  kDispReportFileMaster = 24,
  kDispReportFileTitle = 25,
  kDispReportFileSource = 26,
  kDispDirIgnoreDateDifferences = 27,
  kDispFileShowChangesInLargerSections = 28,
  kDispFileCompareFaster = 29,
  kDispFileUseLineBracket = 30,
  kDispFileLineBracket = 31,
  kDispFileIgnoreRegularExpression = 32,
  kDispFileUseIgnoreRegularExpression = 33,
  kDispReportHTMLHighDetail = 34,
  kDispReportDoubleWideCharset = 35,
  kDispDirCompareBegin = 36,
  kDispDirCompareAbort = 37,
  kDispDirCompareResultsGet = 38,
  kDispFileCompareBegin = 39,
  kDispFileCompareAbort = 40,
  kDispDirSaveDataToTabFile = 41,
  kDispFileCompareResultsCount = 42,
  kDispFileCompareResultsGet = 43,
  kDispFileCompareBeginSynchronous = 44,
  kDispFileCompareCreateReport = 45,
  kDispAlignmentChangeAdd = 46,
  kDispAlignmentChangeClear = 47,
  kDispAlignmentChangeUndo = 48,
  kDispDirThrottle = 49,
  kDispAboutBox = -552,
};

/// The thread-priority scale of ThreadPriority.
enum class ThreadPriorities : long {
  Idle = 0,          ///< "Idle (0)", the default: comparisons run only when nothing else does
  Lowest = 1,        ///< "Lowest (1)"
  Normal = 2,        ///< "Normal (2)"
  Highest = 3,       ///< "Highest (3)"
  TimeCritical = 4,  ///< "Time Critical (4)"
};

/// "Idle (0)" ... "Time Critical (4)"; nullptr outside 0..4.
LINDREL_EXPORT const char* ThreadPriorityDescription(long priority);
/// The same text as a view of static storage, valid for the life of the program; empty
/// outside 0..4.
inline std::string_view ThreadPriorityText(long priority) {
  const char* description = ThreadPriorityDescription(priority);
  return description != nullptr ? std::string_view(description) : std::string_view();
}

/// The Lindrel file and directory comparison component.
///
/// A host creates one component per place it needs one, configures it through its
/// properties, starts comparisons through its methods, hears about their end and about
/// errors through LindrelEvents, reads results back (by record number, or whole as the
/// values of Records.h) and asks for report files. Settings survive between runs in the component's
/// state file, an INI file named by StateFileName in the Lindrel directory, read when the component
/// is created or loaded and written when it is destroyed.
///
/// Threading: a component belongs to the thread that created it (its owner) and every
/// method is called on that thread. Comparisons started with FileCompareBegin and
/// DirCompareBegin run on worker threads; their completions and errors are queued and
/// fired on the owner thread by the component's EventHost (by default the owner thread's
/// MessageLoop, which the owner must pump). FileCompareBeginSynchronous runs on the
/// owner thread. The component never throws: methods answer FALSE, -1 or a negative code
/// and fire OnError where their description says so.
///
/// Booleans cross the interface as long values: any non-zero value written is stored as
/// 1 (TRUE) and reads back as 1; 0 is FALSE.
class LINDREL_EXPORT CLindrelCtrl {
 public:
  /// Creates a component with every property at its default, settles StateFileName to
  /// `stateFileName` (the value a container saved under "StateFile") and reads the state
  /// file. `eventHost` delivers events on the owner thread; nullptr uses the creating
  /// thread's MessageLoop. The host must outlive the component. `listener` (optional, not
  /// owned) hears the events of creation too, such as a state file that cannot be found.
  explicit CLindrelCtrl(const std::string& stateFileName = std::string(),
                        EventHost* eventHost = nullptr, LindrelEvents* listener = nullptr);

  /// Aborts running comparisons (waiting up to 30 seconds each), writes the state file,
  /// stops the event timer and drops events still queued.
  ~CLindrelCtrl();

  /// A component is one place's settings and results: not copyable.
  CLindrelCtrl(const CLindrelCtrl&) = delete;
  /// Not assignable, for the same reason.
  CLindrelCtrl& operator=(const CLindrelCtrl&) = delete;

  /// @name Host plumbing
  /// What a container or a program hosting the component connects.
  /// @{

  /// The listener receives the five events; nullptr detaches it. Not owned.
  void SetEventListener(LindrelEvents* listener);

  /// Called with a property's dispatch id after a setter stored a new value.
  void SetPropertyChangedHandler(std::function<void(long dispId)> handler);

  /// The "modified" mark a setter leaves for the container.
  bool IsModified() const;
  /// Sets or clears the "modified" mark (a container clears it once it has saved).
  void SetModifiedFlag(bool modified);

  /// A container load: settles StateFileName from the saved "StateFile" value, then reads
  /// the state file again.
  void LoadProperties(const std::string& savedStateFileName);
  /// Reset to defaults: every property to its default (StateFileName unchanged), then the
  /// state file is read again.
  void ResetProperties();

  /// AboutBox shows its dialog through this handler (the Qt layer sets one).
  void SetAboutBoxHandler(std::function<void()> handler);
  /// @}

  /// @name Properties
  /// One getter GetName and, for a writable property, one setter SetName for every
  /// property of PropertyList.h: long values for Boolean, Number and Priority, strings for
  /// Text and Directory. Every setter stores at once, marks the component modified and
  /// announces the change; a Priority outside 0..4 is ignored, a Directory gains a final
  /// "/" (an empty one is stored quietly). The read-only properties: DirCompareTime and
  /// FileCompareTime (milliseconds of the last comparison), DirCompareResultsCount,
  /// DirCompareActive and FileCompareActive (1 while a comparison runs). Each text
  /// property also has NameView, the value without a copy. A property is written by its
  /// setter, by LoadProperties and ResetProperties (which read the state file), and
  /// DirFileTypes also by a DirCompareBegin that finds it empty and stores "*.*".
  /// @{
//
// The comments after the declarations document every accessor in the API reference, which
// expands this table; each property's own comment is the one in PropertyList.h.
#define LINDREL_DECLARE_LONG_GETTER(Name, Default) \
  long Get##Name() const; /**< Starts at Default in a new component. */
#define LINDREL_DECLARE_Boolean(Name, Default) \
  LINDREL_DECLARE_LONG_GETTER(Name, Default)   \
  void Set##Name(long value); /**< Stores 1 for any non-zero `value`, else 0. */
#define LINDREL_DECLARE_Number(Name, Default) \
  LINDREL_DECLARE_LONG_GETTER(Name, Default)  \
  void Set##Name(long value); /**< Stores `value`. */
#define LINDREL_DECLARE_Priority(Name, Default) \
  LINDREL_DECLARE_LONG_GETTER(Name, Default)    \
  void Set##Name(long value); /**< Stores `value` from 0 to 4; ignores any other. */
#define LINDREL_DECLARE_TEXT_GETTERS(Name, Default)                            \
  std::string Get##Name() const; /**< Starts at Default in a new component. */ \
  /** The value held, without a copy: valid until the property is next         \
      written or the component is destroyed. */                                \
  std::string_view Name##View() const;
#define LINDREL_DECLARE_Text(Name, Default)   \
  LINDREL_DECLARE_TEXT_GETTERS(Name, Default) \
  void Set##Name(const std::string& value); /**< Stores `value`. */
#define LINDREL_DECLARE_Directory(Name, Default)                             \
  LINDREL_DECLARE_TEXT_GETTERS(Name, Default)                                \
  /** Stores `value` with a final "/" when it has two or more characters; an \
      empty value is stored without a "modified" mark or a change notice. */ \
  void Set##Name(const std::string& value);
#define LINDREL_DECLARE_PROPERTY(Name, member, Kind, Default, StateKey) \
  LINDREL_DECLARE_##Kind(Name, Default)
#define LINDREL_DECLARE_READ_ONLY_PROPERTY(Name, Kind) long Get##Name() const;
  LINDREL_PROPERTIES(LINDREL_DECLARE_PROPERTY)
  LINDREL_READ_ONLY_PROPERTIES(LINDREL_DECLARE_READ_ONLY_PROPERTY)
#undef LINDREL_DECLARE_READ_ONLY_PROPERTY
#undef LINDREL_DECLARE_PROPERTY
#undef LINDREL_DECLARE_Directory
#undef LINDREL_DECLARE_Text
#undef LINDREL_DECLARE_Priority
#undef LINDREL_DECLARE_Number
#undef LINDREL_DECLARE_Boolean
#undef LINDREL_DECLARE_TEXT_GETTERS
#undef LINDREL_DECLARE_LONG_GETTER
  /// @}

  /// @name Methods
  /// Comparisons, their records by number, reports and forced alignments.
  /// @{

  /// Starts a directory comparison of DirMaster and DirSource on a worker thread. FALSE
  /// and OnError (502 running, 508 an empty path or one holding a NUL byte, which names no
  /// directory) when refused. A pair of files whose contents cannot be read to their end
  /// gets ContentDifferent 2 and OnError 602 naming the file. When the system refuses the
  /// worker thread, DirCompareStarted has already fired: the begin then fires OnError 502
  /// (its text followed by " The system refused a worker thread."), leaves no comparison
  /// running and answers FALSE; a later begin may succeed.
  bool DirCompareBegin();
  /// Names the directory comparisons begun from now on leave out: shell patterns ("*.o",
  /// ".git", as fnmatch(3) reads them) matched against the name of every entry, file or
  /// directory, without regard to letter case, on both sides. An excluded directory is not
  /// entered. Empty (the default) leaves nothing out. Not a property: it is neither
  /// stored in the state file nor announced.
  void SetDirExcludePatterns(std::vector<std::string> patterns);
  /// Stops the running directory comparison and waits for it (at most 30 seconds); the
  /// records found so far stay readable. An abort that finds the comparison active is
  /// final: once it returns, that comparison's completion is never fired, not even one
  /// its worker had already queued, and it reads inactive (unless the wait ran out).
  void DirCompareAbort();
  /// Reads directory record `resultIndex`. FALSE, and the out-parameters untouched, when
  /// the index is outside 0..count-1. May be called while the comparison runs.
  bool DirCompareResultsGet(long resultIndex, std::string& fileName, std::string& dirMaster,
                            std::string& dirSource, long& isFile, long& onlyInSource,
                            long& onlyInMaster, long& sizeDifferent, long& dateDifferent,
                            long& contentDifferent);
  /// Writes the directory records as a tab-delimited file. FALSE and OnError 504 when the
  /// file cannot be opened (a name holding a NUL byte included).
  bool DirSaveDataToTabFile(const std::string& fileName);

  /// Starts a file comparison of FileMaster and FileSource on a worker thread. FALSE and
  /// OnError (502 running, 600/601 missing file or a name holding a NUL byte, 507 an
  /// ignore pattern with a back-reference, which the engine cannot match in bounded time)
  /// when refused. An abort or the destruction also stops the matching of ignore patterns
  /// within a fraction of a second. A file that cannot be read to its end (a read error,
  /// or a file shortened while it is read or mapped) is never taken for a difference: the
  /// comparison keeps no record, OnError 602 names the file, and then FileCompareCompleted
  /// carries 0 and FileCompareResultsCount answers -1. A worker thread the system
  /// refuses is reported as for DirCompareBegin; the results are then empty and reports
  /// answer -1, as after an abort.
  bool FileCompareBegin();
  /// Runs the same comparison on the calling thread. FALSE when refused or when the
  /// engine reported trouble (a file that cannot be read: OnError 602 follows from the
  /// event queue, as for FileCompareBegin).
  bool FileCompareBeginSynchronous();
  /// Stops the running file comparison and waits for it to end (at most 30 seconds). An
  /// abort that finds the comparison active is final: once it returns, that comparison's
  /// completion is never fired, not even one its worker had already queued, it reads
  /// inactive (unless the wait ran out), and reports answer -1 until the next begin.
  void FileCompareAbort();
  /// Number of change records, or -1 when the files differ but no records were produced
  /// (quick or binary comparison, or trouble).
  long FileCompareResultsCount();
  /// Reads change record `resultIndex`: kind as a character code ('a' 97, 'c' 99,
  /// 'd' 100) and 1-based inclusive line ranges. FALSE, and the out-parameters untouched,
  /// outside 0..count-1.
  bool FileCompareResultsGet(long resultIndex, long& changeType, long& masterStart, long& masterEnd,
                             long& sourceStart, long& sourceEnd);

  /// Writes a report of the last file comparison in `format`, a ReportFormat (an HTML
  /// report laid out in `style`, a ReportStyle). Answers a ReportResult: kReportWritten
  /// when written (or `format` names no format); kReportAborted, kReportComparisonRunning;
  /// kReportMasterUnreadable or kReportSourceUnreadable (after OnError 602 when the file
  /// opened but could not be read to its end); kReportNotWritten when the target cannot be
  /// written (OnError 504), a target that is one of the compared files or whose name holds
  /// a NUL byte included: those are refused before anything is read.
  long FileCompareCreateReport(const std::string& targetFile, long format, long style);

  /// Adds a forced alignment of the HTML report: the change of kind `changeType` over
  /// lines `lineStart` to `lineEnd` is shown against `numLines` lines of the other side.
  bool AlignmentChangeAdd(long changeType, long lineStart, long lineEnd, long numLines);
  /// Removes every forced alignment.
  bool AlignmentChangeClear();
  /// Removes the forced alignment added last.
  bool AlignmentChangeUndo();

  /// Shows the about box through the handler set with SetAboutBoxHandler.
  void AboutBox();

  /// @}

  /// @name Results as values
  /// The records of the last comparisons without out-parameters or loops over record
  /// numbers. They are the records FileCompareResultsGet and DirCompareResultsGet give,
  /// in the same order. Owner thread, like every method; a span may be read on any
  /// thread while it is valid. The spans need C++20; a host compiled as C++17 has the
  /// rest.
  /// @{

#if __cplusplus >= 202002L
  /// Every change record of the last file comparison, in record order. Empty while a file
  /// comparison runs (the records are not final yet), when the files are the same, and
  /// when they differ without records (FileCompareResultsCount -1). The span stays valid,
  /// and its records unchanged, until the next file comparison is accepted (the next
  /// FileCompareStarted) or the component is destroyed, whatever else the host calls.
  std::span<const FileChange> FileCompareChanges();
#endif
  /// Change record `resultIndex`, or nothing outside 0..count-1; a copy.
  std::optional<FileChange> FileCompareChange(long resultIndex);
  /// The lines the files of the last file comparison begin with, byte for byte, where the
  /// comparison found them while reading (large regular files with a long equal start);
  /// zero otherwise, while a file comparison runs, and when the files are the same. True
  /// of the files as they were compared: a host that reads them again checks first that
  /// they have not changed.
  FileEqualStart FileCompareEqualStart() const;

#if __cplusplus >= 202002L
  /// Every directory record of the last directory comparison, root record first. Empty
  /// while a directory comparison runs; after an abort, the records found up to it. Valid,
  /// and unchanged, until the next directory comparison is accepted (the next
  /// DirCompareStarted) or the component is destroyed.
  std::span<const DirRecord> DirCompareRecords();
#endif
  /// Directory record `resultIndex`, or nothing outside 0..count-1; a copy. May be called
  /// while the comparison runs.
  std::optional<DirRecord> DirCompareRecord(long resultIndex);
  /// Copies of the directory records from `first` to the last one counted so far (none
  /// when `first` is negative or not below the count). While a comparison runs the records
  /// only grow, so a host that shows them as they arrive passes the number it has shown.
  std::vector<DirRecord> DirCompareRecordsFrom(long first);
  /// @}

  /// Internal state, defined by the library; opaque to hosts.
  struct Impl;

 private:
  friend struct ControlInternals;

  std::unique_ptr<Impl> d_;
};

}  // namespace lindrel
