#include "lindrel/widgets/FileNames.h"

#include <QDir>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace lindrel::widgets {
namespace {

bool Stat(const QString& name, struct stat& status) {
  return !name.isEmpty() && !HoldsNul(name) &&
         ::stat(FileNameToBytes(name).constData(), &status) == 0;
}

}  // namespace

QString ShownFileName(const QString& name) {
  QString shown = ShownText(name);
  // SYMBOL FOR NULL: a NUL would end the text where it is shown.
  shown.replace(QChar(0), QChar(0x2400));
  return shown;
}

bool HoldsNul(const QString& name) { return name.contains(QChar(0)); }

QStringList FileNameArguments(int argc, const char* const* argv) {
  QStringList operands;
  for (int i = 1; i < argc; ++i) operands << FileNameFromBytes(QByteArrayView(argv[i]));
  return operands;
}

QString AbsoluteFileName(const QString& name) {
  if (name.isEmpty()) return name;
  if (name.startsWith(QLatin1Char('/'))) return QDir::cleanPath(name);
  std::vector<char> buffer(4096);
  while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return QDir::cleanPath(name);
    buffer.resize(buffer.size() * 2);
  }
  return QDir::cleanPath(FileNameFromBytes(QByteArrayView(buffer.data())) + QLatin1Char('/') +
                         name);
}

bool FileNameExists(const QString& name) {
  struct stat status {};
  return Stat(name, status);
}

bool IsDirectoryName(const QString& name) {
  struct stat status {};
  return Stat(name, status) && S_ISDIR(status.st_mode);
}

bool IsRegularFileName(const QString& name) {
  struct stat status {};
  return Stat(name, status) && S_ISREG(status.st_mode);
}

}  // namespace lindrel::widgets
