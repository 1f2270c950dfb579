#include "demo/compare-files/CompareFilesWindow.h"

#include <QCloseEvent>
#include <QMenu>
#include <QPointer>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdlib>

#include "demo/common/FileNames.h"
#include "demo/common/PanelStatusBar.h"
#include "demo/common/ProgramState.h"
#include "demo/common/SettingsFile.h"
#include "demo/common/UiTiming.h"
#include "demo/compare-files/ChangeListEntries.h"
#include "demo/compare-files/CompareFilesOptionsDialog.h"
#include "demo/compare-files/CompareFilesReporter.h"
#include "demo/compare-files/CompareFilesTopBar.h"
#include "demo/compare-files/GoToLineDialog.h"
#include "demo/compare-files/LegendBar.h"
#include "demo/compare-files/PleaseWaitWindow.h"
#include "demo/compare-files/ReportOptionsDialog.h"
#include "lindrel/Errors.h"
#include "lindrel/HostFiles.h"
#include "lindrel/widgets/ComparisonView.h"
#include "lindrel/widgets/LindrelWidget.h"
#include "lindrel/widgets/ModalDialogs.h"

namespace lindrel::demo {
namespace {

using widgets::ComparisonView;

constexpr const char* kWindowTitle = "Compare Files";

// A path exists when it is not empty, holds no NUL and a directory lookup of it finds an entry.
bool FileExists(const QString& path) {
  return !path.isEmpty() && !HoldsNul(path) &&
         files::DirectorySearchFindsEntry(FileNameToStd(path));
}

QString ProgramName() { return QStringLiteral("LindrelDemo"); }

}  // namespace

CompareFilesWindow::CompareFilesWindow(MainWindowServices* main, QWidget* parent)
    : QWidget(parent), main_(main) {
  setObjectName(QString::fromUtf8(kCompareFilesName));
  setWindowTitle(QString::fromUtf8(kWindowTitle));
  BuildControls();
  ConnectView();
  ConnectTopBar();
  ConnectComponent();
  ReadIniFile();
}

CompareFilesWindow::~CompareFilesWindow() = default;

void CompareFilesWindow::BuildControls() {
  // The components: placed on the form, invisible at run time.
  lindrel1_ = new widgets::LindrelWidget(this, QStringLiteral("WDD_COMPARE_FILES_TVK1"));
  lindrel1_->setObjectName(QStringLiteral("Lindrel1"));
  lindrel2_ = new widgets::LindrelWidget(this, QStringLiteral("WDD_COMPARE_FILES_TVK2"));
  lindrel2_->setObjectName(QStringLiteral("Lindrel2"));
  lindrel1_->hide();
  lindrel2_->hide();

  topBar_ = new CompareFilesTopBar(this);
  view_ = new ComparisonView(this);
  changes_ = new ChangeListEntries(*view_, this);
  topBar_->SetChangeList(changes_);
  // The window tells the user about each result before it is shown, or writes a report
  // instead; the view's own component events come first (the files' stamps and watch).
  view_->SetComponent(lindrel1_);
  view_->SetWordComponent(lindrel2_);
  view_->SetShowsCompletions(false);
  setAcceptDrops(true);

  tbLegend_ = new LegendBar(this);
  connect(tbLegend_, &LegendBar::HideClicked, this, &CompareFilesWindow::mnuViewLegend_Click);
  // The state text (panel 3) takes the room.
  sbStatus_ = new PanelStatusBar(kStatusPanels, 3, this);
  frmPleaseWait_ = new PleaseWaitWindow(this);
  connect(frmPleaseWait_, &PleaseWaitWindow::CancelRequested, this,
          &CompareFilesWindow::CancelComparison);
  reports_ = std::make_unique<CompareFilesReporter>(
      *lindrel1_, *this, [this](const QString& text) { SetStatus(3, text); });

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 0);
  layout->setSpacing(2);
  layout->addWidget(topBar_);
  layout->addWidget(view_, 1);
  layout->addWidget(tbLegend_);
  layout->addWidget(sbStatus_);
  layout->addWidget(lindrel1_);
  layout->addWidget(lindrel2_);
}

