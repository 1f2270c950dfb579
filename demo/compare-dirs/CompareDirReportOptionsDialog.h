// CompareDirReportOptionsDialog: frmCompareDirReportOptions, "'Compare Directories'
// Report Options", the modal dialog that edits the Compare Directories window's three
// report paths (text, comma-delimited, HTML; the tab-delimited report is written to the
// comma-delimited path). "&OK" hands the fields to the window (saved when the window
// closes); "Cancel", Escape or closing the dialog changes nothing.
//
// Threading: GUI thread only.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace lindrel::demo {

class CompareDirExchange;

class CompareDirReportOptionsDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CompareDirReportOptionsDialog(CompareDirExchange& window, QWidget* parent = nullptr);

  bool Cancelled() const { return cancelled_; }
  void done(int result) override;

 private:
  void PickInto(QLineEdit* field);

  CompareDirExchange& window_;
  bool cancelled_ = true;
  QLineEdit* txtDefaultReportTXT_ = nullptr;
  QLineEdit* txtDefaultReportCSV_ = nullptr;
  QLineEdit* txtDefaultReportHTM_ = nullptr;
  QPushButton* cmdOK_ = nullptr;
  QPushButton* cbCancel_ = nullptr;
};

}  // namespace lindrel::demo
