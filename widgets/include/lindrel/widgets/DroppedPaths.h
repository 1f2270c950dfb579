/// @file
/// DroppedPaths: what a drag carries, sorted into the drops a comparison window takes
/// (one file, two files, two folders) and everything else, which is refused with a
/// sentence that says what to drop instead.
///
/// Only local files and folders count; their names are kept as the bytes they are (see
/// FileNames.h), in the order the drag lists them: the first is the master.
///
/// Threading: plain functions.
#pragma once

#include <QString>
#include <QStringList>

#include "lindrel/widgets/export.h"

class QMimeData;

namespace lindrel::widgets {

/// A drop, sorted.
struct LINDREL_WIDGETS_EXPORT DroppedPaths {
  /// What was dropped.
  enum class Kind { OneFile, TwoFiles, TwoFolders, Refused };
  Kind kind = Kind::Refused;  ///< what was dropped
  QStringList paths;          ///< the names, master first (none when refused)
  QString refusal;            ///< why a Refused drop is refused
};

/// True when `data` may be a drop of files or folders (it carries addresses); a drag of
/// anything else is not taken at all.
LINDREL_WIDGETS_EXPORT bool CarriesPaths(const QMimeData* data);

/// Sorts the paths `data` carries.
LINDREL_WIDGETS_EXPORT DroppedPaths SortDrop(const QMimeData* data);

}  // namespace lindrel::widgets
