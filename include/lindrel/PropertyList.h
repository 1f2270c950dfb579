// The component's properties, one line each. Everything else that knows a property is
// made from this list (the component's fields and defaults, its getters and setters, the
// state-file keys, the lookup by name and dispatch id in PropertyTable.h) or is checked
// against it by the tests (the Qt layer's properties and property pages). A new property
// is one line here plus its dispatch id in LindrelCtrl.h and its behaviour.
//
// LINDREL_PROPERTIES(X) calls X(Name, member, Kind, Default, StateKey) for every property
// a host can write, in the order the state file is written:
//   Name      the property (getter GetName, setter SetName, dispatch id kDispName)
//   member    the field that holds the value inside the component
//   Kind      Boolean: a long, stored as 1 or 0 whatever non-zero value is written;
//             Number: a long; Priority: a long from 0 to 4, other values are ignored;
//             Text: a string; Directory: a string that gains a final "/"
//   Default   the value of a new component
//   StateKey  the key in the state file's section "General"; nullptr when not kept there
//
// LINDREL_READ_ONLY_PROPERTIES(X) calls X(Name, Kind) for the properties a host can only
// read (Kind Boolean or Number; both are longs).
#pragma once

#define LINDREL_PROPERTIES(X)                                                                   \
  X(DirIgnoreDateDifferences, dirIgnoreDateDifferences, Boolean, 0,                             \
    "b_dir_ignore_date_differences")                                                            \
  X(DirContentCompare, dirContentCompare, Boolean, 1, "b_dir_contents_compare")                 \
  X(DirShowOnlyInMaster, dirShowOnlyInMaster, Boolean, 1, "b_dir_show_only_in_master")          \
  X(DirShowOnlyInSource, dirShowOnlyInSource, Boolean, 1, "b_dir_show_only_in_source")          \
  X(DirShowSameInBothPlaces, dirShowSameInBothPlaces, Boolean, 1,                               \
    "b_dir_show_same_in_both_places")                                                           \
  X(DirShowDifferentInBothPlaces, dirShowDifferentInBothPlaces, Boolean, 1,                     \
    "b_dir_show_different_in_both_places")                                                      \
  X(DirDoSubDirectories, dirDoSubDirectories, Boolean, 0, "b_dir_use_subdirectories")           \
  X(FileIgnoreCase, fileIgnoreCase, Boolean, 0, "b_file_ignore_case")                           \
  X(FileIgnoreWhiteSpace, fileIgnoreWhiteSpace, Boolean, 0, "b_file_ignore_whitespace")         \
  X(FileIgnoreEmptyLines, fileIgnoreEmptyLines, Boolean, 0, "b_file_ignore_emptylines")         \
  X(FileQuickCompare, fileQuickCompare, Boolean, 0, "b_file_quick")                             \
  X(ReportHTMLHighDetail, reportHTMLHighDetail, Boolean, 0, "b_report_html_high_detail")        \
  X(ReportDoubleWideCharset, reportDoubleWideCharset, Boolean, 0, "b_DoubleWide_Character_Set") \
  X(FileShowChangesInLargerSections, fileShowChangesInLargerSections, Boolean, 0,               \
    "b_file_show_changes_in_larger_sections")                                                   \
  X(FileCompareFaster, fileCompareFaster, Boolean, 0, "b_file_compare_faster")                  \
  X(FileUseLineBracket, fileUseLineBracket, Boolean, 0, "b_use_line_bracket")                   \
  X(FileLineBracket, fileLineBracket, Number, 1, "l_line_bracket")                              \
  X(ThreadPriority, threadPriority, Priority, 0, "l_thread_priority")                           \
  X(DirSource, dirSource, Directory, "", "m_dir_source")                                        \
  X(DirMaster, dirMaster, Directory, "", "m_dir_master")                                        \
  X(DirFileTypes, dirFileTypes, Text, "*.*", "s_dir_search_ext")                                \
  X(FileSource, fileSource, Text, "", "m_file_source")                                          \
  X(FileMaster, fileMaster, Text, "", "m_file_master")                                          \
  X(ReportFileMaster, reportFileMaster, Text, "File Master", "m_report_file_master")            \
  X(ReportFileSource, reportFileSource, Text, "File Source", "m_report_file_source")            \
  X(ReportFileTitle, reportFileTitle, Text, "Title", "m_report_file_title")                     \
  X(FileIgnoreRegularExpression, fileIgnoreRegularExpression, Text, "",                         \
    "s_ignore_regular_expression")                                                              \
  X(FileUseIgnoreRegularExpression, fileUseIgnoreRegularExpression, Boolean, 0,                 \
    "b_use_ignore_regular_expression")                                                          \
  X(DirThrottle, dirThrottle, Boolean, 1, "b_dir_throttle")                                     \
  X(StateFileName, stateFileName, Text, "", nullptr)

#define LINDREL_READ_ONLY_PROPERTIES(X) \
  X(DirCompareTime, Number)             \
  X(DirCompareResultsCount, Number)     \
  X(DirCompareActive, Boolean)          \
  X(FileCompareActive, Boolean)         \
  X(FileCompareTime, Number)
