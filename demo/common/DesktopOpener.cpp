#include "demo/common/DesktopOpener.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#include "demo/common/FileNames.h"
#include "demo/common/TextViewerWindow.h"
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
    Tell(owner, QStringLiteral("Unable to open file:  %1\nThe file does not exist.")
                    .arg(ShownFileName(path)));
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
    Tell(owner,
         QStringLiteral("Unable to open file:  %1\nCannot start \"%2\".").arg(path, command));
    return OpenOutcome::Failed;
  }
  if (QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath())))
    return OpenOutcome::Desktop;
  TextViewerWindow::Show(path);
  return OpenOutcome::BuiltInViewer;
}

}  // namespace

OpenOutcome OpenDocument(const QString& path, QWidget* owner) { return Open(path, owner); }

OpenOutcome OpenInTextEditor(const QString& path, QWidget* owner) { return Open(path, owner); }

void TEST_SetOpener(std::function<void(const QString& path)> opener) {
  TestOpener() = std::move(opener);
}

}  // namespace lindrel::demo
