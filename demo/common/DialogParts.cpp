#include "demo/common/DialogParts.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QWidget>

#include "demo/common/FileNames.h"
#include "lindrel/widgets/ModalDialogs.h"

namespace lindrel::demo {

QPushButton* BrowseButton(const char* name, QWidget* parent) {
  auto* button = Named(new QPushButton(QStringLiteral("&..."), parent), name);
  button->setAutoDefault(false);
  button->setMaximumWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 24);
  return button;
}

QHBoxLayout* ClosingButtonRow(QDialog& dialog, QPushButton* accept, QPushButton* cancel) {
  accept->setDefault(true);
  cancel->setAutoDefault(false);
  QObject::connect(accept, &QPushButton::clicked, &dialog, &QDialog::accept);
  QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  row->addWidget(accept);
  row->addWidget(cancel);
  return row;
}

bool NoNameHoldsNul(QDialog& dialog, const QStringList& names) {
  for (const QString& name : names) {
    if (!HoldsNul(name)) continue;
    widgets::ShowMessage(
        &dialog, QMessageBox::Warning, dialog.windowTitle(),
        QStringLiteral("A name cannot hold a NUL byte: %1").arg(ShownFileName(name)));
    return false;
  }
  return true;
}

void TabInOrder(std::initializer_list<QWidget*> widgets) {
  QWidget* previous = nullptr;
  for (QWidget* widget : widgets) {
    if (previous != nullptr) QWidget::setTabOrder(previous, widget);
    previous = widget;
  }
}

}  // namespace lindrel::demo
