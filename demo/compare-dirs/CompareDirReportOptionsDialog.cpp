#include "demo/compare-dirs/CompareDirReportOptionsDialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <tuple>

#include "demo/common/DialogParts.h"
#include "demo/common/Pickers.h"
#include "demo/compare-dirs/CompareDirExchange.h"

namespace lindrel::demo {

CompareDirReportOptionsDialog::CompareDirReportOptionsDialog(CompareDirExchange& window,
                                                             QWidget* parent)
    : QDialog(parent), window_(window) {
  setObjectName(QStringLiteral("frmCompareDirReportOptions"));
  setWindowTitle(QStringLiteral("'Compare Directories' Report Options"));

  auto* tabs = new QTabWidget(this);
  tabs->setObjectName(QStringLiteral("tabReportOptions"));
  auto* page = new QWidget(tabs);
  tabs->addTab(page, QStringLiteral("Tab Delimited Report"));

  auto* grid = new QGridLayout(page);
  auto* label = new QLabel(QStringLiteral("Default Report Path and Name:"), page);
  label->setObjectName(QStringLiteral("lblDefaultReport"));
  grid->addWidget(label, 0, 0, 1, 3);
  const CompareDirSettings& settings = window_.Settings();
  int row = 1;
  for (auto [field, kind, name, buttonName, path] :
       {std::tuple{&txtDefaultReportTXT_, "Text:", "txtDefaultReportTXT",
                   "cmdSelectReportFolderDefaultTXT", settings.reportText},
        std::tuple{&txtDefaultReportCSV_, "Tab / comma delimited:", "txtDefaultReportCSV",
                   "cmdSelectReportFolderDefaultCSV", settings.reportComma},
        std::tuple{&txtDefaultReportHTM_, "HTML:", "txtDefaultReportHTM",
                   "cmdSelectReportFolderDefaultHTM", settings.reportHtml}}) {
    auto* edit = new QLineEdit(path, page);
    edit->setObjectName(QString::fromUtf8(name));
    edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * 55);
    *field = edit;
    QPushButton* button = BrowseButton(buttonName, page);
    button->setAccessibleName(
        QStringLiteral("Choose the %1 report file").arg(QString::fromUtf8(kind).chopped(1)));
    connect(button, &QPushButton::clicked, this, [this, edit] { PickInto(edit); });
    auto* caption = new QLabel(QString::fromUtf8(kind), page);
    caption->setBuddy(edit);
    grid->addWidget(caption, row, 0);
    grid->addWidget(edit, row, 1);
    grid->addWidget(button, row, 2);
    ++row;
  }
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(row, 1);

  cmdOK_ = Named(new QPushButton(QStringLiteral("&OK"), this), "cmdOK");
  cbCancel_ = Named(new QPushButton(QStringLiteral("Cancel"), this), "cbCancel");

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs);
  layout->addLayout(ClosingButtonRow(*this, cmdOK_, cbCancel_));
}

void CompareDirReportOptionsDialog::PickInto(QLineEdit* field) {
  const QString path = PickFile(this);
  // A cancelled pick keeps the field as it was.
  if (!path.isEmpty()) field->setText(path);
  cmdOK_->setFocus();
}

void CompareDirReportOptionsDialog::done(int result) {
  if (result == QDialog::Accepted &&
      !NoNameHoldsNul(*this, {txtDefaultReportTXT_->text(), txtDefaultReportCSV_->text(),
                              txtDefaultReportHTM_->text()}))
    return;
  cancelled_ = result != QDialog::Accepted;
  if (!cancelled_) {
    CompareDirSettings& settings = window_.Settings();
    settings.reportText = txtDefaultReportTXT_->text();
    settings.reportComma = txtDefaultReportCSV_->text();
    settings.reportHtml = txtDefaultReportHTM_->text();
  }
  QDialog::done(result);
}

}  // namespace lindrel::demo
