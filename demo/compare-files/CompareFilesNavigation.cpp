// Moving between the changes of the Compare Files window: the drop-down of changes, the
// navigation buttons and keys, showing a change in either view, and the typing overlay.
#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QShortcut>
#include <QTextEdit>
#include <QToolBar>

#include <algorithm>

#include "demo/common/UiTiming.h"
#include "demo/compare-files/ChangeMap.h"
#include "demo/compare-files/CompareFilesWindow.h"
#include "demo/compare-files/ComparisonGrid.h"
#include "demo/compare-files/GoToDialog.h"
#include "demo/compare-files/NavigationPictures.h"
#include "lindrel/widgets/LindrelWidget.h"
#include "lindrel/widgets/ModalDialogs.h"

namespace lindrel::demo {
namespace {

constexpr int kEntryTextLength = 100;
const char* const kImageProperty = "imageIndex";

// The first `count` characters of `text`; a character outside the basic plane (two
// UTF-16 units) is kept whole or left out, never split.
QString LeftCharacters(const QString& text, int count) {
  qsizetype units = 0;
  for (int taken = 0; taken < count && units < text.size(); ++taken)
    units += text.at(units).isHighSurrogate() && units + 1 < text.size() &&
                     text.at(units + 1).isLowSurrogate()
                 ? 2
                 : 1;
  return text.left(units);
}

QString Quoted(const QString& text) {
  return QLatin1Char('"') + LeftCharacters(text, kEntryTextLength) + QLatin1Char('"');
}

// "[N] ..." as the drop-down lists a record; empty for a record of no known kind.
QString Entry(int number, const GridRecord& r, const FileGridModel& master,
              const FileGridModel& source) {
  // Put together piece by piece: a large comparison lists tens of thousands of entries.
  const QString n = QLatin1Char('[') + QString::number(number) + QStringLiteral("] ");
  auto text = [](const FileGridModel& grid, long line) {
    // Enough of the line for the entry, however long the line is.
    return line >= 1 && line < grid.GridRowCount()
               ? grid.LineText(static_cast<int>(line), 2 * kEntryTextLength + 2)
               : QString();
  };
  switch (r.changeType) {
    case 'a':
    case 'd': {
      const bool added = r.changeType == 'a';
      const long k = added ? r.sourceEnd - r.sourceStart + 1 : r.masterEnd - r.masterStart + 1;
      return n + (added ? QStringLiteral("Addition of ") : QStringLiteral("Deletion of ")) +
             QString::number(k) +
             (k > 1 ? QStringLiteral(" lines at line (") : QStringLiteral(" line at line (")) +
             QString::number(r.masterStart) + QStringLiteral(") : ") +
             Quoted(added ? text(source, r.sourceStart) : text(master, r.masterStart));
    }
    case 'c': {
      const long k = std::max(r.masterEnd - r.masterStart, r.sourceEnd - r.sourceStart) + 1;
      return n + QString::number(k) +
             (k > 1 ? QStringLiteral(" changes at line (") : QStringLiteral(" change at line (")) +
             QString::number(r.masterStart) + QStringLiteral(") :") +
             Quoted(text(master, r.masterStart));
    }
    default: return {};
  }
}

// What the status bar says of change `change`.
QString ChangeStatus(int change, const GridRecord& r) {
  const QString n = QStringLiteral("[%1] ").arg(change);
  auto lines = [](long count) {
    return QString::number(count) +
           (count == 1 ? QStringLiteral(" line at line: ") : QStringLiteral(" lines at line: "));
  };
  switch (r.changeType) {
    case 'c': return n + QStringLiteral("Change at line: ") + QString::number(r.masterStart);
    case 'd':
      return n + QStringLiteral("Deletion of ") + lines(r.masterEnd - r.masterStart + 1) +
             QString::number(r.masterStart);
    case 'a':
      return n + QStringLiteral("Addition of ") + lines(r.sourceEnd - r.sourceStart + 1) +
             QString::number(r.masterStart);
    default: return {};
  }
}

// One line of context above a change, unless it starts at a file's first line.
int ContextOffset(const GridRecord& r) { return r.masterStart == 1 || r.sourceStart == 1 ? 0 : 1; }

// True when a change is found by its source lines (they are not fewer than the master's).
bool FoundBySource(const GridRecord& r) {
  return r.changeType == 'a' ||
         (r.changeType == 'c' && r.masterEnd - r.masterStart <= r.sourceEnd - r.sourceStart);
}

}  // namespace

void CompareFilesWindow::ConnectNavigation() {
  struct Button {
    QAction** action;
    const char* key;
    const char* tip;
    void (CompareFilesWindow::*move)();
  };
  const Button buttons[] = {
      {&cmdFirst_, "cmdFirst", "First Difference", &CompareFilesWindow::MoveFirst},
      {&cmdPrevious_, "cmdPrevious", "Previous Difference (Shift+F7)",
       &CompareFilesWindow::MovePrevious},
      {&cmdNext_, "cmdNext", "Next Difference (F7)", &CompareFilesWindow::MoveNext},
      {&cmdLast_, "cmdLast", "Last Difference", &CompareFilesWindow::MoveLast},
      {&cmdGoTo_, "cmdGoTo", "Go To Difference (F4)", &CompareFilesWindow::GoToChange},
  };
  QAction* before = Toolbar1_->actions().isEmpty() ? nullptr : Toolbar1_->actions().first();
  for (const Button& b : buttons) {
    auto* action = new QAction(QString::fromUtf8(b.tip), Toolbar1_);
    action->setObjectName(QString::fromUtf8(b.key));
    Toolbar1_->insertAction(before, action);
    *b.action = action;
    auto move = b.move;
    connect(action, &QAction::triggered, this, [this, move] { ToolbarMove(move); });
  }
  Toolbar1_->insertSeparator(before);
  SetNavigationButtons();

  // These keys work whichever control of the window has the focus.
  auto shortcut = [this](const QKeySequence& keys, void (CompareFilesWindow::*move)()) {
    auto* s = new QShortcut(keys, this);
    s->setContext(Qt::WidgetWithChildrenShortcut);
    connect(s, &QShortcut::activated, this, move);
  };
  shortcut(QKeySequence(Qt::Key_F7), &CompareFilesWindow::MoveNext);
  shortcut(QKeySequence(Qt::SHIFT | Qt::Key_F7), &CompareFilesWindow::MovePrevious);
  shortcut(QKeySequence(Qt::Key_F4), &CompareFilesWindow::GoToChange);
  shortcut(QKeySequence(Qt::ALT | Qt::Key_Down), &CompareFilesWindow::MoveNextChange);
  shortcut(QKeySequence(Qt::ALT | Qt::Key_Up), &CompareFilesWindow::MovePreviousChange);

  // A choice moves even when it names the entry already selected: the user comes back
  // to that change after scrolling away or stepping inside it.
  connect(cmboChangeListing_, &QComboBox::activated, this,
          &CompareFilesWindow::cmboChangeListing_Click);
}

void CompareFilesWindow::ToolbarMove(void (CompareFilesWindow::*move)()) {
  if (!settings_.showReportOnly) (this->*move)();
}

// --- The drop-down -------------------------------------------------------------------------

void CompareFilesWindow::UpdateNavigationalDropDownListBox() {
  // Runs before the padding, while grid row n is still line n of the file.
  const long count = lindrel1_->FileCompareResultsCount();
  QStringList entries;
  for (long index = count - 1; index >= 0; --index) {
    GridRecord r;
    if (!lindrel1_->FileCompareResultsGet(index, r.changeType, r.masterStart, r.masterEnd,
                                          r.sourceStart, r.sourceEnd))
      break;
    QString entry = Entry(static_cast<int>(index + 1), r, masterModel_, sourceModel_);
    if (!entry.isEmpty()) entries.prepend(entry);
  }
  dropDownSync_ = true;
  cmboChangeListing_->clear();
  cmboChangeListing_->addItems(entries);
  dropDownSync_ = false;
}

void CompareFilesWindow::cmboChangeListing_Click(int index) {
  if (dropDownSync_ || index < 0) return;
  currentChange_ = index + 1;
  if (currentChange_ >= 1) MoveToChange(false);
}

// --- Moves -----------------------------------------------------------------------------------

void CompareFilesWindow::MoveFirst() {
  currentChange_ = 1;
  MoveToChange(true);
}

void CompareFilesWindow::MoveLast() {
  const long count = lindrel1_->FileCompareResultsCount();
  if (count == 0) return;
  currentChange_ = static_cast<int>(count);
  MoveToChange(true);
}

void CompareFilesWindow::MoveNext() {
  const long count = lindrel1_->FileCompareResultsCount();
  if (count < 1) return;
  const int row = msfgMaster_->CurrentRow();
  if (row >= masterModel_.GridRowCount() - 1) return;
  // Inside a change the rows are visited one by one before moving on.
  msfgMaster_->SetCurrentRow(row + 1);
  if (masterModel_.IsDifferenceRow(row + 1)) {
    if (AllInOneShown()) msfgAllInOne_->SetCurrentRow(msfgAllInOne_->CurrentRow() + 1);
    mnuShowDetail_Click();
    return;
  }
  currentChange_ = std::min(currentChange_ + 1, static_cast<int>(count));
  MoveToChange(true);
}

void CompareFilesWindow::MovePrevious() {
  const long count = lindrel1_->FileCompareResultsCount();
  if (count < 1) return;
  const int row = msfgMaster_->CurrentRow();
  if (row == 0) return;
  if (row - 1 >= 1) msfgMaster_->SetCurrentRow(row - 1);
  if (masterModel_.IsDifferenceRow(row - 1)) {
    if (AllInOneShown()) msfgAllInOne_->SetCurrentRow(std::max(msfgAllInOne_->CurrentRow() - 1, 1));
    mnuShowDetail_Click();
    return;
  }
  currentChange_ = std::max(currentChange_ - 1, 1);
  MoveToChange(true);
}

void CompareFilesWindow::MoveNextChange() {
  const long count = lindrel1_->FileCompareResultsCount();
  if (count < 1) return;
  // Past the last change it stays there, as Next does.
  currentChange_ = std::clamp(currentChange_ + 1, 1, static_cast<int>(count));
  MoveToChange(true);
}

void CompareFilesWindow::MovePreviousChange() {
  const long count = lindrel1_->FileCompareResultsCount();
  if (count < 1) return;
  currentChange_ = std::clamp(currentChange_ - 1, 1, static_cast<int>(count));
  MoveToChange(true);
}

void CompareFilesWindow::GoToChange() {
  GoToDialog dialog(this);
  dialog.SetText(QString::number(currentChange_));
  widgets::ExecModal(dialog);
  if (dialog.Cancelled()) return;
  bool whole = false;
  const int n = dialog.Text().trimmed().toInt(&whole);
  // Anything but a whole number in range leaves the position where it is.
  if (!whole) return;
  const long count = lindrel1_->FileCompareResultsCount();
  if (n > 0 && n < count + 1) {
    currentChange_ = n;
    MoveToChange(true);
  }
}

// --- Showing a change -----------------------------------------------------------------------

void CompareFilesWindow::MoveToChange(bool syncDropDown) {
  // Without rows for the records (report-only mode, a file that could not be shown)
  // there is nothing to move to.
  if (settings_.showReportOnly || currentChange_ < 1 || recordRows_.empty()) return;
  if (syncDropDown) {
    dropDownSync_ = true;
    cmboChangeListing_->setCurrentIndex(currentChange_ - 1);
    dropDownSync_ = false;
  }
  if (!AllInOneShown())
    ShowChangeInGrids();
  else
    ShowChangeInAllInOneGrid();
}

bool CompareFilesWindow::ReadRecord(int change, GridRecord& r) {
  return lindrel1_->FileCompareResultsGet(change - 1, r.changeType, r.masterStart, r.masterEnd,
                                          r.sourceStart, r.sourceEnd);
}

void CompareFilesWindow::ColorChangeRows(int change, RowBack back) {
  if (change < 1 || change > static_cast<int>(recordRows_.size())) return;
  const RecordRows& rows = recordRows_[static_cast<size_t>(change - 1)];
  // Both views are painted: the one not on screen would otherwise keep an older current
  // change and show two of them once the user switches back to it.
  masterModel_.SetRowsBack(rows.masterFirst, rows.count, back);
  sourceModel_.SetRowsBack(rows.sourceFirst, rows.count, back);
  if (allInOneModel_.IsBuilt()) allInOneModel_.SetRowsBack(rows.masterFirst, rows.count, back);
}

int CompareFilesWindow::FindRow(const ComparisonGrid* grid, int column, long line) const {
  if (grid == msfgAllInOne_)
    return column == AllInOneModel::kSourceNumberColumn ? sourceModel_.RowOfLine(line)
                                                        : masterModel_.RowOfLine(line);
  return grid == msfgSource_ ? sourceModel_.RowOfLine(line) : masterModel_.RowOfLine(line);
}

void CompareFilesWindow::ShowChangeInGrids() {
  GridRecord r;
  if (!ReadRecord(currentChange_, r)) return;
  SetGridsRedraw(false);
  ColorChangeRows(previousCurrentChange_, RowBack::Change);
  ColorChangeRows(currentChange_, RowBack::CurrentChange);
  SetStatus(2, QString::number(currentChange_));
  const int row = FoundBySource(r) ? FindRow(msfgSource_, 0, r.sourceStart)
                                   : FindRow(msfgMaster_, 0, r.masterStart);
  const int top = row - ContextOffset(r);
  // A change scrolls both grids; a deletion or an addition scrolls its own side, which
  // the other follows.
  if (r.changeType == 'c' || r.changeType == 'd') msfgMaster_->SetTopRow(top);
  if (r.changeType == 'c' || r.changeType == 'a') msfgSource_->SetTopRow(top);
  if (const QString status = ChangeStatus(currentChange_, r); !status.isEmpty())
    SetStatus(3, status);
  // The change's first row becomes the current row, where stepping through it starts.
  if (row > 0) {
    msfgMaster_->SetCurrentRow(row);
    msfgSource_->SetCurrentRow(row);
  }
  SetGridsRedraw(true);
  previousCurrentChange_ = currentChange_;
  map_->SetCurrent(currentChange_);
  SetNavigationButtons();
  HighlightParagraphChangesRTF(true);
}

void CompareFilesWindow::ShowChangeInAllInOneGrid() {
  GridRecord r;
  if (!ReadRecord(currentChange_, r)) return;
  msfgAllInOne_->SetRedraw(false);
  ColorChangeRows(previousCurrentChange_, RowBack::Change);
  ColorChangeRows(currentChange_, RowBack::CurrentChange);
  SetStatus(2, QString::number(currentChange_));
  const int row = FoundBySource(r)
                      ? FindRow(msfgAllInOne_, AllInOneModel::kSourceNumberColumn, r.sourceStart)
                      : FindRow(msfgAllInOne_, AllInOneModel::kMasterNumberColumn, r.masterStart);
  msfgAllInOne_->SetTopRow(row - ContextOffset(r));
  if (const QString status = ChangeStatus(currentChange_, r); !status.isEmpty())
    SetStatus(3, status);
  if (row > 0) msfgAllInOne_->SetCurrentRow(row);
  msfgAllInOne_->SetRedraw(true);
  previousCurrentChange_ = currentChange_;
  map_->SetCurrent(currentChange_);
  SetNavigationButtons();
  HighlightParagraphChangesRTFAllInOne();
}

// --- Button images ---------------------------------------------------------------------------

void CompareFilesWindow::SetButtonImage(QAction* button, int imageIndex) {
  if (button == nullptr) return;
  button->setIcon(NavigationPicture(imageIndex));
  button->setProperty(kImageProperty, imageIndex);
}

int CompareFilesWindow::NavigationImage(const QString& key) const {
  for (QAction* button : {cmdFirst_, cmdPrevious_, cmdNext_, cmdLast_, cmdGoTo_}) {
    if (button != nullptr && button->objectName() == key)
      return button->property(kImageProperty).toInt();
  }
  return 0;
}

void CompareFilesWindow::SetNavigationButtons() {
  const long count = lindrel1_->FileCompareResultsCount();
  // The buttons stay enabled; their pictures say whether a move makes sense.
  std::array<int, 5> images{1, 2, 3, 4, 5};
  if (count < 1)
    images = {8, 9, 10, 11, 12};
  else if (currentChange_ == 1)
    images = {8, 9, 3, 4, 5};
  else if (currentChange_ == count)
    images = {1, 2, 10, 11, 5};
  const std::array<QAction*, 5> buttons{cmdFirst_, cmdPrevious_, cmdNext_, cmdLast_, cmdGoTo_};
  for (size_t i = 0; i < buttons.size(); ++i) SetButtonImage(buttons[i], images[i]);
}

// --- The typing overlay ------------------------------------------------------------------------

void CompareFilesWindow::PlaceOverlay(QTextEdit* overlay, ComparisonGrid* grid, int gridRow) {
  const QRect cell = grid->visualRect(grid->model()->index(gridRow - 1, 1));
  const int dpi = grid->logicalDpiX() > 0 ? grid->logicalDpiX() : 96;
  overlay->setGeometry(cell.left(), cell.top(), cell.width() + 8 * dpi / 1440, cell.height());
}

void CompareFilesWindow::MSFlexGridEdit(ComparisonGrid* grid, QTextEdit* overlay,
                                        const QString& typed) {
  const int row = grid->CurrentRow();
  if (row < 1) return;
  grid->SetCurrentRow(row);
  overlay->setParent(grid->viewport());
  const FileGridModel& model = grid == msfgMaster_ ? masterModel_ : sourceModel_;
  if (!typed.isEmpty()) {
    overlay->setPlainText(typed);
    overlay->moveCursor(QTextCursor::End);
  } else {
    const qsizetype limit = DetailCharacters(grid, FileGridModel::kTextColumn);
    const QString text = model.LineText(row, limit + 1);
    QString shown = text.left(limit);
    if (!shown.isEmpty() && shown.back().isHighSurrogate()) shown.chop(1);
    overlay->setPlainText(shown);
    overlay->selectAll();
    if (text.size() > limit) TellDetailCut(limit);
  }
  PlaceOverlay(overlay, grid, row);
  overlay->show();
  overlay->raise();
  overlay->setFocus();
}

bool CompareFilesWindow::EditKeyCode(ComparisonGrid* grid, QTextEdit* overlay, QKeyEvent* key) {
  switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: grid->setFocus(); return true;
    case Qt::Key_Escape:
      overlay->hide();
      grid->setFocus();
      return true;
    case Qt::Key_Up:
      grid->setFocus();
      if (grid->CurrentRow() > 1) grid->SetCurrentRow(grid->CurrentRow() - 1);
      return true;
    case Qt::Key_Down:
      grid->setFocus();
      if (grid->CurrentRow() < grid->model()->rowCount())
        grid->SetCurrentRow(grid->CurrentRow() + 1);
      return true;
    default: return false;
  }
}

}  // namespace lindrel::demo
