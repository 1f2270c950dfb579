// ComparedFilesWatcher: keeps an eye on the two files of the last comparison and tells
// the view when either is no longer the file that was compared: written to, replaced,
// or gone.
//
// It watches each file and the folder it lies in. Editors that save by writing a new
// file and renaming it over the old one leave a watch on a file that no longer has a
// name; the folder's watch notices the rename, and the file's new self is watched from
// then on. Whatever the notification, the verdict comes from the files' stamps against
// those taken when the comparison began, so a notification for another file of the
// folder (a report written next to them) changes nothing.
//
// Threading: GUI thread only.
#pragma once

#include <QObject>
#include <QString>

#include <map>

#include "lindrel/widgets/FileStamp.h"
#include "widgets/view/Testable.h"

class QFileSystemWatcher;

namespace lindrel::widgets {

class LINDREL_WIDGETS_TESTABLE ComparedFilesWatcher : public QObject {
  Q_OBJECT

 public:
  // What has become of one compared file.
  enum class State { AsCompared, Changed, Gone };

  explicit ComparedFilesWatcher(QObject* parent = nullptr);

  // Watches `master` and `source`, which were as `masterStamp` and `sourceStamp` when
  // compared, and looks at them at once (they may have changed during the comparison).
  void Watch(const QString& master, const FileStamp& masterStamp, const QString& source,
             const FileStamp& sourceStamp);
  // Watches nothing; both files read as they were compared.
  void Stop();
  bool IsWatching() const { return watching_; }

  // Looks at both files now; emits FilesChanged when either state differs from before.
  void Check();
  State MasterState() const { return masterState_; }
  State SourceState() const { return sourceState_; }
  // The paths on the watch list, for tests: the files and their folders.
  QStringList WatchedPaths() const;

 signals:
  void FilesChanged();

 private:
  void Rewatch();

  QFileSystemWatcher* watcher_ = nullptr;
  bool watching_ = false;
  QString master_, source_;
  FileStamp masterStamp_, sourceStamp_;
  std::map<QString, FileStamp> watchedFiles_;  // the file each watch was set on
  State masterState_ = State::AsCompared;
  State sourceState_ = State::AsCompared;
};

}  // namespace lindrel::widgets
