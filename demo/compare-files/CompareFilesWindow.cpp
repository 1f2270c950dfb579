#include "demo/compare-files/CompareFilesWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStackedWidget>
#include <QStyle>
#include <QTextEdit>
#include <QToolBar>
#include <QVBoxLayout>

#include <cstdlib>

#include "demo/common/FileNames.h"
#include "demo/common/PanelStatusBar.h"
#include "demo/common/ProgramState.h"
#include "demo/common/SettingsFile.h"
#include "demo/common/UiTiming.h"
#include "demo/common/WindowPlacement.h"
#include "demo/compare-files/ChangeMap.h"
#include "demo/compare-files/CompareFilesOptionsDialog.h"
#include "demo/compare-files/ComparedFilesWatcher.h"
#include "demo/compare-files/ComparisonGrid.h"
#include "demo/compare-files/LegendBar.h"
#include "demo/compare-files/PleaseWaitWindow.h"
#include "demo/compare-files/ReportOptionsDialog.h"
#include "demo/compare-files/RowHeights.h"
#include "lindrel/widgets/LindrelWidget.h"
#include "lindrel/widgets/ModalDialogs.h"
#include "platform/FileSearch.h"

namespace lindrel::demo {
namespace {

constexpr const char* kWindowTitle = "Compare Files";

// A path exists when it is not empty, holds no NUL and a directory lookup of it finds an entry.
bool FileExists(const QString& path) {
  return !path.isEmpty() && !HoldsNul(path) &&
         platform::DirectorySearchFindsEntry(FileNameToStd(path));
}

QString ProgramName() { return QStringLiteral("LindrelDemo"); }

// Two arrows in opposite directions, one above the other.
QIcon SwapPicture() {
  QPixmap picture(20, 20);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(0x20, 0x40, 0x90), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawLine(3, 6, 17, 6);
  painter.drawPolyline(QPolygon({QPoint(13, 2), QPoint(17, 6), QPoint(13, 10)}));
  painter.drawLine(3, 14, 17, 14);
  painter.drawPolyline(QPolygon({QPoint(7, 10), QPoint(3, 14), QPoint(7, 18)}));
  return QIcon(picture);
}

}  // namespace

CompareFilesWindow::CompareFilesWindow(MainWindowServices* main, QWidget* parent)
    : QWidget(parent), main_(main) {
  setObjectName(QString::fromUtf8(kCompareFilesName));
  setWindowTitle(QString::fromUtf8(kWindowTitle));
  BuildControls();
  ConnectNavigation();
  ConnectComponent();
  ConnectChangeMap();

  // Load.
  ReadIniFile();
  masterLineCount_ = 0;
  sourceLineCount_ = 0;
  enlargedRow_ = 0;
  enlargedAllInOneRow_ = 0;
  previousCurrentChange_ = -1;
  loading_ = false;
}

CompareFilesWindow::~CompareFilesWindow() {
  // The grids' models and sizers are members; the views must let go of them first.
  sideBySideHeights_.reset();
  allInOneHeights_.reset();
  msfgMaster_->setModel(nullptr);
  msfgSource_->setModel(nullptr);
  msfgAllInOne_->setModel(nullptr);
}

void CompareFilesWindow::BuildControls() {
  // The components: placed on the form, invisible at run time.
  lindrel1_ = new widgets::LindrelWidget(this, QStringLiteral("WDD_COMPARE_FILES_TVK1"));
  lindrel1_->setObjectName(QStringLiteral("Lindrel1"));
  lindrel2_ = new widgets::LindrelWidget(this, QStringLiteral("WDD_COMPARE_FILES_TVK2"));
  lindrel2_->setObjectName(QStringLiteral("Lindrel2"));
  lindrel1_->hide();
  lindrel2_->hide();

  msfgMaster_ = new ComparisonGrid(QStringLiteral("msfgMaster"), this);
  msfgSource_ = new ComparisonGrid(QStringLiteral("msfgSource"), this);
  msfgAllInOne_ = new ComparisonGrid(QStringLiteral("msfgAllInOne"), this);
  msfgMaster_->setModel(&masterModel_);
  msfgSource_->setModel(&sourceModel_);
  msfgAllInOne_->setModel(&allInOneModel_);
  BuildRowHeights();
  for (ComparisonGrid* grid : {msfgMaster_, msfgSource_, msfgAllInOne_}) {
    grid->setFont(QFont(QStringLiteral("Courier New")));
    connect(grid, &ComparisonGrid::TopRowChanged, this,
            [this, grid](int topRow) { GridScrolled(grid, topRow); });
    connect(grid, &ComparisonGrid::RightClicked, this,
            [this, grid](int row, const QPoint& at) { GridRightClicked(grid, row, at); });
  }

  rtbMaster_ = BuildOverlay("rtbMaster", msfgMaster_);
  rtbSource_ = BuildOverlay("rtbSource", msfgSource_);
  rtbAllInOne_ = BuildOverlay("rtbAllInOne", msfgAllInOne_);
  for (ComparisonGrid* grid : {msfgMaster_, msfgSource_}) grid->installEventFilter(this);
  connect(msfgMaster_, &QAbstractItemView::doubleClicked, this,
          [this] { HighlightParagraphChangesRTF(true); });
  connect(msfgSource_, &QAbstractItemView::doubleClicked, this,
          [this] { HighlightParagraphChangesRTF(false); });
  connect(msfgAllInOne_, &QAbstractItemView::doubleClicked, this,
          [this] { HighlightParagraphChangesRTFAllInOne(); });
  // Leaving the current cell hides what lies over it.
  connect(msfgMaster_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
    rtbMaster_->hide();
    rtbSource_->hide();
  });
  connect(msfgSource_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
    rtbMaster_->hide();
    rtbSource_->hide();
  });
  connect(msfgAllInOne_->selectionModel(), &QItemSelectionModel::currentChanged, rtbAllInOne_,
          &QWidget::hide);

  sideBySide_ = new QWidget(this);
  sideBySide_->setObjectName(QStringLiteral("sideBySide"));
  auto* pair = new QHBoxLayout(sideBySide_);
  pair->setContentsMargins(0, 0, 0, 0);
  pair->setSpacing(2);
  pair->addWidget(msfgMaster_, 1);
  pair->addWidget(msfgSource_, 1);
  views_ = new QStackedWidget(this);
  views_->addWidget(sideBySide_);
  views_->addWidget(msfgAllInOne_);
  views_->installEventFilter(this);
  map_ = new ChangeMap(this);
  auto* viewsAndMap = new QHBoxLayout;
  viewsAndMap->setContentsMargins(0, 0, 0, 0);
  viewsAndMap->setSpacing(1);
  viewsAndMap->addWidget(views_, 1);
  viewsAndMap->addWidget(map_);

  watcher_ = new ComparedFilesWatcher(this);
  connect(watcher_, &ComparedFilesWatcher::FilesChanged, this,
          &CompareFilesWindow::ComparedFilesChanged);
  setAcceptDrops(true);
  // A file dropped on a side-by-side grid is meant for that side.
  for (ComparisonGrid* grid : {msfgMaster_, msfgSource_, msfgAllInOne_}) {
    grid->viewport()->setAcceptDrops(true);
    grid->viewport()->installEventFilter(this);
  }

  tbLegend_ = new LegendBar(this);
  connect(tbLegend_, &LegendBar::HideClicked, this, &CompareFilesWindow::mnuViewLegend_Click);

  // The state text (panel 3) takes the room.
  sbStatus_ = new PanelStatusBar(kStatusPanels, 3, this);

  frmPleaseWait_ = new PleaseWaitWindow(this);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 0);
  layout->setSpacing(2);
  layout->addWidget(BuildTopBar());
  layout->addWidget(BuildChangedOnDiskBar());
  layout->addLayout(viewsAndMap, 1);
  layout->addWidget(tbLegend_);
  layout->addWidget(sbStatus_);
  layout->addWidget(lindrel1_);
  layout->addWidget(lindrel2_);
}

