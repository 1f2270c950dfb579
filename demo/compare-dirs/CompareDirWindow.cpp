#include "demo/compare-dirs/CompareDirWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>

#include "demo/common/DesktopOpener.h"
#include "demo/common/DialogParts.h"
#include "demo/common/FileNames.h"
#include "demo/common/PanelStatusBar.h"
#include "demo/common/ProgramState.h"
#include "demo/common/UiTiming.h"
#include "demo/common/WindowPlacement.h"
#include "demo/compare-dirs/CompareDirOptionsDialog.h"
#include "demo/compare-dirs/CompareDirReportOptionsDialog.h"
#include "demo/compare-dirs/CompareDirTopBar.h"
#include "demo/compare-dirs/DirGrid.h"
#include "demo/compare-dirs/DirLegend.h"
#include "lindrel/widgets/LindrelWidget.h"
#include "lindrel/widgets/ModalDialogs.h"

namespace lindrel::demo {
namespace {

constexpr const char* kWindowTitle = "Compare Directories";
constexpr int kAnimationRestart = 80;
constexpr int kErrorListLines = 5;

}  // namespace

CompareDirWindow::CompareDirWindow(MainWindowServices* main, QWidget* parent)
    : QWidget(parent), main_(main) {
  setObjectName(QString::fromUtf8(kCompareDirName));
  setWindowTitle(QString::fromUtf8(kWindowTitle));
  BuildControls();
  ConnectComponent();

  // Load.
  ReadIniFile();
  ClearGridbox();
  ResetErrorList();
}

CompareDirWindow::~CompareDirWindow() {
  // The models are members; the views must let go of them first.
  fgFiles_->setModel(nullptr);
}

void CompareDirWindow::BuildControls() {
  // The component: placed on the form, invisible at run time.
  lindrel1_ = new widgets::LindrelWidget(this, QStringLiteral("WDD_COMPARE_DIR_TVK1"));
  lindrel1_->setObjectName(QStringLiteral("Lindrel1"));
  lindrel1_->hide();

  model_.SetIcons(style()->standardIcon(QStyle::SP_FileIcon),
                  style()->standardIcon(QStyle::SP_DirIcon));
  fgFiles_ = MakeDirGrid("fgFiles", &model_, this);
  fgFiles_->setAccessibleName(QStringLiteral("Directory comparison results"));
  fgFiles_->setContextMenuPolicy(Qt::CustomContextMenu);
  // Directory paths are told apart by their ends.
  fgFiles_->setTextElideMode(Qt::ElideMiddle);
  // Scrolling by item made every batch of added rows cost more as the grid grew.
  fgFiles_->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  fgFiles_->installEventFilter(this);
  connect(fgFiles_, &QTableView::doubleClicked, this, [this] { fgFiles_DblClick(); });
  connect(fgFiles_, &QTableView::customContextMenuRequested, this,
          &CompareDirWindow::fgFiles_ContextMenu);

  topBar_ = new CompareDirTopBar(this);
  connect(topBar_, &CompareDirTopBar::CompareClicked, this, &CompareDirWindow::CompareDirectories);
  connect(topBar_, &CompareDirTopBar::ViewReportClicked, this,
          &CompareDirWindow::cmdViewReport_Click);
  connect(topBar_, &CompareDirTopBar::RefreshClicked, this, &CompareDirWindow::Refresh_View);
  connect(topBar_, &CompareDirTopBar::StopClicked, this, &CompareDirWindow::Abort);

  lstErrorMessages_ = new QListWidget(this);
  lstErrorMessages_->setObjectName(QStringLiteral("lstErrorMessages"));
  lstErrorMessages_->setAccessibleName(QStringLiteral("Error messages"));
  lstErrorMessages_->setFixedHeight(lstErrorMessages_->fontMetrics().height() * kErrorListLines +
                                    8);
  lstErrorMessages_->hide();

  tbLegend_ = new DirLegend(this);
  connect(tbLegend_, &DirLegend::HideClicked, this, &CompareDirWindow::mnuViewLegend_Click);

  // The state text (panel 3) takes the room.
  sbStatus_ = new PanelStatusBar(kStatusPanels, 3, this);
  sbStatus_->installEventFilter(this);
  for (int panel = 1; panel <= kStatusPanels; ++panel)
    sbStatus_->Panel(panel)->installEventFilter(this);
  sbStatus_->Panel(2)->setMinimumWidth(sbStatus_->Panel(2)->fontMetrics().horizontalAdvance(
      QStringLiteral("Files: 000000  Dirs: 00000")));
  sbStatus_->Panel(4)->hide();  // no text of its own
  SetStatus(1, QString::fromUtf8(kHint));

  timer1_ = new QTimer(this);
  timer1_->setObjectName(QStringLiteral("Timer1"));
  timer1_->setInterval(kTimerIntervalMs);
  connect(timer1_, &QTimer::timeout, this, &CompareDirWindow::Timer1_Timer);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 0);
  layout->setSpacing(2);
  layout->addWidget(topBar_);
  layout->addWidget(fgFiles_, 1);
  layout->addWidget(lstErrorMessages_);
  layout->addWidget(tbLegend_);
  layout->addWidget(sbStatus_);
  layout->addWidget(lindrel1_);
  // The grid was made before the buttons above it.
  TabInOrder({topBar_->StopButton(), fgFiles_, lstErrorMessages_});
}

