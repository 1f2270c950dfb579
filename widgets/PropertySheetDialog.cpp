#include "widgets/PropertySheetDialog.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "lindrel/widgets/ModalDialogs.h"
#include "lindrel/widgets/PropertySheet.h"
#include "widgets/PropertyPage.h"

namespace lindrel::widgets {

PropertySheetDialog::PropertySheetDialog(const QList<QObject*>& components, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("LindrelPropertySheet"));
  setWindowTitle(QStringLiteral("Lindrel Control Properties"));

  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("propertyPages"));
  for (PropertyPage* page :
       {NewCLindrelPropPage(tabs_), NewCLindrelPPG_CF(tabs_), NewCLindrelPPGAbout(tabs_)}) {
    page->Load(components);
    tabs_->addTab(page, page->Caption());
    connect(page, &PropertyPage::DirtyChanged, this, &PropertySheetDialog::UpdateApplyButton);
    pages_.push_back(page);
  }

  auto* buttons = new QDialogButtonBox(
      QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this);
  buttons->setObjectName(QStringLiteral("sheetButtons"));
  applyButton_ = buttons->button(QDialogButtonBox::Apply);
  applyButton_->setText(QStringLiteral("&Apply"));
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    ApplyPages();
    accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(applyButton_, &QPushButton::clicked, this, &PropertySheetDialog::ApplyPages);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addWidget(buttons);
  UpdateApplyButton();
}

bool PropertySheetDialog::ApplyPages() {
  bool wrote = false;
  for (PropertyPage* page : pages_) wrote = page->Apply() || wrote;
  appliedAnything_ = appliedAnything_ || wrote;
  UpdateApplyButton();
  return wrote;
}

void PropertySheetDialog::UpdateApplyButton() {
  bool dirty = false;
  for (PropertyPage* page : pages_) dirty = dirty || page->IsDirty();
  if (applyButton_ != nullptr) applyButton_->setEnabled(dirty);
}

bool ShowPropertySheet(const QList<QObject*>& components, QWidget* parent) {
  PropertySheetDialog sheet(components, parent);
  ExecModal(sheet);
  return sheet.AppliedAnything();
}

}  // namespace lindrel::widgets