QTextEdit* CompareFilesWindow::BuildOverlay(const char* name, ComparisonGrid* grid) {
  auto* overlay = new QTextEdit(grid->viewport());
  overlay->setObjectName(QString::fromUtf8(name));
  overlay->setAcceptRichText(false);
  // As tight as the cell it covers: no frame or margin that would push the text out.
  overlay->setFrameShape(QFrame::NoFrame);
  overlay->document()->setDocumentMargin(2);
  overlay->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  overlay->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  overlay->setFont(grid->font());
  // Files dropped on a row are meant for the grid below, not for the text in the box.
  overlay->setAcceptDrops(false);
  overlay->viewport()->setAcceptDrops(false);
  overlay->hide();
  overlay->installEventFilter(this);
  return overlay;
}

QWidget* CompareFilesWindow::BuildTopBar() {
  auto* bar = new QWidget(this);
  bar->setObjectName(QStringLiteral("topBar"));

  cmdCompare_ = new QPushButton(QStringLiteral("&Compare Files"), bar);
  cmdCompare_->setObjectName(QStringLiteral("cmdCompare"));
  cmdViewReport_ = new QPushButton(QStringLiteral("View Re&port"), bar);
  cmdViewReport_->setObjectName(QStringLiteral("cmdViewReport"));
  cmdCompareFilesViewFormat_ = new QPushButton(QString::fromUtf8(kViewAllInOne), bar);
  cmdCompareFilesViewFormat_->setObjectName(QStringLiteral("cmdCompareFilesViewFormat"));
  cmdCompareFilesViewFormat_->setToolTip(
      QStringLiteral("Change Views to/from Side By Side to All In One"));
  for (QPushButton* button : {cmdCompare_, cmdViewReport_, cmdCompareFilesViewFormat_})
    button->setAutoDefault(false);
  // Nothing to report or to view in another way before the first comparison.
  cmdViewReport_->hide();
  cmdCompareFilesViewFormat_->hide();
  connect(cmdCompare_, &QPushButton::clicked, this, &CompareFilesWindow::cmdCompare_Click);
  connect(cmdViewReport_, &QPushButton::clicked, this, &CompareFilesWindow::cmdViewReport_Click);
  connect(cmdCompareFilesViewFormat_, &QPushButton::clicked, this,
          &CompareFilesWindow::cmdCompareFilesViewFormat_Click);

  Toolbar1_ = new QToolBar(QStringLiteral("Toolbar1"), bar);
  Toolbar1_->setObjectName(QStringLiteral("Toolbar1"));
  Toolbar1_->setIconSize(QSize(20, 20));
  Toolbar1_->setToolButtonStyle(Qt::ToolButtonIconOnly);
  cmdRefresh_ = Toolbar1_->addAction(style()->standardIcon(QStyle::SP_BrowserReload),
                                     QStringLiteral("Refresh (F5)"));
  cmdRefresh_->setObjectName(QStringLiteral("cmdRefresh"));
  cmdSwap_ =
      Toolbar1_->addAction(SwapPicture(), QStringLiteral("Swap Master And Source Files (F9)"));
  cmdSwap_->setObjectName(QStringLiteral("cmdSwap"));
  connect(cmdRefresh_, &QAction::triggered, this, [this] {
    if (!settings_.showReportOnly) Refresh_View();
  });
  connect(cmdSwap_, &QAction::triggered, this, [this] {
    if (!settings_.showReportOnly) Swap();
  });

  tbChangeListing_ = new QToolBar(QStringLiteral("tbChangeListing"), bar);
  tbChangeListing_->setObjectName(QStringLiteral("tbChangeListing"));
  cmboChangeListing_ = new QComboBox(tbChangeListing_);
  cmboChangeListing_->setObjectName(QStringLiteral("cmboChangeListing"));
  cmboChangeListing_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  cmboChangeListing_->setMinimumContentsLength(12);
  cmboChangeListing_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  tbChangeListing_->addWidget(cmboChangeListing_);

  // A toolbar in a plain layout would shrink to its extension button.
  Toolbar1_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

  auto* row = new QHBoxLayout(bar);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(cmdCompare_);
  row->addWidget(cmdViewReport_);
  row->addWidget(cmdCompareFilesViewFormat_);
  row->addWidget(Toolbar1_);
  row->addWidget(tbChangeListing_, 1);
  return bar;
}

