// CompareFilesWindow: frmCompareFiles, the Compare Files window of LindrelDemo.
//
// It compares one master file with one source file through its component Lindrel1
// (state file "WDD_COMPARE_FILES_TVK1") and shows the result in two grids side by side
// (msfgMaster, msfgSource), padded so that the lines of each change stand on the same
// rows and coloured by kind, or merged into one grid (msfgAllInOne). Lindrel2
// ("WDD_COMPARE_FILES_TVK2") is kept for the word-level detail view and has no event
// handlers. The window also writes reports of the last comparison through Lindrel1.
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
// FileCompareStarted, OnError (status text only) and FileCompareCompleted, which loads
// both files into the grids (Setup), pads and colours them, and tells the user when
// nothing differs ("No differences detected") or the files differ without change records
// ("Binary Files are different"). In show-report-only mode the completion writes and
// opens the default report instead and leaves the grids empty.
//
// Status bar panels (sbStatus, 1-based): 2 the current change, 3 the state of the
// window, 5 the elapsed seconds of the last comparison.
//
// Beside the grids the change map (ChangeMap) shows every change of the comparison and
// the rows on screen; View > Show Change Map hides it. Alt+Down and Alt+Up move by whole
// changes, where F7 and Shift+F7 step through the rows of a change first. After a
// comparison both files are watched (ComparedFilesWatcher): when one changes on disk a
// bar above the grids says so and offers Refresh; the window never compares again by
// itself, and the bar goes when the next comparison starts. Two files dropped on the
// window are compared, one file dropped on a side-by-side grid replaces that side, two
// folders go to the Compare Directories window; any other drop is refused with a message.
//
// Threading: GUI thread only.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "demo/common/ChildPlacement.h"
#include "demo/common/ComparisonWindow.h"
#include "demo/common/HistoryList.h"
#include "demo/common/MainWindowServices.h"
#include "demo/compare-files/AlignedRows.h"
#include "demo/compare-files/AllInOneModel.h"
#include "demo/compare-files/CompareFilesExchange.h"
#include "demo/compare-files/CompareFilesSettings.h"
#include "demo/compare-files/FileGridModel.h"
#include "demo/compare-files/FileStamp.h"

class QAction;
class QMimeData;
class QComboBox;
class QKeyEvent;
class QLabel;
class QPushButton;
class QStackedWidget;
class QTextEdit;
class QToolBar;

namespace lindrel::widgets {
class LindrelWidget;
}

namespace lindrel::demo {

class ChangeMap;
class ComparedFilesWatcher;
class ComparisonGrid;
class LegendBar;
class PanelStatusBar;
class PleaseWaitWindow;
class RowHeights;

class CompareFilesWindow : public QWidget, public CompareFilesExchange, public ComparisonWindow {
  Q_OBJECT

 public:
  static constexpr const char* kMasterHistorySection = "MasterSearchFile";
  static constexpr const char* kSourceHistorySection = "SourceSearchFile";
  static constexpr const char* kViewAllInOne = "All In One";      // side by side on screen
  static constexpr const char* kViewSideBySide = "Side By Side";  // all in one on screen
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
  // The next and the previous change as a whole (Alt+Down, Alt+Up), through the moves
  // the buttons use.
  void MoveNextChange() override;
  void MovePreviousChange() override;
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

  // Compares `master` with `source` at once, as if they had been chosen in the options
  // dialog (they join the file histories).
  void ComparePair(const QString& master, const QString& source);

  // --- Moving between changes -----------------------------------------------------------
  void MoveFirst();
  void MovePrevious();
  void MoveNext();
  void MoveLast();
  void GoToChange();
  // Shows the current change in the view on screen; selects its drop-down entry first
  // when `syncDropDown`.
  void MoveToChange(bool syncDropDown);
  void UpdateNavigationalDropDownListBox();
  void SetNavigationButtons();
  // The first row whose line number (column 0, or column 2 of the all-in-one grid for
  // the source) is `line`; 0 when none.
  int FindRow(const ComparisonGrid* grid, int column, long line) const;
  // The image index a navigation button shows ("cmdFirst" ... "cmdGoTo"), 0 for others.
  int NavigationImage(const QString& key) const;
  void HighlightParagraphChangesRTF(bool clickedMaster);
  void HighlightParagraphChangesRTFAllInOne();
  void HideDetailViews();
  QTextEdit* MasterOverlay() const { return rtbMaster_; }
  QTextEdit* SourceOverlay() const { return rtbSource_; }
  QTextEdit* AllInOneOverlay() const { return rtbAllInOne_; }

  // --- The window's own steps, public for the windows and tests that drive them ---------
  void Setup();
  void UpdateChangesToFiles();
  void UpdateChangesToAllInOneGrid();
  void cmdCompareFilesViewFormat_Click();
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

