/// @file
/// The results of a comparison as plain C++ values: FileChange for one change between two
/// files, ChangeCounts for how many there are of each kind, DirRecord for one entry of a
/// directory comparison.
///
/// CLindrelCtrl hands them out whole (CLindrelCtrl::FileCompareChanges,
/// CLindrelCtrl::DirCompareRecords and their single-record and copying variants), beside
/// the record-number methods with out-parameters, which stay and give the same values.
///
/// Threading: both are plain values; a copy may be kept and read on any thread.
#pragma once

#include <string>
#include <string_view>

namespace lindrel {

/// The kind of a change, as the character code FileCompareResultsGet hands out.
enum class ChangeType : char {
  Addition = 'a',  ///< source lines with no counterpart in the master (97)
  Change = 'c',    ///< master lines replaced by source lines (99)
  Deletion = 'd',  ///< master lines with no counterpart in the source (100)
};

/// One change between the master and the source file, in 1-based inclusive line numbers.
///
/// An empty side (the source of a deletion, the master of an addition) holds the number of
/// the line after which the other side's lines stand, 0 before the first line; a one-line
/// side has start == end.
struct FileChange {
  ChangeType type = ChangeType::Change;  ///< what happened to the lines
  long masterStart = 0;                  ///< first master line of the change
  long masterEnd = 0;                    ///< last master line of the change
  long sourceStart = 0;                  ///< first source line of the change
  long sourceEnd = 0;                    ///< last source line of the change

#if __cplusplus >= 202002L
  /// Field by field (C++20).
  friend bool operator==(const FileChange&, const FileChange&) = default;
#endif
};

/// The lines two differing files begin with, byte for byte, as a file comparison found
/// them while reading: line `lines` + 1 starts at byte `bytes` of both files. A program
/// that reads the files again (to print the changed lines) may start there instead of
/// counting lines from the start. Zero when the comparison did not establish it.
struct FileEqualStart {
  long lines = 0;       ///< whole lines both files begin with
  long long bytes = 0;  ///< their length in bytes, as they stand in the files

#if __cplusplus >= 202002L
  /// Field by field (C++20).
  friend bool operator==(const FileEqualStart&, const FileEqualStart&) = default;
#endif
};

/// How many change records of each kind a file comparison produced, as the reports count
/// them.
struct ChangeCounts {
  long additions = 0;  ///< records of ChangeType::Addition
  long changes = 0;    ///< records of ChangeType::Change
  long deletions = 0;  ///< records of ChangeType::Deletion

  /// Counts one record of kind `type`; a code that names no kind counts nowhere.
  void Add(ChangeType type) {
    switch (type) {
      case ChangeType::Addition: ++additions; break;
      case ChangeType::Change: ++changes; break;
      case ChangeType::Deletion: ++deletions; break;
    }
  }

#if __cplusplus >= 202002L
  /// Field by field (C++20).
  friend bool operator==(const ChangeCounts&, const ChangeCounts&) = default;
#endif
};

/// One entry kept by a directory comparison: a file, a subdirectory, or (record 0) the
/// two compared directories themselves.
///
/// The fields are those of CLindrelCtrl::DirCompareResultsGet, in its order.
struct DirRecord {
  std::string fileName;  ///< the entry's name on disk; empty for the root record
  /// The master directory of the entry, with a final "/": the directory a file was looked
  /// up in, a subdirectory's own path; empty for a subdirectory found in the source only.
  std::string dirMaster;
  /// The source directory of the entry, by the same rules; empty for a subdirectory found
  /// in the master only.
  std::string dirSource;
  long isFile = 0;            ///< 1 for a file, 0 for a directory and the root record
  long onlyInSource = 0;      ///< 1 when the entry exists under the source directory only
  long onlyInMaster = 0;      ///< 1 when the entry exists under the master directory only
  long sizeDifferent = 0;     ///< master file -1 smaller, 1 larger; 0 equal or not compared
  long dateDifferent = 0;     ///< master entry -1 older, 1 newer; 0 equal or not compared
  long contentDifferent = 0;  ///< 1 different, 2 a file could not be opened; 0 same or not compared

#if __cplusplus >= 202002L
  /// Field by field (C++20).
  friend bool operator==(const DirRecord&, const DirRecord&) = default;
#endif
};

/// The first line of the file CLindrelCtrl::DirSaveDataToTabFile writes: the column names,
/// tab-delimited, then a line feed. The record number comes first, then the fields of
/// DirRecord in their order.
inline constexpr std::string_view kDirTabHeader =
    "Record\tFileName\tDirMaster\tDirSource\tIsFile\tOnlyInSource\tOnlyInMaster\t"
    "SizeDifferent\tDateDifferent\tContentDifferent\n";

}  // namespace lindrel
