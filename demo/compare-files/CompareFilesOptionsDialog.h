// CompareFilesOptionsDialog: frmCompareFilesOptions, "Compare Files", the modal dialog in
// which the user picks the master and source files and the comparison options.
//
// Opening reads the Compare Files window's values (CompareFilesExchange) and its
// component's properties and fills both drop-downs from the file histories, newest first.
// Accepting ("&Compare Files") clears the cancelled flag; cancelling ("Cancel", Escape,
// closing the window) sets it. When the dialog closes not cancelled, and the program is
// not shutting down, the boxes go back to the window and the component (through its
// normal setters), and each chosen file joins its history, which is saved
// ("MasterSearchFile", "SourceSearchFile"). A cancelled dialog changes nothing.
//
// "Ignore &Empty Lines" is bound to FileIgnoreEmptyLines like its sibling boxes, and
// "Ignore Lines &Matching:" with its pattern box to FileUseIgnoreRegularExpression and
// FileIgnoreRegularExpression (several patterns joined by "@@").
//
// Threading: GUI thread only.
#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace lindrel::demo {

class CompareFilesExchange;

class CompareFilesOptionsDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr const char* kMasterHistorySection = "MasterSearchFile";
  static constexpr const char* kSourceHistorySection = "SourceSearchFile";

  explicit CompareFilesOptionsDialog(CompareFilesExchange& window, QWidget* parent = nullptr);

  bool Cancelled() const { return cancelled_; }

  // The paths in the drop-downs (callers may preset them before showing the dialog).
  QString MasterFile() const;
  QString SourceFile() const;
  void SetMasterFile(const QString& path);
  void SetSourceFile(const QString& path);

  void done(int result) override;

 private:
  // False, after naming the pattern and the reason, when an ignore pattern would not be
  // used by the comparison.
  bool PatternsUsable();
  void BuildControls();
  void Open();
  void ApplyToWindow();
  void UpdateReportOptionsButton();
  void UpdateIgnoreBoxes();
  void UpdatePatternBox();
  void PickInto(QComboBox* box);
  void ShowReportOptions();

  CompareFilesExchange& window_;
  bool cancelled_ = true;

  QComboBox* cbMasterFile_ = nullptr;
  QPushButton* cmdSelectFolderMaster_ = nullptr;
  QComboBox* cbSourceFile_ = nullptr;
  QPushButton* cmdSelectFolderSource_ = nullptr;
  QGroupBox* Frame1_ = nullptr;
  QCheckBox* cbShowReportOnly_ = nullptr;
  QCheckBox* cbIgnoreEmptyLines_ = nullptr;
  QCheckBox* cbQuickCompare_ = nullptr;
  QCheckBox* cbIgnoreCase_ = nullptr;
  QCheckBox* cbIgnoreWhiteSpace_ = nullptr;
  QCheckBox* cbBeepWhenDone_ = nullptr;
  QCheckBox* cbUseIgnorePattern_ = nullptr;
  QLineEdit* txtIgnorePattern_ = nullptr;
  QPushButton* cmdReportOptions_ = nullptr;
  QPushButton* cmdCompareFiles_ = nullptr;
  QPushButton* cmdCancel_ = nullptr;
};

}  // namespace lindrel::demo
