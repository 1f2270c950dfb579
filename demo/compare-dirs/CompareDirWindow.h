// CompareDirWindow: frmCompareDir, the Compare Directories window of LindrelDemo.
//
// It compares a master and a source directory tree through its component Lindrel1
// (state file "WDD_COMPARE_DIR_TVK1") and lists the records in fgFiles, a five-column
// grid with icons and colours: one heading row, then grid row r for record r - 1.
// The options dialog (frmCompareDirOptions) sets the component and starts the comparison
// (StartComparison); Timer1 (25 ms) animates the state text and, with stream findings
// on, adds up to 20 rows per tick while the scan runs; the tick that finds the scan over
// adds the rest and shows the elapsed seconds. A double click (or Enter) on a row opens
// the pair in the Compare Files window through its options dialog.
//
// While rows are added the window lets pending messages run after every row, so a click
// on the status bar (Abort) or closing the window is handled during long displays.
// Displays never nest: a tick that comes while rows are being added only animates.
//
// Status bar panels (sbStatus, 1-based): 1 the fixed hint, 2 the counts, 3 the state
// (a click there aborts a running comparison, as do the Stop button shown meanwhile and
// Esc), 5 the elapsed seconds.
//
// There is one such window in the program: the main window makes it on first use and
// keeps it until the program ends (closing it hides it). The main window reaches it
// through its ComparisonWindow interface; it reaches the main window through
// MainWindowServices.
//
// Threading: GUI thread only.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>

#include "demo/common/ChildPlacement.h"
#include "demo/common/ComparisonWindow.h"
#include "demo/common/HistoryList.h"
#include "demo/common/MainWindowServices.h"
#include "demo/compare-dirs/CompareDirExchange.h"
#include "demo/compare-dirs/CompareDirSettings.h"
#include "demo/compare-dirs/DirGridModel.h"
#include "demo/compare-dirs/DirLegend.h"

class QAction;
class QLabel;
class QListWidget;
class QPushButton;
class QTableView;
class QTimer;
class QToolBar;

namespace lindrel::widgets {
class LindrelWidget;
}

namespace lindrel::demo {

class CompareDirTopBar;
class PanelStatusBar;

class CompareDirWindow : public QWidget, public CompareDirExchange, public ComparisonWindow {
  Q_OBJECT

 public:
  static constexpr const char* kErrorListHeading = "Error Event Messages Received";
  static constexpr const char* kComparingText = "Comparing Directories. Click here to Abort.";
  static constexpr const char* kHint =
      "Hint: Doubleclick on files that are different to show comparison in detail";
  static constexpr int kTimerIntervalMs = 25;
  static constexpr int kRowsPerTick = 20;
  static constexpr int kStatusPanels = 5;

  // `main` is the program's main window (menus, toolbar, pop-up menu, the Compare Files
  // window); nullptr leaves those effects out. The main window outlives the window.
  explicit CompareDirWindow(MainWindowServices* main = nullptr, QWidget* parent = nullptr);
  ~CompareDirWindow() override;

  // --- ComparisonWindow: what the main window calls --------------------------------------
  QWidget* Widget() override { return this; }
  widgets::LindrelWidget* Component() override { return lindrel1_; }
  void StartFromMenu() override { CompareDirectories(); }
  void ComparePairNow(const QString& master, const QString& source) override {
    CompareDirectoriesPair(master, source);
  }
  // Repeats the last comparison: the options dialog run without being shown.
  void Refresh_View() override;
  void Abort() override;
  void ReportOptions() override;
  void Change_Font(bool showDialog) override;
  void mnuViewLegend_Click() override;
  void mnuReportTabDelimitedFile_Click() override;
  void cmdViewReport_Click() override;
  // The pop-up menu's "Show Detail": as a double click on the current row.
  void mnuShowDetail_Click() override;
  void Form_Resize() override;
  void AdjustToolbarItems() override;
  void Form_Activate() override;

  // The options dialog, modally; it starts the comparison unless cancelled.
  void CompareDirectories();

