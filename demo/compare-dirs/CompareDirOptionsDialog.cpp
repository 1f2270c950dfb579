#include "demo/compare-dirs/CompareDirOptionsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <tuple>

#include "demo/common/DialogParts.h"
#include "demo/common/FileNames.h"
#include "demo/common/HistoryComboBox.h"
#include "demo/common/HistoryList.h"
#include "demo/common/Pickers.h"
#include "demo/compare-dirs/CompareDirExchange.h"
#include "demo/compare-dirs/CompareDirSettings.h"
#include "lindrel/widgets/LindrelWidget.h"
#include "lindrel/widgets/ModalDialogs.h"

namespace lindrel::demo {
namespace {}  // namespace

CompareDirOptionsDialog::CompareDirOptionsDialog(CompareDirExchange& window, QWidget* parent)
    : QDialog(parent), window_(window) {
  setObjectName(QStringLiteral("frmCompareDirOptions"));
  setWindowTitle(QStringLiteral("Compare Directories"));
  BuildControls();
  Open();
}

void CompareDirOptionsDialog::BuildControls() {
  cbMasterDirectory_ = HistoryComboBox("cbMasterDirectory", this);
  cbSourceDirectory_ = HistoryComboBox("cbSourceDirectory", this);
  cbFileExt_ = HistoryComboBox("cbFileExt", this);
  cmdSelectFolderMaster_ = BrowseButton("cmdSelectFolderMaster", this);
  cmdSelectFolderSource_ = BrowseButton("cmdSelectFolderSource", this);
  cmdSelectFolderMaster_->setAccessibleName(QStringLiteral("Choose the master directory"));
  cmdSelectFolderSource_->setAccessibleName(QStringLiteral("Choose the source directory"));

  cbShowOnlyInMaster_ = Named(
      new QCheckBox(QStringLiteral("Show Files that are only in the &MASTER Directory"), this),
      "cbShowOnlyInMaster");
  cbShowOnlyInSource_ = Named(
      new QCheckBox(QStringLiteral("Show Files that are only in the &SOURCE Directory"), this),
      "cbShowOnlyInSource");
  cbCompareFileContents_ =
      Named(new QCheckBox(QStringLiteral("&Compare File Contents (Slower)"), this),
            "cbCompareFileContents");
  frameFileContent_ =
      Named(new QGroupBox(QStringLiteral("File Content"), this), "frameFileContent");
  cbShowSameInBothPlaces_ =
      Named(new QCheckBox(QStringLiteral("Show Files whose CON&TENT are the SAME in both places"),
                          frameFileContent_),
            "cbShowSameInBothPlaces");
  cbShowDifferentInBothPlaces_ =
      Named(new QCheckBox(QStringLiteral("Show Files whose CONTENT is  &DIFFERENT in both places"),
                          frameFileContent_),
            "cbShowDifferentInBothPlaces");
  cbLookInSubfolders_ =
      Named(new QCheckBox(QStringLiteral("&Look in SUBDIRECTORIES"), this), "cbLookInSubfolders");
  cbIgnoreDateDifferences_ = Named(
      new QCheckBox(QStringLiteral("I&gnore Date Differences (sizes and contents only)"), this),
      "cbIgnoreDateDifferences");
  // The component pauses after every entry unless told otherwise: gentle on a busy
  // machine, an hour on a large tree.
  cbThrottleScan_ =
      Named(new QCheckBox(
                QStringLiteral("&Pause between entries (gentler on a busy machine, slower)"), this),
            "cbThrottleScan");
  cbDontStreamResults_ =
      Named(new QCheckBox(QStringLiteral("Show all findings at &END of search (Faster)"), this),
            "cbDontStreamResults");
  cbBeepWhenDone_ = Named(new QCheckBox(QStringLiteral("&Beep When Done"), this), "cbBeepWhenDone");

  cmdCompareDirectories_ =
      Named(new QPushButton(QStringLiteral("&Compare Directories"), this), "cmdCompareDirectories");
  cbCancel_ = Named(new QPushButton(QStringLiteral("Cancel"), this), "cbCancel");

  auto* paths = new QGridLayout;
  int row = 0;
  for (auto [label, labelName, box, button] :
       {std::tuple{"Master Directory:", "Label1", cbMasterDirectory_, cmdSelectFolderMaster_},
        std::tuple{"Source Directory:", "Label4", cbSourceDirectory_, cmdSelectFolderSource_},
        std::tuple{"File Types:", "Label2", cbFileExt_, static_cast<QPushButton*>(nullptr)}}) {
    auto* caption = Named(new QLabel(QString::fromUtf8(label), this), labelName);
    caption->setBuddy(box);
    paths->addWidget(caption, row++, 0, 1, 2);
    paths->addWidget(box, row, 0);
    if (button != nullptr) paths->addWidget(button, row, 1);
    ++row;
  }
  paths->setColumnStretch(0, 1);

  auto* content = new QVBoxLayout(frameFileContent_);
  content->addWidget(cbShowSameInBothPlaces_);
  content->addWidget(cbShowDifferentInBothPlaces_);

  auto* options = new QVBoxLayout;
  options->addWidget(cbShowOnlyInMaster_);
  options->addWidget(cbShowOnlyInSource_);
  options->addWidget(cbCompareFileContents_);
  options->addWidget(frameFileContent_);
  options->addWidget(cbLookInSubfolders_);
  options->addWidget(cbIgnoreDateDifferences_);
  options->addWidget(cbThrottleScan_);
  options->addWidget(cbDontStreamResults_);
  options->addWidget(cbBeepWhenDone_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(paths);
  layout->addLayout(options);
  layout->addLayout(ClosingButtonRow(*this, cmdCompareDirectories_, cbCancel_));

  TabInOrder({cbMasterDirectory_, cmdSelectFolderMaster_, cbSourceDirectory_,
              cmdSelectFolderSource_, cbFileExt_, cbShowOnlyInMaster_});

  connect(cbCompareFileContents_, &QCheckBox::toggled, this,
          &CompareDirOptionsDialog::UpdateContentFrame);
  connect(cmdSelectFolderMaster_, &QPushButton::clicked, this,
          [this] { PickFolderInto(cbMasterDirectory_); });
  connect(cmdSelectFolderSource_, &QPushButton::clicked, this,
          [this] { PickFolderInto(cbSourceDirectory_); });
}

void CompareDirOptionsDialog::Open() {
  const widgets::LindrelWidget& lindrel1 = *window_.Lindrel1();
  cbShowOnlyInMaster_->setChecked(lindrel1.GetDirShowOnlyInMaster());
  cbShowOnlyInSource_->setChecked(lindrel1.GetDirShowOnlyInSource());
  cbCompareFileContents_->setChecked(lindrel1.GetDirContentCompare());
  cbShowSameInBothPlaces_->setChecked(lindrel1.GetDirShowSameInBothPlaces());
  cbShowDifferentInBothPlaces_->setChecked(lindrel1.GetDirShowDifferentInBothPlaces());
  cbLookInSubfolders_->setChecked(lindrel1.GetDirDoSubDirectories());
  cbIgnoreDateDifferences_->setChecked(lindrel1.GetDirIgnoreDateDifferences());
  cbThrottleScan_->setChecked(lindrel1.GetDirThrottle());
  cbBeepWhenDone_->setChecked(window_.Settings().beepWhenDone);
  cbDontStreamResults_->setChecked(!window_.Settings().streamFindings);
  // The frame follows the box from the start, not only after the first click.
  UpdateContentFrame();

  FillFromHistory(cbMasterDirectory_, window_.MasterHistory());
  FillFromHistory(cbSourceDirectory_, window_.SourceHistory());
  FillFromHistory(cbFileExt_, window_.FileTypesHistory());
}

void CompareDirOptionsDialog::UpdateContentFrame() {
  frameFileContent_->setEnabled(cbCompareFileContents_->isChecked());
}

void CompareDirOptionsDialog::PickFolderInto(QComboBox* box) {
  const QString path = PickFolder(this);
  // A cancelled pick keeps what the box held.
  if (!path.isEmpty()) box->setEditText(path);
}

void CompareDirOptionsDialog::SetMasterDirectory(const QString& path) {
  cbMasterDirectory_->setEditText(path);
}

void CompareDirOptionsDialog::SetSourceDirectory(const QString& path) {
  cbSourceDirectory_->setEditText(path);
}

void CompareDirOptionsDialog::RunInvisible() {
  cancelled_ = false;
  Close();
}

void CompareDirOptionsDialog::done(int result) {
  if (result == QDialog::Accepted && !NoNameHoldsNul(*this, {cbMasterDirectory_->currentText(),
                                                             cbSourceDirectory_->currentText()}))
    return;
  cancelled_ = result != QDialog::Accepted;
  QDialog::done(result);
  if (!cancelled_) Close();
}

void CompareDirOptionsDialog::Close() {
  CompareDirSettings& settings = window_.Settings();
  settings.beepWhenDone = cbBeepWhenDone_->isChecked();

  widgets::LindrelWidget& lindrel1 = *window_.Lindrel1();
  lindrel1.SetDirContentCompare(cbCompareFileContents_->isChecked());
  lindrel1.SetDirShowOnlyInMaster(cbShowOnlyInMaster_->isChecked());
  lindrel1.SetDirShowOnlyInSource(cbShowOnlyInSource_->isChecked());
  lindrel1.SetDirShowSameInBothPlaces(cbShowSameInBothPlaces_->isChecked());
  lindrel1.SetDirShowDifferentInBothPlaces(cbShowDifferentInBothPlaces_->isChecked());
  lindrel1.SetDirDoSubDirectories(cbLookInSubfolders_->isChecked());
  lindrel1.SetDirIgnoreDateDifferences(cbIgnoreDateDifferences_->isChecked());
  lindrel1.SetDirThrottle(cbThrottleScan_->isChecked());

  QStringList failures;
  struct Field {
    QComboBox* box;
    void (CLindrelCtrl::*set)(const std::string&);
    HistoryList& history;
    const char* section;
  };
  // Through the component's own interface: directory names reach it as their bytes.
  for (const Field& field :
       {Field{cbMasterDirectory_, &CLindrelCtrl::SetDirMaster, window_.MasterHistory(),
              CompareDirExchange::kMasterHistorySection},
        Field{cbSourceDirectory_, &CLindrelCtrl::SetDirSource, window_.SourceHistory(),
              CompareDirExchange::kSourceHistorySection},
        Field{cbFileExt_, &CLindrelCtrl::SetDirFileTypes, window_.FileTypesHistory(),
              CompareDirExchange::kFileTypesHistorySection}}) {
    const QString text = field.box->currentText();
    (lindrel1.Control().*field.set)(FileNameToStd(text));
    field.history.Add(text);
    QString error;
    if (!field.history.Save(QString::fromUtf8(field.section), &error)) failures << error;
  }

  settings.streamFindings = !cbDontStreamResults_->isChecked();
  QString error;
  if (!CompareDirSettings::SaveStreamFindings(settings.streamFindings, &error)) failures << error;
  if (!failures.isEmpty()) {
    failures.removeDuplicates();
    // The comparison still runs; only what is remembered for next time is lost.
    widgets::ShowMessage(
        this, QMessageBox::Warning, windowTitle(),
        QStringLiteral("The settings could not be saved:\n") + failures.join('\n'));
  }

  window_.StartComparison();
}

}  // namespace lindrel::demo
