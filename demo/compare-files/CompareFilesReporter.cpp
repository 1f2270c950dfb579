#include "demo/compare-files/CompareFilesReporter.h"

#include "demo/common/DesktopOpener.h"
#include "demo/common/FileNames.h"
#include "demo/common/UiTiming.h"
#include "lindrel/HostFiles.h"
#include "lindrel/widgets/FileStamp.h"
#include "lindrel/widgets/LindrelWidget.h"

namespace lindrel::demo {
namespace {

using widgets::FileStamp;

const QString kNotWritten = QStringLiteral("The report was not written: ");

bool SameFile(const QString& a, const QString& b) {
  return files::SameExistingFile(FileNameToStd(a), FileNameToStd(b));
}

}  // namespace

CompareFilesReporter::CompareFilesReporter(widgets::LindrelWidget& component, QWidget& window,
                                           std::function<void(const QString&)> status)
    : component_(component), window_(window), status_(std::move(status)) {}

void CompareFilesReporter::SetProblem(const QString& text) {
  problem_ = text;
  status_(text);
}

void CompareFilesReporter::ComponentError(const QString& message) {
  if (collecting_) componentError_ = message;
}

bool CompareFilesReporter::Create(const QString& path, long type, long style, const QString& master,
                                  const QString& source) {
  // Through the component's own interface: names reach it as the bytes they are.
  CLindrelCtrl& component = component_.Control();
  component.SetReportFileMaster(FileNameToStd(master));
  component.SetReportFileSource(FileNameToStd(source));
  ShowBusyPointer(true);
  componentError_.clear();
  collecting_ = true;
  const FileStamp before = FileStamp::Of(path);
  const long result = component.FileCompareCreateReport(FileNameToStd(path), type, style);
  collecting_ = false;
  ShowBusyPointer(false);
  if (result == kReportWritten) {
    const FileStamp after = FileStamp::Of(path);
    if (after.exists && after != before) return true;
    SetProblem(kNotWritten +
               (component.FileCompareResultsCount() < 1
                    ? QStringLiteral("the comparison found no differences to list")
                    : QStringLiteral("nothing was written to ") + ShownFileName(path)));
    return false;
  }

  const QString comparedMaster = FileNameFromBytes(component.GetFileMaster());
  const QString comparedSource = FileNameFromBytes(component.GetFileSource());
  QString why;
  switch (result) {
    case kReportAborted:
      why = QStringLiteral("the last comparison was stopped before it ended");
      break;
    case kReportComparisonRunning: why = QStringLiteral("a comparison is running"); break;
    case kReportMasterUnreadable:
      why = QStringLiteral("cannot read the master file ") + ShownFileName(comparedMaster);
      break;
    case kReportSourceUnreadable:
      why = QStringLiteral("cannot read the source file ") + ShownFileName(comparedSource);
      break;
    default:
      // The component refuses to write a report over a compared file; its message names
      // only the path, which reads as if that file were missing.
      if (SameFile(path, comparedMaster))
        why = ShownFileName(path) + QStringLiteral(" is the master file");
      else if (SameFile(path, comparedSource))
        why = ShownFileName(path) + QStringLiteral(" is the source file");
      else if (!componentError_.isEmpty())
        why = componentError_;
      else
        why = QStringLiteral("cannot write ") + ShownFileName(path);
      break;
  }
  SetProblem(kNotWritten + why);
  return false;
}

void CompareFilesReporter::Open(const QString& path, bool html) {
  const OpenOutcome outcome =
      html ? OpenDocument(path, &window_) : OpenInTextEditor(path, &window_);
  if (outcome == OpenOutcome::Failed)
    SetProblem(QStringLiteral("The report could not be opened: ") + ShownFileName(path));
}

}  // namespace lindrel::demo