  // Compares `master` with `source` with the stored options, as if both had been typed
  // into the options dialog (they join the histories).
  void CompareDirectoriesPair(const QString& master, const QString& source);
  // The same for two trees named on the command line (scripts, git difftool -d): the
  // subfolders are compared and the scan does not pause between entries, whatever the
  // stored options say. Those stay stored as they were, for the dialog and the next run.
  void CompareWholeTrees(const QString& master, const QString& source);

  // --- The window's own steps, public for the dialogs and tests that drive them ---------
  // Start tick, empty grid, error list reset, status "...", DirCompareBegin.
  void StartComparison() override;
  void ClearGridbox();
  // Adds up to `count` rows for records not shown yet (all of them when count < 1).
  void AddResultsToGrid(long count);
  // Ends the comparison and any display in progress.
  void StopSearch();
  // A scan runs, or its last rows are still to be shown.
  bool Scanning() const;
  void Timer1_Timer();
  // The status of a comparison that has ended: "Compare Completed" (saying how many
  // subfolders were not looked into), or "Scan Aborted" when it was stopped.
  QString CompletionText() const;
  // Opens grid row `gridRow` (>= 1) in the Compare Files window; row 0 does nothing.
  void OpenRow(int gridRow);
  void ReadIniFile();
  void SaveIniFile();

  // --- CompareDirExchange: what the dialogs read and write --------------------------------
  widgets::LindrelWidget* Lindrel1() const override { return lindrel1_; }
  HistoryList& MasterHistory() override { return masterHistory_; }
  HistoryList& SourceHistory() override { return sourceHistory_; }
  HistoryList& FileTypesHistory() override { return fileTypesHistory_; }
  CompareDirSettings& Settings() override { return settings_; }
  const CompareDirSettings& Settings() const { return settings_; }

  // --- What the window shows ------------------------------------------------------------
  QString StatusText(int panel) const;
  QStringList ErrorLines() const;
  QListWidget* ErrorList() const { return lstErrorMessages_; }
  QTableView* Grid() const { return fgFiles_; }
  const DirGridModel& GridModel() const { return model_; }
  QWidget* Legend() const { return tbLegend_; }
  QPushButton* ViewReportButton() const;
  QPushButton* CompareButton() const;
  QPushButton* StopButton() const;
  QTimer* Timer1() const { return timer1_; }
  long RecordsShown() const { return shown_; }
  // Column width in twips.
  int ColumnWidthTwips(int column) const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Directory result record `index`, with the names as the component holds them.
  bool ReadRecord(long index, DirRecord& r);
  void BuildControls();
  void ConnectComponent();

  void Lindrel1_DirCompareStarted();
  void Lindrel1_DirCompareCompleted();
  void Lindrel1_OnError(long code, const QString& message);

  void fgFiles_DblClick();
  void fgFiles_ContextMenu(const QPoint& pos);
  void ResetErrorList();
  void SetStatus(int panel, const QString& text);
  void SetGridRedraw(bool on);

  MainWindowServices* main_ = nullptr;
  CompareDirSettings settings_;
  HistoryList masterHistory_;
  HistoryList sourceHistory_;
  HistoryList fileTypesHistory_;

  // Display bookkeeping.
  long shown_ = 0;
  long fileRows_ = 0;
  long dirRows_ = 0;
  bool stopFlag_ = false;
  bool scanLooksInSubfolders_ = false;  // as the running or last scan was started
  ChildPlacement placement_{QStringLiteral("frmCompareDir")};
  bool columnsFitted_ = false;
  bool displaying_ = false;
  unsigned generation_ = 0;  // changes with every ClearGridbox
  QString lastError_;        // the component's last OnError message
  long startTick_ = 0;
  int animation_ = 0;

  widgets::LindrelWidget* lindrel1_ = nullptr;
  DirGridModel model_;
  QTableView* fgFiles_ = nullptr;
  PanelStatusBar* sbStatus_ = nullptr;
  QListWidget* lstErrorMessages_ = nullptr;
  DirLegend* tbLegend_ = nullptr;
  CompareDirTopBar* topBar_ = nullptr;
  QTimer* timer1_ = nullptr;
};

}  // namespace lindrel::demo
