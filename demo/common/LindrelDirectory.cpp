#include "demo/common/LindrelDirectory.h"

#include <QDir>
#include <QFile>

#include "platform/LindrelDirectory.h"

namespace lindrel::demo {

QString LindrelDirectory(QString* error) {
  platform::Status failure;
  std::optional<std::string> directory = platform::LindrelDirectory(&failure);
  if (!directory) {
    if (error) *error = QString::fromStdString(failure.ToString());
    return QString();
  }
  return QFile::decodeName(QByteArray::fromStdString(*directory));
}

QString DefaultReportPath(const QString& name) {
  QString directory = LindrelDirectory();
  if (directory.isEmpty()) directory = QDir::tempPath();
  return directory + QLatin1Char('/') + name;
}

}  // namespace lindrel::demo
