// MainMenus: the menu bar of LindrelDemo's main window, built in one place. Every menu
// and item carries the system's own name as its object name (mnuFile, mnuCompareFiles,
// mnuThreadPriorityLevel(0) ... mnuThreadPriorityLevel(4), mnuPopup, ...) so that child
// windows find the items they show and hide by name. The window connects the items.
//
// mnuReport and mnuPopup start hidden; mnuPopup never shows on the bar, the child windows
// pop it up as their context menu.
//
// Threading: GUI thread only.
#pragma once

#include <array>

#include "demo/common/MainWindowServices.h"

class QAction;
class QMenu;
class QMenuBar;

namespace lindrel::demo {

struct MainMenus {
  static constexpr int kPriorityLevels = 5;

  QMenu* mnuFile = nullptr;
  QAction* mnuCompareDirectories = nullptr;
  QAction* mnuCompareFiles = nullptr;
  QMenu* mnuThreadPriority = nullptr;
  std::array<QAction*, kPriorityLevels> mnuThreadPriorityLevel{};
  QAction* mnuExit = nullptr;

  QMenu* mnuView = nullptr;
  QAction* mnuRefresh = nullptr;
  QAction* mnuFont = nullptr;
  QAction* mnuViewLegend = nullptr;
  QAction* mnuSwap = nullptr;
  QAction* mnuViewChangeMap = nullptr;
  QAction* mnuNextChange = nullptr;
  QAction* mnuPreviousChange = nullptr;
  QAction* mnuFind = nullptr;
  QAction* mnuFindNext = nullptr;
  QAction* mnuFindPrevious = nullptr;
  QAction* mnuGoToLine = nullptr;
  QAction* mnuMarkWordsInEveryChange = nullptr;

  QMenu* mnuReport = nullptr;
  QAction* mnuOptions = nullptr;
  QAction* mnuReportHTMLFile = nullptr;
  QAction* mnuReportTextFile = nullptr;
  QAction* mnuReportTabDelimitedFile = nullptr;
  QAction* mnuReportCommaDelimitedFile = nullptr;

  QMenu* mnuWindow = nullptr;
  QAction* mnuWindowCascase = nullptr;
  QAction* mnuWindowTileHorizontal = nullptr;
  QAction* mnuWindowTileVertical = nullptr;

  QMenu* mnuHelp = nullptr;
  QAction* mnuHelpFile = nullptr;
  QAction* mnuAbout = nullptr;
  QAction* mnuMorvantisHomePage = nullptr;

  QMenu* mnuPopup = nullptr;
  QAction* mnuPopupShowDetail = nullptr;
  QAction* mnuPopupRefresh = nullptr;
  QAction* mnuPopupReport = nullptr;
  QAction* mnuPopupFont = nullptr;

  // Shows the Report menu with the reports of `items`, Swap, the change map and the
  // change moves as `items` says, and enables the legend and detail items, for the
  // comparison window just activated.
  void ShowForComparisonWindow(const ComparisonMenuItems& items) const;
};

// Creates every menu and item on `bar`.
MainMenus BuildMainMenus(QMenuBar& bar);

}  // namespace lindrel::demo