  // --- What the window shows (for the windows and tests that look at it) ----------------
  const QString& MasterFileName() const { return masterFileName_; }
  const QString& SourceFileName() const { return sourceFileName_; }
  const CompareFilesSettings& Settings() const { return settings_; }
  QString StatusText(int panel) const;
  int RecordCount() const { return recordCount_; }
  int CurrentChange() const { return currentChange_; }
  int MasterLineCount() const { return masterLineCount_; }
  int SourceLineCount() const { return sourceLineCount_; }
  bool AllInOneShown() const;
  widgets::LindrelWidget* Lindrel1Widget() const { return lindrel1_; }
  widgets::LindrelWidget* Lindrel2Widget() const { return lindrel2_; }
  ComparisonGrid* MasterGrid() const { return msfgMaster_; }
  ComparisonGrid* SourceGrid() const { return msfgSource_; }
  ComparisonGrid* AllInOneGrid() const { return msfgAllInOne_; }
  const FileGridModel& MasterModel() const { return masterModel_; }
  const FileGridModel& SourceModel() const { return sourceModel_; }
  const AllInOneModel& AllInOne() const { return allInOneModel_; }
  LegendBar* Legend() const { return tbLegend_; }
  PleaseWaitWindow* PleaseWait() const { return frmPleaseWait_; }
  QPushButton* ViewReportButton() const { return cmdViewReport_; }
  QPushButton* ViewFormatButton() const { return cmdCompareFilesViewFormat_; }
  QComboBox* ChangeListing() const { return cmboChangeListing_; }
  ChangeMap* Map() const { return map_; }
  // The bar that says a compared file changed on disk, and its Refresh button.
  QWidget* ChangedOnDiskBar() const { return diskBar_; }
  QString ChangedOnDiskText() const;
  QPushButton* ChangedOnDiskRefreshButton() const { return cmdDiskRefresh_; }
  ComparedFilesWatcher* Watcher() const { return watcher_; }

  // A drop of paths on the window (`side` 0), or on the master (1) or source (2) grid.
  void TakeDrop(const QMimeData* data, int side);

  // Benchmarks: called when the component's completion event reaches the window, before
  // the window handles it.
  void TEST_SetCompletionProbe(std::function<void()> probe) { completionProbe_ = std::move(probe); }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Construction.
  void BuildControls();
  QWidget* BuildTopBar();
  void ConnectComponent();

  // Events of Lindrel1.
  void Lindrel1_OnError(long code, const QString& message);
  void Lindrel1_FileCompareStarted();
  void Lindrel1_FileCompareCompleted(long count);
  void ShowReportOnlyResult();
  void ShowResultInGrids(long count);

  // Grids.
  // Shows `lines`, read from `fileName` (`loaded` false when that failed, for `error`), in
  // `grid`; notes a load failure in loadProblem_, and a file that is no longer the one
  // `compared` describes in changeProblem_.
  int LoadFileToGrid(const QString& fileName, FileGridModel& grid, const FileStamp& compared,
                     std::shared_ptr<GridLines> lines, bool loaded, const QString& error);
  // Adds `fileName` to changeProblem_ when it is not the file that was compared (or
  // `loadedBytes`, when not negative, is not its compared size).
  void NoteChange(const QString& fileName, const FileStamp& compared, qint64 loadedBytes);
  // FileMaster and FileSource of Lindrel1, the names as the component holds them.
  QString ComparedMaster() const;
  QString ComparedSource() const;
  // "" or the sentence that tells the user what changed since the comparison and that
  // `what` ("view", "report") may not match the files.
  QString ChangedFilesText(const QString& what) const;
  void ClearGrids();
  void ScheduleLayout();
  void LayoutGrids();
  // The rows of the view are measured anew as they come into view.
  void SizeRowsSideBySide();
  void SizeRowsAllInOne();
  void BuildRowHeights();
  void SetGridsRedraw(bool on);
  void GridScrolled(ComparisonGrid* grid, int topRow);
  void GridRightClicked(ComparisonGrid* grid, int gridRow, const QPoint& globalPos);

  // The change map.
  void ConnectChangeMap();
  void SetChangeMapMarks(const std::vector<GridRecord>& records);
  // Brings the map's frame up to the rows on screen, once the events waiting have run.
  void ScheduleChangeMapFrame();
  void UpdateChangeMapFrame();
  // Scrolls the view on screen so that `gridRow` is in the middle of it.
  void ShowRowInView(int gridRow);

  // Files changed on disk.
  QWidget* BuildChangedOnDiskBar();
  void ComparedFilesChanged();
  // A drop refused: the status and a message say why.
  void RefuseDrop(const QString& why);

