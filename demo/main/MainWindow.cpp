#include "demo/main/MainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QDropEvent>
#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QShortcut>
#include <QTimer>
#include <QToolBar>

#include "demo/common/ProgramState.h"
#include "demo/common/SettingsFile.h"
#include "demo/common/WindowPlacement.h"
#include "demo/main/HelpMenu.h"
#include "demo/main/MainSettings.h"
#include "demo/main/WindowTiling.h"
#include "lindrel/widgets/AboutDialog.h"
#include "lindrel/widgets/DroppedPaths.h"
#include "lindrel/widgets/LindrelWidget.h"
#include "lindrel/widgets/ModalDialogs.h"

// The demo's resources live in a static library; nothing else would pull them in.
static void InitDemoResources() { Q_INIT_RESOURCE(demo); }

namespace lindrel::demo {
namespace {

using widgets::CarriesPaths;
using widgets::DroppedPaths;
using widgets::SortDrop;

constexpr const char* kPlacementName = "frmMainMDI";

bool IsChildName(const QString& name) {
  return name == QLatin1String(MainWindow::kCompareDir) ||
         name == QLatin1String(MainWindow::kCompareFiles);
}

}  // namespace

MainWindow::MainWindow(ChildFactories factories, QWidget* parent)
    : QMainWindow(parent), factories_(std::move(factories)) {
  InitDemoResources();
  setObjectName(QStringLiteral("frmMainMDI"));
  setWindowTitle(QString::fromUtf8(kTitle));
  setWindowIcon(QIcon(widgets::ComponentIcon()));

  mdiArea_ = new QMdiArea(this);
  mdiArea_->setObjectName(QStringLiteral("mdiArea"));
  mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(mdiArea_);
  connect(mdiArea_, &QMdiArea::subWindowActivated, this, &MainWindow::SubWindowActivated);
  setAcceptDrops(true);

  menus_ = BuildMainMenus(*menuBar());
  ConnectMenus();
  BuildToolbar();

  timer1_ = new QTimer(this);
  timer1_->setObjectName(QStringLiteral("Timer1"));
  timer1_->setInterval(kTimerIntervalMs);
  connect(timer1_, &QTimer::timeout, this, &MainWindow::Timer1_Timer);

  StartUp();
}

MainWindow::~MainWindow() {
  // The area announces activation changes while its sub-windows are destroyed, after this
  // window's own members are gone.
  disconnect(mdiArea_, nullptr, this, nullptr);
  // Children are torn down with the window; stop them hearing about it first.
  for (auto& [name, child] : children_) {
    if (child.frame) child.frame->removeEventFilter(this);
  }
}

ComparisonWindow* MainWindow::WindowOf(const QMdiSubWindow* sub) const {
  for (const auto& [name, child] : children_) {
    if (sub != nullptr && child.frame == sub) return child.window;
  }
  return nullptr;
}

template <typename Command>
void MainWindow::OnActiveChild(Command command) {
  QWidget* active = ActiveChild();
  for (const auto& [name, child] : children_) {
    if (active != nullptr && child.window != nullptr && child.window->Widget() == active)
      command(*child.window);
  }
}

void MainWindow::SubWindowActivated(QMdiSubWindow* sub) {
  QWidget* child = sub != nullptr ? sub->widget() : nullptr;
  if (child == activeChild_) return;
  if (activeChild_) {
    for (const auto& [name, slot] : children_) {
      if (slot.window != nullptr && slot.window->Widget() == activeChild_)
        slot.window->Form_Deactivate();
    }
  }
  activeChild_ = child;
  if (child == nullptr) return;
  PressToolbarButton(child->objectName(), true);
  if (ComparisonWindow* window = WindowOf(sub)) window->Form_Activate();
}

void MainWindow::ConnectMenus() {
  const MainMenus& m = menus_;
  connect(m.mnuCompareDirectories, &QAction::triggered, this, &MainWindow::CompareDirectories);
  connect(m.mnuCompareFiles, &QAction::triggered, this, &MainWindow::CompareFiles);
  connect(m.mnuThreadPriority, &QMenu::aboutToShow, this, &MainWindow::CheckCurrentPriority);
  for (QAction* level : m.mnuThreadPriorityLevel) {
    connect(level, &QAction::triggered, this,
            [this, level] { SetThreadPriorityLevel(level->data().toInt()); });
  }
  connect(m.mnuExit, &QAction::triggered, this, &QWidget::close);
  // Quits as in every desktop program, beside the menu item (whose keys stay as they are).
  // Ctrl+W, which closes the active child, is its frame's own key.
  connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this), &QShortcut::activated, this,
          &QWidget::close);

  // Each item runs its command on the active child, if any.
  auto forward = [this](QAction* item, void (ComparisonWindow::*command)()) {
    connect(item, &QAction::triggered, this,
            [this, command] { OnActiveChild([command](ComparisonWindow& w) { (w.*command)(); }); });
  };
  auto font = [this] { OnActiveChild([](ComparisonWindow& w) { w.Change_Font(true); }); };
  forward(m.mnuRefresh, &ComparisonWindow::Refresh_View);
  connect(m.mnuFont, &QAction::triggered, this, font);
  forward(m.mnuViewLegend, &ComparisonWindow::mnuViewLegend_Click);
  forward(m.mnuSwap, &ComparisonWindow::Swap);
  forward(m.mnuViewChangeMap, &ComparisonWindow::mnuViewChangeMap_Click);
  forward(m.mnuNextChange, &ComparisonWindow::MoveNextChange);
  forward(m.mnuPreviousChange, &ComparisonWindow::MovePreviousChange);
  forward(m.mnuFind, &ComparisonWindow::mnuFind_Click);
  forward(m.mnuFindNext, &ComparisonWindow::FindNext);
  forward(m.mnuFindPrevious, &ComparisonWindow::FindPrevious);
  forward(m.mnuGoToLine, &ComparisonWindow::mnuGoToLine_Click);
  forward(m.mnuMarkWordsInEveryChange, &ComparisonWindow::mnuMarkWordsInEveryChange_Click);

  forward(m.mnuOptions, &ComparisonWindow::ReportOptions);
  forward(m.mnuReportHTMLFile, &ComparisonWindow::mnuReportHTMLFile_Click);
  forward(m.mnuReportTextFile, &ComparisonWindow::mnuReportTextFile_Click);
  forward(m.mnuReportTabDelimitedFile, &ComparisonWindow::mnuReportTabDelimitedFile_Click);
  forward(m.mnuReportCommaDelimitedFile, &ComparisonWindow::mnuReportCommaDelimitedFile_Click);

  connect(m.mnuWindowCascase, &QAction::triggered, mdiArea_, &QMdiArea::cascadeSubWindows);
  connect(m.mnuWindowTileHorizontal, &QAction::triggered, this,
          [this] { TileInBands(*mdiArea_, Qt::Vertical); });
  connect(m.mnuWindowTileVertical, &QAction::triggered, this,
          [this] { TileInBands(*mdiArea_, Qt::Horizontal); });

  connect(m.mnuHelpFile, &QAction::triggered, this, [this] { ShowHelpFile(this); });
  connect(m.mnuAbout, &QAction::triggered, this, [this] { ShowAboutBox(this); });
  connect(m.mnuMorvantisHomePage, &QAction::triggered, this, [this] { ShowMakerPage(this); });

  forward(m.mnuPopupShowDetail, &ComparisonWindow::mnuShowDetail_Click);
  forward(m.mnuPopupRefresh, &ComparisonWindow::Refresh_View);
  forward(m.mnuPopupReport, &ComparisonWindow::cmdViewReport_Click);
  connect(m.mnuPopupFont, &QAction::triggered, this, font);
}

