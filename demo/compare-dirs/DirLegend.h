// DirLegend: tbLegend, the legend under the Compare Directories window's grid: the three
// colours of its entries and a Hide button (cmdHideLegend), in the frame frmLegend, which
// stays centred in the bar. Under a dark application palette the colours are their dark
// variants.
//
// Threading: GUI thread only.
#pragma once

#include <QWidget>

namespace lindrel::demo {

class DirLegend : public QWidget {
  Q_OBJECT

 public:
  explicit DirLegend(QWidget* parent = nullptr);
  // Centres the frame in the bar (also done on every resize).
  void CentreItems();

 signals:
  void HideClicked();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  QWidget* frame_ = nullptr;
};

}  // namespace lindrel::demo
