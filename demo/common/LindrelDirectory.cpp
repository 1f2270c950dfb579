#include "demo/common/LindrelDirectory.h"

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

}  // namespace lindrel::demo
