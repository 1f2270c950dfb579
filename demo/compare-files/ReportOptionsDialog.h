// ReportOptionsDialog: frmCompareFilesReportOptions, "'Compare Files' Report Options",
// the modal tab dialog (tabs "General", "HTML", "Comma Delimited", "Text") that sets the
// Compare Files window's default report type and HTML style, the three default report
// paths and the HTML title.
//
// Opening reads the window's values; the HTML style frame is shown only while the HTML
// report is selected. "&OK" hands the values back; "Cancel", Escape or closing the
// window sets the cancelled flag and changes nothing.
//
// Threading: GUI thread only.
#pragma once

#include <QDialog>

#include <array>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace lindrel::demo {

class CompareFilesExchange;

class ReportOptionsDialog : public QDialog {
  Q_OBJECT

 public:
  explicit ReportOptionsDialog(CompareFilesExchange& window, QWidget* parent = nullptr);

  bool Cancelled() const { return cancelled_; }

  void done(int result) override;

 private:
  QWidget* BuildGeneralTab();
  QWidget* BuildPathTab(const char* pathName, const char* buttonName, QLineEdit** path,
                        QLineEdit** title);
  void Open();
  void UpdateStyleFrame();
  void PickInto(QLineEdit* box);
  // 1-based index of the checked button, or 0.
  template <std::size_t N>
  static int CheckedIndex(const std::array<QRadioButton*, N>& buttons);

  CompareFilesExchange& window_;
  bool cancelled_ = true;

  QTabWidget* SSTab1_ = nullptr;
  std::array<QRadioButton*, 3> rbDefaultReport_{};
  QGroupBox* frameReportStyle_ = nullptr;
  std::array<QRadioButton*, 2> rbDefaultReportStyle_{};
  QLineEdit* txtDefaultReportHTM_ = nullptr;
  QLineEdit* txtReportTitleHTML_ = nullptr;
  QLineEdit* txtDefaultReportCSV_ = nullptr;
  QLineEdit* txtDefaultReportTXT_ = nullptr;
  QPushButton* cmdOK_ = nullptr;
  QPushButton* cbCancel_ = nullptr;
};

}  // namespace lindrel::demo
