// The Compare Directories window's part of the review screenshots.
#pragma once

class QDir;
class QString;

// Writes compare-dirs-*.png into `out`, with trees made under `scratch`; false when a
// picture could not be written.
bool SaveCompareDirScreenshots(const QDir& out, const QString& scratch);

// Writes compare-dirs-first-open.png: the window opened in a 1600 x 1000 main window with
// nothing stored (its size and columns as a new user first sees them), after a comparison
// of a tree of folders with "Look in subdirectories" off. Run first, in a fresh Lindrel
// directory (`home`); it leaves no settings behind.
bool SaveCompareDirFirstOpenScreenshot(const QDir& out, const QString& home);
