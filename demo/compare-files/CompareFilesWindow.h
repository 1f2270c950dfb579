// CompareFilesWindow: frmCompareFiles, the Compare Files window of LindrelDemo.
//
// It compares one master file with one source file through its component Lindrel1
// (state file "WDD_COMPARE_FILES_TVK1") and shows the result in the Qt layer's
// ComparisonView: two grids side by side (msfgMaster, msfgSource) padded so that the
// lines of each change stand on the same rows and coloured by kind, or merged into one
// grid (msfgAllInOne), the change map, the word-level detail view (whose words Lindrel2,
// "WDD_COMPARE_FILES_TVK2", compares) and the bar that says a compared file changed on
// disk. Around the view the window keeps what belongs to the program: the buttons, the
// navigation toolbar and the drop-down list of changes (CompareFilesTopBar), the legend,
// the status bar, the please-wait window, the options and report dialogs, the reports
// and the settings.
//
// There is one such window in the program: the main window makes it on first use and
// keeps it until the program ends (closing it hides it). The main window reaches it
// through its ComparisonWindow interface; it reaches the main window through
// MainWindowServices.
//
// A comparison: DoComparison shows frmPleaseWait, pauses (10 ms, then 1000 ms after
// setting the file names; the event loop keeps running), checks that both files exist
// ("File does not exist: " + the first missing path, master first) and starts the
// component's asynchronous comparison. Its events arrive on the GUI thread:
// FileCompareStarted, OnError (status text only) and FileCompareCompleted, which has the
// view show the result and tells the user when nothing differs ("No differences
// detected") or the files differ without change records ("Binary Files are different").
// In show-report-only mode the completion writes and opens the default report instead
// and leaves the grids empty.
//
// Status bar panels (sbStatus, 1-based): 2 the current change, 3 the state of the
// window, 5 the elapsed seconds of the last comparison.
//
// Two files dropped on the window are compared, one file dropped on a side-by-side grid
// replaces that side, two folders go to the Compare Directories window; any other drop is
// refused with a message.
//
// Threading: GUI thread only.
#pragma once

#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

#include "demo/common/ChildPlacement.h"
#include "demo/common/ComparisonWindow.h"
#include "demo/common/HistoryList.h"
#include "demo/common/MainWindowServices.h"
#include "demo/compare-files/CompareFilesExchange.h"
#include "demo/compare-files/CompareFilesSettings.h"

namespace lindrel::widgets {
class ComparisonView;
class LindrelWidget;
}  // namespace lindrel::widgets

namespace lindrel::demo {

class ChangeListEntries;
class CompareFilesReporter;
class CompareFilesTopBar;
class LegendBar;
class PanelStatusBar;
class PleaseWaitWindow;

class CompareFilesWindow : public QWidget, public CompareFilesExchange, public ComparisonWindow {
  Q_OBJECT

 public:
  static constexpr const char* kMasterHistorySection = "MasterSearchFile";
  static constexpr const char* kSourceHistorySection = "SourceSearchFile";
  static constexpr int kStatusPanels = 5;

  // `main` is the program's main window (its menus, toolbar and pop-up menu); nullptr
  // leaves those effects out. The main window outlives the window.
  explicit CompareFilesWindow(MainWindowServices* main = nullptr, QWidget* parent = nullptr);
  ~CompareFilesWindow() override;

  // --- ComparisonWindow: what the main window calls --------------------------------------
  QWidget* Widget() override { return this; }
  widgets::LindrelWidget* Component() override { return lindrel1_; }
  void StartFromMenu() override { cmdCompare_Click(); }
  void OfferPair(const QString& master, const QString& source) override {
    CompareFilesFromDialog(master, source);
  }
  void ComparePairNow(const QString& master, const QString& source) override {
    ComparePair(master, source);
  }
  void Refresh_View() override;
  // Exchanges the master and source files, then compares them.
  void Swap() override;
  void ReportOptions() override;
  // Lets the user pick the grid font when `showDialog`, then applies it to the grids.
  void Change_Font(bool showDialog) override;
  void mnuViewLegend_Click() override;
  void cmdViewReport_Click() override;
  void mnuReportHTMLFile_Click() override;
  void mnuReportTextFile_Click() override;
  void mnuReportCommaDelimitedFile_Click() override;
  // The word-level detail view of the current row.
  void mnuShowDetail_Click() override;
  // Shows or hides the change map.
  void mnuViewChangeMap_Click() override;
  // The next and the previous change as a whole (Alt+Down, Alt+Up).
  void MoveNextChange() override;
  void MovePreviousChange() override;
  // The view's find bar (Ctrl+Shift+F), its next and previous match (F3, Shift+F3).
  void mnuFind_Click() override;
  void FindNext() override;
  void FindPrevious() override;
  // Asks for a line number and its file (frmGoToLine) and makes its row current (Ctrl+L).
  void mnuGoToLine_Click() override;
  // Marks the differing words of every changed row, or stops.
  void mnuMarkWordsInEveryChange_Click() override;
  void Form_Resize() override;
  void AdjustToolbarItems() override;
  void Form_Activate() override;
  void Form_Deactivate() override;

