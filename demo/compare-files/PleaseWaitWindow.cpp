#include "demo/compare-files/PleaseWaitWindow.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace lindrel::demo {
namespace {

constexpr int kWatchIntervalMs = 100;

}  // namespace

PleaseWaitWindow::PleaseWaitWindow(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint) {
  setObjectName(QStringLiteral("frmPleaseWait"));
  setWindowTitle(QStringLiteral("Please Wait"));
  setModal(false);
  master_ = new QLabel(this);
  source_ = new QLabel(this);
  for (QLabel* label : {master_, source_}) {
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setMinimumWidth(360);
  }
  master_->setAccessibleName(QStringLiteral("Master file"));
  source_->setAccessibleName(QStringLiteral("Source file"));
  auto* busy = new QProgressBar(this);
  busy->setObjectName(QStringLiteral("busyIndicator"));
  busy->setRange(0, 0);  // no known end: the bar runs back and forth
  busy->setTextVisible(false);
  busy->setAccessibleName(QStringLiteral("Comparing"));
  cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  cancel_->setObjectName(QStringLiteral("cmdCancel"));
  cancel_->setToolTip(QStringLiteral("Stop this comparison (Esc)"));
  connect(cancel_, &QPushButton::clicked, this, &PleaseWaitWindow::reject);

  watch_ = new QTimer(this);
  connect(watch_, &QTimer::timeout, this, &PleaseWaitWindow::CheckJob);

  auto* files = new QFormLayout;
  files->addRow(QStringLiteral("Master:"), master_);
  files->addRow(QStringLiteral("Source:"), source_);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(cancel_, QDialogButtonBox::RejectRole);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Comparing files. Please wait..."), this));
  layout->addLayout(files);
  layout->addWidget(busy);
  layout->addWidget(buttons);
}

void PleaseWaitWindow::SetFiles(const QString& master, const QString& source) {
  master_->setText(master);
  source_->setText(source);
}

QString PleaseWaitWindow::MasterText() const { return master_->text(); }
QString PleaseWaitWindow::SourceText() const { return source_->text(); }

void PleaseWaitWindow::FollowJob(std::function<bool()> running) {
  running_ = std::move(running);
  watch_->start(showAgainAfterMs_);
}

void PleaseWaitWindow::StopFollowing() {
  watch_->stop();
  running_ = nullptr;
  hide();
}

void PleaseWaitWindow::CheckJob() {
  if (!running_ || !running_()) {
    StopFollowing();
    return;
  }
  if (isHidden()) {
    show();
    // So that Esc reaches the window without a click on it first.
    activateWindow();
    cancel_->setFocus();
  }
  watch_->setInterval(kWatchIntervalMs);
}

void PleaseWaitWindow::hideEvent(QHideEvent* event) {
  QDialog::hideEvent(event);
  // The keys go back to the window whose comparison this was, not nowhere.
  if (QGuiApplication::focusWindow() == windowHandle() && parentWidget() != nullptr)
    parentWidget()->window()->activateWindow();
}

void PleaseWaitWindow::reject() {
  // Hiding is the comparison's owner's business: it knows whether anything was stopped.
  emit CancelRequested();
}

}  // namespace lindrel::demo
