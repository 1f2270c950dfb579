#include "lindrel/widgets/AboutDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "widgets/ComponentInfo.h"

namespace lindrel::widgets {

QPixmap ComponentIcon() { return QPixmap(QStringLiteral(":/lindrel/Lindrel32.png")); }

AboutDialog::AboutDialog(QWidget* parent)
    : AboutDialog(QStringLiteral("About Lindrel"), ComponentAboutText(), parent) {}

AboutDialog::AboutDialog(const QString& title, const QString& text, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("AboutBox"));
  setWindowTitle(title);
  setModal(true);

  auto* icon = new QLabel(this);
  icon->setObjectName(QStringLiteral("aboutIcon"));
  icon->setPixmap(ComponentIcon());
  icon->setFixedSize(32, 32);

  auto* name = new QLabel(text, this);
  name->setObjectName(QStringLiteral("aboutText"));

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("IDOK"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* top = new QHBoxLayout;
  top->addWidget(icon, 0, Qt::AlignTop);
  top->addSpacing(12);
  top->addWidget(name, 1);
  top->addWidget(ok, 0, Qt::AlignTop);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  setFixedSize(sizeHint());
}

}  // namespace lindrel::widgets
