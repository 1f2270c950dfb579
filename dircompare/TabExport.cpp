#include "dircompare/TabExport.h"

#include <cstdio>

#include "platform/ReplacementFile.h"

namespace lindrel::dircompare {

namespace {
constexpr std::size_t kFlushSize = 1 << 16;
}  // namespace

bool WriteTabFile(const DirResultStore& store, const std::string& path) {
  platform::ReplacementFile file;
  if (!file.Create(path).ok()) return false;
  std::string text(kDirTabHeader);
  bool written = true;
  // Count() is read again at every step: a running comparison may still be appending.
  for (long i = 0; written && i < store.Count(); ++i) {
    const auto record = store.Get(i);
    if (!record) break;
    char numbers[96];
    std::snprintf(numbers, sizeof numbers, "\t%d\t%d\t%d\t%d\t%d\t%d\n", record->isFile(),
                  record->onlyInSource(), record->onlyInMaster(), record->sizeDifferent(),
                  record->dateDifferent(), record->contentDifferent());
    text += std::to_string(i);
    text += '\t';
    text += record->fileName;
    text += '\t';
    text += record->dirMaster;
    text += '\t';
    text += record->dirSource;
    text += numbers;
    if (text.size() >= kFlushSize) {
      written = file.Write(text).ok();
      text.clear();
    }
  }
  // Every write counts: a full disk leaves the previous export in place, not a cut one.
  if (!written || !file.Write(text).ok()) return false;
  return file.Commit().ok();
}

}  // namespace lindrel::dircompare