void CompareFilesWindow::ConnectTopBar() {
  CompareFilesTopBar* bar = topBar_;
  connect(bar, &CompareFilesTopBar::CompareClicked, this, &CompareFilesWindow::cmdCompare_Click);
  connect(bar, &CompareFilesTopBar::ViewReportClicked, this,
          &CompareFilesWindow::cmdViewReport_Click);
  connect(bar, &CompareFilesTopBar::ViewFormatClicked, this,
          [this] { view_->SetAllInOne(!view_->AllInOne()); });
  connect(bar, &CompareFilesTopBar::RefreshClicked, this, [this] {
    if (!settings_.showReportOnly) Refresh_View();
  });
  connect(bar, &CompareFilesTopBar::SwapClicked, this, [this] {
    if (!settings_.showReportOnly) Swap();
  });
  connect(bar, &CompareFilesTopBar::FirstClicked, this,
          [this] { ToolbarMove(&ComparisonView::MoveFirst); });
  connect(bar, &CompareFilesTopBar::PreviousClicked, this,
          [this] { ToolbarMove(&ComparisonView::MovePrevious); });
  connect(bar, &CompareFilesTopBar::NextClicked, this,
          [this] { ToolbarMove(&ComparisonView::MoveNext); });
  connect(bar, &CompareFilesTopBar::LastClicked, this,
          [this] { ToolbarMove(&ComparisonView::MoveLast); });
  connect(bar, &CompareFilesTopBar::GoToClicked, this, [this] {
    if (!settings_.showReportOnly) GoToChange();
  });
  connect(bar, &CompareFilesTopBar::ChangeChosen, view_, &ComparisonView::GoToChange);

  // These keys work whichever control of the window has the focus.
  auto shortcut = [this](const QKeySequence& keys, auto move) {
    auto* s = new QShortcut(keys, this);
    s->setContext(Qt::WidgetWithChildrenShortcut);
    connect(s, &QShortcut::activated, this, move);
  };
  shortcut(QKeySequence(Qt::Key_F7), [this] { view_->MoveNext(); });
  shortcut(QKeySequence(Qt::SHIFT | Qt::Key_F7), [this] { view_->MovePrevious(); });
  shortcut(QKeySequence(Qt::Key_F4), [this] { GoToChange(); });
  shortcut(QKeySequence(Qt::ALT | Qt::Key_Down), [this] { MoveNextChange(); });
  shortcut(QKeySequence(Qt::ALT | Qt::Key_Up), [this] { MovePreviousChange(); });
  // Ctrl+F is Compare Files; F3, Shift+F3 and Escape are the view's own keys.
  shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F), [this] { mnuFind_Click(); });
  shortcut(QKeySequence(Qt::CTRL | Qt::Key_L), [this] { mnuGoToLine_Click(); });
}

