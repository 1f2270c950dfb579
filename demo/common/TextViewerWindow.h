// TextViewerWindow: the built-in read-only viewer used when the desktop cannot open a
// file. HTML files are shown rendered, anything else as plain text. Each window deletes
// itself when closed and does not keep the program running.
//
// Threading: GUI thread only.
#pragma once

#include <QMainWindow>

class QTextBrowser;

namespace lindrel::demo {

class TextViewerWindow : public QMainWindow {
  Q_OBJECT

 public:
  // Opens a viewer window on `path`; answers it (owned by itself).
  static TextViewerWindow* Show(const QString& path);

  explicit TextViewerWindow(const QString& path, QWidget* parent = nullptr);

 private:
  QTextBrowser* view_ = nullptr;
};

}  // namespace lindrel::demo
