#include "widgets/view/ComparedFilesWatcher.h"

#include <QFileInfo>
#include <QFileSystemWatcher>

#include "lindrel/widgets/FileNames.h"

namespace lindrel::widgets {
namespace {

ComparedFilesWatcher::State StateOf(const QString& path, const FileStamp& compared) {
  const FileStamp now = FileStamp::Of(path);
  if (now == compared) return ComparedFilesWatcher::State::AsCompared;
  return now.exists ? ComparedFilesWatcher::State::Changed : ComparedFilesWatcher::State::Gone;
}

}  // namespace

ComparedFilesWatcher::ComparedFilesWatcher(QObject* parent) : QObject(parent) {
  watcher_ = new QFileSystemWatcher(this);
  connect(watcher_, &QFileSystemWatcher::fileChanged, this, &ComparedFilesWatcher::Check);
  connect(watcher_, &QFileSystemWatcher::directoryChanged, this, &ComparedFilesWatcher::Check);
}

void ComparedFilesWatcher::Watch(const QString& master, const FileStamp& masterStamp,
                                 const QString& source, const FileStamp& sourceStamp) {
  Stop();
  master_ = master;
  source_ = source;
  masterStamp_ = masterStamp;
  sourceStamp_ = sourceStamp;
  watching_ = true;
  Rewatch();
  Check();
}

void ComparedFilesWatcher::Stop() {
  watching_ = false;
  if (const QStringList watched = WatchedPaths(); !watched.isEmpty())
    watcher_->removePaths(watched);
  watchedFiles_.clear();
  masterState_ = State::AsCompared;
  sourceState_ = State::AsCompared;
}

QStringList ComparedFilesWatcher::WatchedPaths() const {
  return watcher_->files() + watcher_->directories();
}

void ComparedFilesWatcher::Rewatch() {
  // A file renamed over, or gone and back, is a new file that the old watch (still on the
  // list, on a file without a name) does not see: it is watched anew.
  QStringList wanted;
  for (const QString& file : {master_, source_}) {
    if (file.isEmpty()) continue;
    const FileStamp now = FileStamp::Of(file);
    const bool listed = watcher_->files().contains(file);
    auto watched = watchedFiles_.find(file);
    const bool same = watched != watchedFiles_.end() && watched->second.device == now.device &&
                      watched->second.inode == now.inode;
    if (listed && (!now.exists || !same)) watcher_->removePath(file);
    if (now.exists && (!listed || !same) && !wanted.contains(file)) {
      wanted << file;
      watchedFiles_[file] = now;
    }
    const QString folder = QFileInfo(file).absolutePath();
    if (!watcher_->directories().contains(folder) && !wanted.contains(folder) &&
        IsDirectoryName(folder))
      wanted << folder;
  }
  if (!wanted.isEmpty()) watcher_->addPaths(wanted);
}

void ComparedFilesWatcher::Check() {
  if (!watching_) return;
  Rewatch();
  const State master = StateOf(master_, masterStamp_);
  const State source = StateOf(source_, sourceStamp_);
  if (master == masterState_ && source == sourceState_) return;
  masterState_ = master;
  sourceState_ = source;
  emit FilesChanged();
}

}  // namespace lindrel::widgets
