// Reports from the Compare Files window: which report is asked of Lindrel1 with which
// numbers, where it is written and how it is opened.
//
// A report is opened only when the request in hand wrote it. Whatever lies at the path
// otherwise is not this report: an older report, or the file the component refused to
// overwrite (one of the compared files). The status bar then says why nothing opens.
// The component's answer alone does not tell: a delimited report of a comparison
// without records is answered as written but writes nothing. A written report replaces
// its target whole (a new file under the path), so the path's stamp tells.
#include <QStackedWidget>

#include "demo/common/DesktopOpener.h"
#include "demo/common/FileNames.h"
#include "demo/common/UiTiming.h"
#include "demo/compare-files/CompareFilesWindow.h"
#include "demo/compare-files/FileStamp.h"
#include "lindrel/widgets/LindrelWidget.h"
#include "platform/ReplacementFile.h"

namespace lindrel::demo {
namespace {

// FileCompareCreateReport's answers (the component's interface).
constexpr long kWritten = 0;
constexpr long kAborted = -1;
constexpr long kComparisonRunning = -2;
constexpr long kMasterUnreadable = -3;
constexpr long kSourceUnreadable = -4;

const QString kNotWritten = QStringLiteral("The report was not written: ");

bool SameFile(const QString& a, const QString& b) {
  return platform::SameExistingFile(FileNameToStd(a), FileNameToStd(b));
}

}  // namespace

bool CompareFilesWindow::CreateReport(const QString& path, long type, long style) {
  HideDetailViews();
  // Through the component's own interface: names reach it as the bytes they are.
  CLindrelCtrl& component = lindrel1_->Control();
  component.SetReportFileMaster(FileNameToStd(masterFileName_));
  component.SetReportFileSource(FileNameToStd(sourceFileName_));
  ShowBusyPointer(true);
  reportError_.clear();
  collectReportError_ = true;
  const FileStamp before = FileStamp::Of(path);
  const long result = component.FileCompareCreateReport(FileNameToStd(path), type, style);
  collectReportError_ = false;
  ShowBusyPointer(false);
  if (result == kWritten) {
    const FileStamp after = FileStamp::Of(path);
    if (after.exists && after != before) return true;
    ReportProblem(kNotWritten +
                  (component.FileCompareResultsCount() < 1
                       ? QStringLiteral("the comparison found no differences to list")
                       : QStringLiteral("nothing was written to ") + ShownFileName(path)));
    return false;
  }

  const QString master = ComparedMaster();
  const QString source = ComparedSource();
  QString why;
  switch (result) {
    case kAborted: why = QStringLiteral("the last comparison was stopped before it ended"); break;
    case kComparisonRunning: why = QStringLiteral("a comparison is running"); break;
    case kMasterUnreadable:
      why = QStringLiteral("cannot read the master file ") + ShownFileName(master);
      break;
    case kSourceUnreadable:
      why = QStringLiteral("cannot read the source file ") + ShownFileName(source);
      break;
    default:
      // The component refuses to write a report over a compared file; its message names
      // only the path, which reads as if that file were missing.
      if (SameFile(path, master))
        why = ShownFileName(path) + QStringLiteral(" is the master file");
      else if (SameFile(path, source))
        why = ShownFileName(path) + QStringLiteral(" is the source file");
      else if (!reportError_.isEmpty())
        why = reportError_;
      else
        why = QStringLiteral("cannot write ") + ShownFileName(path);
      break;
  }
  ReportProblem(kNotWritten + why);
  return false;
}

void CompareFilesWindow::OpenReport(const QString& path, bool html) {
  const OpenOutcome outcome = html ? OpenDocument(path, this) : OpenInTextEditor(path, this);
  if (outcome == OpenOutcome::Failed)
    ReportProblem(QStringLiteral("The report could not be opened: ") + ShownFileName(path));
}

void CompareFilesWindow::ReportProblem(const QString& text) {
  reportProblem_ = text;
  SetStatus(3, text);
}

void CompareFilesWindow::cmdViewReport_Click() {
  reportProblem_.clear();
  HideDetailViews();
  ShowBusyPointer(true);
  SetStatus(3, QStringLiteral("Creating Report"));
  LetPendingMessagesRun();
  const CompareFilesReportSettings& report = settings_.report;
  QString path;
  bool written = false;
  switch (report.defaultType) {
    case kReportHTML:
      lindrel1_->SetReportFileTitle(report.htmlTitle);
      path = report.htmlPath;
      written = CreateReport(path, kReportHTML, report.defaultStyle);
      break;
    case kReportText:
      path = report.textPath;
      written = CreateReport(path, kReportText, 0);
      break;
    case kReportCommaDelimited:
      path = report.commaDelimitedPath;
      written = CreateReport(path, kReportCommaDelimited, 0);
      break;
    default:
      // Not a type this window offers: nothing is written.
      ShowBusyPointer(false);
      ReportProblem(kNotWritten +
                    QStringLiteral("report type %1 is not HTML (1), text (2) or comma "
                                   "delimited (3); choose one in Report Options")
                        .arg(report.defaultType));
      return;
  }
  ShowBusyPointer(false);
  if (!written) return;
  SetStatus(3, QStringLiteral("Launching Report"));
  LetPendingMessagesRun();
  OpenReport(path, report.defaultType == kReportHTML);
}

void CompareFilesWindow::mnuReportHTMLFile_Click() {
  const CompareFilesReportSettings& report = settings_.report;
  lindrel1_->SetReportFileTitle(report.htmlTitle);
  if (CreateReport(report.htmlPath, kReportHTML,
                   AllInOneShown() ? kStyleAllInOne : kStyleSideBySide))
    OpenReport(report.htmlPath, true);
}

void CompareFilesWindow::mnuReportTextFile_Click() {
  if (CreateReport(settings_.report.textPath, kReportText, 0))
    OpenReport(settings_.report.textPath, false);
}

void CompareFilesWindow::mnuReportCommaDelimitedFile_Click() {
  if (CreateReport(settings_.report.commaDelimitedPath, kReportCommaDelimited, 0))
    OpenReport(settings_.report.commaDelimitedPath, false);
}

}  // namespace lindrel::demo
