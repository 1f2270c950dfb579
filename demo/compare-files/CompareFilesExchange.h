// CompareFilesExchange: the values the compare-files dialogs (options, report options)
// read from the Compare Files window when they open and hand back when they are
// accepted. The Compare Files window implements it; it also stores these values in the
// settings file, except the file histories, which the options dialog saves itself.
//
// CompareFilesValues is a plain implementation holding the values in memory.
//
// Threading: GUI thread only.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include "demo/common/HistoryList.h"
#include "lindrel/widgets/LindrelWidget.h"

namespace lindrel::demo {

// The default report type (a ReportFormat: HTML, text or comma-delimited) and HTML style
// (a ReportStyle) as the settings file stores them; a stored value outside those offered
// is kept as it is.
struct CompareFilesReportSettings {
  QString textPath;
  QString commaDelimitedPath;
  QString htmlPath;
  QString htmlTitle;
  int defaultType = kReportFormatHtml;
  int defaultStyle = kReportStyleAllInOne;
};

class CompareFilesExchange {
 public:
  virtual ~CompareFilesExchange() = default;

  // The window's component Lindrel1, whose FileIgnoreCase, FileIgnoreWhiteSpace,
  // FileIgnoreEmptyLines and FileQuickCompare the dialog reads and writes. May be nullptr.
  virtual widgets::LindrelWidget* Lindrel1() = 0;

  virtual bool ShowReportOnly() const = 0;
  virtual void SetShowReportOnly(bool value) = 0;
  virtual bool BeepWhenDone() const = 0;
  virtual void SetBeepWhenDone(bool value) = 0;

  virtual HistoryList& MasterHistory() = 0;
  virtual HistoryList& SourceHistory() = 0;
  virtual void SetMasterFileName(const QString& path) = 0;
  virtual void SetSourceFileName(const QString& path) = 0;

  virtual CompareFilesReportSettings ReportSettings() const = 0;
  virtual void SetReportSettings(const CompareFilesReportSettings& settings) = 0;
};

class CompareFilesValues : public CompareFilesExchange {
 public:
  explicit CompareFilesValues(widgets::LindrelWidget* lindrel1 = nullptr) : lindrel1_(lindrel1) {}

  widgets::LindrelWidget* Lindrel1() override { return lindrel1_.data(); }
  bool ShowReportOnly() const override { return showReportOnly; }
  void SetShowReportOnly(bool value) override { showReportOnly = value; }
  bool BeepWhenDone() const override { return beepWhenDone; }
  void SetBeepWhenDone(bool value) override { beepWhenDone = value; }
  HistoryList& MasterHistory() override { return masterHistory; }
  HistoryList& SourceHistory() override { return sourceHistory; }
  void SetMasterFileName(const QString& path) override { masterFileName = path; }
  void SetSourceFileName(const QString& path) override { sourceFileName = path; }
  CompareFilesReportSettings ReportSettings() const override { return report; }
  void SetReportSettings(const CompareFilesReportSettings& settings) override { report = settings; }

  bool showReportOnly = false;
  bool beepWhenDone = false;
  HistoryList masterHistory;
  HistoryList sourceHistory;
  QString masterFileName;
  QString sourceFileName;
  CompareFilesReportSettings report;

 private:
  QPointer<widgets::LindrelWidget> lindrel1_;
};

}  // namespace lindrel::demo
