// The parts of the Compare Files window the GUI tests look at, found the way a user sees
// them: by their object names, in the window as it is on screen. The window itself keeps
// no accessor for them.
//
// Each takes the window as a pointer, a smart pointer or a reference.
#pragma once

#include <QComboBox>
#include <QPushButton>
#include <QTextEdit>

#include <memory>

#include "demo/compare-files/CompareFilesTopBar.h"
#include "demo/compare-files/CompareFilesWindow.h"
#include "demo/compare-files/LegendBar.h"
#include "demo/compare-files/PleaseWaitWindow.h"
#include "lindrel/widgets/ComparisonView.h"
#include "lindrel/widgets/LindrelWidget.h"
#include "widgets/view/AllInOneModel.h"
#include "widgets/view/ChangeMap.h"
#include "widgets/view/ComparedFilesWatcher.h"
#include "widgets/view/ComparisonGrid.h"
#include "widgets/view/FileGridModel.h"

namespace lindrel::testing {

template <typename W>
lindrel::demo::CompareFilesWindow* FilesWindow(const W& window) {
  if constexpr (requires { &*window; })
    return const_cast<lindrel::demo::CompareFilesWindow*>(&*window);
  else
    return const_cast<lindrel::demo::CompareFilesWindow*>(&window);
}

// The child of `window` named `name`; the test fails when there is none.
template <typename T, typename W>
T* Part(const W& window, const char* name) {
  T* part = FilesWindow(window)->template findChild<T*>(QString::fromUtf8(name));
  if (part == nullptr) qFatal("the Compare Files window has no %s", name);
  return part;
}

template <typename W>
widgets::ComparisonView* View(const W& window) {
  return FilesWindow(window)->View();
}
template <typename W>
widgets::ComparisonGrid* MasterGrid(const W& window) {
  return Part<widgets::ComparisonGrid>(window, "msfgMaster");
}
template <typename W>
widgets::ComparisonGrid* SourceGrid(const W& window) {
  return Part<widgets::ComparisonGrid>(window, "msfgSource");
}
template <typename W>
widgets::ComparisonGrid* AllInOneGrid(const W& window) {
  return Part<widgets::ComparisonGrid>(window, "msfgAllInOne");
}
template <typename W>
const widgets::FileGridModel& MasterModel(const W& window) {
  return *static_cast<const widgets::FileGridModel*>(MasterGrid(window)->model());
}
template <typename W>
const widgets::FileGridModel& SourceModel(const W& window) {
  return *static_cast<const widgets::FileGridModel*>(SourceGrid(window)->model());
}
template <typename W>
const widgets::AllInOneModel& AllInOne(const W& window) {
  return *static_cast<const widgets::AllInOneModel*>(AllInOneGrid(window)->model());
}
template <typename W>
QTextEdit* MasterOverlay(const W& window) {
  return Part<QTextEdit>(window, "rtbMaster");
}
template <typename W>
QTextEdit* SourceOverlay(const W& window) {
  return Part<QTextEdit>(window, "rtbSource");
}
template <typename W>
QTextEdit* AllInOneOverlay(const W& window) {
  return Part<QTextEdit>(window, "rtbAllInOne");
}
template <typename W>
lindrel::demo::LegendBar* Legend(const W& window) {
  return Part<lindrel::demo::LegendBar>(window, "tbLegend");
}
template <typename W>
lindrel::demo::PleaseWaitWindow* PleaseWait(const W& window) {
  return Part<lindrel::demo::PleaseWaitWindow>(window, "frmPleaseWait");
}
template <typename W>
QPushButton* ViewReportButton(const W& window) {
  return Part<QPushButton>(window, "cmdViewReport");
}
template <typename W>
QPushButton* ViewFormatButton(const W& window) {
  return Part<QPushButton>(window, "cmdCompareFilesViewFormat");
}
template <typename W>
QComboBox* ChangeListing(const W& window) {
  return Part<QComboBox>(window, "cmboChangeListing");
}
template <typename W>
widgets::ChangeMap* Map(const W& window) {
  return Part<widgets::ChangeMap>(window, "changeMap");
}
template <typename W>
QWidget* ChangedOnDiskBar(const W& window) {
  return Part<QWidget>(window, "diskChangedBar");
}
template <typename W>
QPushButton* ChangedOnDiskRefreshButton(const W& window) {
  return Part<QPushButton>(window, "cmdDiskRefresh");
}
template <typename W>
QString ChangedOnDiskText(const W& window) {
  return View(window)->ChangedOnDiskText();
}
template <typename W>
widgets::ComparedFilesWatcher* Watcher(const W& window) {
  return FilesWindow(window)->template findChild<widgets::ComparedFilesWatcher*>();
}
template <typename W>
int RecordCount(const W& window) {
  return View(window)->ChangeCount();
}
template <typename W>
int CurrentChange(const W& window) {
  return View(window)->CurrentChange();
}
template <typename W>
int MasterLineCount(const W& window) {
  return View(window)->MasterLineCount();
}
template <typename W>
int SourceLineCount(const W& window) {
  return View(window)->SourceLineCount();
}
template <typename W>
bool AllInOneShown(const W& window) {
  return View(window)->AllInOne();
}
template <typename W>
int NavigationImage(const W& window, const QString& key) {
  return Part<lindrel::demo::CompareFilesTopBar>(window, "topBar")->NavigationImage(key);
}
template <typename W>
void MoveFirst(const W& window) {
  View(window)->MoveFirst();
}
template <typename W>
void MovePrevious(const W& window) {
  View(window)->MovePrevious();
}
template <typename W>
void MoveNext(const W& window) {
  View(window)->MoveNext();
}
template <typename W>
void MoveLast(const W& window) {
  View(window)->MoveLast();
}
template <typename W>
void HideDetailViews(const W& window) {
  View(window)->HideDetail();
}
// Switches between the views as the button does.
template <typename W>
void cmdCompareFilesViewFormat_Click(const W& window) {
  ViewFormatButton(window)->click();
}

}  // namespace lindrel::testing
