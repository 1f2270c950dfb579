#include "demo/common/LegendItems.h"

#include <QLabel>
#include <QPalette>

#include "demo/common/Palette.h"

namespace lindrel::demo {
namespace {

constexpr const char* kStandardColour = "legendColour";
constexpr const char* kRole = "legendRole";

void Paint(QLabel* label) {
  const QColor standard = label->property(kStandardColour).value<QColor>();
  const auto role = static_cast<QPalette::ColorRole>(label->property(kRole).toInt());
  QPalette colours = label->palette();
  colours.setColor(role, palette::Shown(standard));
  label->setPalette(colours);
}

QLabel* Coloured(QLabel* label, const QColor& colour, QPalette::ColorRole role) {
  label->setProperty(kStandardColour, colour);
  label->setProperty(kRole, static_cast<int>(role));
  Paint(label);
  return label;
}

}  // namespace

QLabel* LegendSwatch(const QColor& colour, QWidget* parent) {
  auto* box = new QLabel(parent);
  box->setFixedSize(14, 14);
  box->setAutoFillBackground(true);
  box->setFrameShape(QFrame::Box);
  return Coloured(box, colour, QPalette::Window);
}

QLabel* LegendCaption(const QString& text, const QColor& colour, const char* name,
                      QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromUtf8(name));
  return Coloured(label, colour, QPalette::WindowText);
}

void RecolourLegend(QWidget& legend) {
  for (QLabel* label : legend.findChildren<QLabel*>()) {
    if (label->property(kStandardColour).isValid()) Paint(label);
  }
}

}  // namespace lindrel::demo