  // Asks for the files and options (frmCompareFilesOptions); compares unless cancelled.
  void cmdCompare_Click();
  // The same with the dialog's two paths preset (the Compare Directories window opens a
  // pair of its files this way).
  void CompareFilesFromDialog(const QString& master, const QString& source);
  // Starts a comparison of the current master and source files.
  void DoComparison();
  // Stops the comparison being started or run (the please-wait window's Cancel and Esc):
  // no result is shown; once the component has begun, the grids no longer show the
  // previous result either, whose records it has let go.
  void CancelComparison();
  // Compares `master` with `source` at once, as if they had been chosen in the options
  // dialog (they join the file histories).
  void ComparePair(const QString& master, const QString& source);
  // Asks for a change number (frmGoTo) and shows that change.
  void GoToChange();
  // Writes one report of the last comparison through Lindrel1. True when this request
  // wrote it; otherwise status panel 3 says why.
  bool CreateReport(const QString& path, long type, long style);
  void ReadIniFile();
  void SaveIniFile();

  // --- CompareFilesExchange ---------------------------------------------------------------
  widgets::LindrelWidget* Lindrel1() override { return lindrel1_; }
  bool ShowReportOnly() const override { return settings_.showReportOnly; }
  void SetShowReportOnly(bool value) override { settings_.showReportOnly = value; }
  bool BeepWhenDone() const override { return settings_.beepWhenDone; }
  void SetBeepWhenDone(bool value) override { settings_.beepWhenDone = value; }
  HistoryList& MasterHistory() override { return masterHistory_; }
  HistoryList& SourceHistory() override { return sourceHistory_; }
  void SetMasterFileName(const QString& path) override { masterFileName_ = path; }
  void SetSourceFileName(const QString& path) override { sourceFileName_ = path; }
  CompareFilesReportSettings ReportSettings() const override { return settings_.report; }
  void SetReportSettings(const CompareFilesReportSettings& report) override {
    settings_.report = report;
  }

  // --- What the window holds --------------------------------------------------------------
  const QString& MasterFileName() const { return masterFileName_; }
  const QString& SourceFileName() const { return sourceFileName_; }
  const CompareFilesSettings& Settings() const { return settings_; }
  QString StatusText(int panel) const;
  widgets::ComparisonView* View() const { return view_; }

  // Benchmarks: called when the component's completion event reaches the window, before
  // the window handles it.
  void TEST_SetCompletionProbe(std::function<void()> probe) { completionProbe_ = std::move(probe); }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // Construction.
  void BuildControls();
  void ConnectTopBar();
  void ConnectView();
  void ConnectComponent();

  // Events of Lindrel1.
  void Lindrel1_OnError(long code, const QString& message);
  void Lindrel1_FileCompareStarted();
  void Lindrel1_FileCompareCompleted(long count);
  void ShowReportOnlyResult();
  void ShowResultInView(long count);

  // Moves and what the window shows of them.
  void ToolbarMove(void (widgets::ComparisonView::*move)());
  void ChangeShown(int change);
  void SetNavigationButtons();
  void TakeOneDroppedFile(bool master, const QString& file);
  void RefuseDrop(const QString& why);

  // Helpers.
  void SetStatus(int panel, const QString& text);
  QString ElapsedSecondsText() const;
  void ShowThisWindow();

  MainWindowServices* main_ = nullptr;
  CompareFilesSettings settings_;
  HistoryList masterHistory_;
  HistoryList sourceHistory_;
  QString masterFileName_;
  QString sourceFileName_;
  long startTime_ = 0;
  bool cancelled_ = false;  // the comparison being started was cancelled
  ChildPlacement placement_{QStringLiteral("frmCompareFiles")};
  std::function<void()> completionProbe_;
  bool goToLineInSource_ = false;  // the numbering Go To Line offers first

  widgets::LindrelWidget* lindrel1_ = nullptr;
  widgets::LindrelWidget* lindrel2_ = nullptr;
  CompareFilesTopBar* topBar_ = nullptr;
  widgets::ComparisonView* view_ = nullptr;
  ChangeListEntries* changes_ = nullptr;  // the top bar's list of changes
  LegendBar* tbLegend_ = nullptr;
  PanelStatusBar* sbStatus_ = nullptr;
  PleaseWaitWindow* frmPleaseWait_ = nullptr;
  std::unique_ptr<CompareFilesReporter> reports_;
};

}  // namespace lindrel::demo
