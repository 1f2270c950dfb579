// DroppedPaths: what a drag over one of LindrelDemo's windows carries, sorted into the
// drops the windows take (one file, two files, two folders) and everything else, which
// is refused with a sentence that says what to drop instead.
//
// Only local files and folders count (file addresses with no host or "localhost"), and
// no name holding a NUL; their names are kept as the bytes they are (see FileNames.h), in
// the order the drag lists them: the first is the master.
//
// Threading: plain functions.
#pragma once

#include <QString>
#include <QStringList>

class QMimeData;

namespace lindrel::demo {

struct DroppedPaths {
  enum class Kind { OneFile, TwoFiles, TwoFolders, Refused };
  Kind kind = Kind::Refused;
  QStringList paths;
  QString refusal;  // why a Refused drop is refused
};

// True when `data` may be a drop of files or folders (it carries addresses); a drag of
// anything else is not taken at all.
bool CarriesPaths(const QMimeData* data);

// Sorts the paths `data` carries.
DroppedPaths SortDrop(const QMimeData* data);

}  // namespace lindrel::demo
