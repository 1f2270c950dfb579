#include "widgets/view/ComparedFilesWatcher.h"

#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <utility>
#include <vector>

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include "lindrel/widgets/FileNames.h"

namespace lindrel::widgets {
namespace {

constexpr int kPollMs = 1000;

bool kernelNews = true;  // TEST_SetKernelNews

// A folder on the way: its entries made, removed or renamed, and the folder itself
// renamed, removed or made unreadable.
constexpr std::uint32_t kFolderNews = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                                      IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
// A compared file: written, its times or links changed, renamed or removed.
constexpr std::uint32_t kFileNews =
    IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_DELETE_SELF | IN_MOVE_SELF;

ComparedFilesWatcher::State StateOf(const QString& path, const FileStamp& compared) {
  const FileStamp now = FileStamp::Of(path);
  if (now == compared) return ComparedFilesWatcher::State::AsCompared;
  return now.exists ? ComparedFilesWatcher::State::Changed : ComparedFilesWatcher::State::Gone;
}

// The folders on the way to `file`, from the root, each with the name that follows it on
// the way, and then the file itself with no name.
std::vector<std::pair<QByteArray, QByteArray>> Way(const QString& file) {
  const QByteArray path = FileNameToBytes(AbsoluteFileName(file));
  std::vector<std::pair<QByteArray, QByteArray>> way;
  QByteArray folder("/");
  for (const QByteArray& name : path.split('/')) {
    if (name.isEmpty()) continue;
    way.emplace_back(folder, name);
    if (!folder.endsWith('/')) folder += '/';
    folder += name;
  }
  if (!way.empty()) way.emplace_back(folder, QByteArray());
  return way;
}

}  // namespace

ComparedFilesWatcher::ComparedFilesWatcher(QObject* parent) : QObject(parent) {
  poll_ = new QTimer(this);
  poll_->setInterval(kPollMs);
  connect(poll_, &QTimer::timeout, this, &ComparedFilesWatcher::Check);
}

ComparedFilesWatcher::~ComparedFilesWatcher() { Stop(); }

void ComparedFilesWatcher::Watch(const QString& master, const FileStamp& masterStamp,
                                 const QString& source, const FileStamp& sourceStamp) {
  Stop();
  master_ = master;
  source_ = source;
  masterStamp_ = masterStamp;
  sourceStamp_ = sourceStamp;
  watching_ = true;
  // Without inotify every path counts as one that cannot be watched: the files are
  // looked at in turn.
  inotify_ = kernelNews ? ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC) : -1;
  if (inotify_ >= 0) {
    notifier_ = new QSocketNotifier(inotify_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &ComparedFilesWatcher::ReadNews);
  }
  Check();
}

void ComparedFilesWatcher::Stop() {
  watching_ = false;
  poll_->stop();
  watched_.clear();
  if (notifier_ != nullptr) {
    // Later: Stop may run inside the notifier's own signal.
    notifier_->setEnabled(false);
    notifier_->deleteLater();
    notifier_ = nullptr;
  }
  // Closing the instance removes all its watches at once.
  if (inotify_ >= 0) ::close(inotify_);
  inotify_ = -1;
  masterState_ = State::AsCompared;
  sourceState_ = State::AsCompared;
}

QStringList ComparedFilesWatcher::WatchedPaths() const {
  QStringList paths;
  for (const auto& [path, watched] : watched_)
    if (watched.descriptor >= 0) paths << FileNameFromBytes(path);
  return paths;
}

bool ComparedFilesWatcher::IsPolling() const { return poll_->isActive(); }

void ComparedFilesWatcher::TEST_SetKernelNews(bool on) { kernelNews = on; }

