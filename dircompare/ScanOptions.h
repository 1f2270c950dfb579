// ScanOptions: the settings of one directory comparison, copied from the component's
// properties when it begins, so the worker never reads properties the host may change.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace lindrel::dircompare {

struct ScanOptions {
  std::string master;  // DirMaster: the master root, normally ending in "/"
  std::string source;  // DirSource
  std::string fileTypes = "*.*";
  bool doSubDirectories = false;
  bool ignoreDateDifferences = false;
  bool contentCompare = true;
  bool showOnlyInMaster = true;
  bool showOnlyInSource = true;
  bool showSameInBothPlaces = true;
  bool showDifferentInBothPlaces = true;
  long threadPriority = 0;  // 0 idle .. 4 time critical
  bool throttle = true;     // DirThrottle: pause after every enumerated entry
  // Names left out of the walk, files and directories alike (NameExclusion.h).
  std::vector<std::string> excludePatterns;

  // Called on the worker before the content of a file pair is compared (paths of both
  // files), in the walk's order, once the pair's turn has come. Lets tests change the
  // tree at a precise moment.
  std::function<void(const std::string&, const std::string&)> TEST_beforeContentCompare;
};

// The throttling pause after each enumerated entry: 41 - 10 x priority milliseconds.
inline long ThrottlePauseMs(long threadPriority) { return 41 - 10 * threadPriority; }

}  // namespace lindrel::dircompare
