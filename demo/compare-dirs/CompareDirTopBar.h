// CompareDirTopBar: the row of controls above the Compare Directories window's grid: the
// buttons cmdCompareDir and cmdViewReport (hidden until a comparison has completed) and
// the toolbar Toolbar1 with cmdRefresh, and cmdStop, shown only while a scan runs.
//
// Threading: GUI thread only.
#pragma once

#include <QWidget>

class QPushButton;

namespace lindrel::demo {

class CompareDirTopBar : public QWidget {
  Q_OBJECT

 public:
  explicit CompareDirTopBar(QWidget* parent = nullptr);

  QPushButton* CompareButton() const { return compare_; }
  QPushButton* ViewReportButton() const { return viewReport_; }
  QPushButton* StopButton() const { return stop_; }

 signals:
  void CompareClicked();
  void ViewReportClicked();
  void RefreshClicked();
  void StopClicked();

 private:
  QPushButton* compare_ = nullptr;
  QPushButton* viewReport_ = nullptr;
  QPushButton* stop_ = nullptr;
};

}  // namespace lindrel::demo
