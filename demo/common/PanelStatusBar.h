// PanelStatusBar: the status bar of the comparison windows, a row of sunken panels
// numbered from 1 that show plain text. One panel takes the spare room; the others are as
// wide as their text. The bar is named "sbStatus" and its panels "sbStatusPanel1" and on.
//
// Threading: GUI thread only.
#pragma once

#include <QStatusBar>
#include <QString>

#include <vector>

class QLabel;

namespace lindrel::demo {

class PanelStatusBar : public QStatusBar {
  Q_OBJECT

 public:
  PanelStatusBar(int panelCount, int stretchingPanel, QWidget* parent);

  // Panel numbers outside 1..count are ignored, and read as empty.
  void SetText(int panel, const QString& text);
  QString Text(int panel) const;
  // The label of panel `panel` (1-based); nullptr outside 1..count.
  QLabel* Panel(int panel) const;

 private:
  std::vector<QLabel*> panels_;
};

}  // namespace lindrel::demo
