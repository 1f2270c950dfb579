#include "demo/common/SettingsDirectory.h"

#include <QDir>
#include <QFile>

#include "lindrel/HostFiles.h"

namespace lindrel::demo {

QString SettingsDirectory(QString* error) {
  std::string failure;
  std::optional<std::string> directory = files::LindrelDirectory(&failure);
  if (!directory) {
    if (error) *error = QString::fromStdString(failure);
    return QString();
  }
  return QFile::decodeName(QByteArray::fromStdString(*directory));
}

QString DefaultReportPath(const QString& name) {
  QString directory = SettingsDirectory();
  if (directory.isEmpty()) directory = QDir::tempPath();
  return directory + QLatin1Char('/') + name;
}

}  // namespace lindrel::demo