void MainWindow::BuildToolbar() {
  tbMain_ = addToolBar(QStringLiteral("tbMain"));
  tbMain_->setObjectName(QStringLiteral("tbMain"));
  tbMain_->setMovable(false);
  // The images are drawn at 24x24; a style's own default size would blur them.
  tbMain_->setIconSize(QSize(24, 24));
  struct Button {
    const char* key;
    const char* icon;
    const char* tip;
  };
  for (const Button& b :
       {Button{kCompareDir, ":/lindrel-demo/CompareDirectories.png", "Compare Directories"},
        Button{kCompareFiles, ":/lindrel-demo/CompareFiles.png", "Compare Files"}}) {
    QAction* button =
        tbMain_->addAction(QIcon(QString::fromUtf8(b.icon)), QString::fromUtf8(b.tip));
    button->setObjectName(QString::fromUtf8(b.key));
    button->setToolTip(QString::fromUtf8(b.tip));
    button->setCheckable(true);
    const QString key = QString::fromUtf8(b.key);
    connect(button, &QAction::triggered, this, [this, key] { ShowChildFromToolbar(key); });
  }
}

void MainWindow::StartUp() {
  ProgramState& program = ProgramState::Instance();
  if (program.SettingsFilePath().isEmpty()) {
    widgets::ShowMessage(this, QMessageBox::Warning, QString::fromUtf8(kTitle),
                         QStringLiteral("The settings folder is unavailable (%1).\n"
                                        "LindrelDemo starts with its default settings and "
                                        "cannot save them.")
                             .arg(program.SettingsFileError()));
  }

  long priority = LeadingNumber(ReadSetting(main_settings::kThreadPriority));
  // A hand-edited value outside the scale would index no menu item.
  if (priority < 0 || priority >= MainMenus::kPriorityLevels) priority = 0;
  program.SetThreadPriority(static_cast<int>(priority));
  CheckCurrentPriority();

  RestorePlacement(*this, QString::fromUtf8(kPlacementName));

  // A restored child's button is pressed as when it is opened by hand.
  for (const auto& [name, key] : {std::pair{kCompareDir, main_settings::kCompareDirVisible},
                                  std::pair{kCompareFiles, main_settings::kCompareFilesVisible}}) {
    if (!IsTrueText(ReadSetting(key))) continue;
    ShowChild(QString::fromUtf8(name));
    PressToolbarButton(QString::fromUtf8(name), IsChildVisible(QString::fromUtf8(name)));
  }
  QString active = CutAtNul(ReadSetting(main_settings::kActiveForm));
  if (IsChildName(active) && IsChildVisible(active))
    mdiArea_->setActiveSubWindow(SubWindowOf(active));

  timer1_->start();
  program.SetShuttingDown(false);
  UpateMainToolbar();
}

