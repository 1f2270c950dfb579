#include "demo/compare-files/PleaseWaitWindow.h"

#include <QFormLayout>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace lindrel::demo {

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
  auto* busy = new QProgressBar(this);
  busy->setObjectName(QStringLiteral("busyIndicator"));
  busy->setRange(0, 0);  // no known end: the bar runs back and forth
  busy->setTextVisible(false);

  auto* files = new QFormLayout;
  files->addRow(QStringLiteral("Master:"), master_);
  files->addRow(QStringLiteral("Source:"), source_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Comparing files. Please wait..."), this));
  layout->addLayout(files);
  layout->addWidget(busy);
}

void PleaseWaitWindow::SetFiles(const QString& master, const QString& source) {
  master_->setText(master);
  source_->setText(source);
}

QString PleaseWaitWindow::MasterText() const { return master_->text(); }
QString PleaseWaitWindow::SourceText() const { return source_->text(); }

}  // namespace lindrel::demo
