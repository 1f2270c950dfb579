/// @file
/// The component's properties, one line each. Everything else that knows a property is
/// made from this list (the component's fields and defaults, its getters and setters, the
/// state-file keys, the lookup by name and dispatch id in PropertyTable.h) or is checked
/// against it by the tests (the Qt layer's properties and property pages). A new property
/// is one line here plus its dispatch id in LindrelCtrl.h and its behaviour.
///
/// Each line's comment says what the property does; the API reference shows it on the
/// property's getter.
#pragma once

/// Calls X(Name, member, Kind, Default, StateKey) for every property a host can write, in
/// the order the state file is written:
/// - `Name`: the property (getter GetName, setter SetName, dispatch id kDispName)
/// - `member`: the field that holds the value inside the component
/// - `Kind`: Boolean, a long stored as 1 or 0 whatever non-zero value is written; Number,
///   a long; Priority, a long from 0 to 4, other values are ignored; Text, a string;
///   Directory, a string that gains a final "/"
/// - `Default`: the value of a new component
/// - `StateKey`: the key in the state file's section "General"; nullptr when not kept there
#define LINDREL_PROPERTIES(X)                                                                   \
  /** Directory comparison: last-write times are not compared. */                               \
  X(DirIgnoreDateDifferences, dirIgnoreDateDifferences, Boolean, 0,                             \
    "b_dir_ignore_date_differences")                                                            \
  /** Directory comparison: the contents of files on both sides are compared. */                \
  X(DirContentCompare, dirContentCompare, Boolean, 1, "b_dir_contents_compare")                 \
  /** Directory comparison: files found only in the master directory are kept. */               \
  X(DirShowOnlyInMaster, dirShowOnlyInMaster, Boolean, 1, "b_dir_show_only_in_master")          \
  /** Directory comparison: files found only in the source directory are kept. */               \
  X(DirShowOnlyInSource, dirShowOnlyInSource, Boolean, 1, "b_dir_show_only_in_source")          \
  /** Directory comparison: files on both sides that are the same are kept. */                  \
  X(DirShowSameInBothPlaces, dirShowSameInBothPlaces, Boolean, 1,                               \
    "b_dir_show_same_in_both_places")                                                           \
  /** Directory comparison: files on both sides that differ are kept. */                        \
  X(DirShowDifferentInBothPlaces, dirShowDifferentInBothPlaces, Boolean, 1,                     \
    "b_dir_show_different_in_both_places")                                                      \
  /** Directory comparison: subdirectories found on both sides are compared too. */             \
  X(DirDoSubDirectories, dirDoSubDirectories, Boolean, 0, "b_dir_use_subdirectories")           \
  /** File comparison: lines are compared without regard to letter case. */                     \
  X(FileIgnoreCase, fileIgnoreCase, Boolean, 0, "b_file_ignore_case")                           \
  /** File comparison: white space is ignored when lines are compared. */                       \
  X(FileIgnoreWhiteSpace, fileIgnoreWhiteSpace, Boolean, 0, "b_file_ignore_whitespace")         \
  /** File comparison: changes made of empty lines only are ignored. */                         \
  X(FileIgnoreEmptyLines, fileIgnoreEmptyLines, Boolean, 0, "b_file_ignore_emptylines")         \
  /** File comparison: only decides whether the files differ (no records). */                   \
  X(FileQuickCompare, fileQuickCompare, Boolean, 0, "b_file_quick")                             \
  /** HTML report: its header counts changed word groups, not records. */                       \
  X(ReportHTMLHighDetail, reportHTMLHighDetail, Boolean, 0, "b_report_html_high_detail")        \
  /** HTML report: declares the double-byte character set Shift_JIS. */                         \
  X(ReportDoubleWideCharset, reportDoubleWideCharset, Boolean, 0, "b_DoubleWide_Character_Set") \
  /** File comparison: minimal edit script (no discarding of lines). */                         \
  X(FileShowChangesInLargerSections, fileShowChangesInLargerSections, Boolean, 0,               \
    "b_file_show_changes_in_larger_sections")                                                   \
  /** File comparison: a faster search for large files with many changes. */                    \
  X(FileCompareFaster, fileCompareFaster, Boolean, 0, "b_file_compare_faster")                  \
  /** File comparison: FileLineBracket is passed to the engine. */                              \
  X(FileUseLineBracket, fileUseLineBracket, Boolean, 0, "b_use_line_bracket")                   \
  /** File comparison: lines of common prefix and suffix kept as horizon. */                    \
  X(FileLineBracket, fileLineBracket, Number, 1, "l_line_bracket")                              \
  /** Priority 0 to 4 (ThreadPriorities) of the worker of each later comparison. */             \
  X(ThreadPriority, threadPriority, Priority, 0, "l_thread_priority")                           \
  /** Directory comparison: the source (modified) directory. */                                 \
  X(DirSource, dirSource, Directory, "", "m_dir_source")                                        \
  /** Directory comparison: the master (original) directory. */                                 \
  X(DirMaster, dirMaster, Directory, "", "m_dir_master")                                        \
  /** Directory comparison: wildcard patterns of the files kept, such as "*.txt". */            \
  X(DirFileTypes, dirFileTypes, Text, "*.*", "s_dir_search_ext")                                \
  /** File comparison: the path of the source (modified) file. */                               \
  X(FileSource, fileSource, Text, "", "m_file_source")                                          \
  /** File comparison: the path of the master (original) file. */                               \
  X(FileMaster, fileMaster, Text, "", "m_file_master")                                          \
  /** Reports: the caption of the master side. */                                               \
  X(ReportFileMaster, reportFileMaster, Text, "File Master", "m_report_file_master")            \
  /** Reports: the caption of the source side. */                                               \
  X(ReportFileSource, reportFileSource, Text, "File Source", "m_report_file_source")            \
  /** Reports: the title. */                                                                    \
  X(ReportFileTitle, reportFileTitle, Text, "Title", "m_report_file_title")                     \
  /** File comparison: patterns of lines to ignore, joined by "@@". */                          \
  X(FileIgnoreRegularExpression, fileIgnoreRegularExpression, Text, "",                         \
    "s_ignore_regular_expression")                                                              \
  /** File comparison: FileIgnoreRegularExpression is applied. */                               \
  X(FileUseIgnoreRegularExpression, fileUseIgnoreRegularExpression, Boolean, 0,                 \
    "b_use_ignore_regular_expression")                                                          \
  /** Directory comparison: a pause after every entry spares a busy machine. */                 \
  X(DirThrottle, dirThrottle, Boolean, 1, "b_dir_throttle")                                     \
  /** Name or full path of the state file that keeps the other settings. */                     \
  X(StateFileName, stateFileName, Text, "", nullptr)

/// Calls X(Name, Kind) for every property a host can only read (Kind Boolean or Number;
/// both are longs).
#define LINDREL_READ_ONLY_PROPERTIES(X)                                         \
  /** Milliseconds the last directory comparison took (read while inactive). */ \
  X(DirCompareTime, Number)                                                     \
  /** Number of directory records, the root record included. */                 \
  X(DirCompareResultsCount, Number)                                             \
  /** 1 while a directory comparison runs. */                                   \
  X(DirCompareActive, Boolean)                                                  \
  /** 1 while a file comparison runs. */                                        \
  X(FileCompareActive, Boolean)                                                 \
  /** Milliseconds the last file comparison took (read while inactive). */      \
  X(FileCompareTime, Number)
