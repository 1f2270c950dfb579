/// @file
/// Error codes of the Lindrel component and their message texts.
///
/// A refused request or a failed job reaches the host through the OnError event with one
/// of these codes; the event's text is the code's message immediately followed by a
/// detail (a path, or nothing). The texts are part of the interface and never change.
#pragma once

#include <string_view>

#include "lindrel/export.h"

namespace lindrel {

/// The codes OnError carries.
enum ErrorCode : long {
  kErrorWritingStateFile = 500,     ///< reserved; nothing raises it
  kErrorStateFilePath = 501,        ///< the Lindrel directory is unavailable
  kErrorSearchInProcess = 502,      ///< a comparison of that kind is already running
  kErrorInvalidParameters = 503,    ///< reserved
  kErrorUnableToOpenFile = 504,     ///< a file to be written cannot be opened
  kErrorInvalidRecordNumber = 506,  ///< reserved
  kErrorInvalidSearchString = 507,  ///< an ignore-line pattern the engine cannot match
  kErrorInvalidSearchPath = 508,    ///< DirMaster or DirSource is empty
  kErrorInvalidMasterFile = 600,    ///< the master file does not exist
  kErrorInvalidSourceFile = 601,    ///< the source file does not exist
  /// A compared file could not be read to its end: a read error, or a file shortened while
  /// it was read. The detail is its path. Fired by a file comparison before its completion
  /// (which then carries 0, and FileCompareResultsCount answers -1: nothing of the run is
  /// kept), by a directory comparison for the pair it could not compare (ContentDifferent
  /// 2), and by FileCompareCreateReport (which answers -3 or -4).
  kErrorReadingFile = 602,
};

/// The message text of `code`, or nullptr when the code has none (such an error fires
/// nothing).
LINDREL_EXPORT const char* ErrorMessage(long code);

/// The same text as a view of static storage, valid for the life of the program; empty
/// when the code has none.
inline std::string_view ErrorText(long code) {
  const char* message = ErrorMessage(code);
  return message != nullptr ? std::string_view(message) : std::string_view();
}

}  // namespace lindrel