void CompareDirWindow::ConnectComponent() {
  connect(lindrel1_, &widgets::LindrelWidget::DirCompareStarted, this,
          &CompareDirWindow::Lindrel1_DirCompareStarted);
  connect(lindrel1_, &widgets::LindrelWidget::DirCompareCompleted, this,
          &CompareDirWindow::Lindrel1_DirCompareCompleted);
  connect(lindrel1_, &widgets::LindrelWidget::OnError, this, &CompareDirWindow::Lindrel1_OnError);
}

// --- Starting and stopping -------------------------------------------------------------------

void CompareDirWindow::CompareDirectories() {
  CompareDirOptionsDialog options(*this, this);
  widgets::ExecModal(options);
}

void CompareDirWindow::Refresh_View() {
  CompareDirOptionsDialog options(*this, this);
  options.RunInvisible();
}

void CompareDirWindow::CompareDirectoriesPair(const QString& master, const QString& source) {
  CompareDirOptionsDialog options(*this, this);
  options.SetMasterDirectory(master);
  options.SetSourceDirectory(source);
  options.RunInvisible();
}

void CompareDirWindow::CompareWholeTrees(const QString& master, const QString& source) {
  const bool subfolders = lindrel1_->GetDirDoSubDirectories();
  const bool throttle = lindrel1_->GetDirThrottle();
  lindrel1_->SetDirDoSubDirectories(true);
  lindrel1_->SetDirThrottle(false);
  CompareDirectoriesPair(master, source);
  // The scan took its copy of the options when it began; the component writes its state
  // file when it ends, and that must keep what the user chose in the dialog.
  lindrel1_->SetDirDoSubDirectories(subfolders);
  lindrel1_->SetDirThrottle(throttle);
}

void CompareDirWindow::StartComparison() {
  startTick_ = TickCount();
  scanLooksInSubfolders_ = lindrel1_->GetDirDoSubDirectories();
  // A new comparison is displayed again after a StopSearch.
  stopFlag_ = false;
  ClearGridbox();
  ResetErrorList();
  SetStatus(3, QStringLiteral("..."));
  lastError_.clear();
  if (!lindrel1_->DirCompareBegin()) {
    // Refused: the error list says why, and the status no longer promises a comparison.
    SetStatus(3, lastError_.isEmpty()
                     ? QStringLiteral("The directory comparison did not start")
                     : QStringLiteral("The directory comparison did not start: ") + lastError_);
  }
  LetPendingMessagesRun();
}

void CompareDirWindow::Abort() {
  lindrel1_->DirCompareAbort();
  timer1_->stop();
  topBar_->StopButton()->hide();
  SetStatus(3, QStringLiteral("Scan Aborted"));
}

bool CompareDirWindow::Scanning() const {
  return timer1_->isActive() || lindrel1_->GetDirCompareActive();
}

void CompareDirWindow::StopSearch() {
  lindrel1_->DirCompareAbort();
  stopFlag_ = true;
}

// --- The grid ----------------------------------------------------------------------------------

