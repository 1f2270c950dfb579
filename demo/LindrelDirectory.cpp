#include "demo/LindrelDirectory.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <QDir>
#include <QFileInfo>

namespace lindrel::demo {
namespace {

QString Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? QString::fromLocal8Bit(value) : QString();
}

QString ChooseDirectory() {
  QString home = Environment("LINDREL_HOME");
  if (!home.isEmpty()) return home;
  QString config = Environment("XDG_CONFIG_HOME");
  if (!config.isEmpty() && QDir::isAbsolutePath(config)) return config + "/lindrel";
  QString user = Environment("HOME");
  if (!user.isEmpty()) return user + "/.config/lindrel";
  return QString();
}

}  // namespace

QString LindrelDirectory(QString* error) {
  QString directory = ChooseDirectory();
  if (directory.isEmpty()) {
    if (error) *error = QStringLiteral("neither LINDREL_HOME nor HOME is set");
    return QString();
  }
  if (QFileInfo(directory).isDir()) return directory;

  // Parents get the usual mode; only the Lindrel directory itself is private.
  QString parent = QFileInfo(directory).absolutePath();
  if (!QDir().mkpath(parent)) {
    if (error) *error = QStringLiteral("cannot create %1").arg(parent);
    return QString();
  }
  QByteArray path = QFile::encodeName(directory);
  if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) {
    if (error) {
      *error = QStringLiteral("cannot create %1: %2")
                   .arg(directory, QString::fromLocal8Bit(std::strerror(errno)));
    }
    return QString();
  }
  if (!QFileInfo(directory).isDir()) {
    if (error) *error = QStringLiteral("%1 is not a directory").arg(directory);
    return QString();
  }
  return directory;
}

}  // namespace lindrel::demo
