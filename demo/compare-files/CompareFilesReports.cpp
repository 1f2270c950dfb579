// Reports from the Compare Files window: which report is asked of Lindrel1 with which
// numbers, where it is written and how it is opened.
#include <QStackedWidget>

#include "demo/common/DesktopOpener.h"
#include "demo/common/UiTiming.h"
#include "demo/compare-files/CompareFilesWindow.h"
#include "lindrel/widgets/LindrelWidget.h"

namespace lindrel::demo {

void CompareFilesWindow::CreateReport(const QString& path, long type, long style) {
  HideDetailViews();
  lindrel1_->SetReportFileMaster(masterFileName_);
  lindrel1_->SetReportFileSource(sourceFileName_);
  ShowBusyPointer(true);
  // Failures reach the window through OnError.
  lindrel1_->FileCompareCreateReport(path, type, style);
  ShowBusyPointer(false);
}

void CompareFilesWindow::OpenReport(const QString& path, bool html) {
  if (html) OpenDocument(path, this);
  else OpenInTextEditor(path, this);
}

void CompareFilesWindow::cmdViewReport_Click() {
  HideDetailViews();
  ShowBusyPointer(true);
  SetStatus(3, QStringLiteral("Creating Report"));
  LetPendingMessagesRun();
  const CompareFilesReportSettings& report = settings_.report;
  QString path;
  switch (report.defaultType) {
    case kReportHTML:
      lindrel1_->SetReportFileTitle(report.htmlTitle);
      path = report.htmlPath;
      CreateReport(path, kReportHTML, report.defaultStyle);
      break;
    case kReportText:
      path = report.textPath;
      CreateReport(path, kReportText, 0);
      break;
    case kReportCommaDelimited:
      path = report.commaDelimitedPath;
      CreateReport(path, kReportCommaDelimited, 0);
      break;
    default:
      // Not a type this window offers: nothing is written.
      ShowBusyPointer(false);
      return;
  }
  SetStatus(3, QStringLiteral("Launching Report"));
  LetPendingMessagesRun();
  OpenReport(path, report.defaultType == kReportHTML);
}

void CompareFilesWindow::mnuReportHTMLFile_Click() {
  const CompareFilesReportSettings& report = settings_.report;
  lindrel1_->SetReportFileTitle(report.htmlTitle);
  CreateReport(report.htmlPath, kReportHTML, AllInOneShown() ? kStyleAllInOne : kStyleSideBySide);
  OpenReport(report.htmlPath, true);
}

void CompareFilesWindow::mnuReportTextFile_Click() {
  CreateReport(settings_.report.textPath, kReportText, 0);
  OpenReport(settings_.report.textPath, false);
}

void CompareFilesWindow::mnuReportCommaDelimitedFile_Click() {
  CreateReport(settings_.report.commaDelimitedPath, kReportCommaDelimited, 0);
  OpenReport(settings_.report.commaDelimitedPath, false);
}

}  // namespace lindrel::demo