void CompareDirWindow::ClearGridbox() {
  // The widths the user gave the columns outlive the rows.
  const DirColumnWidths widths = ColumnWidthsOf(*fgFiles_);
  // A display pass still running (it lets messages run after every row) must not go on
  // writing rows of the old comparison into the new grid.
  ++generation_;
  model_.Clear();
  ApplyColumnWidths(widths, *fgFiles_);
  shown_ = 0;
  fileRows_ = 0;
  dirRows_ = 0;
}

void CompareDirWindow::AddResultsToGrid(long count) {
  // Rows are added in record order by one pass at a time; a nested pass (from a message
  // handled between two rows) would add the same records twice.
  if (displaying_) return;
  const long total = lindrel1_->GetDirCompareResultsCount();
  if (count < 1) count = total - shown_;
  const long last = std::min(shown_ + count - 1, total - 1);
  const bool redrawOff = last - shown_ + 1 > 1;
  if (redrawOff) SetGridRedraw(false);

  QPointer<CompareDirWindow> alive(this);
  const unsigned generation = generation_;
  displaying_ = true;
  for (long record = shown_; record <= last; ++record) {
    if (stopFlag_ || generation != generation_) break;
    DirRecord r;
    if (!ReadRecord(record, r)) break;
    model_.Append(BuildDirGridRow(r));
    ++shown_;
    if (r.isFile != 0)
      ++fileRows_;
    else
      ++dirRows_;
    if (record % 25 == 0) {
      SetStatus(2, QString::number(record));
      LetPendingMessagesRun();
      if (!alive) return;
    }
    LetPendingMessagesRun();
    if (!alive) return;
  }
  displaying_ = false;

  SetStatus(2, QStringLiteral("Files: %1  Dirs: %2").arg(fileRows_).arg(dirRows_));
  if (redrawOff) SetGridRedraw(true);
}

void CompareDirWindow::Timer1_Timer() {
  ++animation_;
  if (animation_ > kAnimationRestart) animation_ = 0;
  SetStatus(3, QString::fromUtf8(kComparingText).left(animation_));
  // A tick that comes while rows are being added only animates; a later one goes on.
  if (displaying_) return;

  if (!lindrel1_->GetDirCompareActive()) {
    timer1_->stop();
    topBar_->StopButton()->hide();
    QPointer<CompareDirWindow> alive(this);
    const unsigned generation = generation_;
    AddResultsToGrid(0);
    // The pass lets messages run: a comparison started meanwhile owns the status now.
    if (!alive || generation != generation_) return;
    SetStatus(3, CompletionText());
    const long elapsed = std::labs(startTick_ - TickCount());
    SetStatus(5, QString::number(static_cast<double>(elapsed) / 1000.0, 'g', 15) +
                     QStringLiteral(" (Sec)"));
  } else if (settings_.streamFindings) {
    AddResultsToGrid(kRowsPerTick);
  }
}

QString CompareDirWindow::CompletionText() const {
  // A scan that was stopped shows what it found so far, never as the whole answer.
  if (stopFlag_) return QStringLiteral("Scan Aborted");
  QString text = QStringLiteral("Compare Completed");
  // Without subdirectories the listed folders were not looked into: say so, or the user
  // reads "nothing differs" into a tree whose files were never compared.
  const long subfolders = dirRows_ - 1;  // record 0 is the pair of compared folders
  if (!scanLooksInSubfolders_ && subfolders > 0)
    text += QStringLiteral("; %1 %2 not compared (Look in SUBDIRECTORIES is off)")
                .arg(subfolders)
                .arg(subfolders == 1 ? QStringLiteral("subfolder was")
                                     : QStringLiteral("subfolders were"));
  return text;
}

void CompareDirWindow::SetGridRedraw(bool on) {
  if (on) {
    model_.HoldBack(false);
    fgFiles_->setUpdatesEnabled(true);
  } else {
    fgFiles_->setUpdatesEnabled(false);
    model_.HoldBack(true);
  }
}

int CompareDirWindow::ColumnWidthTwips(int column) const {
  return fgFiles_->columnWidth(column) * TwipsPerPixel(*fgFiles_);
}

// --- Rows opened in the Compare Files window ----------------------------------------------------

