// CompareDirOptionsDialog: frmCompareDirOptions, "Compare Directories", the modal dialog
// in which the user picks the master and source directories, the file types and the
// comparison options of the Compare Directories window.
//
// Opening shows the window component's properties, the window's beep and stream settings
// and the three histories (newest first, the newest selected). Closing with "&Compare
// Directories" writes everything back, in this order: beep setting; the component's
// switches; DirMaster, DirSource and DirFileTypes, each joining its history, which is
// saved; StreamFindings, stored at once; then the comparison starts. Closing by "Cancel",
// Escape or the window's close button changes nothing.
//
// RunInvisible performs the opening and closing procedures without showing the dialog
// (the window's refresh command), so the last comparison is repeated as it was.
//
// Threading: GUI thread only.
#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;

namespace lindrel::demo {

class CompareDirExchange;

class CompareDirOptionsDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CompareDirOptionsDialog(CompareDirExchange& window, QWidget* parent = nullptr);

  bool Cancelled() const { return cancelled_; }

  // Preset the drop-downs' texts (before the dialog is shown or run).
  void SetMasterDirectory(const QString& path);
  void SetSourceDirectory(const QString& path);

  // Closes as the Compare button would, without the dialog ever being shown.
  void RunInvisible();

  void done(int result) override;

 private:
  void BuildControls();
  void Open();
  void Close();
  void UpdateContentFrame();
  void PickFolderInto(QComboBox* box);

  CompareDirExchange& window_;
  bool cancelled_ = true;

  QComboBox* cbMasterDirectory_ = nullptr;
  QPushButton* cmdSelectFolderMaster_ = nullptr;
  QComboBox* cbSourceDirectory_ = nullptr;
  QPushButton* cmdSelectFolderSource_ = nullptr;
  QComboBox* cbFileExt_ = nullptr;
  QCheckBox* cbShowOnlyInMaster_ = nullptr;
  QCheckBox* cbShowOnlyInSource_ = nullptr;
  QCheckBox* cbCompareFileContents_ = nullptr;
  QGroupBox* frameFileContent_ = nullptr;
  QCheckBox* cbShowSameInBothPlaces_ = nullptr;
  QCheckBox* cbShowDifferentInBothPlaces_ = nullptr;
  QCheckBox* cbLookInSubfolders_ = nullptr;
  QCheckBox* cbIgnoreDateDifferences_ = nullptr;
  QCheckBox* cbThrottleScan_ = nullptr;
  QCheckBox* cbDontStreamResults_ = nullptr;
  QCheckBox* cbBeepWhenDone_ = nullptr;
  QPushButton* cmdCompareDirectories_ = nullptr;
  QPushButton* cbCancel_ = nullptr;
};

}  // namespace lindrel::demo
