#include "demo/compare-files/ReportOptionsDialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "demo/common/DialogParts.h"
#include "demo/common/Pickers.h"
#include "demo/compare-files/CompareFilesExchange.h"

namespace lindrel::demo {
namespace {

const char* const kDefaultReportText =
    "The default report is created when the Compare Files \"Show Report Only\" option is "
    "selected as well as when the View Report button is pressed.  Please select one report "
    "type below:";

}  // namespace

ReportOptionsDialog::ReportOptionsDialog(CompareFilesExchange& window, QWidget* parent)
    : QDialog(parent), window_(window) {
  setObjectName(QStringLiteral("frmCompareFilesReportOptions"));
  setWindowTitle(QStringLiteral("'Compare Files' Report Options"));

  SSTab1_ = Named(new QTabWidget(this), QStringLiteral("SSTab1"));
  SSTab1_->addTab(BuildGeneralTab(), QStringLiteral("General"));
  SSTab1_->addTab(BuildPathTab("txtDefaultReportHTM", "cmdSelectReportFolderDefaultHTM",
                               &txtDefaultReportHTM_, &txtReportTitleHTML_),
                  QStringLiteral("HTML"));
  SSTab1_->addTab(BuildPathTab("txtDefaultReportCSV", "cmdSelectReportFolderDefaultCSV",
                               &txtDefaultReportCSV_, nullptr),
                  QStringLiteral("Comma Delimited"));
  SSTab1_->addTab(BuildPathTab("txtDefaultReportTXT", "cmdSelectReportFolderDefaultTXT",
                               &txtDefaultReportTXT_, nullptr),
                  QStringLiteral("Text"));

  cmdOK_ = Named(new QPushButton(QStringLiteral("&OK"), this), QStringLiteral("cmdOK"));
  cbCancel_ = Named(new QPushButton(QStringLiteral("Cancel"), this), QStringLiteral("cbCancel"));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(SSTab1_);
  layout->addLayout(ClosingButtonRow(*this, cmdOK_, cbCancel_));

  Open();
}

QWidget* ReportOptionsDialog::BuildGeneralTab() {
  auto* tab = new QWidget;
  auto* defaultReport = Named(new QGroupBox(QStringLiteral("Default Report"), tab),
                              QStringLiteral("frameDefaultReport"));
  auto* explanation = Named(new QLabel(QString::fromUtf8(kDefaultReportText), defaultReport),
                            QStringLiteral("lblDefaultReport"));
  explanation->setWordWrap(true);
  auto* reportButtons = new QButtonGroup(defaultReport);
  const char* reportCaptions[] = {"HTML", "Text", "Comma Delimited"};
  auto* reportLayout = new QVBoxLayout(defaultReport);
  reportLayout->addWidget(explanation);
  for (int i = 0; i < 3; ++i) {
    auto* button = Named(new QRadioButton(QString::fromUtf8(reportCaptions[i]), defaultReport),
                         QStringLiteral("rbDefaultReport(%1)").arg(i + 1));
    reportButtons->addButton(button, i + 1);
    reportLayout->addWidget(button);
    connect(button, &QRadioButton::toggled, this, &ReportOptionsDialog::UpdateStyleFrame);
    rbDefaultReport_[i] = button;
  }

  frameReportStyle_ = Named(new QGroupBox(QStringLiteral("HTML Report Style"), tab),
                            QStringLiteral("frameReportStyle"));
  auto* styleButtons = new QButtonGroup(frameReportStyle_);
  const char* styleCaptions[] = {"All In  One", "Side By Side"};
  auto* styleLayout = new QVBoxLayout(frameReportStyle_);
  for (int i = 0; i < 2; ++i) {
    auto* button = Named(new QRadioButton(QString::fromUtf8(styleCaptions[i]), frameReportStyle_),
                         QStringLiteral("rbDefaultReportStyle(%1)").arg(i + 1));
    styleButtons->addButton(button, i + 1);
    styleLayout->addWidget(button);
    rbDefaultReportStyle_[i] = button;
  }

  auto* layout = new QVBoxLayout(tab);
  layout->addWidget(defaultReport);
  layout->addWidget(frameReportStyle_);
  layout->addStretch(1);
  return tab;
}

QWidget* ReportOptionsDialog::BuildPathTab(const char* pathName, const char* buttonName,
                                           QLineEdit** path, QLineEdit** title) {
  auto* tab = new QWidget;
  auto* layout = new QGridLayout(tab);
  auto* label = new QLabel(QStringLiteral("Default Report Path and Name:"), tab);
  *path = Named(new QLineEdit(tab), QString::fromUtf8(pathName));
  label->setBuddy(*path);
  QPushButton* pick = BrowseButton(buttonName, tab);
  pick->setAccessibleName(QStringLiteral("Choose the report file"));
  QLineEdit* box = *path;
  connect(pick, &QPushButton::clicked, this, [this, box] { PickInto(box); });
  layout->addWidget(label, 0, 0, 1, 2);
  layout->addWidget(*path, 1, 0);
  layout->addWidget(pick, 1, 1);
  if (title != nullptr) {
    auto* titleLabel = new QLabel(QStringLiteral("Report Title (Blank for no title)"), tab);
    *title = Named(new QLineEdit(tab), QStringLiteral("txtReportTitleHTML"));
    titleLabel->setBuddy(*title);
    layout->addWidget(titleLabel, 2, 0, 1, 2);
    layout->addWidget(*title, 3, 0);
  }
  layout->setRowStretch(layout->rowCount(), 1);
  layout->setColumnMinimumWidth(0, 360);
  return tab;
}

void ReportOptionsDialog::Open() {
  CompareFilesReportSettings settings = window_.ReportSettings();
  txtDefaultReportTXT_->setText(settings.textPath);
  txtDefaultReportCSV_->setText(settings.commaDelimitedPath);
  txtDefaultReportHTM_->setText(settings.htmlPath);
  txtReportTitleHTML_->setText(settings.htmlTitle);
  // The buttons stand in the order of the values, from the first one.
  if (settings.defaultType >= kReportFormatHtml &&
      settings.defaultType <= kReportFormatCommaDelimited)
    rbDefaultReport_[settings.defaultType - kReportFormatHtml]->setChecked(true);
  if (settings.defaultStyle >= kReportStyleAllInOne &&
      settings.defaultStyle <= kReportStyleSideBySide)
    rbDefaultReportStyle_[settings.defaultStyle - kReportStyleAllInOne]->setChecked(true);
  UpdateStyleFrame();
}

void ReportOptionsDialog::UpdateStyleFrame() {
  // The style applies to HTML reports only; with no type chosen yet it stays offered.
  bool otherType = rbDefaultReport_[1]->isChecked() || rbDefaultReport_[2]->isChecked();
  frameReportStyle_->setVisible(!otherType);
}

void ReportOptionsDialog::PickInto(QLineEdit* box) {
  QString path = PickFile(this);
  // A cancelled pick keeps the path the box held.
  if (!path.isEmpty()) box->setText(path);
  cmdOK_->setFocus();
}

template <std::size_t N>
int ReportOptionsDialog::CheckedIndex(const std::array<QRadioButton*, N>& buttons) {
  for (std::size_t i = 0; i < N; ++i) {
    if (buttons[i]->isChecked()) return static_cast<int>(i) + 1;
  }
  return 0;
}

void ReportOptionsDialog::done(int result) {
  if (result == QDialog::Accepted &&
      !NoNameHoldsNul(*this, {txtDefaultReportTXT_->text(), txtDefaultReportCSV_->text(),
                              txtDefaultReportHTM_->text()}))
    return;
  cancelled_ = result != QDialog::Accepted;
  if (!cancelled_) {
    CompareFilesReportSettings settings = window_.ReportSettings();
    // No button chosen (the stored value was outside the offered ones): keep the value.
    if (int type = CheckedIndex(rbDefaultReport_); type != 0) settings.defaultType = type;
    if (int style = CheckedIndex(rbDefaultReportStyle_); style != 0) settings.defaultStyle = style;
    settings.textPath = txtDefaultReportTXT_->text();
    settings.commaDelimitedPath = txtDefaultReportCSV_->text();
    settings.htmlPath = txtDefaultReportHTM_->text();
    settings.htmlTitle = txtReportTitleHTML_->text();
    window_.SetReportSettings(settings);
  }
  QDialog::done(result);
}

}  // namespace lindrel::demo
