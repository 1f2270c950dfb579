/// @file
/// The About box of the component, AboutDialog, and its icon.
#pragma once

#include <QDialog>

#include "lindrel/widgets/export.h"

namespace lindrel::widgets {

/// The small modal About box of the Lindrel component: its 32 x 32 icon, its
/// name and an "OK" button that closes it. The demo reuses it with its own texts.
///
/// Threading: GUI thread only.
class LINDREL_WIDGETS_EXPORT AboutDialog : public QDialog {
  Q_OBJECT

 public:
  /// The component's own About box.
  explicit AboutDialog(QWidget* parent = nullptr);
  /// An About box with another title and text, still showing the component's icon.
  AboutDialog(const QString& title, const QString& text, QWidget* parent = nullptr);
};

/// The component's 32 x 32 icon.
LINDREL_WIDGETS_EXPORT QPixmap ComponentIcon();

}  // namespace lindrel::widgets
