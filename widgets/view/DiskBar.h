// DiskBar: the bar above a comparison view's grids (object name diskChangedBar) that says
// when a compared file changed on disk or is gone, with a Refresh button (cmdDiskRefresh).
// It watches the two files of the last result from the stamps taken as their comparison
// began; the view never compares again by itself for it.
//
// Threading: GUI thread only.
#pragma once

#include <QString>
#include <QWidget>

#include "lindrel/widgets/ComparisonPalette.h"
#include "lindrel/widgets/FileStamp.h"

class QLabel;
class QPushButton;

namespace lindrel::widgets {

class ComparedFilesWatcher;

class DiskBar : public QWidget {
  Q_OBJECT

 public:
  explicit DiskBar(QWidget* parent = nullptr);

  // Watches `master` and `source`, which were as the stamps say when compared, and tells
  // at once when either is no longer so.
  void Watch(const QString& master, const FileStamp& masterStamp, const QString& source,
             const FileStamp& sourceStamp);
  // Watches nothing; the bar goes.
  void Stop();
  // The bar's sentence, "" when it is hidden.
  QString Text() const;
  void SetColours(const ComparisonPalette& colours);
  ComparedFilesWatcher* Watcher() const { return watcher_; }

 signals:
  void RefreshClicked();

 private:
  void FilesChanged();

  QLabel* text_ = nullptr;
  QPushButton* refresh_ = nullptr;
  ComparedFilesWatcher* watcher_ = nullptr;
  QString master_;
  QString source_;
};

}  // namespace lindrel::widgets
