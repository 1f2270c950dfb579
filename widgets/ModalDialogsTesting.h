// Test hooks of ModalDialogs.h, for the tests of the Qt layer and the demo. Not
// installed.
//
// After TEST_SetNonInteractive(true) nothing blocks:
//  - ExecModal shows the dialog, hands it to the handler set with TEST_SetModalHandler
//    (which clicks, types or presses keys on it) and rejects it if it is still open;
//  - message boxes return the next queued answer (else their default button) and are
//    recorded;
//  - file pickers return the next queued path (else "", as if cancelled) and record
//    their request;
//  - the font dialog returns the next queued font (else it is cancelled) and is counted.
//
// Threading: GUI thread only.
#pragma once

#include "lindrel/widgets/ModalDialogs.h"

namespace lindrel::widgets {

struct MessageRecord {
  QMessageBox::Icon icon;
  QString title;
  QString text;
};

struct FileRequest {
  enum Kind { OpenFile, Directory } kind;
  QString caption;
  QString directory;
  QString filter;
};

// Turns the non-blocking test behaviour on or off; turning it off also clears the
// handler, the queued answers and the records.
LINDREL_WIDGETS_EXPORT void TEST_SetNonInteractive(bool on);
LINDREL_WIDGETS_EXPORT void TEST_SetModalHandler(std::function<void(QDialog&)> handler);
LINDREL_WIDGETS_EXPORT void TEST_QueueMessageAnswer(QMessageBox::StandardButton answer);
LINDREL_WIDGETS_EXPORT void TEST_QueueFileAnswer(const QString& path);
LINDREL_WIDGETS_EXPORT QList<MessageRecord> TEST_Messages();
LINDREL_WIDGETS_EXPORT QList<FileRequest> TEST_FileRequests();
// Dialogs run through ExecModal so far, by object name.
LINDREL_WIDGETS_EXPORT QStringList TEST_ModalDialogs();
// The next answer of the font dialog: a font, or std::nullopt for cancel.
LINDREL_WIDGETS_EXPORT void TEST_QueueFontAnswer(const std::optional<QFont>& answer);
LINDREL_WIDGETS_EXPORT int TEST_FontRequests();

}  // namespace lindrel::widgets
