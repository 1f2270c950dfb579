// The Compare Files window's commands beside the comparison itself: reports of the last
// comparison, moves between changes from the toolbar and the keys, and drops on the
// window.
#include <QDropEvent>
#include <QTimer>

#include "demo/common/FileNames.h"
#include "demo/common/PanelStatusBar.h"
#include "demo/common/UiTiming.h"
#include "demo/compare-files/CompareFilesReporter.h"
#include "demo/compare-files/CompareFilesTopBar.h"
#include "demo/compare-files/CompareFilesWindow.h"
#include "demo/compare-files/GoToDialog.h"
#include "lindrel/widgets/ComparisonView.h"
#include "lindrel/widgets/DroppedPaths.h"
#include "lindrel/widgets/LindrelWidget.h"
#include "lindrel/widgets/ModalDialogs.h"

namespace lindrel::demo {
namespace {

using widgets::CarriesPaths;
using widgets::ComparisonView;

const QString kNotWritten = QStringLiteral("The report was not written: ");

}  // namespace

// --- Reports ---------------------------------------------------------------------------------

bool CompareFilesWindow::CreateReport(const QString& path, long type, long style) {
  view_->HideDetail();
  return reports_->Create(path, type, style, masterFileName_, sourceFileName_);
}

void CompareFilesWindow::cmdViewReport_Click() {
  reports_->ClearProblem();
  view_->HideDetail();
  ShowBusyPointer(true);
  SetStatus(3, QStringLiteral("Creating Report"));
  LetPendingMessagesRun();
  const CompareFilesReportSettings& report = settings_.report;
  QString path;
  bool written = false;
  switch (report.defaultType) {
    case kReportFormatHtml:
      lindrel1_->SetReportFileTitle(report.htmlTitle);
      path = report.htmlPath;
      written = CreateReport(path, kReportFormatHtml, report.defaultStyle);
      break;
    case kReportFormatText:
      path = report.textPath;
      written = CreateReport(path, kReportFormatText, 0);
      break;
    case kReportFormatCommaDelimited:
      path = report.commaDelimitedPath;
      written = CreateReport(path, kReportFormatCommaDelimited, 0);
      break;
    default:
      // Not a type this window offers: nothing is written.
      ShowBusyPointer(false);
      reports_->SetProblem(kNotWritten +
                           QStringLiteral("report type %1 is not HTML (1), text (2) or comma "
                                          "delimited (3); choose one in Report Options")
                               .arg(report.defaultType));
      return;
  }
  ShowBusyPointer(false);
  if (!written) return;
  SetStatus(3, QStringLiteral("Launching Report"));
  LetPendingMessagesRun();
  reports_->Open(path, report.defaultType == kReportFormatHtml);
}

void CompareFilesWindow::mnuReportHTMLFile_Click() {
  const CompareFilesReportSettings& report = settings_.report;
  lindrel1_->SetReportFileTitle(report.htmlTitle);
  if (CreateReport(report.htmlPath, kReportFormatHtml,
                   view_->AllInOne() ? kReportStyleAllInOne : kReportStyleSideBySide))
    reports_->Open(report.htmlPath, true);
}

void CompareFilesWindow::mnuReportTextFile_Click() {
  if (CreateReport(settings_.report.textPath, kReportFormatText, 0))
    reports_->Open(settings_.report.textPath, false);
}

void CompareFilesWindow::mnuReportCommaDelimitedFile_Click() {
  if (CreateReport(settings_.report.commaDelimitedPath, kReportFormatCommaDelimited, 0))
    reports_->Open(settings_.report.commaDelimitedPath, false);
}

// --- Moves and drops -------------------------------------------------------------------------

void CompareFilesWindow::ToolbarMove(void (ComparisonView::*move)()) {
  if (!settings_.showReportOnly) (view_->*move)();
}

void CompareFilesWindow::MoveNextChange() { view_->MoveNextChange(); }

void CompareFilesWindow::MovePreviousChange() { view_->MovePreviousChange(); }

void CompareFilesWindow::mnuShowDetail_Click() { view_->ShowDetail(); }

void CompareFilesWindow::GoToChange() {
  GoToDialog dialog(this);
  dialog.SetText(QString::number(view_->CurrentChange()));
  widgets::ExecModal(dialog);
  if (dialog.Cancelled()) return;
  bool whole = false;
  const int n = dialog.Text().trimmed().toInt(&whole);
  // Anything but a whole number in range leaves the position where it is.
  if (whole) view_->GoToChange(n);
}

void CompareFilesWindow::ChangeShown(int change) {
  SetStatus(2, QString::number(change));
  topBar_->SelectChange(change);
  SetNavigationButtons();
}

void CompareFilesWindow::SetNavigationButtons() {
  topBar_->SetNavigationPictures(lindrel1_->FileCompareResultsCount(), view_->CurrentChange());
}

void CompareFilesWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (CarriesPaths(event->mimeData())) event->acceptProposedAction();
}

void CompareFilesWindow::dragMoveEvent(QDragMoveEvent* event) {
  if (CarriesPaths(event->mimeData())) event->acceptProposedAction();
}

void CompareFilesWindow::dropEvent(QDropEvent* event) {
  if (!CarriesPaths(event->mimeData())) return;
  event->acceptProposedAction();
  view_->TakeDrop(event->mimeData(), ComparisonView::Side::Both);
}

void CompareFilesWindow::TakeOneDroppedFile(bool master, const QString& file) {
  QString masterFile = masterFileName_, sourceFile = sourceFileName_;
  (master ? masterFile : sourceFile) = file;
  if ((master ? sourceFile : masterFile).isEmpty()) {
    // Half a pair: nothing to compare yet.
    (master ? masterFileName_ : sourceFileName_) = file;
    SetStatus(3, master ? QStringLiteral("Master file set; drop the source file on the "
                                         "source grid to compare them.")
                        : QStringLiteral("Source file set; drop the master file on the "
                                         "master grid to compare them."));
    return;
  }
  // Not inside the drop: the drag's source waits for it to end, and a comparison runs
  // the event loop while it starts.
  QTimer::singleShot(0, this,
                     [this, masterFile, sourceFile] { ComparePair(masterFile, sourceFile); });
}

void CompareFilesWindow::RefuseDrop(const QString& why) {
  SetStatus(3, why);
  widgets::ShowMessage(this, QMessageBox::Warning, QStringLiteral("LindrelDemo"), why);
}

}  // namespace lindrel::demo
