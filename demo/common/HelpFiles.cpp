#include "demo/common/HelpFiles.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

#include "demo/DemoPaths.h"

namespace lindrel::demo {
namespace {

QString FindPage(const QString& fileName) {
  QStringList folders;
  if (QCoreApplication::instance() != nullptr) {
    QString programFolder = QCoreApplication::applicationDirPath();
    folders << programFolder + QStringLiteral("/help")
            << programFolder + QStringLiteral("/../" LINDREL_DEMO_HELP_RELATIVE_INSTALL_DIR);
  }
  folders << QStringLiteral(LINDREL_DEMO_HELP_BUILD_DIR);
  for (const QString& folder : folders) {
    QFileInfo page(folder + '/' + fileName);
    if (page.isFile()) return page.canonicalFilePath();
  }
  return folders.first() + '/' + fileName;
}

}  // namespace

QString HelpFilePath() { return FindPage(QStringLiteral("LindrelDemo.html")); }

QString MakerPagePath() { return FindPage(QStringLiteral("Morvantis.html")); }

}  // namespace lindrel::demo
