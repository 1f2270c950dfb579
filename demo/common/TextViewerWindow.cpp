#include "demo/common/TextViewerWindow.h"

#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QTextBrowser>
#include <QUrl>

#include "demo/common/DesktopOpener.h"

namespace lindrel::demo {
namespace {

// Larger files are cut: the viewer is a fallback, not an editor for huge reports.
constexpr qint64 kMaxShownBytes = 32 * 1024 * 1024;

}  // namespace

TextViewerWindow* TextViewerWindow::Show(const QString& path) {
  auto* window = new TextViewerWindow(path);
  window->show();
  return window;
}

TextViewerWindow::TextViewerWindow(const QString& path, QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("TextViewerWindow"));
  setAttribute(Qt::WA_DeleteOnClose);
  setAttribute(Qt::WA_QuitOnClose, false);
  setWindowTitle(QFileInfo(path).fileName() + QStringLiteral(" - LindrelDemo"));
  resize(800, 600);

  view_ = new QTextBrowser(this);
  view_->setReadOnly(true);
  view_->setOpenExternalLinks(true);
  setCentralWidget(view_);

  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    view_->setPlainText(CannotOpenText(path) + QLatin1Char('\n') + file.errorString());
    return;
  }
  QByteArray content = file.read(kMaxShownBytes);
  QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("htm") || suffix == QLatin1String("html")) {
    view_->setSearchPaths({QFileInfo(path).absolutePath()});
    view_->setHtml(QString::fromUtf8(content));
  } else {
    view_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    view_->setPlainText(QString::fromUtf8(content));
  }
}

}  // namespace lindrel::demo
