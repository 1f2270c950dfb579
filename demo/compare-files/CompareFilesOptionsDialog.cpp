#include "demo/compare-files/CompareFilesOptionsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "demo/common/DialogParts.h"
#include "demo/common/HistoryComboBox.h"
#include "demo/common/Pickers.h"
#include "demo/common/ProgramState.h"
#include "demo/compare-files/CompareFilesExchange.h"
#include "demo/compare-files/ReportOptionsDialog.h"
#include "lindrel/PatternCheck.h"
#include "lindrel/widgets/LindrelWidget.h"
#include "lindrel/widgets/ModalDialogs.h"
#include "lindrel/widgets/TextBytes.h"

namespace lindrel::demo {
namespace {

bool ReadFlag(const widgets::LindrelWidget* component,
              bool (widgets::LindrelWidget::*get)() const) {
  return component != nullptr && (component->*get)();
}

}  // namespace

CompareFilesOptionsDialog::CompareFilesOptionsDialog(CompareFilesExchange& window, QWidget* parent)
    : QDialog(parent), window_(window) {
  setObjectName(QStringLiteral("frmCompareFilesOptions"));
  setWindowTitle(QStringLiteral("Compare Files"));
  BuildControls();
  Open();
}

void CompareFilesOptionsDialog::BuildControls() {
  cbMasterFile_ = HistoryComboBox("cbMasterFile", this);
  cbSourceFile_ = HistoryComboBox("cbSourceFile", this);
  cmdSelectFolderMaster_ = BrowseButton("cmdSelectFolderMaster", this);
  cmdSelectFolderSource_ = BrowseButton("cmdSelectFolderSource", this);
  cmdSelectFolderMaster_->setAccessibleName(QStringLiteral("Choose the master file"));
  cmdSelectFolderSource_->setAccessibleName(QStringLiteral("Choose the source file"));

  Frame1_ = Named(new QGroupBox(QStringLiteral(" General Options"), this), "Frame1");
  cbShowReportOnly_ =
      Named(new QCheckBox(QStringLiteral("&Show Report Only (Much Faster for VERY large files)"),
                          Frame1_),
            "cbShowReportOnly");
  cbIgnoreEmptyLines_ =
      Named(new QCheckBox(QStringLiteral("Ignore &Empty Lines"), Frame1_), "cbIgnoreEmptyLines");
  cbQuickCompare_ =
      Named(new QCheckBox(QStringLiteral("Do a &Quick compare (Binary Comparison)"), Frame1_),
            "cbQuickCompare");
  cbIgnoreCase_ =
      Named(new QCheckBox(QStringLiteral("Ignore &Case Differences"), Frame1_), "cbIgnoreCase");
  cbIgnoreWhiteSpace_ =
      Named(new QCheckBox(QStringLiteral("Ignore &Whitespace characters (i.e. Tabs, Spaces etc.)"),
                          Frame1_),
            "cbIgnoreWhiteSpace");
  cbBeepWhenDone_ =
      Named(new QCheckBox(QStringLiteral("&Beep When Done"), Frame1_), "cbBeepWhenDone");
  cbUseIgnorePattern_ = Named(new QCheckBox(QStringLiteral("Ignore Lines &Matching:"), Frame1_),
                              "cbUseIgnorePattern");
  txtIgnorePattern_ = Named(new QLineEdit(Frame1_), "txtIgnorePattern");
  txtIgnorePattern_->setPlaceholderText(QStringLiteral("^#@@^//"));
  txtIgnorePattern_->setToolTip(
      QStringLiteral("Lines that match one of these patterns are not compared; join several "
                     "patterns with @@. Letter case counts in patterns."));
  txtIgnorePattern_->setAccessibleName(QStringLiteral("Ignore lines matching"));

  cmdReportOptions_ =
      Named(new QPushButton(QStringLiteral("&Report Options"), this), "cmdReportOptions");
  cmdCompareFiles_ =
      Named(new QPushButton(QStringLiteral("&Compare Files"), this), "cmdCompareFiles");
  cmdCancel_ = Named(new QPushButton(QStringLiteral("Cancel"), this), "cmdCancel");
  cmdReportOptions_->setAutoDefault(false);

  auto* files = new QGridLayout;
  auto* masterLabel = Named(new QLabel(QStringLiteral("Master File:"), this), "lblMasterFile");
  auto* masterNote = Named(new QLabel(QStringLiteral("Original"), this), "lblMasterNote");
  auto* sourceLabel = Named(new QLabel(QStringLiteral("Source File:"), this), "lblSourceFile");
  auto* sourceNote = Named(new QLabel(QStringLiteral("Modified"), this), "lblSourceNote");
  masterLabel->setBuddy(cbMasterFile_);
  sourceLabel->setBuddy(cbSourceFile_);
  files->addWidget(masterLabel, 0, 0);
  files->addWidget(masterNote, 0, 1);
  files->addWidget(cbMasterFile_, 1, 0, 1, 2);
  files->addWidget(cmdSelectFolderMaster_, 1, 2);
  files->addWidget(sourceLabel, 2, 0);
  files->addWidget(sourceNote, 2, 1);
  files->addWidget(cbSourceFile_, 3, 0, 1, 2);
  files->addWidget(cmdSelectFolderSource_, 3, 2);
  files->setColumnStretch(1, 1);

  auto* options = new QGridLayout(Frame1_);
  options->addWidget(cbShowReportOnly_, 0, 0, 1, 2);
  options->addWidget(cbIgnoreCase_, 1, 0);
  options->addWidget(cbQuickCompare_, 1, 1);
  options->addWidget(cbIgnoreWhiteSpace_, 2, 0);
  options->addWidget(cbIgnoreEmptyLines_, 2, 1);
  options->addWidget(cbBeepWhenDone_, 3, 0);
  options->addWidget(cbUseIgnorePattern_, 4, 0);
  options->addWidget(txtIgnorePattern_, 4, 1);

  QHBoxLayout* buttons = ClosingButtonRow(*this, cmdCompareFiles_, cmdCancel_);
  buttons->insertWidget(0, cmdReportOptions_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(files);
  layout->addWidget(Frame1_);
  layout->addLayout(buttons);

  TabInOrder({cbMasterFile_, cmdSelectFolderMaster_, cbSourceFile_, cmdSelectFolderSource_,
              cbShowReportOnly_, cbIgnoreCase_, cbQuickCompare_, cbIgnoreWhiteSpace_,
              cbIgnoreEmptyLines_, cbBeepWhenDone_, cbUseIgnorePattern_, txtIgnorePattern_,
              cmdReportOptions_, cmdCompareFiles_, cmdCancel_});

  connect(cbShowReportOnly_, &QCheckBox::toggled, this,
          &CompareFilesOptionsDialog::UpdateReportOptionsButton);
  connect(cbQuickCompare_, &QCheckBox::toggled, this,
          &CompareFilesOptionsDialog::UpdateIgnoreBoxes);
  connect(cbUseIgnorePattern_, &QCheckBox::toggled, this,
          &CompareFilesOptionsDialog::UpdatePatternBox);
  connect(cmdSelectFolderMaster_, &QPushButton::clicked, this, [this] { PickInto(cbMasterFile_); });
  connect(cmdSelectFolderSource_, &QPushButton::clicked, this, [this] { PickInto(cbSourceFile_); });
  connect(cmdReportOptions_, &QPushButton::clicked, this,
          &CompareFilesOptionsDialog::ShowReportOptions);
}

void CompareFilesOptionsDialog::Open() {
  const widgets::LindrelWidget* lindrel1 = window_.Lindrel1();
  cbShowReportOnly_->setChecked(window_.ShowReportOnly());
  cbBeepWhenDone_->setChecked(window_.BeepWhenDone());
  cbIgnoreCase_->setChecked(ReadFlag(lindrel1, &widgets::LindrelWidget::GetFileIgnoreCase));
  cbIgnoreWhiteSpace_->setChecked(
      ReadFlag(lindrel1, &widgets::LindrelWidget::GetFileIgnoreWhiteSpace));
  cbIgnoreEmptyLines_->setChecked(
      ReadFlag(lindrel1, &widgets::LindrelWidget::GetFileIgnoreEmptyLines));
  cbQuickCompare_->setChecked(ReadFlag(lindrel1, &widgets::LindrelWidget::GetFileQuickCompare));
  cbUseIgnorePattern_->setChecked(
      ReadFlag(lindrel1, &widgets::LindrelWidget::GetFileUseIgnoreRegularExpression));
  if (lindrel1 != nullptr) txtIgnorePattern_->setText(lindrel1->GetFileIgnoreRegularExpression());
  // The rules hold from the start, not only after the first click.
  UpdateReportOptionsButton();
  UpdateIgnoreBoxes();

  FillFromHistory(cbMasterFile_, window_.MasterHistory());
  FillFromHistory(cbSourceFile_, window_.SourceHistory());
}

void CompareFilesOptionsDialog::UpdateReportOptionsButton() {
  cmdReportOptions_->setEnabled(cbShowReportOnly_->isChecked());
}

void CompareFilesOptionsDialog::UpdateIgnoreBoxes() {
  const bool enabled = !cbQuickCompare_->isChecked();
  cbIgnoreCase_->setEnabled(enabled);
  cbIgnoreWhiteSpace_->setEnabled(enabled);
  cbIgnoreEmptyLines_->setEnabled(enabled);
  cbUseIgnorePattern_->setEnabled(enabled);
  UpdatePatternBox();
}

void CompareFilesOptionsDialog::UpdatePatternBox() {
  txtIgnorePattern_->setEnabled(cbUseIgnorePattern_->isEnabled() &&
                                cbUseIgnorePattern_->isChecked());
}

void CompareFilesOptionsDialog::PickInto(QComboBox* box) {
  QString path = PickFile(this);
  // A cancelled pick keeps what the box held.
  if (!path.isEmpty()) box->setEditText(path);
  cmdCompareFiles_->setFocus();
}

void CompareFilesOptionsDialog::ShowReportOptions() {
  ReportOptionsDialog options(window_, this);
  widgets::ExecModal(options);
}

QString CompareFilesOptionsDialog::MasterFile() const { return cbMasterFile_->currentText(); }
QString CompareFilesOptionsDialog::SourceFile() const { return cbSourceFile_->currentText(); }
void CompareFilesOptionsDialog::SetMasterFile(const QString& path) {
  cbMasterFile_->setEditText(path);
}
void CompareFilesOptionsDialog::SetSourceFile(const QString& path) {
  cbSourceFile_->setEditText(path);
}

bool CompareFilesOptionsDialog::PatternsUsable() {
  if (!cbUseIgnorePattern_->isChecked()) return true;
  for (const QString& piece : txtIgnorePattern_->text().split(QStringLiteral("@@"))) {
    if (piece.isEmpty()) continue;
    const std::string problem = IgnorePatternProblem(widgets::TextToStdString(piece));
    if (problem.empty()) continue;
    // A pattern that does not compile would be left out without a word, and its lines
    // compared after all.
    widgets::ShowMessage(this, QMessageBox::Warning, windowTitle(),
                         QStringLiteral("The pattern \"%1\" cannot be used: %2.")
                             .arg(widgets::ShownText(piece), QString::fromStdString(problem)));
    txtIgnorePattern_->setFocus();
    return false;
  }
  return true;
}

void CompareFilesOptionsDialog::done(int result) {
  if (result == QDialog::Accepted && !NoNameHoldsNul(*this, {MasterFile(), SourceFile()})) return;
  if (result == QDialog::Accepted && !PatternsUsable()) return;
  cancelled_ = result != QDialog::Accepted;
  if (!cancelled_ && !ProgramState::Instance().ShuttingDown()) ApplyToWindow();
  QDialog::done(result);
}

void CompareFilesOptionsDialog::ApplyToWindow() {
  window_.SetShowReportOnly(cbShowReportOnly_->isChecked());
  window_.SetBeepWhenDone(cbBeepWhenDone_->isChecked());
  if (widgets::LindrelWidget* lindrel1 = window_.Lindrel1()) {
    lindrel1->SetFileIgnoreCase(cbIgnoreCase_->isChecked());
    lindrel1->SetFileIgnoreWhiteSpace(cbIgnoreWhiteSpace_->isChecked());
    lindrel1->SetFileQuickCompare(cbQuickCompare_->isChecked());
    lindrel1->SetFileIgnoreEmptyLines(cbIgnoreEmptyLines_->isChecked());
    lindrel1->SetFileUseIgnoreRegularExpression(cbUseIgnorePattern_->isChecked());
    lindrel1->SetFileIgnoreRegularExpression(txtIgnorePattern_->text());
  }

  QStringList failures;
  struct Side {
    QString path;
    HistoryList& history;
    const char* section;
    void (CompareFilesExchange::*setName)(const QString&);
  };
  for (const Side& side : {Side{MasterFile(), window_.MasterHistory(), kMasterHistorySection,
                                &CompareFilesExchange::SetMasterFileName},
                           Side{SourceFile(), window_.SourceHistory(), kSourceHistorySection,
                                &CompareFilesExchange::SetSourceFileName}}) {
    (window_.*side.setName)(side.path);
    side.history.Add(side.path);
    QString error;
    if (!side.history.Save(QString::fromUtf8(side.section), &error)) failures << error;
  }
  if (!failures.isEmpty()) {
    failures.removeDuplicates();
    widgets::ShowMessage(
        this, QMessageBox::Warning, windowTitle(),
        QStringLiteral("The file history could not be saved:\n") + failures.join('\n'));
  }
}

}  // namespace lindrel::demo
