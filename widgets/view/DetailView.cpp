#include "widgets/view/DetailView.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>

#include <cmath>
#include <cstdio>

#include "lindrel/widgets/FileNames.h"
#include "lindrel/widgets/LindrelWidget.h"
#include "widgets/view/BusyPointer.h"
#include "widgets/view/ComparisonGrid.h"
#include "widgets/view/GridSet.h"
#include "widgets/view/ParagraphWords.h"
#include "widgets/view/WrappedLineCounter.h"

namespace lindrel::widgets {
namespace {

constexpr double kEnlargement = 1.15;

// The most of a line that the boxes hold. A text box lays out a long line in more than
// linear time (seconds for a million characters) and the words are compared on the GUI
// thread; a box over one row shows far fewer anyway.
constexpr qsizetype kDetailCharacters = 10000;

// `text` cut to `limit` characters, a surrogate pair never split.
QString Cut(QString text, qsizetype limit) {
  if (text.size() <= limit) return text;
  if (limit > 0 && text[limit - 1].isHighSurrogate()) --limit;
  text.truncate(limit);
  return text;
}

struct RowTexts {
  QString master;
  QString source;
  bool cut;  // either was longer than the limit
};

// The texts of grid row `row` on both sides, each cut to `limit` characters.
RowTexts TextsOfRow(const FileGridModel& master, const FileGridModel& source, int row,
                    qsizetype limit) {
  const QString fullMaster =
      row < master.GridRowCount() ? master.LineText(row, limit + 1) : QString();
  const QString fullSource =
      row < source.GridRowCount() ? source.LineText(row, limit + 1) : QString();
  RowTexts texts{Cut(fullMaster, limit), Cut(fullSource, limit), false};
  texts.cut = texts.master.size() < fullMaster.size() || texts.source.size() < fullSource.size();
  return texts;
}

struct Mark {
  QColor colour;
  bool underline = false;
  bool strikeOut = false;
};

QTextCharFormat FormatOf(const Mark& mark) {
  QTextCharFormat format;
  format.setForeground(mark.colour);
  format.setFontWeight(QFont::Bold);
  format.setFontUnderline(mark.underline);
  format.setFontStrikeOut(mark.strikeOut);
  return format;
}

// Plain text in the box's own text colour: the marks stand out and every word stays
// readable whatever the box's background.
void SetPlain(QTextEdit* box, const QString& text) {
  box->setPlainText(text);
  QTextCursor all(box->document());
  all.select(QTextCursor::Document);
  QTextCharFormat plain;
  plain.setForeground(box->palette().color(QPalette::Text));
  plain.setFontWeight(QFont::Normal);
  plain.setFontUnderline(false);
  plain.setFontStrikeOut(false);
  all.setCharFormat(plain);
}

// Marks words first..last of `words` (the box's text); nothing when either is missing.
void MarkWords(QTextEdit* box, const ParagraphWords& words, long first, long last,
               const Mark& mark) {
  if (!words.Has(static_cast<int>(first)) || !words.Has(static_cast<int>(last)) || last < first)
    return;
  QTextCursor cursor(box->document());
  cursor.setPosition(words.Range(static_cast<int>(first)).begin);
  cursor.setPosition(words.Range(static_cast<int>(last)).end, QTextCursor::KeepAnchor);
  cursor.mergeCharFormat(FormatOf(mark));
}

void InsertMarked(QTextEdit* box, int position, const QString& text, const Mark& mark) {
  if (text.isEmpty()) return;
  QTextCursor cursor(box->document());
  cursor.setPosition(std::min(position, box->document()->characterCount() - 1));
  cursor.insertText(text, FormatOf(mark));
}

// Groups the changes made to a box's document while it lives into one edit.
class EditBlock {
 public:
  explicit EditBlock(QTextEdit* box) : cursor_(box->document()) { cursor_.beginEditBlock(); }
  ~EditBlock() { cursor_.endEditBlock(); }
  EditBlock(const EditBlock&) = delete;
  EditBlock& operator=(const EditBlock&) = delete;

