// ModalDialogs: the one way the Qt layer and the demo run modal dialogs, message boxes
// and file pickers, so that tests can drive them without blocking.
//
// In normal use each call shows the real dialog and waits for the user. A test first
// calls TEST_SetNonInteractive(true); from then on nothing blocks:
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

#include <QFont>
#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

#include "lindrel/widgets/export.h"

class QDialog;
class QWidget;

namespace lindrel::widgets {

// Runs `dialog` modally and answers its result code (QDialog::Accepted or Rejected).
LINDREL_WIDGETS_EXPORT int ExecModal(QDialog& dialog);

// Shows a message box; answers the button pressed.
LINDREL_WIDGETS_EXPORT QMessageBox::StandardButton ShowMessage(
    QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
    QMessageBox::StandardButtons buttons = QMessageBox::Ok,
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

// The open-file dialog; answers the chosen path, or "" when cancelled.
LINDREL_WIDGETS_EXPORT QString GetOpenFileName(QWidget* parent, const QString& caption,
                                               const QString& directory,
                                               const QString& filter);

// The folder browser (folders only); answers the chosen path, or "" when cancelled.
LINDREL_WIDGETS_EXPORT QString GetExistingDirectory(QWidget* parent, const QString& caption,
                                                    const QString& directory = QString());

// The font dialog, starting at `font`; answers true with the chosen font in `font`, or
// false (and `font` unchanged) when cancelled.
LINDREL_WIDGETS_EXPORT bool GetFont(QWidget* parent, QFont& font);

// --- Test hooks ------------------------------------------------------------------------

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