void CompareFilesWindow::ConnectComponent() {
  connect(lindrel1_, &widgets::LindrelWidget::OnError, this, &CompareFilesWindow::Lindrel1_OnError);
  connect(lindrel1_, &widgets::LindrelWidget::FileCompareStarted, this,
          &CompareFilesWindow::Lindrel1_FileCompareStarted);
  connect(lindrel1_, &widgets::LindrelWidget::FileCompareCompleted, this,
          &CompareFilesWindow::Lindrel1_FileCompareCompleted);
}

// --- Starting a comparison --------------------------------------------------------------

void CompareFilesWindow::cmdCompare_Click() {
  CompareFilesOptionsDialog options(*this, this);
  widgets::ExecModal(options);
  if (!options.Cancelled()) DoComparison();
}

void CompareFilesWindow::CompareFilesFromDialog(const QString& master, const QString& source) {
  CompareFilesOptionsDialog options(*this, this);
  options.SetMasterFile(master);
  options.SetSourceFile(source);
  widgets::ExecModal(options);
  if (!options.Cancelled()) DoComparison();
}

void CompareFilesWindow::ComparePair(const QString& master, const QString& source) {
  masterFileName_ = master;
  sourceFileName_ = source;
  QStringList failures;
  for (auto [history, section, path] :
       {std::tuple{&masterHistory_, kMasterHistorySection, master},
        std::tuple{&sourceHistory_, kSourceHistorySection, source}}) {
    history->Add(path);
    QString error;
    if (!history->Save(QString::fromUtf8(section), &error)) failures << error;
  }
  if (!failures.isEmpty()) {
    failures.removeDuplicates();
    SetStatus(3, QStringLiteral("The file history could not be saved: ") + failures.join("; "));
  }
  DoComparison();
}

