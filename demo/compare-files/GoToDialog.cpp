#include "demo/compare-files/GoToDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "demo/common/DialogParts.h"

namespace lindrel::demo {

GoToDialog::GoToDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmGoTo"));
  setWindowTitle(QStringLiteral("Go To Difference"));

  auto* label = new QLabel(QStringLiteral("Go To Difference Number"), this);
  label->setObjectName(QStringLiteral("lblGoTo"));
  txtGoTo_ = new QLineEdit(QStringLiteral("0"), this);
  txtGoTo_->setObjectName(QStringLiteral("txtGoTo"));
  label->setBuddy(txtGoTo_);
  cmdOK_ = Named(new QPushButton(QStringLiteral("OK"), this), "cmdOK");
  cmdCancel_ = Named(new QPushButton(QStringLiteral("Cancel"), this), "cmdCancel");

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(txtGoTo_);
  layout->addLayout(ClosingButtonRow(*this, cmdOK_, cmdCancel_));
}

QString GoToDialog::Text() const { return txtGoTo_->text(); }

void GoToDialog::SetText(const QString& text) {
  txtGoTo_->setText(text);
  txtGoTo_->selectAll();
}

void GoToDialog::showEvent(QShowEvent* event) {
  cancelled_ = false;
  QDialog::showEvent(event);
  txtGoTo_->setFocus();
}

void GoToDialog::done(int result) {
  cancelled_ = result != QDialog::Accepted;
  QDialog::done(result);
}

}  // namespace lindrel::demo