  // Navigation.
  QTextEdit* BuildOverlay(const char* name, ComparisonGrid* grid);
  void ConnectNavigation();
  void ShowChangeInGrids();
  void ShowChangeInAllInOneGrid();
  void ColorChangeRows(int change, RowBack back);
  bool ReadRecord(int change, GridRecord& record);
  void SetButtonImage(QAction* button, int imageIndex);
  void ToolbarMove(void (CompareFilesWindow::*move)());
  void cmboChangeListing_Click(int index);
  // The typing overlay over the current text cell of a side-by-side grid.
  void MSFlexGridEdit(ComparisonGrid* grid, QTextEdit* overlay, const QString& typed);
  bool EditKeyCode(ComparisonGrid* grid, QTextEdit* overlay, QKeyEvent* key);
  void PlaceOverlay(QTextEdit* overlay, ComparisonGrid* grid, int gridRow);
  // How much of a line the boxes laid over a row of `grid` hold (CompareFilesDetailView).
  qsizetype DetailCharacters(const ComparisonGrid* grid, int textColumn) const;
  // Status panel 3 says that a box holds only the first `shown` characters of its row.
  void TellDetailCut(qsizetype shown);

  // Helpers.
  void SetStatus(int panel, const QString& text);
  QString ElapsedSecondsText() const;
  void ShowThisWindow();
  void OpenReport(const QString& path, bool html);
  // Status panel 3 says why a report was not written or opened; kept for the completion
  // of show-report-only mode, which would otherwise replace it.
  void ReportProblem(const QString& text);

  MainWindowServices* main_ = nullptr;
  CompareFilesSettings settings_;
  HistoryList masterHistory_;
  HistoryList sourceHistory_;
  QString masterFileName_;
  QString sourceFileName_;
  int masterLineCount_ = 0;
  int sourceLineCount_ = 0;
  int recordCount_ = 0;
  int currentChange_ = 0;
  int previousCurrentChange_ = -1;
  long startTime_ = 0;
  int enlargedRow_ = 0;          // side-by-side row the detail view enlarged, 0 = none
  int enlargedAllInOneRow_ = 0;  // the same in the all-in-one grid
  int enlargedRowHeight_ = 0;    // their heights before
  int enlargedAllInOneRowHeight_ = 0;
  bool dropDownSync_ = false;
  std::vector<RecordRows> recordRows_;
  bool loading_ = true;
  ChildPlacement placement_{QStringLiteral("frmCompareFiles")};
  bool scrollEcho_ = false;
  bool layoutScheduled_ = false;
  bool mapFrameScheduled_ = false;
  QString loadProblem_;
  QString changeProblem_;
  FileStamp comparedMaster_;  // the files as the running or last comparison began
  FileStamp comparedSource_;
  QString reportProblem_;
  QString reportError_;  // the component's message during a report request
  bool collectReportError_ = false;
  std::function<void()> completionProbe_;

  widgets::LindrelWidget* lindrel1_ = nullptr;
  widgets::LindrelWidget* lindrel2_ = nullptr;
  QPushButton* cmdCompare_ = nullptr;
  QPushButton* cmdViewReport_ = nullptr;
  QPushButton* cmdCompareFilesViewFormat_ = nullptr;
  QToolBar* Toolbar1_ = nullptr;
  QAction* cmdFirst_ = nullptr;
  QAction* cmdPrevious_ = nullptr;
  QAction* cmdNext_ = nullptr;
  QAction* cmdLast_ = nullptr;
  QAction* cmdGoTo_ = nullptr;
  QAction* cmdRefresh_ = nullptr;
  QAction* cmdSwap_ = nullptr;
  QToolBar* tbChangeListing_ = nullptr;
  QComboBox* cmboChangeListing_ = nullptr;
  QStackedWidget* views_ = nullptr;
  QWidget* sideBySide_ = nullptr;
  ComparisonGrid* msfgMaster_ = nullptr;
  ComparisonGrid* msfgSource_ = nullptr;
  ComparisonGrid* msfgAllInOne_ = nullptr;
  FileGridModel masterModel_;
  FileGridModel sourceModel_;
  AllInOneModel allInOneModel_{masterModel_, sourceModel_};
  std::unique_ptr<RowHeights> sideBySideHeights_;  // of msfgMaster and msfgSource together
  std::unique_ptr<RowHeights> allInOneHeights_;
  QTextEdit* rtbMaster_ = nullptr;
  QTextEdit* rtbSource_ = nullptr;
  QTextEdit* rtbAllInOne_ = nullptr;
  LegendBar* tbLegend_ = nullptr;
  ChangeMap* map_ = nullptr;
  QWidget* diskBar_ = nullptr;
  QLabel* lblDiskChanged_ = nullptr;
  QPushButton* cmdDiskRefresh_ = nullptr;
  ComparedFilesWatcher* watcher_ = nullptr;
  PanelStatusBar* sbStatus_ = nullptr;
  PleaseWaitWindow* frmPleaseWait_ = nullptr;
};

}  // namespace lindrel::demo
