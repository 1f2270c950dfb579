// ComparisonWindow: what the main window asks of its comparison windows (the Compare
// Files and the Compare Directories window), by typed call: the menu commands it
// forwards to the active child, the activation changes, the periodic toolbar upkeep and
// the window's own start command. A window that offers nothing for a command keeps the
// default, which does nothing (a file comparison has no tab-delimited report, a
// directory comparison no Swap).
//
// Threading: GUI thread only.
#pragma once

class QString;
class QWidget;

namespace lindrel::widgets {
class LindrelWidget;
}

namespace lindrel::demo {

class ComparisonWindow {
 public:
  virtual ~ComparisonWindow() = default;

  // The window itself, as the main window hosts it.
  virtual QWidget* Widget() = 0;
  // The component that runs the window's comparisons (the thread priority goes to it);
  // nullptr when the window has none.
  virtual widgets::LindrelWidget* Component() = 0;

  // The window's own start command: its options dialog, then a comparison.
  virtual void StartFromMenu() = 0;
  // The options dialog with `master` and `source` preset; a comparison unless cancelled.
  // Only the Compare Files window takes pairs of files.
  virtual void OfferPair(const QString& /*master*/, const QString& /*source*/) {}
  // Compares `master` with `source` at once, as the window's own dialog would with both
  // typed in (a drop of two files or folders, the command line).
  virtual void ComparePairNow(const QString& /*master*/, const QString& /*source*/) {}

  // Menu commands of the main window.
  virtual void Refresh_View() {}
  virtual void Change_Font(bool /*showDialog*/) {}
  virtual void mnuViewLegend_Click() {}
  virtual void Swap() {}
  virtual void ReportOptions() {}
  virtual void mnuReportHTMLFile_Click() {}
  virtual void mnuReportTextFile_Click() {}
  virtual void mnuReportTabDelimitedFile_Click() {}
  virtual void mnuReportCommaDelimitedFile_Click() {}
  virtual void cmdViewReport_Click() {}
  virtual void mnuShowDetail_Click() {}
  // The change map beside the grids, and moves by whole changes (Compare Files only).
  virtual void mnuViewChangeMap_Click() {}
  virtual void MoveNextChange() {}
  virtual void MovePreviousChange() {}
  // Finding text and lines, and the marks of the words in every change (Compare Files
  // only).
  virtual void mnuFind_Click() {}
  virtual void FindNext() {}
  virtual void FindPrevious() {}
  virtual void mnuGoToLine_Click() {}
  virtual void mnuMarkWordsInEveryChange_Click() {}
  virtual void Abort() {}

  // Upkeep: the main window was resized; the 2-second tick; the window gained or lost
  // the focus among the children.
  virtual void Form_Resize() {}
  virtual void AdjustToolbarItems() {}
  virtual void Form_Activate() {}
  virtual void Form_Deactivate() {}
};

}  // namespace lindrel::demo
