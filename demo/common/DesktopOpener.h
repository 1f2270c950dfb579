// Opening files for the user: a document with its default viewer (help pages, HTML
// reports) and a text file in the text editor (text and delimited reports).
//
// When LINDREL_OPEN_COMMAND is set and not empty it names a program that is started with
// the path as its only argument instead (tests use it to record what would be opened).
// Otherwise the desktop's default application is asked; when there is none (no desktop),
// a built-in read-only viewer window shows the file.
//
// Threading: GUI thread only.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace lindrel::demo {

enum class OpenOutcome {
  Command,        // started LINDREL_OPEN_COMMAND
  Desktop,        // handed to the desktop's default application
  BuiltInViewer,  // shown in the built-in viewer
  Failed,         // nothing could show it; the user was told why
};

// Opens `path` with its default viewer. A missing file, or a command that cannot be
// started, is reported to the user in a message box naming the path and the reason.
OpenOutcome OpenDocument(const QString& path, QWidget* owner);

// Starts the text editor on `path` (same rules).
OpenOutcome OpenInTextEditor(const QString& path, QWidget* owner);

// The component's own words for a file that cannot be opened, followed by `shownPath`.
QString CannotOpenText(const QString& shownPath);

// Tests: while set, an existing file is handed to `opener` (synchronously, as
// OpenOutcome::Command) instead of being opened; nullptr restores the real opening.
void TEST_SetOpener(std::function<void(const QString& path)> opener);

}  // namespace lindrel::demo