void CompareFilesWindow::DoComparison() {
  // The pauses run the event loop, and the program may close meanwhile.
  QPointer<CompareFilesWindow> alive(this);
  ShowBusyPointer(true);
  SetStatus(3, QStringLiteral("Comparing files.... Please wait."));
  frmPleaseWait_->SetFiles(masterFileName_, sourceFileName_);
  frmPleaseWait_->show();
  Pause(10);
  if (!alive) return;
  startTime_ = TickCount();
  // Through the component's own interface: the names reach it as the bytes they are.
  lindrel1_->Control().SetFileSource(FileNameToStd(sourceFileName_));
  lindrel1_->Control().SetFileMaster(FileNameToStd(masterFileName_));
  Pause(1000);
  if (!alive) return;

  // The files checked are the ones handed to the component, master first.
  QString missing;
  bool found = true;
  if (!FileExists(masterFileName_)) {
    missing = masterFileName_;
    found = false;
  } else if (!FileExists(sourceFileName_)) {
    missing = sourceFileName_;
    found = false;
  }
  if (found) {
    comparedMaster_ = FileStamp::Of(masterFileName_);
    comparedSource_ = FileStamp::Of(sourceFileName_);
    lindrel1_->FileCompareBegin();
  } else {
    ShowBusyPointer(false);
    const QString refused = QStringLiteral("File does not exist: ") + ShownFileName(missing);
    // The status said a comparison was under way; it now says why none is.
    SetStatus(3, refused);
    widgets::ShowMessage(this, QMessageBox::Warning, ProgramName(), refused);
  }
  if (!alive) return;
  frmPleaseWait_->hide();
  ShowBusyPointer(false);
}