void CompareDirWindow::fgFiles_DblClick() {
  const QModelIndex current = fgFiles_->currentIndex();
  OpenRow(current.isValid() ? current.row() + 1 : 0);
}

void CompareDirWindow::mnuShowDetail_Click() { fgFiles_DblClick(); }

void CompareDirWindow::OpenRow(int gridRow) {
  if (gridRow < 1) return;
  DirRecord r;
  if (!ReadRecord(gridRow - 1, r)) return;
  if (main_) main_->OfferFilePair(r.dirMaster + r.fileName, r.dirSource + r.fileName);
}

bool CompareDirWindow::ReadRecord(long index, DirRecord& r) {
  // Through the component's own interface: the names come as the bytes the scan found,
  // so a file whose name is not UTF-8 can still be opened from its row.
  std::string fileName, dirMaster, dirSource;
  if (!lindrel1_->Control().DirCompareResultsGet(index, fileName, dirMaster, dirSource, r.isFile,
                                                 r.onlyInSource, r.onlyInMaster, r.sizeDifferent,
                                                 r.dateDifferent, r.contentDifferent))
    return false;
  r.fileName = FileNameFromBytes(fileName);
  r.dirMaster = FileNameFromBytes(dirMaster);
  r.dirSource = FileNameFromBytes(dirSource);
  return true;
}

void CompareDirWindow::fgFiles_ContextMenu(const QPoint& pos) {
  if (model_.rowCount() < 1) return;
  const int row = fgFiles_->rowAt(pos.y());
  if (row >= 0) fgFiles_->setCurrentIndex(model_.index(row, 0));
  if (main_ && main_->PopupMenu() != nullptr)
    main_->PopupMenu()->popup(fgFiles_->viewport()->mapToGlobal(pos));
}

// --- Events of the component ------------------------------------------------------------------

void CompareDirWindow::Lindrel1_DirCompareStarted() {
  topBar_->ViewReportButton()->hide();
  lstErrorMessages_->hide();
  timer1_->start();
  topBar_->StopButton()->show();
  SetStatus(3, QStringLiteral("Directory Compare In Process..."));
}

void CompareDirWindow::Lindrel1_DirCompareCompleted() {
  topBar_->ViewReportButton()->show();
  SetStatus(3, QStringLiteral("Directory Compare Completed"));
  if (settings_.beepWhenDone) Beep();
}

void CompareDirWindow::Lindrel1_OnError(long, const QString& message) {
  lastError_ = message;
  lstErrorMessages_->addItem(QStringLiteral("Error: ") + message);
  if (lstErrorMessages_->isHidden()) {
    lstErrorMessages_->show();
    Form_Resize();
  }
}

void CompareDirWindow::ResetErrorList() {
  lstErrorMessages_->clear();
  Form_Resize();
  lstErrorMessages_->addItem(QString::fromUtf8(kErrorListHeading));
}

QStringList CompareDirWindow::ErrorLines() const {
  QStringList lines;
  for (int i = 0; i < lstErrorMessages_->count(); ++i) lines << lstErrorMessages_->item(i)->text();
  return lines;
}

// --- Reports, legend, font, layout -----------------------------------------------------------

void CompareDirWindow::mnuReportTabDelimitedFile_Click() {
  const QString path = settings_.reportComma;
  // A report that could not be written is explained in the error list; there is nothing
  // to open then.
  if (lindrel1_->Control().DirSaveDataToTabFile(FileNameToStd(path))) OpenInTextEditor(path, this);
}

void CompareDirWindow::cmdViewReport_Click() { mnuReportTabDelimitedFile_Click(); }

void CompareDirWindow::ReportOptions() {
  CompareDirReportOptionsDialog options(*this, this);
  widgets::ExecModal(options);
}

void CompareDirWindow::mnuViewLegend_Click() {
  tbLegend_->setVisible(tbLegend_->isHidden());
  settings_.showLegend = !tbLegend_->isHidden();
  Form_Resize();
}

