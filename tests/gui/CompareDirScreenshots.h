// The Compare Directories window's part of the review screenshots.
#pragma once

class QDir;
class QString;

// Writes compare-dirs-*.png into `out`, with trees made under `scratch`; false when a
// picture could not be written.
bool SaveCompareDirScreenshots(const QDir& out, const QString& scratch);
