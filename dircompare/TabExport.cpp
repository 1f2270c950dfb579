#include "dircompare/TabExport.h"

#include <cstdio>

namespace lindrel::dircompare {

const char kTabExportHeader[] =
    "Record\tFileName\tDirMaster\tDirSource\tIsFile\tOnlyInSource\tOnlyInMaster\t"
    "SizeDifferent\tDateDifferent\tContentDifferent\n";

bool WriteTabFile(const DirResultStore& store, const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "w");
  if (file == nullptr) return false;
  std::fputs(kTabExportHeader, file);
  // Count() is read again at every step: a running comparison may still be appending.
  for (long i = 0; i < store.Count(); ++i) {
    const auto record = store.Get(i);
    if (!record) break;
    std::fprintf(file, "%ld\t%s\t%s\t%s\t%d\t%d\t%d\t%d\t%d\t%d\n", i, record->fileName.c_str(),
                 record->dirMaster.c_str(), record->dirSource.c_str(), record->isFile(),
                 record->onlyInSource(), record->onlyInMaster(), record->sizeDifferent(),
                 record->dateDifferent(), record->contentDifferent());
  }
  // Write errors after a successful open are not reported, by design of the interface.
  std::fclose(file);
  return true;
}

}  // namespace lindrel::dircompare
