#include "demo/compare-files/LegendBar.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "demo/compare-files/GridColours.h"

namespace lindrel::demo {
namespace {

QLabel* ColourBox(const QColor& colour, QWidget* parent) {
  auto* box = new QLabel(parent);
  box->setFixedSize(14, 14);
  box->setAutoFillBackground(true);
  box->setFrameShape(QFrame::Box);
  QPalette palette = box->palette();
  palette.setColor(QPalette::Window, colour);
  box->setPalette(palette);
  return box;
}

QLabel* Caption(const QString& text, const QColor& colour, const char* name, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromUtf8(name));
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
  return label;
}

}  // namespace

LegendBar::LegendBar(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("tbLegend"));
  auto* frame = new QWidget(this);
  frame->setObjectName(QStringLiteral("frmLegend"));
  auto* items = new QHBoxLayout(frame);
  items->setContentsMargins(0, 0, 0, 0);
  items->addWidget(new QLabel(QStringLiteral("Legend:"), frame));
  items->addSpacing(8);
  items->addWidget(ColourBox(grid_colours::kOnlyInMaster, frame));
  items->addWidget(
      Caption(QStringLiteral("= Only In Master "), grid_colours::kOnlyInMaster, "lblOnlyInMaster", frame));
  items->addSpacing(8);
  items->addWidget(ColourBox(grid_colours::kOnlyInSource, frame));
  items->addWidget(
      Caption(QStringLiteral("= Only In Source"), grid_colours::kOnlyInSource, "lblOnlyInSource", frame));
  items->addSpacing(8);
  items->addWidget(ColourBox(grid_colours::kChanged, frame));
  items->addWidget(Caption(QStringLiteral("= Change"), grid_colours::kChanged, "lblChange", frame));
  items->addSpacing(16);
  cmdHideLegend_ = new QPushButton(QStringLiteral("&Hide"), frame);
  cmdHideLegend_->setObjectName(QStringLiteral("cmdHideLegend"));
  cmdHideLegend_->setAutoDefault(false);
  items->addWidget(cmdHideLegend_);

  auto* bar = new QHBoxLayout(this);
  bar->setContentsMargins(4, 2, 4, 2);
  bar->addStretch(1);
  bar->addWidget(frame);
  bar->addStretch(1);
  connect(cmdHideLegend_, &QPushButton::clicked, this, &LegendBar::HideClicked);
}

}  // namespace lindrel::demo