void CompareDirWindow::Change_Font(bool showDialog) {
  if (showDialog) {
    QFont font = settings_.font.Font();
    if (!widgets::GetFont(this, font)) return;
    settings_.font.Set(font);
  }
  fgFiles_->setUpdatesEnabled(false);
  const QFont font = settings_.font.Font();
  fgFiles_->setFont(font);
  fgFiles_->verticalHeader()->setDefaultSectionSize(
      std::max(QFontMetrics(font).height(), fgFiles_->iconSize().height()) + 4);
  // A larger font must not cut "[S] > [M]" to "[S...M]".
  if (columnsFitted_) FitDirColumns(*fgFiles_, false);
  Form_Resize();
  fgFiles_->setUpdatesEnabled(true);
}

void CompareDirWindow::Form_Resize() {
  if (isMinimized()) return;
  if (layout() != nullptr) layout()->activate();
  AdjustToolbarItems();
}

void CompareDirWindow::AdjustToolbarItems() { tbLegend_->CentreItems(); }

bool CompareDirWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == fgFiles_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      fgFiles_DblClick();
      return true;
    }
  } else if (event->type() == QEvent::MouseButtonPress &&
             (watched == sbStatus_ || watched->parent() == sbStatus_)) {
    // The state text invites a click to abort while a comparison runs; afterwards a
    // click must not turn "Compare Completed" into "Scan Aborted".
    if (Scanning()) Abort();
  }
  return QWidget::eventFilter(watched, event);
}

void CompareDirWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    // While a scan runs, Esc stops it as the Stop button does; otherwise it closes.
    if (Scanning())
      Abort();
    else
      close();
    return;
  }
  QWidget::keyPressEvent(event);
}

// --- Settings and life cycle -----------------------------------------------------------------

void CompareDirWindow::ReadIniFile() {
  settings_ = CompareDirSettings::Read();
  masterHistory_.Load(QString::fromUtf8(kMasterHistorySection));
  sourceHistory_.Load(QString::fromUtf8(kSourceHistorySection));
  fileTypesHistory_.Load(QString::fromUtf8(kFileTypesHistorySection));
  tbLegend_->setVisible(settings_.showLegend);
  ApplyColumnWidths(settings_.columnWidths, *fgFiles_);
  lindrel1_->SetThreadPriority(ProgramState::Instance().ThreadPriority());
  Change_Font(false);
}

void CompareDirWindow::SaveIniFile() {
  settings_.columnWidths = ColumnWidthsOf(*fgFiles_);
  settings_.showLegend = !tbLegend_->isHidden();
  QStringList failures;
  QString error;
  if (!settings_.Save(&error)) failures << error;
  if (QString placementError; !placement_.Save(*this, &placementError)) failures << placementError;
  if (!failures.isEmpty()) {
    widgets::ShowMessage(
        this, QMessageBox::Warning, windowTitle(),
        QStringLiteral("The settings of this window could not be saved:\n") + failures.join('\n'));
  }
}

void CompareDirWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  placement_.Shown(*this);
  if (columnsFitted_) return;
  columnsFitted_ = true;
  // After the frame has its restored size, so the folder columns know their room.
  QTimer::singleShot(0, this, [this] {
    FitDirColumns(*fgFiles_, settings_.columnWidths == CompareDirSettings::kDefaultWidths);
  });
}

void CompareDirWindow::closeEvent(QCloseEvent* event) {
  // Unload.
  lindrel1_->DirCompareAbort();
  lindrel1_->FileCompareAbort();
  stopFlag_ = true;
  LetPendingMessagesRun();
  SaveIniFile();
  if (main_) main_->UpateMainToolbar();
  event->accept();
}

void CompareDirWindow::Form_Activate() {
  if (!main_) return;
  // A directory comparison has the tab-delimited report only.
  main_->ShowMenusFor({.tabDelimitedReport = true});
  main_->PressToolbarButton(QString::fromUtf8(kCompareDirName), true);
}

// --- Status bar ---------------------------------------------------------------------------------

void CompareDirWindow::SetStatus(int panel, const QString& text) {
  sbStatus_->SetText(panel, text);
}

QPushButton* CompareDirWindow::ViewReportButton() const { return topBar_->ViewReportButton(); }

QPushButton* CompareDirWindow::CompareButton() const { return topBar_->CompareButton(); }

QPushButton* CompareDirWindow::StopButton() const { return topBar_->StopButton(); }

QString CompareDirWindow::StatusText(int panel) const { return sbStatus_->Text(panel); }

}  // namespace lindrel::demo
