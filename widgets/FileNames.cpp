#include "lindrel/widgets/FileNames.h"

#include <QDir>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace lindrel::widgets {
namespace {

bool Stat(const QString& name, struct stat& status) {
  return !name.isEmpty() && ::stat(FileNameToBytes(name).constData(), &status) == 0;
}

}  // namespace

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
