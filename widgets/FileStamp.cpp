#include "lindrel/widgets/FileStamp.h"

#include "lindrel/widgets/FileNames.h"

#include <sys/stat.h>

namespace lindrel::widgets {

FileStamp FileStamp::Of(const QString& fileName) {
  FileStamp stamp;
  struct stat status {};
  if (fileName.isEmpty() || HoldsNul(fileName) ||
      ::stat(FileNameToBytes(fileName).constData(), &status) != 0)
    return stamp;
  stamp.exists = true;
  stamp.device = static_cast<std::uint64_t>(status.st_dev);
  stamp.inode = static_cast<std::uint64_t>(status.st_ino);
  stamp.size = static_cast<std::int64_t>(status.st_size);
  stamp.modifiedSeconds = static_cast<std::int64_t>(status.st_mtim.tv_sec);
  stamp.modifiedNanoseconds = static_cast<std::int64_t>(status.st_mtim.tv_nsec);
  return stamp;
}

QString DescribeChange(const FileStamp& compared, const FileStamp& now) {
  if (now == compared) return {};
  if (!now.exists) return QStringLiteral("is gone");
  if (!compared.exists) return QStringLiteral("was created");
  if (now.device != compared.device || now.inode != compared.inode)
    return QStringLiteral("was replaced");
  if (now.size != compared.size)
    return QStringLiteral("is now %1 bytes, it was %2 when compared")
        .arg(now.size)
        .arg(compared.size);
  return QStringLiteral("was rewritten");
}

}  // namespace lindrel::widgets