void MainWindow::SaveSettings() {
  ProgramState& program = ProgramState::Instance();
  QStringList failures;
  auto write = [&failures](const QString& section, const QString& key, const QString& value) {
    QString error;
    if (!WriteSetting(section, key, value, &error)) failures << error;
  };
  const QString main = QString::fromUtf8(main_settings::kThreadPriority.section);
  write(main, main_settings::kThreadPriority.name, QString::number(program.ThreadPriority()));
  if (QString error; !SavePlacement(*this, QString::fromUtf8(kPlacementName), &error))
    failures << error;
  write(main, main_settings::kCompareDirVisible.name, BoolText(false));
  write(main, main_settings::kCompareFilesVisible.name, BoolText(false));
  for (const auto& [name, sub] : children_) {
    if (IsChildVisible(name)) write(main, name + QStringLiteral("_Visible"), BoolText(true));
  }
  if (QWidget* active = ActiveChild())
    write(main, main_settings::kActiveForm.name, active->objectName());

  if (!failures.isEmpty()) {
    failures.removeDuplicates();
    widgets::ShowMessage(
        this, QMessageBox::Warning, QString::fromUtf8(kTitle),
        QStringLiteral("The settings of this session could not be saved:\n") + failures.join('\n'));
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  ProgramState& program = ProgramState::Instance();
  if (!program.ShuttingDown()) {
    program.SetShuttingDown(true);
    SaveSettings();
    timer1_->stop();
    mdiArea_->closeAllSubWindows();
  }
  event->accept();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  if (windowState() & Qt::WindowMinimized) return;
  for (const auto& [name, child] : children_) {
    if (child.frame && child.window != nullptr) child.window->Form_Resize();
  }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Hide) {
    for (const auto& [name, child] : children_) {
      QMdiSubWindow* sub = child.frame;
      if (sub == nullptr) continue;
      if (watched == sub && sub->isHidden()) {
        ChildHidden(sub);
      } else if (watched == sub->widget() && sub->widget()->isHidden() && !sub->isHidden()) {
        // A child that closed itself leaves no empty frame behind.
        sub->hide();
      }
    }
  } else if (event->type() == QEvent::Show) {
    // The area keeps a hidden sub-window as its active one and announces nothing when
    // it shows again; its child must still be told, or its menus stay hidden.
    for (const auto& [name, child] : children_) {
      QMdiSubWindow* sub = child.frame;
      if (sub != nullptr && watched == sub && mdiArea_->activeSubWindow() == sub)
        SubWindowActivated(sub);
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

QWidget* MainWindow::Child(const QString& name) const {
  QMdiSubWindow* sub = SubWindowOf(name);
  return sub != nullptr ? sub->widget() : nullptr;
}

ComparisonWindow* MainWindow::ChildWindow(const QString& name) const {
  auto it = children_.find(name);
  return it != children_.end() && it->second.frame ? it->second.window : nullptr;
}

QMdiSubWindow* MainWindow::SubWindowOf(const QString& name) const {
  auto it = children_.find(name);
  return it != children_.end() ? it->second.frame.data() : nullptr;
}

ComparisonWindow* MainWindow::LoadChild(const QString& name) {
  if (ComparisonWindow* child = ChildWindow(name)) return child;
  auto factory = factories_.find(name);
  if (factory == factories_.end() || !factory->second) return nullptr;
  ComparisonWindow* window = factory->second(*this);
  if (window == nullptr) return nullptr;
  QWidget* child = window->Widget();
  child->setObjectName(name);
  QMdiSubWindow* sub = mdiArea_->addSubWindow(child);
  sub->setObjectName(name + QStringLiteral("_SubWindow"));
  // Children live until the program ends; closing one hides it.
  sub->setAttribute(Qt::WA_DeleteOnClose, false);
  sub->hide();
  sub->installEventFilter(this);
  child->installEventFilter(this);
  children_[name] = {sub, window};
  return window;
}

QWidget* MainWindow::ActiveChild() const {
  QMdiSubWindow* sub = mdiArea_->currentSubWindow();
  if (sub == nullptr || !sub->isVisibleTo(const_cast<MainWindow*>(this))) return nullptr;
  return sub->widget();
}

bool MainWindow::IsChildVisible(const QString& name) const {
  QMdiSubWindow* sub = SubWindowOf(name);
  return sub != nullptr && sub->isVisibleTo(const_cast<MainWindow*>(this));
}

QAction* MainWindow::ToolbarButton(const QString& key) const {
  for (QAction* button : tbMain_->actions()) {
    if (button->objectName() == key) return button;
  }
  return nullptr;
}

void MainWindow::ShowMenusFor(const ComparisonMenuItems& items) {
  menus_.ShowForComparisonWindow(items);
}

void MainWindow::ShowChild(const QString& name) {
  if (!IsChildName(name)) return;
  ComparisonWindow* window = LoadChild(name);
  if (window == nullptr) return;
  QWidget* child = window->Widget();
  QMdiSubWindow* sub = SubWindowOf(name);
  if (!IsChildVisible(name)) {
    child->show();
    sub->show();
  }
  mdiArea_->setActiveSubWindow(sub);
  child->setFocus();
}

void MainWindow::OfferFilePair(const QString& master, const QString& source) {
  const QString name = QString::fromUtf8(kCompareFiles);
  ComparisonWindow* files = LoadChild(name);
  if (files == nullptr) return;
  ShowChild(name);
  files->OfferPair(master, source);
}

void MainWindow::ComparePairIn(const QString& name, const QString& master, const QString& source) {
  if (!IsChildName(name)) return;
  ShowChild(name);
  PressToolbarButton(name, true);
  if (ComparisonWindow* child = ChildWindow(name)) child->ComparePairNow(master, source);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (CarriesPaths(event->mimeData())) event->acceptProposedAction();
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event) {
  if (CarriesPaths(event->mimeData())) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  if (!CarriesPaths(event->mimeData())) return;
  event->acceptProposedAction();
  TakeDrop(event->mimeData());
}

void MainWindow::TakeDrop(const QMimeData* data) {
  const DroppedPaths drop = SortDrop(data);
  QString refusal = drop.refusal;
  QString child;
  switch (drop.kind) {
    case DroppedPaths::Kind::TwoFiles: child = QString::fromUtf8(kCompareFiles); break;
    case DroppedPaths::Kind::TwoFolders: child = QString::fromUtf8(kCompareDir); break;
    case DroppedPaths::Kind::OneFile:
      refusal = QStringLiteral("One file was dropped: drop two files together to compare them.");
      break;
    case DroppedPaths::Kind::Refused: break;
  }
  if (child.isEmpty()) {
    widgets::ShowMessage(this, QMessageBox::Warning, QString::fromUtf8(kTitle), refusal);
    return;
  }
  // Not inside the drop: the drag's source waits for it to end, and a comparison runs
  // the event loop while it starts.
  const QString master = drop.paths[0], source = drop.paths[1];
  QTimer::singleShot(0, this,
                     [this, child, master, source] { ComparePairIn(child, master, source); });
}

void MainWindow::UpateMainToolbar() {
  // The main window and the one child that is closing.
  if (1 + VisibleChildCount() != 2) return;
  for (QAction* button : tbMain_->actions()) button->setChecked(false);
}

void MainWindow::mnuAbort_Click() {
  OnActiveChild([](ComparisonWindow& w) { w.Abort(); });
}

void MainWindow::PressToolbarButton(const QString& key, bool pressed) {
  if (QAction* button = ToolbarButton(key)) button->setChecked(pressed);
}

int MainWindow::VisibleChildCount() const {
  int count = 0;
  for (const auto& [name, child] : children_) {
    if (IsChildVisible(name)) ++count;
  }
  return count;
}

void MainWindow::ChildHidden(QMdiSubWindow* subWindow) {
  QWidget* child = subWindow->widget();
  if (child != nullptr) PressToolbarButton(child->objectName(), false);
  // A hidden child is no longer the active one: when it is shown again, its activation
  // must set the menus up afresh.
  if (child != nullptr && child == activeChild_) {
    if (ComparisonWindow* window = WindowOf(subWindow)) window->Form_Deactivate();
    activeChild_ = nullptr;
  }
  if (VisibleChildCount() == 0) menus_.mnuReport->menuAction()->setVisible(false);
}

void MainWindow::SetThreadPriorityLevel(int level) {
  if (level < 0 || level >= MainMenus::kPriorityLevels) return;
  ProgramState& program = ProgramState::Instance();
  // The items are plain check items (a check mark, not a radio dot); the window keeps
  // exactly one checked.
  menus_.mnuThreadPriorityLevel[program.ThreadPriority()]->setChecked(false);
  menus_.mnuThreadPriorityLevel[level]->setChecked(true);
  program.SetThreadPriority(level);

  QWidget* active = ActiveChild();
  if (active == nullptr || !IsChildName(active->objectName())) return;
  for (const char* name : {kCompareDir, kCompareFiles}) {
    ComparisonWindow* child = LoadChild(QString::fromUtf8(name));
    // A child without the component is skipped, as a failed late-bound call would be.
    if (child != nullptr && child->Component() != nullptr)
      child->Component()->SetThreadPriority(level);
  }
}

void MainWindow::CheckCurrentPriority() {
  int current = ProgramState::Instance().ThreadPriority();
  if (current >= 0 && current < MainMenus::kPriorityLevels)
    menus_.mnuThreadPriorityLevel[current]->setChecked(true);
}

void MainWindow::Timer1_Timer() {
  for (const auto& [name, child] : children_) {
    if (IsChildVisible(name) && child.window != nullptr) child.window->AdjustToolbarItems();
  }
}

void MainWindow::ShowChildFromToolbar(const QString& key) {
  ShowChild(key);
  // A click on a pressed button would release it; it stays pressed while in use.
  PressToolbarButton(key, IsChildVisible(key));
}

void MainWindow::CompareDirectories() {
  const QString name = QString::fromUtf8(kCompareDir);
  ShowChild(name);
  PressToolbarButton(name, true);
  if (ComparisonWindow* child = ChildWindow(name)) child->StartFromMenu();
}

void MainWindow::CompareFiles() {
  const QString name = QString::fromUtf8(kCompareFiles);
  ShowChild(name);
  PressToolbarButton(name, true);
  if (ComparisonWindow* child = ChildWindow(name)) child->StartFromMenu();
}

}  // namespace lindrel::demo
