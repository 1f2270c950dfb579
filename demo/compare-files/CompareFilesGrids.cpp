// The Compare Files window's grids: loading, padding and colouring, the all-in-one view,
// fonts, layout, row heights, scrolling and the context menu.
#include <QComboBox>
#include <QDropEvent>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>

#include <algorithm>
#include <future>

#include "demo/common/DroppedPaths.h"
#include "demo/common/FileNames.h"
#include "demo/common/UiTiming.h"
#include "demo/compare-files/ChangeMap.h"
#include "demo/compare-files/CompareFilesWindow.h"
#include "demo/compare-files/ComparisonGrid.h"
#include "demo/compare-files/GridLines.h"
#include "demo/compare-files/LegendBar.h"
#include "demo/compare-files/RowHeights.h"
#include "lindrel/widgets/LindrelWidget.h"
#include "lindrel/widgets/ModalDialogs.h"

namespace lindrel::demo {
namespace {

constexpr int kSideBySideTextReserveTwips = 260;
constexpr int kAllInOneTextReserveTwips = 250;

int TwipsToPixels(const QWidget& widget, int twips) {
  int dpi = widget.logicalDpiX() > 0 ? widget.logicalDpiX() : 96;
  return twips * dpi / 1440;
}

}  // namespace

// --- Loading ----------------------------------------------------------------------------------

int CompareFilesWindow::LoadFileToGrid(const QString& fileName, FileGridModel& grid,
                                       const FileStamp& compared, std::shared_ptr<GridLines> lines,
                                       bool loaded, const QString& error) {
  if (!loaded) {
    // The file was there when the comparison started; show what is left and say why.
    if (!loadProblem_.isEmpty()) loadProblem_ += QStringLiteral("; ");
    loadProblem_ += QStringLiteral("Cannot show %1: %2").arg(ShownFileName(fileName), error);
    SetStatus(3, loadProblem_);
  } else {
    NoteChange(fileName, compared, lines->ByteCount());
  }
  const int count = lines->Count();
  grid.Reset(std::move(lines));
  return count;
}

void CompareFilesWindow::Setup() {
  ShowBusyPointer(true);
  LetPendingMessagesRun();
  SetGridsRedraw(false);
  loadProblem_.clear();
  changeProblem_.clear();
  // Reading the files is most of the time a large pair takes to show: the source is read
  // on a second thread while the master is read here.
  const QString masterFile = ComparedMaster();
  const QString sourceFile = ComparedSource();
  auto masterLines = std::make_shared<GridLines>();
  auto sourceLines = std::make_shared<GridLines>();
  QString masterError, sourceError;
  std::future<bool> sourceRead = std::async(std::launch::async | std::launch::deferred,
                                            [&sourceLines, &sourceFile, &sourceError] {
                                              return sourceLines->Load(sourceFile, &sourceError);
                                            });
  const bool masterLoaded = masterLines->Load(masterFile, &masterError);
  const bool sourceLoaded = sourceRead.get();
  masterLineCount_ = LoadFileToGrid(masterFile, masterModel_, comparedMaster_,
                                    std::move(masterLines), masterLoaded, masterError);
  sourceLineCount_ = LoadFileToGrid(sourceFile, sourceModel_, comparedSource_,
                                    std::move(sourceLines), sourceLoaded, sourceError);
  masterModel_.SetHeaderText(QStringLiteral("[Master] ") + ShownFileName(masterFileName_));
  sourceModel_.SetHeaderText(QStringLiteral("[Source] ") + ShownFileName(sourceFileName_));
  ShowBusyPointer(false);
  UpdateChangesToFiles();
  LayoutGrids();
  SetGridsRedraw(true);
}

void CompareFilesWindow::NoteChange(const QString& fileName, const FileStamp& compared,
                                    qint64 loadedBytes) {
  const FileStamp now = FileStamp::Of(fileName);
  QString change = DescribeChange(compared, now);
  // Written to and set back to its old time, or changed while it was read.
  if (change.isEmpty() && loadedBytes >= 0 && loadedBytes != compared.size)
    change = QStringLiteral("changed while it was read");
  if (change.isEmpty()) return;
  if (!changeProblem_.isEmpty()) changeProblem_ += QStringLiteral("; ");
  changeProblem_ += ShownFileName(fileName) + QLatin1Char(' ') + change;
}

QString CompareFilesWindow::ChangedFilesText(const QString& what) const {
  if (changeProblem_.isEmpty()) return {};
  return QStringLiteral(
             "Changed since the comparison: %1. The %2 may not match the files; Refresh "
             "(F5) compares them again.")
      .arg(changeProblem_, what);
}

QString CompareFilesWindow::ComparedMaster() const {
  return FileNameFromBytes(lindrel1_->Control().GetFileMaster());
}

QString CompareFilesWindow::ComparedSource() const {
  return FileNameFromBytes(lindrel1_->Control().GetFileSource());
}

void CompareFilesWindow::ClearGrids() {
  recordRows_.clear();
  map_->Clear();
  masterModel_.Clear();
  sourceModel_.Clear();
  allInOneModel_.Clear();
  masterModel_.SetHeaderText(QString());
  sourceModel_.SetHeaderText(QString());
}

// --- Padding and colouring ----------------------------------------------------------------

void CompareFilesWindow::UpdateChangesToFiles() {
  SetGridsRedraw(false);
  if (!loadProblem_.isEmpty()) {
    // The records describe lines a grid cannot show: no padding, colour or change list
    // is built from them, and the grids show what could be read, uncoloured.
    recordRows_.clear();
    map_->Clear();
    dropDownSync_ = true;
    cmboChangeListing_->clear();
    dropDownSync_ = false;
    SetGridsRedraw(true);
    setWindowTitle(QStringLiteral("Compare File Results: ") +
                   QString::number(lindrel1_->FileCompareResultsCount()) +
                   QStringLiteral(" Differences found"));
    return;
  }
  UpdateNavigationalDropDownListBox();

  // Read from the last record down, as the rows were always painted; a record that
  // cannot be read ends the reading there.
  const long count = lindrel1_->FileCompareResultsCount();
  std::vector<GridRecord> records;
  records.reserve(static_cast<size_t>(std::max(count, 0L)));
  for (long index = count - 1; index >= 0; --index) {
    GridRecord r;
    if (!lindrel1_->FileCompareResultsGet(index, r.changeType, r.masterStart, r.masterEnd,
                                          r.sourceStart, r.sourceEnd))
      break;
    records.push_back(r);
  }
  std::reverse(records.begin(), records.end());
  AlignedRows rows = AlignRows(masterLineCount_, sourceLineCount_, records);
  masterModel_.SetRows(std::move(rows.master));
  sourceModel_.SetRows(std::move(rows.source));
  recordRows_ = std::move(rows.records);
  SetChangeMapMarks(records);

  SetGridsRedraw(true);
  setWindowTitle(QStringLiteral("Compare File Results: ") +
                 QString::number(lindrel1_->FileCompareResultsCount()) +
                 QStringLiteral(" Differences found"));
}

void CompareFilesWindow::UpdateChangesToAllInOneGrid() {
  if (allInOneModel_.IsBuilt()) return;
  ShowBusyPointer(true);
  SetGridsRedraw(false);
  allInOneModel_.Build(ShownFileName(masterFileName_), ShownFileName(sourceFileName_));
  ShowBusyPointer(false);
  LayoutGrids();
  SetGridsRedraw(true);
}

bool CompareFilesWindow::AllInOneShown() const {
  return cmdCompareFilesViewFormat_->text() == QLatin1String(kViewSideBySide);
}

void CompareFilesWindow::cmdCompareFilesViewFormat_Click() {
  if (!AllInOneShown()) {
    UpdateChangesToAllInOneGrid();
    cmdCompareFilesViewFormat_->setText(QString::fromUtf8(kViewSideBySide));
    views_->setCurrentWidget(msfgAllInOne_);
  } else {
    HideDetailViews();
    views_->setCurrentWidget(sideBySide_);
    cmdCompareFilesViewFormat_->setText(QString::fromUtf8(kViewAllInOne));
  }
  // Rows are sized for the view on screen only: the one coming up may hold rows of a
  // comparison made while it was hidden, or may not have followed the window's size.
  Form_Resize();
  MoveToChange(false);
  ScheduleChangeMapFrame();
}

// --- Legend and fonts ------------------------------------------------------------------------

void CompareFilesWindow::mnuViewLegend_Click() {
  tbLegend_->setVisible(tbLegend_->isHidden());
  settings_.showLegend = !tbLegend_->isHidden();
  Form_Resize();
}

void CompareFilesWindow::Change_Font(bool showDialog) {
  if (showDialog) {
    QFont font = settings_.font.Font();
    const bool chosen = widgets::GetFont(this, font);
    HideDetailViews();
    if (!chosen) return;
    settings_.font.Set(font);
  }
  SetGridsRedraw(false);
  const QFont font = settings_.font.Font();
  for (ComparisonGrid* grid : {msfgMaster_, msfgSource_, msfgAllInOne_}) grid->setFont(font);
  for (QTextEdit* overlay : {rtbMaster_, rtbSource_, rtbAllInOne_}) overlay->setFont(font);
  LayoutGrids();
  SetGridsRedraw(true);
}

// --- Layout ------------------------------------------------------------------------------------

void CompareFilesWindow::Form_Resize() {
  if (loading_ || isMinimized()) return;
  LayoutGrids();
}

void CompareFilesWindow::ScheduleLayout() {
  if (layoutScheduled_) return;
  layoutScheduled_ = true;
  // Resizes come in bursts while the user drags; one layout serves the whole burst.
  QTimer::singleShot(0, this, [this] {
    layoutScheduled_ = false;
    Form_Resize();
  });
}

bool CompareFilesWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == views_ && event->type() == QEvent::Resize) ScheduleLayout();
  switch (event->type()) {
    case QEvent::Resize:
      // A grid's rows area changes height with its horizontal scroll bar, too.
      for (ComparisonGrid* grid : {msfgMaster_, msfgSource_, msfgAllInOne_})
        if (watched == grid->viewport()) ScheduleChangeMapFrame();
      break;
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
      for (auto [grid, side] :
           {std::pair{msfgMaster_, 1}, std::pair{msfgSource_, 2}, std::pair{msfgAllInOne_, 0}}) {
        if (watched != grid->viewport()) continue;
        auto* drag = static_cast<QDropEvent*>(event);
        if (!CarriesPaths(drag->mimeData())) return QWidget::eventFilter(watched, event);
        drag->acceptProposedAction();
        if (event->type() == QEvent::Drop) TakeDrop(drag->mimeData(), side);
        return true;
      }
      break;
    default: break;
  }
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    // A character typed on a side-by-side grid opens the typing overlay over its cell.
    for (auto [grid, overlay] :
         {std::pair{msfgMaster_, rtbMaster_}, std::pair{msfgSource_, rtbSource_}}) {
      if (watched == grid) {
        const QString text = key->text();
        const bool character = !text.isEmpty() && key->key() != Qt::Key_Escape &&
                               key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab &&
                               !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        if (!character) return QWidget::eventFilter(watched, event);
        MSFlexGridEdit(grid, overlay, text.at(0).unicode() > 32 ? text : QString());
        return true;
      }
      if (watched == overlay && EditKeyCode(grid, overlay, key)) return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void CompareFilesWindow::LayoutGrids() {
  if (loading_) return;
  HideDetailViews();
  SetGridsRedraw(false);
  for (auto [grid, model] :
       {std::pair{msfgMaster_, &masterModel_}, std::pair{msfgSource_, &sourceModel_}}) {
    grid->SizeColumn(model->LineCount(), FileGridModel::kNumberColumn);
    const int reserve = TwipsToPixels(*grid, kSideBySideTextReserveTwips);
    const int room = grid->viewport()->width() - grid->columnWidth(FileGridModel::kNumberColumn);
    const int literal = grid->width() - grid->columnWidth(FileGridModel::kNumberColumn) - reserve;
    // The reserve was meant for the scroll bar; never wider than the room, or a
    // horizontal scroll bar would appear for nothing.
    grid->setColumnWidth(FileGridModel::kTextColumn, std::max(std::min(literal, room), 1));
  }
  msfgAllInOne_->SizeColumn(masterModel_.LineCount(), AllInOneModel::kMasterNumberColumn);
  msfgAllInOne_->SizeColumn(sourceModel_.LineCount(), AllInOneModel::kSourceNumberColumn);
  const int numbers = msfgAllInOne_->columnWidth(AllInOneModel::kMasterNumberColumn) +
                      msfgAllInOne_->columnWidth(AllInOneModel::kSourceNumberColumn);
  const int literal =
      msfgAllInOne_->width() - numbers - TwipsToPixels(*msfgAllInOne_, kAllInOneTextReserveTwips);
  const int room = msfgAllInOne_->viewport()->width() - numbers;
  msfgAllInOne_->setColumnWidth(AllInOneModel::kTextColumn, std::max(std::min(literal, room), 1));

  // Rows are sized for the view on screen; the other one is sized when it is shown (a
  // grid that is not shown does not know its width yet).
  if (views_->currentWidget() == sideBySide_)
    SizeRowsSideBySide();
  else
    SizeRowsAllInOne();
  SetGridsRedraw(true);
  AdjustToolbarItems();
  ScheduleChangeMapFrame();
}

void CompareFilesWindow::SizeRowsSideBySide() {
  // The enlarged row goes back to its measured height with the others: a height
  // remembered for it before this layout would be wrong for the new width or font.
  sideBySideHeights_->Forget(enlargedRow_);
  enlargedRow_ = 0;
}

void CompareFilesWindow::SizeRowsAllInOne() {
  allInOneHeights_->Forget(enlargedAllInOneRow_);
  enlargedAllInOneRow_ = 0;
}

void CompareFilesWindow::BuildRowHeights() {
  auto side = [](ComparisonGrid* grid, const FileGridModel& model) {
    return RowHeights::Side{grid, FileGridModel::kTextColumn,
                            [&model](int r) { return model.TextLengthBound(r); },
                            [&model](int r) { return model.ShownText(r); }};
  };
  sideBySideHeights_ = std::make_unique<RowHeights>(std::vector<RowHeights::Side>{
      side(msfgMaster_, masterModel_), side(msfgSource_, sourceModel_)});
  allInOneHeights_ = std::make_unique<RowHeights>(std::vector<RowHeights::Side>{
      {msfgAllInOne_, AllInOneModel::kTextColumn,
       [this](int r) {
         // All-in-one row r shows the text of row r of one of the side-by-side grids.
         return allInOneModel_.Kind(r) == AllInOneModel::RowKind::Same ||
                        allInOneModel_.Kind(r) == AllInOneModel::RowKind::OnlyInMaster
                    ? masterModel_.TextLengthBound(r)
                    : sourceModel_.TextLengthBound(r);
       },
       [this](int r) { return allInOneModel_.ShownCellText(r, AllInOneModel::kTextColumn); }}});
}

void CompareFilesWindow::SetGridsRedraw(bool on) {
  for (ComparisonGrid* grid : {msfgMaster_, msfgSource_, msfgAllInOne_}) grid->SetRedraw(on);
}

void CompareFilesWindow::AdjustToolbarItems() {
  // The drop-down takes the width of its toolbar; it expands with the toolbar, so only a
  // layout that has fallen behind needs a nudge.
  if (cmboChangeListing_->width() < tbChangeListing_->contentsRect().width() - 16)
    tbChangeListing_->updateGeometry();
}

// --- Scrolling and the context menu -------------------------------------------------------------

void CompareFilesWindow::GridScrolled(ComparisonGrid* grid, int topRow) {
  ScheduleChangeMapFrame();
  if (grid == msfgAllInOne_) {
    HideDetailViews();
    return;
  }
  if (grid == msfgMaster_) HideDetailViews();
  if (scrollEcho_) return;
  scrollEcho_ = true;
  ComparisonGrid* other = grid == msfgMaster_ ? msfgSource_ : msfgMaster_;
  other->SetTopRow(topRow);
  scrollEcho_ = false;
}

void CompareFilesWindow::GridRightClicked(ComparisonGrid* grid, int gridRow,
                                          const QPoint& globalPos) {
  if (grid->model() == nullptr || grid->model()->rowCount() + 1 < 2) return;
  if (gridRow > 0) {
    if (grid == msfgAllInOne_) {
      grid->SetCurrentRow(gridRow);
    } else {
      msfgMaster_->SetCurrentRow(gridRow);
      msfgSource_->SetCurrentRow(gridRow);
    }
  }
  if (main_ && main_->PopupMenu() != nullptr) main_->PopupMenu()->popup(globalPos);
}

}  // namespace lindrel::demo
