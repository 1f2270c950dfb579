#include "lindrel/widgets/DroppedPaths.h"

#include <QMimeData>
#include <QUrl>

#include "lindrel/widgets/FileNames.h"

namespace lindrel::widgets {
namespace {

DroppedPaths Refused(const QString& why) { return {DroppedPaths::Kind::Refused, {}, why}; }

// The name of a local file address as its bytes: an address percent-encodes every byte
// of the name, UTF-8 or not.
QString LocalName(const QUrl& url) {
  return FileNameFromBytes(
      QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
}

}  // namespace

bool CarriesPaths(const QMimeData* data) { return data != nullptr && data->hasUrls(); }

DroppedPaths SortDrop(const QMimeData* data) {
  if (!CarriesPaths(data))
    return Refused(QStringLiteral("Only files and folders can be dropped here."));
  QStringList paths;
  for (const QUrl& url : data->urls()) {
    // An address naming another computer ("file://fileserver/d/b.txt") is no local file,
    // though its path would name one here.
    const QString host = url.host();
    if (!url.isLocalFile() ||
        !(host.isEmpty() || host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0))
      return Refused(QStringLiteral("Only files and folders on this computer can be compared: %1")
                         .arg(url.toDisplayString()));
    paths << LocalName(url);
    if (HoldsNul(paths.last()))
      return Refused(
          QStringLiteral("A name cannot hold a NUL byte: %1").arg(ShownFileName(paths.last())));
  }
  int folders = 0;
  for (const QString& path : paths) {
    if (!FileNameExists(path))
      return Refused(QStringLiteral("Not found: %1").arg(ShownFileName(path)));
    folders += IsDirectoryName(path);
  }
  const int files = static_cast<int>(paths.size()) - folders;
  if (paths.size() == 1 && files == 1) return {DroppedPaths::Kind::OneFile, paths, {}};
  if (paths.size() == 2 && files == 2) return {DroppedPaths::Kind::TwoFiles, paths, {}};
  if (paths.size() == 2 && folders == 2) return {DroppedPaths::Kind::TwoFolders, paths, {}};
  if (paths.size() == 2)
    return Refused(QStringLiteral("A file can only be compared with a file, and a folder with a "
                                  "folder: %1 and %2.")
                       .arg(ShownFileName(paths[0]), ShownFileName(paths[1])));
  if (paths.size() == 1)
    return Refused(
        QStringLiteral("One folder was dropped: drop two folders together to compare "
                       "them."));
  return Refused(QStringLiteral("%1 items were dropped: drop two files, or two folders, to compare "
                                "them.")
                     .arg(paths.size()));
}

}  // namespace lindrel::widgets
