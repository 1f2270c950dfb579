#include "demo/common/LegendItems.h"

#include <QLabel>
#include <QPalette>

namespace lindrel::demo {

QLabel* LegendSwatch(const QColor& colour, QWidget* parent) {
  auto* box = new QLabel(parent);
  box->setFixedSize(14, 14);
  box->setAutoFillBackground(true);
  box->setFrameShape(QFrame::Box);
  QPalette palette = box->palette();
  palette.setColor(QPalette::Window, colour);
  box->setPalette(palette);
  return box;
}

QLabel* LegendCaption(const QString& text, const QColor& colour, const char* name, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromUtf8(name));
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
  return label;
}

}  // namespace lindrel::demo
