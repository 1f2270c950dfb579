#include "demo/compare-files/LegendBar.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "demo/common/LegendItems.h"
#include "demo/compare-files/GridColours.h"

namespace lindrel::demo {

LegendBar::LegendBar(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("tbLegend"));
  auto* frame = new QWidget(this);
  frame->setObjectName(QStringLiteral("frmLegend"));
  auto* items = new QHBoxLayout(frame);
  items->setContentsMargins(0, 0, 0, 0);
  items->addWidget(new QLabel(QStringLiteral("Legend:"), frame));
  items->addSpacing(8);
  items->addWidget(LegendSwatch(grid_colours::kOnlyInMaster, frame));
  items->addWidget(
      LegendCaption(QStringLiteral("= Only In Master "), grid_colours::kOnlyInMaster, "lblOnlyInMaster", frame));
  items->addSpacing(8);
  items->addWidget(LegendSwatch(grid_colours::kOnlyInSource, frame));
  items->addWidget(
      LegendCaption(QStringLiteral("= Only In Source"), grid_colours::kOnlyInSource, "lblOnlyInSource", frame));
  items->addSpacing(8);
  items->addWidget(LegendSwatch(grid_colours::kChanged, frame));
  items->addWidget(LegendCaption(QStringLiteral("= Change"), grid_colours::kChanged, "lblChange", frame));
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