void CompareFilesWindow::Refresh_View() { DoComparison(); }

void CompareFilesWindow::Swap() {
  std::swap(masterFileName_, sourceFileName_);
  DoComparison();
}

void CompareFilesWindow::ReportOptions() {
  ReportOptionsDialog options(*this, this);
  widgets::ExecModal(options);
}

// --- Events of the component -------------------------------------------------------------

void CompareFilesWindow::Lindrel1_OnError(long, const QString& message) {
  if (collectReportError_) reportError_ = message;
  SetStatus(3, message);
}

void CompareFilesWindow::Lindrel1_FileCompareStarted() {
  // The files are about to be read again: what the bar said is out of date.
  watcher_->Stop();
  diskBar_->hide();
  SetStatus(3, QStringLiteral("File Compare In Process..."));
  cmdViewReport_->hide();
  LetPendingMessagesRun();
  Pause(10);
}

void CompareFilesWindow::Lindrel1_FileCompareCompleted(long count) {
  if (completionProbe_) completionProbe_();
  // From the stamps taken as the comparison began: a file that changed while it was
  // compared is told at once.
  watcher_->Watch(ComparedMaster(), comparedMaster_, ComparedSource(), comparedSource_);
  if (settings_.showReportOnly)
    ShowReportOnlyResult();
  else
    ShowResultInGrids(count);
}

void CompareFilesWindow::ShowReportOnlyResult() {
  // The report reads the files again: one that changed since the comparison is paired
  // with records that describe what it was.
  changeProblem_.clear();
  NoteChange(ComparedMaster(), comparedMaster_, -1);
  NoteChange(ComparedSource(), comparedSource_, -1);
  const QString changed = ChangedFilesText(QStringLiteral("report"));
  cmdViewReport_Click();
  cmboChangeListing_->clear();
  ClearGrids();
  HideDetailViews();
  cmdCompareFilesViewFormat_->hide();
  QString completed = QStringLiteral("File Compare Completed");
  if (!reportProblem_.isEmpty()) completed += QStringLiteral(". ") + reportProblem_;
  if (!changed.isEmpty()) completed += QStringLiteral(". ") + changed;
  SetStatus(3, completed);
  SetStatus(5, ElapsedSecondsText());
  if (settings_.beepWhenDone) Beep();
}

void CompareFilesWindow::ShowResultInGrids(long count) {
  QPointer<CompareFilesWindow> alive(this);
  cmdCompareFilesViewFormat_->show();
  cmdViewReport_->show();
  ShowBusyPointer(true);
  SetStatus(3, QStringLiteral("Creating Report"));
  LetPendingMessagesRun();
  if (!alive) return;

  Setup();
  ShowThisWindow();
  enlargedRow_ = 0;
  enlargedAllInOneRow_ = 0;
  allInOneModel_.Clear();
  if (AllInOneShown()) UpdateChangesToAllInOneGrid();

  recordCount_ = static_cast<int>(lindrel1_->FileCompareResultsCount());
  const QString changed = ChangedFilesText(QStringLiteral("view"));
  if (!loadProblem_.isEmpty()) {
    // A file that could not be read now tells nothing about the comparison: no verdict,
    // no change to move to; the user hears why.
    if (count < 1) cmdViewReport_->hide();
    widgets::ShowMessage(this, QMessageBox::Warning, windowTitle(), loadProblem_);
    if (!alive) return;
  } else {
    QString verdict;
    if (count < 1) {
      cmdViewReport_->hide();
      verdict = recordCount_ == -1 ? QStringLiteral("Binary Files are different")
                                   : QStringLiteral("No differences detected");
    } else {
      cmdViewReport_->show();
      MoveFirst();
    }
    // The records stay on screen over the lines loaded now; the user hears that they
    // describe files that have changed since.
    if (!changed.isEmpty()) {
      widgets::ShowMessage(
          this, QMessageBox::Warning, windowTitle(),
          verdict.isEmpty() ? changed : verdict + QStringLiteral("\n\n") + changed);
    } else if (!verdict.isEmpty()) {
      widgets::ShowMessage(this, QMessageBox::Information, QStringLiteral("Info"), verdict);
    }
    if (!alive) return;
  }
  if (settings_.beepWhenDone) Beep();

  SetStatus(3, QStringLiteral("Updating Navigation Selection"));
  LetPendingMessagesRun();
  if (!alive) return;
  SetNavigationButtons();

  QString completed = QStringLiteral("File Compare Completed");
  if (!loadProblem_.isEmpty())
    completed += QStringLiteral(". ") + loadProblem_;
  else if (!changed.isEmpty())
    completed += QStringLiteral(". ") + changed;
  SetStatus(3, completed);
  SetStatus(5, ElapsedSecondsText());
  ShowBusyPointer(false);
}

