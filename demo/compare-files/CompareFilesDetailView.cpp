// The Compare Files window's word-level detail view: the words of one row that differ,
// marked in text boxes laid over the row. The words are compared by the window's second
// component, Lindrel2, on two word files (one word per file line) in the per-process
// scratch directory, so the records of Lindrel1 stay untouched.
#include <QHeaderView>
#include <QKeyEvent>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>

#include <cmath>
#include <cstdio>

#include "demo/common/FileNames.h"
#include "demo/common/Palette.h"
#include "demo/common/UiTiming.h"
#include "demo/compare-files/CompareFilesWindow.h"
#include "demo/compare-files/ComparisonGrid.h"
#include "demo/compare-files/ParagraphWords.h"
#include "demo/compare-files/WrappedLineCounter.h"
#include "lindrel/widgets/LindrelWidget.h"
#include "platform/ScratchDirectory.h"

namespace lindrel::demo {
namespace {

constexpr double kEnlargement = 1.15;

// The most of a line that the detail view and the typing overlay hold. A text box lays
// out a long line in more than linear time (seconds for a million characters) and the
// words are compared on the GUI thread; a box over one row shows far fewer anyway.
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

using palette::kAddedWords;
using palette::kChangedWords;
using palette::kDeletedWords;

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

// Runs `count` records of `lindrel2` from the last to the first through `visit`.
template <typename Visit>
void VisitWordRecords(widgets::LindrelWidget* lindrel2, Visit visit) {
  const long count = lindrel2->FileCompareResultsCount();
  for (long index = count - 1; index >= 0; --index) {
    GridRecord r;
    if (!lindrel2->FileCompareResultsGet(index, r.changeType, r.masterStart, r.masterEnd,
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

}  // namespace

// Compares the words of `masterText` with those of `sourceText` through Lindrel2; false
// (with the reason in the status bar) when the word files cannot be written.
static bool CompareWords(widgets::LindrelWidget* lindrel1, widgets::LindrelWidget* lindrel2,
                         const QString& masterText, const QString& sourceText, QString* problem) {
  const std::optional<std::string> scratch = platform::ScratchDirectory();
  if (!scratch) {
    *problem = QStringLiteral("No place for the word files of the detail view");
    return false;
  }
  const QString directory = FileNameFromBytes(*scratch);
  const QString master = directory + QStringLiteral("/cf_master.TXT");
  const QString source = directory + QStringLiteral("/cf_source.TXT");
  if (!WriteFile(master, ParagraphWords(masterText).WordFile()) ||
      !WriteFile(source, ParagraphWords(sourceText).WordFile())) {
    *problem = QStringLiteral("Cannot write the word files of the detail view in ") +
               ShownFileName(directory);
    return false;
  }
  lindrel2->Control().SetFileMaster(FileNameToStd(master));
  lindrel2->Control().SetFileSource(FileNameToStd(source));
  lindrel2->SetFileIgnoreCase(lindrel1->GetFileIgnoreCase());
  lindrel2->SetFileIgnoreWhiteSpace(lindrel1->GetFileIgnoreWhiteSpace());
  lindrel2->SetFileIgnoreEmptyLines(false);
  lindrel2->SetThreadPriority(lindrel1->GetThreadPriority());
  return lindrel2->FileCompareBeginSynchronous();
}

void CompareFilesWindow::mnuShowDetail_Click() {
  if (AllInOneShown()) {
    msfgAllInOne_->setFocus();
    HighlightParagraphChangesRTFAllInOne();
  } else {
    msfgMaster_->setFocus();
    HighlightParagraphChangesRTF(true);
  }
}

qsizetype CompareFilesWindow::DetailCharacters(const ComparisonGrid* grid, int textColumn) const {
  const QSize box(grid->TextWidthIn(grid->columnWidth(textColumn)), grid->MaxRowHeight());
  return std::min(grid->CharactersShownIn(box), kDetailCharacters);
}

void CompareFilesWindow::TellDetailCut(qsizetype shown) {
  SetStatus(3,
            QStringLiteral("Only the first %1 characters of this row are shown here").arg(shown));
}

void CompareFilesWindow::HideDetailViews() {
  for (QTextEdit* box : {rtbMaster_, rtbSource_, rtbAllInOne_}) {
    if (box != nullptr) box->hide();
  }
}

void CompareFilesWindow::HighlightParagraphChangesRTF(bool clickedMaster) {
  if (masterModel_.GridRowCount() <= 1) return;  // header only
  ComparisonGrid* clicked = clickedMaster ? msfgMaster_ : msfgSource_;
  ComparisonGrid* other = clickedMaster ? msfgSource_ : msfgMaster_;
  const int row = clicked->CurrentRow();
  if (row < 1) return;
  ShowBusyPointer(true);
  other->SetCurrentRow(row);
  const qsizetype limit = DetailCharacters(msfgMaster_, FileGridModel::kTextColumn);
  const auto [masterText, sourceText, cut] = TextsOfRow(masterModel_, sourceModel_, row, limit);
  SetPlain(rtbMaster_, masterText);
  SetPlain(rtbSource_, sourceText);

  QString problem;
  if (CompareWords(lindrel1_, lindrel2_, masterText, sourceText, &problem)) {
    const ParagraphWords masterWords(masterText), sourceWords(sourceText);
    // One edit of each document: laid out once, not once per mark.
    EditBlock masterEdit(rtbMaster_), sourceEdit(rtbSource_);
    VisitWordRecords(lindrel2_, [&](const GridRecord& r) {
      switch (r.changeType) {
        case 'a':
          MarkWords(rtbSource_, sourceWords, r.sourceStart, r.sourceEnd,
                    {kAddedWords, true, false});
          break;
        case 'd':
          MarkWords(rtbMaster_, masterWords, r.masterStart, r.masterEnd,
                    {kDeletedWords, true, false});
          break;
        case 'c':
          MarkWords(rtbMaster_, masterWords, r.masterStart, r.masterEnd,
                    {kChangedWords, true, false});
          MarkWords(rtbSource_, sourceWords, r.sourceStart, r.sourceEnd,
                    {kChangedWords, true, false});
          break;
      }
    });
  } else if (!problem.isEmpty()) {
    SetStatus(3, problem);
  }
  if (cut && problem.isEmpty()) TellDetailCut(limit);
  ResetCaret(rtbMaster_);
  ResetCaret(rtbSource_);

  // Only the row on view is enlarged; the one before gets its height back.
  if (enlargedRow_ > 0 && enlargedRow_ < masterModel_.GridRowCount()) {
    msfgMaster_->setRowHeight(enlargedRow_ - 1, enlargedRowHeight_);
    msfgSource_->setRowHeight(enlargedRow_ - 1, enlargedRowHeight_);
  }
  enlargedRow_ = row;
  enlargedRowHeight_ = msfgMaster_->SizedRowHeight(row);
  const int enlarged = static_cast<int>(std::lround(enlargedRowHeight_ * kEnlargement));
  msfgMaster_->setRowHeight(row - 1, enlarged);
  msfgSource_->setRowHeight(row - 1, enlarged);

  PlaceOverlay(rtbMaster_, msfgMaster_, row);
  PlaceOverlay(rtbSource_, msfgSource_, row);
  rtbMaster_->show();
  rtbSource_->show();
  rtbMaster_->raise();
  rtbSource_->raise();
  (clickedMaster ? rtbMaster_ : rtbSource_)->setFocus();
  ShowBusyPointer(false);
}

void CompareFilesWindow::HighlightParagraphChangesRTFAllInOne() {
  const int row = msfgAllInOne_->CurrentRow();
  if (row < 1 || allInOneModel_.GridRowCount() <= 1) return;
  ShowBusyPointer(true);
  msfgMaster_->SetCurrentRow(row);
  msfgSource_->SetCurrentRow(row);
  // The box holds both lines' words when they differ: half the room for each.
  const qsizetype limit = DetailCharacters(msfgAllInOne_, AllInOneModel::kTextColumn) / 2;
  const auto [masterText, sourceText, cut] = TextsOfRow(masterModel_, sourceModel_, row, limit);
  SetPlain(rtbMaster_, masterText);
  SetPlain(rtbSource_, sourceText);
  SetPlain(rtbAllInOne_, sourceText);

  QString problem;
  if (CompareWords(lindrel1_, lindrel2_, masterText, sourceText, &problem)) {
    const ParagraphWords masterWords(masterText), sourceWords(sourceText);
    EditBlock edit(rtbAllInOne_);
    // From the last record to the first: what is inserted for a record stands after the
    // words of every record still to come.
    VisitWordRecords(lindrel2_, [&](const GridRecord& r) {
      switch (r.changeType) {
        case 'a':
          MarkWords(rtbAllInOne_, sourceWords, r.sourceStart, r.sourceEnd,
                    {kAddedWords, true, false});
          break;
        case 'd':
          // The removed words go after the source word they followed.
          InsertMarked(
              rtbAllInOne_, sourceWords.After(static_cast<int>(r.sourceStart)),
              masterWords.Text(static_cast<int>(r.masterStart), static_cast<int>(r.masterEnd)),
              {kDeletedWords, false, true});
          break;
        case 'c':
          MarkWords(rtbAllInOne_, sourceWords, r.sourceStart, r.sourceEnd,
                    {kChangedWords, true, false});
          // The words they replace go just before the new ones.
          InsertMarked(
              rtbAllInOne_, sourceWords.Before(static_cast<int>(r.sourceStart)),
              masterWords.Text(static_cast<int>(r.masterStart), static_cast<int>(r.masterEnd)),
              {kChangedWords, false, true});
          break;
      }
    });
  } else if (!problem.isEmpty()) {
    SetStatus(3, problem);
  }
  if (cut && problem.isEmpty()) TellDetailCut(limit);
  ResetCaret(rtbAllInOne_);

  if (enlargedAllInOneRow_ > 0 && enlargedAllInOneRow_ < allInOneModel_.GridRowCount())
    msfgAllInOne_->setRowHeight(enlargedAllInOneRow_ - 1, enlargedAllInOneRowHeight_);
  enlargedAllInOneRow_ = row;
  enlargedAllInOneRowHeight_ = msfgAllInOne_->SizedRowHeight(row);
  // The row takes the height of the overlay's text, which holds the removed words too.
  WrappedLineCounter counter(
      msfgAllInOne_->font(),
      msfgAllInOne_->TextWidthIn(msfgAllInOne_->columnWidth(AllInOneModel::kTextColumn)));
  const int fitted = std::min(msfgAllInOne_->RowHeightFor(counter.Lines(
                                  rtbAllInOne_->toPlainText(), msfgAllInOne_->MaxRowLines())),
                              msfgAllInOne_->MaxRowHeight());
  msfgAllInOne_->setRowHeight(row - 1, std::max(fitted, enlargedAllInOneRowHeight_));

  PlaceOverlay(rtbAllInOne_, msfgAllInOne_, row);
  rtbAllInOne_->show();
  rtbAllInOne_->raise();
  ShowBusyPointer(false);
}

}  // namespace lindrel::demo
