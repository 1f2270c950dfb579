#include "demo/main/HelpMenu.h"

#include "demo/common/DesktopOpener.h"
#include "demo/common/HelpFiles.h"
#include "demo/main/MainWindow.h"
#include "lindrel/widgets/AboutDialog.h"
#include "lindrel/widgets/ModalDialogs.h"

namespace lindrel::demo {

void ShowHelpFile(QWidget* parent) { OpenDocument(HelpFilePath(), parent); }

void ShowAboutBox(QWidget* parent) {
  widgets::AboutDialog about(
      QStringLiteral("About LindrelDemo"),
      QStringLiteral("LindrelDemo\n%1\n\nA demonstration of the Lindrel file and directory "
                     "comparison component.")
          .arg(QString::fromUtf8(MainWindow::kTitle)),
      parent);
  about.setObjectName(QStringLiteral("frmAbout"));
  widgets::ExecModal(about);
}

void ShowMakerPage(QWidget* parent) { OpenDocument(MakerPagePath(), parent); }

}  // namespace lindrel::demo
