// The Compare Files window and the files outside it: the bar that says a compared file
// changed on disk, and files or folders dropped on the window.
#include <QDropEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>

#include "demo/common/DroppedPaths.h"
#include "demo/common/FileNames.h"
#include "demo/common/Palette.h"
#include "demo/compare-files/CompareFilesWindow.h"
#include "demo/compare-files/ComparedFilesWatcher.h"
#include "lindrel/widgets/ModalDialogs.h"

namespace lindrel::demo {
namespace {

using State = ComparedFilesWatcher::State;

QString Verb(State state, bool plural) {
  if (state != State::Gone) return QStringLiteral("changed on disk.");
  return plural ? QStringLiteral("are no longer on disk.")
                : QStringLiteral("is no longer on disk.");
}

// "The source file changed on disk.", "The master and source files changed on disk.",
// "The master file is no longer on disk. The source file changed on disk."
QString ChangedText(State master, State source) {
  if (master == State::AsCompared && source == State::AsCompared) return {};
  if (master == source) return QStringLiteral("The master and source files ") + Verb(master, true);
  QStringList sentences;
  if (master != State::AsCompared)
    sentences << QStringLiteral("The master file ") + Verb(master, false);
  if (source != State::AsCompared)
    sentences << QStringLiteral("The source file ") + Verb(source, false);
  return sentences.join(QLatin1Char(' '));
}

}  // namespace

// --- Files changed on disk -------------------------------------------------------------------

QWidget* CompareFilesWindow::BuildChangedOnDiskBar() {
  diskBar_ = new QWidget(this);
  diskBar_->setObjectName(QStringLiteral("diskChangedBar"));
  diskBar_->setAutoFillBackground(true);
  QPalette colours = diskBar_->palette();
  colours.setColor(QPalette::Window, palette::kNotice);
  diskBar_->setPalette(colours);
  lblDiskChanged_ = new QLabel(diskBar_);
  lblDiskChanged_->setObjectName(QStringLiteral("lblDiskChanged"));
  cmdDiskRefresh_ = new QPushButton(QStringLiteral("&Refresh"), diskBar_);
  cmdDiskRefresh_->setObjectName(QStringLiteral("cmdDiskRefresh"));
  cmdDiskRefresh_->setToolTip(QStringLiteral("Compare the files again (F5)"));
  cmdDiskRefresh_->setAutoDefault(false);
  connect(cmdDiskRefresh_, &QPushButton::clicked, this, &CompareFilesWindow::Refresh_View);
  auto* row = new QHBoxLayout(diskBar_);
  row->setContentsMargins(6, 2, 6, 2);
  row->addWidget(lblDiskChanged_, 1);
  row->addWidget(cmdDiskRefresh_);
  diskBar_->hide();
  return diskBar_;
}

QString CompareFilesWindow::ChangedOnDiskText() const {
  return diskBar_->isHidden() ? QString() : lblDiskChanged_->text();
}

void CompareFilesWindow::ComparedFilesChanged() {
  const QString text = ChangedText(watcher_->MasterState(), watcher_->SourceState());
  if (text.isEmpty()) {
    diskBar_->hide();
    return;
  }
  lblDiskChanged_->setText(text);
  lblDiskChanged_->setToolTip(
      QStringLiteral("Master: %1\nSource: %2")
          .arg(ShownFileName(ComparedMaster()), ShownFileName(ComparedSource())));
  diskBar_->show();
}

// --- Drag and drop ------------------------------------------------------------------------------

void CompareFilesWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (CarriesPaths(event->mimeData())) event->acceptProposedAction();
}

void CompareFilesWindow::dragMoveEvent(QDragMoveEvent* event) {
  if (CarriesPaths(event->mimeData())) event->acceptProposedAction();
}

void CompareFilesWindow::dropEvent(QDropEvent* event) {
  if (!CarriesPaths(event->mimeData())) return;
  event->acceptProposedAction();
  TakeDrop(event->mimeData(), 0);
}

void CompareFilesWindow::TakeDrop(const QMimeData* data, int side) {
  const DroppedPaths drop = SortDrop(data);
  QString master = masterFileName_, source = sourceFileName_;
  switch (drop.kind) {
    case DroppedPaths::Kind::Refused: RefuseDrop(drop.refusal); return;
    case DroppedPaths::Kind::TwoFolders:
      if (main_ == nullptr) {
        RefuseDrop(QStringLiteral("Folders are compared in the Compare Directories window."));
        return;
      }
      // Not inside the drop: the drag's source waits for it to end, and a comparison
      // runs the event loop while it starts.
      QTimer::singleShot(0, this, [this, paths = drop.paths] {
        main_->ComparePairIn(QString::fromUtf8(kCompareDirName), paths[0], paths[1]);
      });
      return;
    case DroppedPaths::Kind::TwoFiles:
      master = drop.paths[0];
      source = drop.paths[1];
      break;
    case DroppedPaths::Kind::OneFile:
      if (side == 0) {
        RefuseDrop(
            QStringLiteral("One file was dropped: drop two files together to compare "
                           "them, or one file on the master or the source grid of the "
                           "side-by-side view to replace that file."));
        return;
      }
      (side == 1 ? master : source) = drop.paths[0];
      if ((side == 1 ? source : master).isEmpty()) {
        // Half a pair: nothing to compare yet.
        (side == 1 ? masterFileName_ : sourceFileName_) = drop.paths[0];
        SetStatus(3, side == 1 ? QStringLiteral("Master file set; drop the source file on the "
                                                "source grid to compare them.")
                               : QStringLiteral("Source file set; drop the master file on the "
                                                "master grid to compare them."));
        return;
      }
      break;
  }
  QTimer::singleShot(0, this, [this, master, source] { ComparePair(master, source); });
}

void CompareFilesWindow::RefuseDrop(const QString& why) {
  SetStatus(3, why);
  widgets::ShowMessage(this, QMessageBox::Warning, QStringLiteral("LindrelDemo"), why);
}

}  // namespace lindrel::demo