 private:
  QTextCursor cursor_;
};

void ResetCaret(QTextEdit* box) {
  QTextCursor start(box->document());
  box->setTextCursor(start);
}

// Runs the records of `words` from the last to the first through `visit`.
template <typename Visit>
void VisitWordRecords(LindrelWidget* words, Visit visit) {
  const long count = words->FileCompareResultsCount();
  for (long index = count - 1; index >= 0; --index) {
    GridRecord r;
    if (!words->FileCompareResultsGet(index, r.changeType, r.masterStart, r.masterEnd,
                                      r.sourceStart, r.sourceEnd))
      break;
    visit(r);
  }
}

bool WriteFile(const QString& path, const QByteArray& content) {
  std::FILE* file = std::fopen(FileNameToBytes(path).constData(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(content.constData(), 1, static_cast<size_t>(content.size()),
                                   file) == static_cast<size_t>(content.size());
  return std::fclose(file) == 0 && written;
}

bool TypedCharacter(const QKeyEvent* key) {
  const QString text = key->text();
  return !text.isEmpty() && key->key() != Qt::Key_Escape && key->key() != Qt::Key_Tab &&
         key->key() != Qt::Key_Backtab &&
         !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

}  // namespace

DetailView::~DetailView() = default;

DetailView::DetailView(GridSet& grids, std::function<LindrelWidget*()> component,
                       std::function<void(const QString&)> notice, QObject* parent)
    : QObject(parent), grids_(grids), component_(std::move(component)), notice_(std::move(notice)) {
  master_ = MakeBox("rtbMaster", grids_.Master());
  source_ = MakeBox("rtbSource", grids_.Source());
  allInOne_ = MakeBox("rtbAllInOne", grids_.AllInOneGrid());
  master_->setAccessibleName(QStringLiteral("Master line, the words that differ marked"));
  source_->setAccessibleName(QStringLiteral("Source line, the words that differ marked"));
  allInOne_->setAccessibleName(QStringLiteral("Both lines, the words that differ marked"));
  for (ComparisonGrid* grid : {grids_.Master(), grids_.Source()}) {
    grid->installEventFilter(this);
    connect(grid, &QAbstractItemView::doubleClicked, this,
            [this, grid] { ShowSideBySide(grid == grids_.Master()); });
    // Leaving the current cell hides what lies over it.
    connect(grid->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
      master_->hide();
      source_->hide();
    });
  }
  connect(grids_.AllInOneGrid(), &QAbstractItemView::doubleClicked, this,
          &DetailView::ShowAllInOne);
  connect(grids_.AllInOneGrid()->selectionModel(), &QItemSelectionModel::currentChanged, allInOne_,
          &QWidget::hide);
}

QTextEdit* DetailView::MakeBox(const char* name, ComparisonGrid* grid) {
  auto* box = new QTextEdit(grid->viewport());
  box->setObjectName(QString::fromUtf8(name));
  box->setAcceptRichText(false);
  // As tight as the cell it covers: no frame or margin that would push the text out.
  box->setFrameShape(QFrame::NoFrame);
  box->document()->setDocumentMargin(2);
  box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  box->setFont(grid->font());
  // Files dropped on a row are meant for the grid below, not for the text in the box.
  box->setAcceptDrops(false);
  box->viewport()->setAcceptDrops(false);
  // Over its row, not a stop of its own: Tab goes on from the grid below (eventFilter).
  box->setFocusPolicy(Qt::ClickFocus);
  box->setTabChangesFocus(true);
  box->hide();
  box->installEventFilter(this);
  return box;
}

void DetailView::SetWordComponent(LindrelWidget* words) {
  if (ownWords_ && words_ != nullptr && words_ != words) delete words_.data();
  words_ = words;
  ownWords_ = false;
}

LindrelWidget* DetailView::Words() {
  if (words_ == nullptr) {
    // A component of the view's own, placed on it and never shown.
    auto* owner = qobject_cast<QWidget*>(parent());
    words_ = new LindrelWidget(owner, QStringLiteral("LINDREL_VIEW_WORDS"));
    words_->setObjectName(QStringLiteral("viewWords"));
    words_->hide();
    ownWords_ = true;
  }
  return words_;
}

bool DetailView::CompareWords(const QString& masterText, const QString& sourceText,
                              QString* problem) {
  LindrelWidget* component = component_();
  if (component == nullptr) return false;
  // The word files are rewritten for every row, in a folder of the view's own under
  // $TMPDIR that goes with the view.
  if (scratch_ == nullptr) scratch_ = std::make_unique<QTemporaryDir>();
  if (!scratch_->isValid()) {
    *problem = QStringLiteral("No place for the word files of the detail view");
    return false;
  }
  const QString directory = FileNameFromBytes(QFile::encodeName(scratch_->path()));
  const QString master = directory + QStringLiteral("/cf_master.TXT");
  const QString source = directory + QStringLiteral("/cf_source.TXT");
  if (!WriteFile(master, ParagraphWords(masterText).WordFile()) ||
      !WriteFile(source, ParagraphWords(sourceText).WordFile())) {
    *problem = QStringLiteral("Cannot write the word files of the detail view in ") +
               ShownFileName(directory);
    return false;
  }
  LindrelWidget* words = Words();
  words->Control().SetFileMaster(FileNameToStd(master));
  words->Control().SetFileSource(FileNameToStd(source));
  words->SetFileIgnoreCase(component->GetFileIgnoreCase());
  words->SetFileIgnoreWhiteSpace(component->GetFileIgnoreWhiteSpace());
  words->SetFileIgnoreEmptyLines(false);
  words->SetThreadPriority(component->GetThreadPriority());
  return words->FileCompareBeginSynchronous();
}

qsizetype DetailView::Characters(const ComparisonGrid* grid, int textColumn) const {
  const QSize box(grid->TextWidthIn(grid->columnWidth(textColumn)), grid->MaxRowHeight());
  return std::min(grid->CharactersShownIn(box), kDetailCharacters);
}

void DetailView::TellCut(qsizetype shown) {
  notice_(QStringLiteral("Only the first %1 characters of this row are shown here").arg(shown));
}

void DetailView::Hide() {
  for (QTextEdit* box : {master_, source_, allInOne_}) box->hide();
}

int DetailView::TakeEnlargedRow(bool allInOne) {
  int& row = allInOne ? enlargedAllInOneRow_ : enlargedRow_;
  return std::exchange(row, 0);
}

void DetailView::ForgetEnlargedRows() {
  enlargedRow_ = 0;
  enlargedAllInOneRow_ = 0;
}

void DetailView::SetFont(const QFont& font) {
  for (QTextEdit* box : {master_, source_, allInOne_}) box->setFont(font);
}

void DetailView::ShowCurrentRow() {
  if (grids_.AllInOne()) {
    grids_.AllInOneGrid()->setFocus();
    ShowAllInOne();
  } else {
    grids_.Master()->setFocus();
    ShowSideBySide(true);
  }
}

void DetailView::ShowSideBySide(bool clickedMaster) {
  const FileGridModel& masterRows = grids_.MasterRows();
  if (masterRows.GridRowCount() <= 1) return;  // header only
  ComparisonGrid* masterGrid = grids_.Master();
  ComparisonGrid* sourceGrid = grids_.Source();
  ComparisonGrid* clicked = clickedMaster ? masterGrid : sourceGrid;
  ComparisonGrid* other = clickedMaster ? sourceGrid : masterGrid;
  const int row = clicked->CurrentRow();
  if (row < 1) return;
  BusyPointer busy;
  other->SetCurrentRow(row);
  const qsizetype limit = Characters(masterGrid, FileGridModel::kTextColumn);
  const auto [masterText, sourceText, cut] =
      TextsOfRow(masterRows, grids_.SourceRows(), row, limit);
  SetPlain(master_, masterText);
  SetPlain(source_, sourceText);

  QString problem;
  if (CompareWords(masterText, sourceText, &problem)) {
    const ParagraphWords masterWords(masterText), sourceWords(sourceText);
    // One edit of each document: laid out once, not once per mark.
    EditBlock masterEdit(master_), sourceEdit(source_);
    VisitWordRecords(words_, [&](const GridRecord& r) {
      switch (r.changeType) {
        case 'a':
          MarkWords(source_, sourceWords, r.sourceStart, r.sourceEnd,
                    {colours_.addedWords, true, false});
          break;
        case 'd':
          MarkWords(master_, masterWords, r.masterStart, r.masterEnd,
                    {colours_.deletedWords, true, false});
          break;
        case 'c':
          MarkWords(master_, masterWords, r.masterStart, r.masterEnd,
                    {colours_.changedWords, true, false});
          MarkWords(source_, sourceWords, r.sourceStart, r.sourceEnd,
                    {colours_.changedWords, true, false});
          break;
      }
    });
  } else if (!problem.isEmpty()) {
    notice_(problem);
  }
  if (cut && problem.isEmpty()) TellCut(limit);
  ResetCaret(master_);
  ResetCaret(source_);

  // Only the row on view is enlarged; the one before gets its height back.
  if (enlargedRow_ > 0 && enlargedRow_ < masterRows.GridRowCount()) {
    masterGrid->setRowHeight(enlargedRow_ - 1, enlargedRowHeight_);
    sourceGrid->setRowHeight(enlargedRow_ - 1, enlargedRowHeight_);
  }
  enlargedRow_ = row;
  enlargedRowHeight_ = masterGrid->SizedRowHeight(row);
  const int enlarged = static_cast<int>(std::lround(enlargedRowHeight_ * kEnlargement));
  masterGrid->setRowHeight(row - 1, enlarged);
  sourceGrid->setRowHeight(row - 1, enlarged);

  Place(master_, masterGrid, row);
  Place(source_, sourceGrid, row);
  master_->show();
  source_->show();
  master_->raise();
  source_->raise();
  (clickedMaster ? master_ : source_)->setFocus();
}

void DetailView::ShowAllInOne() {
  ComparisonGrid* grid = grids_.AllInOneGrid();
  const int row = grid->CurrentRow();
  if (row < 1 || grids_.AllInOneRows().GridRowCount() <= 1) return;
  BusyPointer busy;
  grids_.Master()->SetCurrentRow(row);
  grids_.Source()->SetCurrentRow(row);
  // The box holds both lines' words when they differ: half the room for each.
  const qsizetype limit = Characters(grid, AllInOneModel::kTextColumn) / 2;
  const auto [masterText, sourceText, cut] =
      TextsOfRow(grids_.MasterRows(), grids_.SourceRows(), row, limit);
  SetPlain(master_, masterText);
  SetPlain(source_, sourceText);
  SetPlain(allInOne_, sourceText);

  QString problem;
  if (CompareWords(masterText, sourceText, &problem)) {
    const ParagraphWords masterWords(masterText), sourceWords(sourceText);
    EditBlock edit(allInOne_);
    // From the last record to the first: what is inserted for a record stands after the
    // words of every record still to come.
    VisitWordRecords(words_, [&](const GridRecord& r) {
      switch (r.changeType) {
        case 'a':
          MarkWords(allInOne_, sourceWords, r.sourceStart, r.sourceEnd,
                    {colours_.addedWords, true, false});
          break;
        case 'd':
          // The removed words go after the source word they followed.
          InsertMarked(
              allInOne_, sourceWords.After(static_cast<int>(r.sourceStart)),
              masterWords.Text(static_cast<int>(r.masterStart), static_cast<int>(r.masterEnd)),
              {colours_.deletedWords, false, true});
          break;
        case 'c':
          MarkWords(allInOne_, sourceWords, r.sourceStart, r.sourceEnd,
                    {colours_.changedWords, true, false});
          // The words they replace go just before the new ones.
          InsertMarked(
              allInOne_, sourceWords.Before(static_cast<int>(r.sourceStart)),
              masterWords.Text(static_cast<int>(r.masterStart), static_cast<int>(r.masterEnd)),
              {colours_.changedWords, false, true});
          break;
      }
    });
  } else if (!problem.isEmpty()) {
    notice_(problem);
  }
  if (cut && problem.isEmpty()) TellCut(limit);
  ResetCaret(allInOne_);

  if (enlargedAllInOneRow_ > 0 && enlargedAllInOneRow_ < grids_.AllInOneRows().GridRowCount())
    grid->setRowHeight(enlargedAllInOneRow_ - 1, enlargedAllInOneRowHeight_);
  enlargedAllInOneRow_ = row;
  enlargedAllInOneRowHeight_ = grid->SizedRowHeight(row);
  // The row takes the height of the box's text, which holds the removed words too.
  WrappedLineCounter counter(grid->font(),
                             grid->TextWidthIn(grid->columnWidth(AllInOneModel::kTextColumn)));
  const int fitted =
      std::min(grid->RowHeightFor(counter.Lines(allInOne_->toPlainText(), grid->MaxRowLines())),
               grid->MaxRowHeight());
  grid->setRowHeight(row - 1, std::max(fitted, enlargedAllInOneRowHeight_));

  Place(allInOne_, grid, row);
  allInOne_->show();
  allInOne_->raise();
}

// --- The typing box ------------------------------------------------------------------------------

void DetailView::Place(QTextEdit* box, ComparisonGrid* grid, int gridRow) {
  const QRect cell = grid->visualRect(grid->model()->index(gridRow - 1, 1));
  const int dpi = grid->logicalDpiX() > 0 ? grid->logicalDpiX() : 96;
  box->setGeometry(cell.left(), cell.top(), cell.width() + 8 * dpi / 1440, cell.height());
}

void DetailView::OpenTyping(ComparisonGrid* grid, QTextEdit* box, const QString& typed) {
  const int row = grid->CurrentRow();
  if (row < 1) return;
  grid->SetCurrentRow(row);
  box->setParent(grid->viewport());
  const FileGridModel& model = grid == grids_.Master() ? grids_.MasterRows() : grids_.SourceRows();
  if (!typed.isEmpty()) {
    box->setPlainText(typed);
    box->moveCursor(QTextCursor::End);
  } else {
    const qsizetype limit = Characters(grid, FileGridModel::kTextColumn);
    const QString text = model.LineText(row, limit + 1);
    QString shown = text.left(limit);
    if (!shown.isEmpty() && shown.back().isHighSurrogate()) shown.chop(1);
    box->setPlainText(shown);
    box->selectAll();
    if (text.size() > limit) TellCut(limit);
  }
  Place(box, grid, row);
  box->show();
  box->raise();
  box->setFocus();
}

bool DetailView::TypingKey(ComparisonGrid* grid, QTextEdit* box, QKeyEvent* key) {
  switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: grid->setFocus(); return true;
    case Qt::Key_Escape:
      box->hide();
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

bool DetailView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  // Tab and Shift+Tab in a box go on from the grid it lies over, so that the focus moves
  // in screen order and never stays in the box.
  if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
    for (auto [grid, box] :
         {std::pair{grids_.Master(), master_}, std::pair{grids_.Source(), source_},
          std::pair{grids_.AllInOneGrid(), allInOne_}}) {
      if (watched != box) continue;
      grid->setFocus(Qt::TabFocusReason);
      QKeyEvent again(key->type(), key->key(), key->modifiers(), key->text());
      QCoreApplication::sendEvent(grid, &again);
      return true;
    }
  }
  // A character typed on a side-by-side grid opens the typing box over its cell.
  for (auto [grid, box] :
       {std::pair{grids_.Master(), master_}, std::pair{grids_.Source(), source_}}) {
    if (watched == grid) {
      if (!TypedCharacter(key)) return QObject::eventFilter(watched, event);
      const QString text = key->text();
      OpenTyping(grid, box, text.at(0).unicode() > 32 ? text : QString());
      return true;
    }
    if (watched == box && TypingKey(grid, box, key)) return true;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace lindrel::widgets
