// CompareFilesTopBar: the row of controls above the Compare Files window's view: the
// buttons cmdCompare, cmdViewReport and cmdCompareFilesViewFormat, the toolbar Toolbar1
// (the navigation buttons cmdFirst ... cmdGoTo, cmdRefresh, cmdSwap) and the drop-down
// list of changes cmboChangeListing on its toolbar tbChangeListing.
//
// The navigation buttons stay enabled; their pictures say whether a move makes sense.
//
// Threading: GUI thread only.
#pragma once

#include <QStringList>
#include <QWidget>

class QAbstractItemModel;
class QAction;
class QComboBox;
class QPushButton;
class QToolBar;

namespace lindrel::demo {

class CompareFilesTopBar : public QWidget {
  Q_OBJECT

 public:
  static constexpr const char* kViewAllInOne = "All In One";      // side by side on screen
  static constexpr const char* kViewSideBySide = "Side By Side";  // all in one on screen

  explicit CompareFilesTopBar(QWidget* parent = nullptr);

  void SetViewReportShown(bool shown);
  void SetViewFormatShown(bool shown);
  // The caption of cmdCompareFilesViewFormat names the view it switches to.
  void SetAllInOneShown(bool allInOne);

  // The drop-down's entries, kept by their owner; the first is selected when filled.
  void SetChangeList(QAbstractItemModel* entries);
  // Selects the entry of change `change` (1-based) without a ChangeChosen.
  void SelectChange(int change);
  // The pictures of the navigation buttons for `count` changes, `current` current.
  void SetNavigationPictures(long count, int current);
  // The picture index a navigation button shows ("cmdFirst" ... "cmdGoTo"), 0 for others.
  int NavigationImage(const QString& key) const;
  // Lets the drop-down take the width of its toolbar after a layout that fell behind.
  void AdjustListing();

 signals:
  void CompareClicked();
  void ViewReportClicked();
  void ViewFormatClicked();
  void RefreshClicked();
  void SwapClicked();
  void FirstClicked();
  void PreviousClicked();
  void NextClicked();
  void LastClicked();
  void GoToClicked();
  // The user chose change `change` in the drop-down (even the one already selected).
  void ChangeChosen(int change);

 private:
  void BuildNavigation();

  QPushButton* compare_ = nullptr;
  QPushButton* viewReport_ = nullptr;
  QPushButton* viewFormat_ = nullptr;
  QToolBar* toolbar_ = nullptr;
  QAction* navigation_[5] = {};  // first, previous, next, last, go to
  QToolBar* listingBar_ = nullptr;
  QComboBox* listing_ = nullptr;
  bool syncing_ = false;  // the drop-down is being filled or set by code
};

}  // namespace lindrel::demo
