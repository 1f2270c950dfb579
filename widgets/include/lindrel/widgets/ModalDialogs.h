/// @file
/// ModalDialogs: the one way the Qt layer and the demo run modal dialogs, message boxes
/// and file pickers. Each call shows the real dialog and waits for the user; the library's
/// tests can answer them without blocking (see widgets/ModalDialogsTesting.h).
///
/// Threading: GUI thread only.
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

/// Runs `dialog` modally and answers its result code (QDialog::Accepted or Rejected).
LINDREL_WIDGETS_EXPORT int ExecModal(QDialog& dialog);

/// Shows a message box; answers the button pressed.
LINDREL_WIDGETS_EXPORT QMessageBox::StandardButton ShowMessage(
    QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
    QMessageBox::StandardButtons buttons = QMessageBox::Ok,
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

/// The open-file dialog; answers the chosen path, or "" when cancelled.
LINDREL_WIDGETS_EXPORT QString GetOpenFileName(QWidget* parent, const QString& caption,
                                               const QString& directory, const QString& filter);

/// The folder browser (folders only); answers the chosen path, or "" when cancelled.
LINDREL_WIDGETS_EXPORT QString GetExistingDirectory(QWidget* parent, const QString& caption,
                                                    const QString& directory = QString());

/// The font dialog, starting at `font`; answers true with the chosen font in `font`, or
/// false (and `font` unchanged) when cancelled.
LINDREL_WIDGETS_EXPORT bool GetFont(QWidget* parent, QFont& font);

}  // namespace lindrel::widgets
