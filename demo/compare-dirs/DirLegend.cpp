#include "demo/compare-dirs/DirLegend.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "demo/common/LegendItems.h"
#include "demo/common/Palette.h"

namespace lindrel::demo {

DirLegend::DirLegend(QWidget* parent) : QWidget(parent) {
  namespace colours = palette;
  setObjectName(QStringLiteral("tbLegend"));
  frame_ = new QWidget(this);
  frame_->setObjectName(QStringLiteral("frmLegend"));
  auto* items = new QHBoxLayout(frame_);
  items->setContentsMargins(0, 0, 0, 0);
  items->addWidget(new QLabel(QStringLiteral("Legend:"), frame_));
  items->addSpacing(8);
  items->addWidget(LegendSwatch(colours::kOnlyInMaster, frame_));
  items->addWidget(LegendCaption(QStringLiteral("= Only In Master Directory"),
                                 colours::kOnlyInMaster, "lblOnlyInMaster", frame_));
  items->addSpacing(8);
  items->addWidget(LegendSwatch(colours::kOnlyInSource, frame_));
  items->addWidget(LegendCaption(QStringLiteral("= Only In Source Directory"),
                                 colours::kOnlyInSource, "lblOnlyInSource", frame_));
  items->addSpacing(8);
  items->addWidget(LegendSwatch(colours::kChanged, frame_));
  items->addWidget(
      LegendCaption(QStringLiteral("= File has changed"), colours::kChanged, "lblChanged", frame_));
  items->addSpacing(16);
  auto* hide = new QPushButton(QStringLiteral("&Hide"), frame_);
  hide->setObjectName(QStringLiteral("cmdHideLegend"));
  hide->setAutoDefault(false);
  items->addWidget(hide);
  connect(hide, &QPushButton::clicked, this, &DirLegend::HideClicked);
  frame_->adjustSize();
  setFixedHeight(frame_->height() + 6);
  setMinimumWidth(frame_->width());
}

void DirLegend::CentreItems() {
  // The frame has no layout around it, so it keeps its own size in the bar.
  frame_->move(width() / 2 - frame_->width() / 2, (height() - frame_->height()) / 2);
}

void DirLegend::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  CentreItems();
}

void DirLegend::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange)
    RecolourLegend(*this);
}

}  // namespace lindrel::demo
