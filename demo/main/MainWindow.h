// MainWindow: frmMainMDI, LindrelDemo's multi-document main window.
//
// It owns the menu bar (MainMenus), the toolbar tbMain, the thread-priority setting and
// the start-up and closing work on the settings file ("Main" section) and its own window
// placement. Its children are the Compare Directories window ("frmCompareDir") and the
// Compare Files window ("frmCompareFiles"), made on first show by the factories the
// program registers and kept until the program ends; closing a child hides it. Most
// menu commands go to the active child through its ComparisonWindow interface.
//
// Children reach the window only through MainWindowServices.
//
// Threading: GUI thread only.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <functional>
#include <map>

#include "demo/common/ComparisonWindow.h"
#include "demo/common/MainWindowServices.h"
#include "demo/main/MainMenus.h"

class QAction;
class QMdiArea;
class QMimeData;
class QMdiSubWindow;
class QTimer;
class QToolBar;

namespace lindrel::demo {

class MainWindow : public QMainWindow, public MainWindowServices {
  Q_OBJECT

 public:
  static constexpr const char* kCompareDir = kCompareDirName;
  static constexpr const char* kCompareFiles = kCompareFilesName;
  static constexpr const char* kTitle = "Lindrel - Component Demo From Morvantis, Inc.";
  static constexpr int kTimerIntervalMs = 2000;

  // Makes the child window of a name; the main window gives it its object name and
  // hosts it in a sub-window.
  using ChildFactory = std::function<ComparisonWindow*(MainWindowServices&)>;
  using ChildFactories = std::map<QString, ChildFactory>;

  // Builds the window and runs the start-up: settings file path, thread priority,
  // placement, the children that were open and the one that was active, timer on.
  explicit MainWindow(ChildFactories factories = {}, QWidget* parent = nullptr);
  ~MainWindow() override;

  // The child of that name if it has been made, else nullptr.
  QWidget* Child(const QString& name) const;
  ComparisonWindow* ChildWindow(const QString& name) const;
  // Makes the child if needed (without showing it); nullptr for a name without factory.
  ComparisonWindow* LoadChild(const QString& name);
  // The active child window, or nullptr.
  QWidget* ActiveChild() const;
  bool IsChildVisible(const QString& name) const;

  QMdiArea* MdiArea() const { return mdiArea_; }
  const MainMenus& Menus() const { return menus_; }
  QToolBar* Toolbar() const { return tbMain_; }
  // Toolbar button by key ("frmCompareDir", "frmCompareFiles"), or nullptr.
  QAction* ToolbarButton(const QString& key) const;
  QTimer* Timer1() const { return timer1_; }

  // --- MainWindowServices ----------------------------------------------------------------
  void ShowMenusFor(const ComparisonMenuItems& items) override;
  void PressToolbarButton(const QString& key, bool pressed) override;
  QMenu* PopupMenu() const override { return menus_.mnuPopup; }
  // "frmCompareDir" or "frmCompareFiles"; other names do nothing.
  void ShowChild(const QString& name) override;
  void UpateMainToolbar() override;
  void OfferFilePair(const QString& master, const QString& source) override;
  void ComparePairIn(const QString& name, const QString& master, const QString& source) override;

  // A drop of paths on the window: two files are compared in the Compare Files window,
  // two folders in the Compare Directories window; anything else is refused with a
  // message and compares nothing.
  void TakeDrop(const QMimeData* data);

  // Asks the active child to abort its comparison.
  void mnuAbort_Click();

  // Chooses thread priority `level` (0..4): check mark, stored value, and, when the
  // active child is one of the two comparison windows, ThreadPriority on the Lindrel1
  // component of both (made if needed).
  void SetThreadPriorityLevel(int level);

  // The 2-second tick: AdjustToolbarItems on every visible child.
  void Timer1_Timer();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Tells the child that lost the focus and the one that gained it (Form_Deactivate,
  // Form_Activate) and presses the new one's toolbar button.
  void SubWindowActivated(QMdiSubWindow* sub);
  void ConnectMenus();
  void BuildToolbar();
  void StartUp();
  void SaveSettings();
  // Calls `command` on the active child, if there is one.
  template <typename Command>
  void OnActiveChild(Command command);
  void CheckCurrentPriority();
  void ShowChildFromToolbar(const QString& key);
  void CompareDirectories();
  void CompareFiles();
  QMdiSubWindow* SubWindowOf(const QString& name) const;
  void ChildHidden(QMdiSubWindow* subWindow);
  int VisibleChildCount() const;

  ChildFactories factories_;
  struct ChildSlot {
    QPointer<QMdiSubWindow> frame;
    ComparisonWindow* window = nullptr;  // owned by the frame through its widget
  };
  // The child whose frame is `sub`, or nullptr.
  ComparisonWindow* WindowOf(const QMdiSubWindow* sub) const;

  std::map<QString, ChildSlot> children_;
  QPointer<QWidget> activeChild_;
  QMdiArea* mdiArea_ = nullptr;
  MainMenus menus_;
  QToolBar* tbMain_ = nullptr;
  QTimer* timer1_ = nullptr;
};

}  // namespace lindrel::demo
