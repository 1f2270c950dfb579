// The values of a component's writable properties, with their defaults. Owner thread
// only: a job copies what it needs when it begins.
#pragma once

#include <string>

namespace lindrel {

struct Properties {
  std::string dirSource;
  std::string dirMaster;
  long threadPriority = 0;
  std::string dirFileTypes = "*.*";
  long dirShowOnlyInMaster = 1;
  long dirShowOnlyInSource = 1;
  long dirDoSubDirectories = 0;
  long dirShowSameInBothPlaces = 1;
  long dirShowDifferentInBothPlaces = 1;
  long dirContentCompare = 1;
  long dirIgnoreDateDifferences = 0;
  long dirThrottle = 1;

  std::string fileMaster;
  std::string fileSource;
  long fileIgnoreCase = 0;
  long fileIgnoreWhiteSpace = 0;
  long fileIgnoreEmptyLines = 0;
  long fileQuickCompare = 0;
  long fileShowChangesInLargerSections = 0;
  long fileCompareFaster = 0;
  long fileUseLineBracket = 0;
  long fileLineBracket = 1;
  std::string fileIgnoreRegularExpression;
  long fileUseIgnoreRegularExpression = 0;

  std::string stateFileName;
  std::string reportFileMaster = "File Master";
  std::string reportFileTitle = "Title";
  std::string reportFileSource = "File Source";
  long reportHTMLHighDetail = 0;
  long reportDoubleWideCharset = 0;
};

// Booleans are stored as 1 or 0 whatever non-zero value the host passes.
inline long ToBool(long value) { return value != 0 ? 1 : 0; }

}  // namespace lindrel
