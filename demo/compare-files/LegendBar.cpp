#include "demo/compare-files/LegendBar.h"

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "demo/common/LegendItems.h"
#include "demo/common/Palette.h"

namespace lindrel::demo {

LegendBar::LegendBar(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("tbLegend"));
  auto* frame = new QWidget(this);
  frame->setObjectName(QStringLiteral("frmLegend"));
  auto* items = new QHBoxLayout(frame);
  items->setContentsMargins(0, 0, 0, 0);
  items->addWidget(new QLabel(QStringLiteral("Legend:"), frame));
  items->addSpacing(8);
  items->addWidget(LegendSwatch(palette::kOnlyInMaster, frame));
  items->addWidget(LegendCaption(QStringLiteral("= Only In Master "), palette::kOnlyInMaster,
                                 "lblOnlyInMaster", frame));
  items->addSpacing(8);
  items->addWidget(LegendSwatch(palette::kOnlyInSource, frame));
  items->addWidget(LegendCaption(QStringLiteral("= Only In Source"), palette::kOnlyInSource,
                                 "lblOnlyInSource", frame));
  items->addSpacing(8);
  items->addWidget(LegendSwatch(palette::kChanged, frame));
  items->addWidget(
      LegendCaption(QStringLiteral("= Change"), palette::kChanged, "lblChange", frame));
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

void LegendBar::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange)
    RecolourLegend(*this);
}

}  // namespace lindrel::demo