void ComparedFilesWatcher::Rewatch() {
  std::map<QByteArray, Watched> wanted;
  for (const QString& file : {master_, source_}) {
    if (file.isEmpty() || HoldsNul(file)) continue;
    for (const auto& [path, next] : Way(file)) {
      Watched& want = wanted[path];
      want.folder = want.folder || !next.isEmpty();
      if (!next.isEmpty()) want.next.insert(next);
    }
  }
  // Folders first: a change below one that is watched already is heard of, so nothing
  // made between a look at a path and the watch set on it goes unseen.
  for (auto& [path, want] : wanted) {
    auto have = watched_.find(path);
    struct stat status {};
    if (::stat(path.constData(), &status) != 0 || (want.folder && !S_ISDIR(status.st_mode))) {
      // Not there, or no folder (nor, then, anything beyond it): its folder's watch tells
      // when that changes.
      if (have != watched_.end()) {
        const int descriptor = have->second.descriptor;
        watched_.erase(have);
        Release(descriptor);
      }
      continue;
    }
    want.device = static_cast<std::uint64_t>(status.st_dev);
    want.inode = static_cast<std::uint64_t>(status.st_ino);
    if (have != watched_.end() && have->second.descriptor >= 0 &&
        have->second.device == want.device && have->second.inode == want.inode) {
      have->second.folder = want.folder;
      have->second.next = want.next;
      continue;
    }
    // A new file or folder under the name, or one not watched yet. The same one reached by
    // two paths (a hard link, the folder of both files) shares one watch.
    if (inotify_ >= 0) {
      want.descriptor = ::inotify_add_watch(inotify_, path.constData(),
                                            (want.folder ? kFolderNews : kFileNews) | IN_MASK_ADD);
    }
    const int old = have != watched_.end() ? have->second.descriptor : -1;
    watched_[path] = want;
    if (old != want.descriptor) Release(old);
  }
  for (auto it = watched_.begin(); it != watched_.end();) {
    if (wanted.count(it->first) != 0) {
      ++it;
      continue;
    }
    const int descriptor = it->second.descriptor;
    it = watched_.erase(it);
    Release(descriptor);
  }
  // A path that is there but could not be watched (a folder that cannot be read, the
  // watch limit reached, no inotify): looked at every second until it can be.
  const bool blind = std::any_of(watched_.begin(), watched_.end(),
                                 [](const auto& entry) { return entry.second.descriptor < 0; });
  if (blind && !poll_->isActive()) poll_->start();
  if (!blind) poll_->stop();
}

void ComparedFilesWatcher::Release(int descriptor) {
  if (descriptor < 0 || inotify_ < 0) return;
  for (const auto& [path, watched] : watched_)
    if (watched.descriptor == descriptor) return;
  // Ignored on failure: the kernel drops the watch by itself once its file is gone.
  ::inotify_rm_watch(inotify_, descriptor);
}

void ComparedFilesWatcher::ReadNews() {
  if (inotify_ < 0) return;
  bool look = false;     // the files may have changed
  bool rewatch = false;  // and so may the paths to them
  alignas(inotify_event) char buffer[8192];
  for (;;) {
    const ssize_t got = ::read(inotify_, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;  // all read (EAGAIN)
    for (ssize_t at = 0; at < got;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      if (event->mask & IN_Q_OVERFLOW) {
        look = rewatch = true;
        continue;
      }
      for (auto& [path, watched] : watched_) {
        if (watched.descriptor != event->wd) continue;
        if (event->mask & IN_IGNORED) {
          // The watch is gone with its file or folder; the path is watched anew if it
          // leads somewhere again.
          watched.descriptor = -1;
          look = rewatch = true;
        } else if (!watched.folder) {
          look = true;
          rewatch = rewatch || (event->mask & (IN_DELETE_SELF | IN_MOVE_SELF)) != 0;
        } else if (event->len == 0 || watched.next.count(QByteArray(event->name)) != 0) {
          // The folder itself, or the next name on the way: anything beyond may differ.
          look = rewatch = true;
        }
      }
    }
  }
  if (!watching_ || !look) return;
  if (rewatch)
    Check();
  else
    Look();
}

void ComparedFilesWatcher::Check() {
  if (!watching_) return;
  Rewatch();
  Look();
}

void ComparedFilesWatcher::Look() {
  const State master = StateOf(master_, masterStamp_);
  const State source = StateOf(source_, sourceStamp_);
  if (master == masterState_ && source == sourceState_) return;
  masterState_ = master;
  sourceState_ = source;
  emit FilesChanged();
}

}  // namespace lindrel::widgets