void CompareFilesWindow::ConnectView() {
  connect(view_, &ComparisonView::Notice, this,
          [this](const QString& text) { SetStatus(3, text); });
  connect(view_, &ComparisonView::CurrentChangeChanged, this, &CompareFilesWindow::ChangeShown);
  connect(view_, &ComparisonView::AllInOneChanged, this, [this](bool allInOne) {
    topBar_->SetAllInOneShown(allInOne);
    AdjustToolbarItems();
  });
  connect(view_, &ComparisonView::RefreshRequested, this, &CompareFilesWindow::Refresh_View);
  connect(view_, &ComparisonView::ContextMenuRequested, this, [this](const QPoint& at) {
    if (main_ && main_->PopupMenu() != nullptr) main_->PopupMenu()->popup(at);
  });
  connect(view_, &ComparisonView::FilesDropped, this, &CompareFilesWindow::ComparePair);
  connect(view_, &ComparisonView::FileDropped, this,
          [this](ComparisonView::Side side, const QString& file) {
            TakeOneDroppedFile(side == ComparisonView::Side::Master, file);
          });
  connect(view_, &ComparisonView::FoldersDropped, this,
          [this](const QString& master, const QString& source) {
            if (main_ == nullptr)
              RefuseDrop(QStringLiteral("Folders are compared in the Compare Directories window."));
            else
              main_->ComparePairIn(QString::fromUtf8(kCompareDirName), master, source);
          });
  connect(view_, &ComparisonView::DropRefused, this, &CompareFilesWindow::RefuseDrop);
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
  cancelled_ = false;
  ShowBusyPointer(true);
  SetStatus(3, QStringLiteral("Comparing files.... Please wait."));
  frmPleaseWait_->SetFiles(masterFileName_, sourceFileName_);
  frmPleaseWait_->show();
  Pause(10);
  if (!alive || cancelled_) return;
  startTime_ = TickCount();
  // Through the component's own interface: the names reach it as the bytes they are.
  lindrel1_->Control().SetFileSource(FileNameToStd(sourceFileName_));
  lindrel1_->Control().SetFileMaster(FileNameToStd(masterFileName_));
  Pause(1000);
  if (!alive || cancelled_) return;

  // The files checked are the ones handed to the component, master first.
  const QString missing = !FileExists(masterFileName_)   ? masterFileName_
                          : !FileExists(sourceFileName_) ? sourceFileName_
                                                         : QString();
  if (missing.isNull()) {
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
  if (!cancelled_) frmPleaseWait_->FollowJob([this] { return lindrel1_->GetFileCompareActive(); });
}

void CompareFilesWindow::CancelComparison() {
  cancelled_ = true;
  frmPleaseWait_->StopFollowing();
  // Before the begin the last result stands; after it the component holds only part of
  // the new one, which no grid may show.
  if (lindrel1_->GetFileCompareActive()) {
    lindrel1_->FileCompareAbort();
    view_->Clear();
    changes_->Clear();
    topBar_->SetViewReportShown(false);
  }
  ShowBusyPointer(false);
  SetStatus(3, QStringLiteral("File Compare Cancelled"));
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

void CompareFilesWindow::Lindrel1_OnError(long code, const QString& message) {
  reports_->ComponentError(message);
  SetStatus(3, message);
  // The comparison did not start, and a status line alone is easily missed.
  if (code == kErrorInvalidSearchString) {
    widgets::ShowMessage(this, QMessageBox::Warning, ProgramName(),
                         QStringLiteral("An ignore pattern cannot be used, so nothing was "
                                        "compared:\n%1\n\nChange it under \"Ignore Lines "
                                        "Matching\" in the Compare Files options.")
                             .arg(message));
  }
}

void CompareFilesWindow::Lindrel1_FileCompareStarted() {
  SetStatus(3, QStringLiteral("File Compare In Process..."));
  topBar_->SetViewReportShown(false);
  LetPendingMessagesRun();
  Pause(10);
}

void CompareFilesWindow::Lindrel1_FileCompareCompleted(long count) {
  if (completionProbe_) completionProbe_();
  frmPleaseWait_->StopFollowing();
  if (settings_.showReportOnly)
    ShowReportOnlyResult();
  else
    ShowResultInView(count);
}

void CompareFilesWindow::ShowReportOnlyResult() {
  // The report reads the files again: one that changed since the comparison is paired
  // with records that describe what it was.
  const QString changed = view_->ChangedOnDiskSinceComparison(QStringLiteral("report"));
  cmdViewReport_Click();
  changes_->Clear();
  view_->Clear();
  topBar_->SetViewFormatShown(false);
  QString completed = QStringLiteral("File Compare Completed");
  if (!reports_->Problem().isEmpty()) completed += QStringLiteral(". ") + reports_->Problem();
  if (!changed.isEmpty()) completed += QStringLiteral(". ") + changed;
  SetStatus(3, completed);
  SetStatus(5, ElapsedSecondsText());
  if (settings_.beepWhenDone) Beep();
}

void CompareFilesWindow::ShowResultInView(long count) {
  QPointer<CompareFilesWindow> alive(this);
  topBar_->SetViewFormatShown(true);
  topBar_->SetViewReportShown(true);
  ShowBusyPointer(true);
  SetStatus(3, QStringLiteral("Creating Report"));
  LetPendingMessagesRun();
  if (!alive) return;

  view_->ShowResult();
  const QString problem = view_->Problem();
  // A file that could not be read leaves the records without rows: no change to list.
  if (problem.isEmpty())
    changes_->Fill(*lindrel1_);
  else
    changes_->Clear();
  const long records = lindrel1_->FileCompareResultsCount();
  setWindowTitle(QStringLiteral("Compare File Results: ") + QString::number(records) +
                 QStringLiteral(" Differences found"));
  ShowThisWindow();

  const QString changed = view_->ChangedSinceComparison(QStringLiteral("view"));
  if (!problem.isEmpty()) {
    // A file that could not be read now tells nothing about the comparison: no verdict,
    // no change to move to; the user hears why.
    if (count < 1) topBar_->SetViewReportShown(false);
    widgets::ShowMessage(this, QMessageBox::Warning, windowTitle(), problem);
    if (!alive) return;
  } else {
    QString verdict;
    if (count < 1) {
      topBar_->SetViewReportShown(false);
      verdict = records == -1 ? QStringLiteral("Binary Files are different")
                              : QStringLiteral("No differences detected");
    } else {
      topBar_->SetViewReportShown(true);
      view_->MoveFirst();
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
  if (!problem.isEmpty())
    completed += QStringLiteral(". ") + problem;
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
  view_->SetChangeMapShown(settings_.showChangeMap);
  view_->SetMarksWordsInEveryChange(settings_.markWordsInEveryChange);
  lindrel1_->SetThreadPriority(ProgramState::Instance().ThreadPriority());
  Change_Font(false);
  // The placement belongs to the frame the main window puts around this window; it is
  // restored when the window is first shown in it.
}

void CompareFilesWindow::SaveIniFile() {
  settings_.showLegend = !tbLegend_->isHidden();
  settings_.showChangeMap = view_->ChangeMapShown();
  settings_.markWordsInEveryChange = view_->MarksWordsInEveryChange();
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

void CompareFilesWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // Once the toolbars have their new widths.
  QTimer::singleShot(0, this, &CompareFilesWindow::AdjustToolbarItems);
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
                       .changeMoves = true,
                       .find = true,
                       .marksWords = view_->MarksWordsInEveryChange()});
  main_->PressToolbarButton(QString::fromUtf8(kCompareFilesName), true);
}

void CompareFilesWindow::Form_Deactivate() { view_->HideDetail(); }

void CompareFilesWindow::Form_Resize() {
  if (isMinimized()) return;
  view_->LayOut();
  AdjustToolbarItems();
}

void CompareFilesWindow::AdjustToolbarItems() { topBar_->AdjustListing(); }

void CompareFilesWindow::mnuViewLegend_Click() {
  tbLegend_->setVisible(tbLegend_->isHidden());
  settings_.showLegend = !tbLegend_->isHidden();
  Form_Resize();
}

void CompareFilesWindow::mnuFind_Click() {
  if (!settings_.showReportOnly) view_->ShowFindBar();
}

void CompareFilesWindow::FindNext() { view_->FindNext(); }

void CompareFilesWindow::FindPrevious() { view_->FindPrevious(); }

void CompareFilesWindow::mnuGoToLine_Click() {
  if (settings_.showReportOnly || view_->MasterLineCount() + view_->SourceLineCount() == 0) return;
  GoToLineDialog dialog(this);
  dialog.SetSource(goToLineInSource_);
  const long current = view_->CurrentLine(goToLineInSource_ ? ComparisonView::Side::Source
                                                            : ComparisonView::Side::Master);
  dialog.SetLine(std::max(current, 1L));
  if (widgets::ExecModal(dialog) != QDialog::Accepted) return;
  goToLineInSource_ = dialog.Source();
  const long line = dialog.Line();
  const auto side = goToLineInSource_ ? ComparisonView::Side::Source : ComparisonView::Side::Master;
  if (!view_->GoToLine(side, line)) {
    const int lines = goToLineInSource_ ? view_->SourceLineCount() : view_->MasterLineCount();
    SetStatus(3, QStringLiteral("The %1 has lines 1 to %2.")
                     .arg(goToLineInSource_ ? QStringLiteral("source") : QStringLiteral("master"))
                     .arg(lines));
  }
}

void CompareFilesWindow::mnuMarkWordsInEveryChange_Click() {
  view_->SetMarksWordsInEveryChange(!view_->MarksWordsInEveryChange());
  settings_.markWordsInEveryChange = view_->MarksWordsInEveryChange();
  if (main_ != nullptr) Form_Activate();
}

void CompareFilesWindow::mnuViewChangeMap_Click() {
  view_->SetChangeMapShown(!view_->ChangeMapShown());
  settings_.showChangeMap = view_->ChangeMapShown();
  AdjustToolbarItems();
}

void CompareFilesWindow::Change_Font(bool showDialog) {
  if (showDialog) {
    QFont font = settings_.font.Font();
    const bool chosen = widgets::GetFont(this, font);
    view_->HideDetail();
    if (!chosen) return;
    settings_.font.Set(font);
  }
  view_->SetTextFont(settings_.font.Font());
  AdjustToolbarItems();
}

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
