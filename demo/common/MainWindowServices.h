// MainWindowServices: what a comparison window asks of the main window around it: the
// menu items that apply to it, its toolbar button, the shared pop-up menu, showing a
// child window, and the Compare Files window's dialog for a pair of files (the Compare
// Directories window opens its rows there). The children know the main window only
// through this interface.
//
// Threading: GUI thread only.
#pragma once

#include <QString>

class QMenu;

namespace lindrel::demo {

// What an active comparison window offers in the main window's menus.
struct ComparisonMenuItems {
  bool htmlReport = false;
  bool commaDelimitedReport = false;
  bool textReport = false;
  bool tabDelimitedReport = false;
  bool swap = false;
  bool changeMap = false;    // View > Show Change Map
  bool changeMoves = false;  // View > Next Change, Previous Change
  bool find = false;         // View > Find, Find Next, Find Previous, Go To Line, Mark Words ...
  bool marksWords = false;   // View > Mark Words in Every Change is checked
};

// The names of the two child windows.
inline constexpr const char* kCompareDirName = "frmCompareDir";
inline constexpr const char* kCompareFilesName = "frmCompareFiles";

class MainWindowServices {
 public:
  // Shows the Report menu with the reports of `items`, Swap as `items` says, and enables
  // the legend and detail items, for the comparison window just activated.
  virtual void ShowMenusFor(const ComparisonMenuItems& items) = 0;
  // Presses or releases toolbar button `key` ("frmCompareDir", "frmCompareFiles").
  virtual void PressToolbarButton(const QString& key, bool pressed) = 0;
  // The pop-up menu the children show as their context menu.
  virtual QMenu* PopupMenu() const = 0;
  // Shows the child window of that name: gives it the focus when visible, else shows it.
  virtual void ShowChild(const QString& name) = 0;
  // Releases every toolbar button when the child calling it is the last one open.
  virtual void UpateMainToolbar() = 0;
  // Shows the Compare Files window and its options dialog with `master` and `source`
  // preset; the window compares them unless the user cancels.
  virtual void OfferFilePair(const QString& master, const QString& source) = 0;
  // Shows child window `name` and has it compare `master` with `source` at once (two
  // folders dropped on the Compare Files window are compared in the Compare Directories
  // window).
  virtual void ComparePairIn(const QString& name, const QString& master, const QString& source) = 0;

 protected:
  ~MainWindowServices() = default;
};

}  // namespace lindrel::demo
