#include "demo/compare-files/GoToLineDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "demo/common/DialogParts.h"

namespace lindrel::demo {

GoToLineDialog::GoToLineDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmGoToLine"));
  setWindowTitle(QStringLiteral("Go To Line"));

  auto* label = new QLabel(QStringLiteral("Line number"), this);
  txtLine_ = new QLineEdit(this);
  txtLine_->setObjectName(QStringLiteral("txtLine"));
  label->setBuddy(txtLine_);
  optMaster_ = Named(new QRadioButton(QStringLiteral("In the &master"), this), "optMaster");
  optSource_ = Named(new QRadioButton(QStringLiteral("In the &source"), this), "optSource");
  optMaster_->setChecked(true);
  auto* cmdOK = Named(new QPushButton(QStringLiteral("OK"), this), "cmdOK");
  auto* cmdCancel = Named(new QPushButton(QStringLiteral("Cancel"), this), "cmdCancel");

  auto* sides = new QHBoxLayout;
  sides->addWidget(optMaster_);
  sides->addWidget(optSource_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(txtLine_);
  layout->addLayout(sides);
  layout->addLayout(ClosingButtonRow(*this, cmdOK, cmdCancel));
}

long GoToLineDialog::Line() const {
  bool ok = false;
  const long line = txtLine_->text().trimmed().toLong(&ok);
  return ok ? line : 0;
}

void GoToLineDialog::SetLine(long line) {
  txtLine_->setText(QString::number(line));
  txtLine_->selectAll();
}

bool GoToLineDialog::Source() const { return optSource_->isChecked(); }

void GoToLineDialog::SetSource(bool source) {
  (source ? optSource_ : optMaster_)->setChecked(true);
}

void GoToLineDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  txtLine_->setFocus();
}

}  // namespace lindrel::demo
