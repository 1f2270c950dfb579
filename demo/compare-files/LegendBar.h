// LegendBar: tbLegend, the Compare Files window's legend: "Legend:", then a blue box with
// "= Only In Master " in blue, a green box with "= Only In Source" in green and a red box
// with "= Change" in red, centred in the bar (frmLegend), and the "&Hide" button
// (cmdHideLegend) that asks the window to hide it. Under a dark application palette the
// colours are their dark variants.
//
// Threading: GUI thread only.
#pragma once

#include <QWidget>

class QPushButton;

namespace lindrel::demo {

class LegendBar : public QWidget {
  Q_OBJECT

 public:
  explicit LegendBar(QWidget* parent = nullptr);

  QPushButton* HideButton() const { return cmdHideLegend_; }

 signals:
  void HideClicked();

 protected:
  void changeEvent(QEvent* event) override;

 private:
  QPushButton* cmdHideLegend_ = nullptr;
};

}  // namespace lindrel::demo
