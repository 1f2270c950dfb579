#include "widgets/view/DiskBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "lindrel/widgets/FileNames.h"
#include "widgets/view/ComparedFilesWatcher.h"

namespace lindrel::widgets {
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

DiskBar::DiskBar(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("diskChangedBar"));
  setAutoFillBackground(true);
  SetColours(ComparisonPalette{});
  text_ = new QLabel(this);
  text_->setObjectName(QStringLiteral("lblDiskChanged"));
  refresh_ = new QPushButton(QStringLiteral("&Refresh"), this);
  refresh_->setObjectName(QStringLiteral("cmdDiskRefresh"));
  refresh_->setToolTip(QStringLiteral("Compare the files again (F5)"));
  refresh_->setAutoDefault(false);
  connect(refresh_, &QPushButton::clicked, this, &DiskBar::RefreshClicked);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(6, 2, 6, 2);
  row->addWidget(text_, 1);
  row->addWidget(refresh_);
  hide();
  watcher_ = new ComparedFilesWatcher(this);
  connect(watcher_, &ComparedFilesWatcher::FilesChanged, this, &DiskBar::FilesChanged);
}

void DiskBar::SetColours(const ComparisonPalette& colours) {
  QPalette shades = palette();
  shades.setColor(QPalette::Window, colours.notice);
  setPalette(shades);
}

void DiskBar::Watch(const QString& master, const FileStamp& masterStamp, const QString& source,
                    const FileStamp& sourceStamp) {
  master_ = master;
  source_ = source;
  watcher_->Watch(master, masterStamp, source, sourceStamp);
}

void DiskBar::Stop() {
  watcher_->Stop();
  hide();
}

QString DiskBar::Text() const { return isHidden() ? QString() : text_->text(); }

void DiskBar::FilesChanged() {
  const QString text = ChangedText(watcher_->MasterState(), watcher_->SourceState());
  if (text.isEmpty()) {
    hide();
    return;
  }
  text_->setText(text);
  text_->setToolTip(
      QStringLiteral("Master: %1\nSource: %2").arg(ShownFileName(master_), ShownFileName(source_)));
  show();
}

}  // namespace lindrel::widgets
