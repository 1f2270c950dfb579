#include "demo/common/DesktopOpener.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#include "demo/common/FileNames.h"
#include "demo/common/TextViewerWindow.h"
#include "lindrel/Errors.h"
#include "lindrel/widgets/ModalDialogs.h"

namespace lindrel::demo {
namespace {

std::function<void(const QString&)>& TestOpener() {
  static std::function<void(const QString&)> opener;
  return opener;
}

void Tell(QWidget* owner, const QString& text) {
  widgets::ShowMessage(owner, QMessageBox::Warning, QStringLiteral("LindrelDemo"), text);
}

OpenOutcome Open(const QString& path, QWidget* owner) {
  if (!IsRegularFileName(path)) {
    Tell(owner, CannotOpenText(ShownFileName(path)) + QStringLiteral("\nThe file does not exist."));
    return OpenOutcome::Failed;
  }
  if (TestOpener()) {
    TestOpener()(path);
    return OpenOutcome::Command;
  }
  QString command = qEnvironmentVariable("LINDREL_OPEN_COMMAND");
  if (!command.isEmpty()) {
    // Run directly, never through a shell: the path may hold any character.
    if (QProcess::startDetached(command, {path})) return OpenOutcome::Command;
    Tell(owner, CannotOpenText(path) + QStringLiteral("\nCannot start \"%1\".").arg(command));
    return OpenOutcome::Failed;
  }
  if (QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath())))
    return OpenOutcome::Desktop;
  TextViewerWindow::Show(path);
  return OpenOutcome::BuiltInViewer;
}

}  // namespace

QString CannotOpenText(const QString& shownPath) {
  const std::string_view text = ErrorText(kErrorUnableToOpenFile);
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())) + shownPath;
}

OpenOutcome OpenDocument(const QString& path, QWidget* owner) { return Open(path, owner); }

OpenOutcome OpenInTextEditor(const QString& path, QWidget* owner) { return Open(path, owner); }

void TEST_SetOpener(std::function<void(const QString& path)> opener) {
  TestOpener() = std::move(opener);
}

}  // namespace lindrel::demo