// --- Settings and life cycle ---------------------------------------------------------------

void CompareFilesWindow::ReadIniFile() {
  settings_ = CompareFilesSettings::Read();
  masterHistory_.Load(QString::fromUtf8(kMasterHistorySection));
  sourceHistory_.Load(QString::fromUtf8(kSourceHistorySection));
  if (!masterHistory_.IsEmpty()) masterFileName_ = masterHistory_.Items().last();
  if (!sourceHistory_.IsEmpty()) sourceFileName_ = sourceHistory_.Items().last();
  tbLegend_->setVisible(settings_.showLegend);
  map_->setVisible(settings_.showChangeMap);
  lindrel1_->SetThreadPriority(ProgramState::Instance().ThreadPriority());
  Change_Font(false);
  // The placement belongs to the frame the main window puts around this window; it is
  // restored when the window is first shown in it.
}

void CompareFilesWindow::SaveIniFile() {
  settings_.showLegend = !tbLegend_->isHidden();
  settings_.showChangeMap = !map_->isHidden();
  QStringList failures;
  QString error;
  if (!settings_.Save(&error)) failures << error;
  if (QString placementError; !placement_.Save(*this, &placementError)) failures << placementError;
  QString reasons;
  if (!NoFailures(failures, &reasons)) {
    widgets::ShowMessage(
        this, QMessageBox::Warning, windowTitle(),
        QStringLiteral("The settings of this window could not be saved:\n") + reasons);
  }
}

void CompareFilesWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  placement_.Shown(*this);
}

void CompareFilesWindow::closeEvent(QCloseEvent* event) {
  SaveIniFile();
  if (main_) main_->UpateMainToolbar();
  event->accept();
}

void CompareFilesWindow::Form_Activate() {
  if (!main_) return;
  // A file comparison has no tab-delimited report.
  main_->ShowMenusFor({.htmlReport = true,
                       .commaDelimitedReport = true,
                       .textReport = true,
                       .swap = true,
                       .changeMap = true,
                       .changeMoves = true});
  main_->PressToolbarButton(QString::fromUtf8(kCompareFilesName), true);
}

void CompareFilesWindow::Form_Deactivate() { HideDetailViews(); }

void CompareFilesWindow::ShowThisWindow() {
  if (main_)
    main_->ShowChild(objectName());
  else
    show();
}

// --- Status bar ------------------------------------------------------------------------------

void CompareFilesWindow::SetStatus(int panel, const QString& text) {
  sbStatus_->SetText(panel, text);
}

QString CompareFilesWindow::StatusText(int panel) const { return sbStatus_->Text(panel); }

QString CompareFilesWindow::ElapsedSecondsText() const {
  const long elapsed = std::labs(startTime_ - TickCount());
  return QString::number(static_cast<double>(elapsed) / 1000.0, 'g', 15) + QStringLiteral(" (Sec)");
}

}  // namespace lindrel::demo
