#include "demo/common/PanelStatusBar.h"

#include <QLabel>

namespace lindrel::demo {

PanelStatusBar::PanelStatusBar(int panelCount, int stretchingPanel, QWidget* parent)
    : QStatusBar(parent) {
  setObjectName(QStringLiteral("sbStatus"));
  setSizeGripEnabled(false);
  for (int number = 1; number <= panelCount; ++number) {
    auto* panel = new QLabel(this);
    panel->setObjectName(QStringLiteral("sbStatusPanel%1").arg(number));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setTextFormat(Qt::PlainText);
    panels_.push_back(panel);
    addWidget(panel, number == stretchingPanel ? 1 : 0);
  }
}

QLabel* PanelStatusBar::Panel(int panel) const {
  if (panel < 1 || static_cast<size_t>(panel) > panels_.size()) return nullptr;
  return panels_[static_cast<size_t>(panel - 1)];
}

void PanelStatusBar::SetText(int panel, const QString& text) {
  if (QLabel* label = Panel(panel)) label->setText(text);
}

QString PanelStatusBar::Text(int panel) const {
  const QLabel* label = Panel(panel);
  return label != nullptr ? label->text() : QString();
}

}  // namespace lindrel::demo
