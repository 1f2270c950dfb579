// ComparedFilesWatcher: keeps an eye on the two files of the last comparison and tells
// the view when either is no longer the file that was compared: written to, replaced,
// or gone, also by way of a folder on its path renamed, removed or put back.
//
// It asks the kernel (inotify) for the news of each file and of every folder on the way
// to it, by the names' own bytes, so that a name that is not UTF-8 is watched like any
// other. A folder's news count when they concern the next name on the way (a report
// written beside the files does not); the file's own news always count. After any of
// them the watches follow the path again: a file or folder renamed over, or gone and back
// at any level, is a new one, watched from then on. Whatever the news, the verdict comes
// from the files' stamps against those taken when the comparison began.
//
// Where no news can be had (no inotify, a folder that cannot be read, the watch limit
// reached), the files are looked at every second instead.
//
// Threading: GUI thread only.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <map>
#include <set>

#include "lindrel/widgets/FileStamp.h"
#include "widgets/view/Testable.h"

class QSocketNotifier;
class QTimer;

namespace lindrel::widgets {

class LINDREL_WIDGETS_TESTABLE ComparedFilesWatcher : public QObject {
  Q_OBJECT

 public:
  // What has become of one compared file.
  enum class State { AsCompared, Changed, Gone };

  explicit ComparedFilesWatcher(QObject* parent = nullptr);
  ~ComparedFilesWatcher() override;

  // Watches `master` and `source`, which were as `masterStamp` and `sourceStamp` when
  // compared, and looks at them at once (they may have changed during the comparison).
  void Watch(const QString& master, const FileStamp& masterStamp, const QString& source,
             const FileStamp& sourceStamp);
  // Watches nothing; both files read as they were compared.
  void Stop();
  bool IsWatching() const { return watching_; }

  // Follows the paths again and looks at both files now; emits FilesChanged when either
  // state differs from before.
  void Check();
  State MasterState() const { return masterState_; }
  State SourceState() const { return sourceState_; }
  // The paths watched now, for tests: the files and the folders on the way to them.
  QStringList WatchedPaths() const;
  // True when some path on the way could not be watched and the files are looked at
  // every second instead.
  bool IsPolling() const;
  // Tests: with `on` false, watchers set up from then on have no inotify, as where there
  // is none.
  static void TEST_SetKernelNews(bool on);

 signals:
  void FilesChanged();

 private:
  // One path of the watch list: the watch set on it and the file or folder it was set on.
  struct Watched {
    int descriptor = -1;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool folder = false;
    std::set<QByteArray> next;  // for a folder: the names on the way through it
  };

  void Rewatch();
  void Release(int descriptor);
  void ReadNews();
  void Look();

  int inotify_ = -1;
  QSocketNotifier* notifier_ = nullptr;
  QTimer* poll_ = nullptr;
  bool watching_ = false;
  QString master_, source_;
  FileStamp masterStamp_, sourceStamp_;
  std::map<QByteArray, Watched> watched_;  // by path; a folder sorts before what it holds
  State masterState_ = State::AsCompared;
  State sourceState_ = State::AsCompared;
};

}  // namespace lindrel::widgets
