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

#include "lindrel/widgets/LindrelWidget.h"
#include <QPointer>
#include <QString>

#include "demo/common/HistoryList.h"

namespace lindrel::demo {

// Default report type and HTML style codes, as FileCompareCreateReport takes them.
enum ReportType { kReportHTML = 1, kReportText = 2, kReportCommaDelimited = 3 };
enum ReportStyle { kStyleAllInOne = 1, kStyleSideBySide = 2 };

struct CompareFilesReportSettings {
  QString textPath;
  QString commaDelimitedPath;
  QString htmlPath;
  QString htmlTitle;
  int defaultType = kReportHTML;
  int defaultStyle = kStyleAllInOne;
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
  void SetReportSettings(const CompareFilesReportSettings& settings) override {
    report = settings;
  }

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
