// DetailView: the text boxes a comparison view lays over one row (rtbMaster, rtbSource
// over the side-by-side grids, rtbAllInOne over the all-in-one grid), in which the words
// of the row that differ are marked, and the typing box a character typed on a
// side-by-side grid opens over its current cell.
//
// The words are compared by a second component on two word files (one word per file
// line, cf_master.TXT and cf_source.TXT) in the per-process scratch directory, so the
// records of the view's own component stay untouched. The row under the boxes is
// enlarged by 15% while they lie on it.
//
// Threading: GUI thread only.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

#include "lindrel/widgets/ComparisonPalette.h"

class QFont;
class QKeyEvent;
class QTemporaryDir;
class QTextEdit;

namespace lindrel::widgets {

class ComparisonGrid;
class GridSet;
class LindrelWidget;

class DetailView : public QObject {
  Q_OBJECT

 public:
  // `grids` outlives the view. `component` gives the comparison's options to the word
  // comparison; `notice` receives the sentences for the host's status line.
  DetailView(GridSet& grids, std::function<LindrelWidget*()> component,
             std::function<void(const QString&)> notice, QObject* parent = nullptr);
  ~DetailView() override;

  // The component that compares the words (not owned); nullptr lets the view make one.
  void SetWordComponent(LindrelWidget* words);

  // Marks the words of the current row of the view on screen (the side-by-side grid
  // clicked, `clickedMaster` or not, or the all-in-one grid).
  void ShowSideBySide(bool clickedMaster);
  void ShowAllInOne();
  // The same for the view on screen, its grid taking the focus.
  void ShowCurrentRow();
  void Hide();
  // The row the boxes enlarged in the view shown, now forgotten (0 for none).
  int TakeEnlargedRow(bool allInOne);
  // The enlarged rows are gone with the rows they were in.
  void ForgetEnlargedRows();

  void SetFont(const QFont& font);
  void SetColours(const ComparisonPalette& colours) { colours_ = colours; }

  QTextEdit* MasterBox() const { return master_; }
  QTextEdit* SourceBox() const { return source_; }
  QTextEdit* AllInOneBox() const { return allInOne_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QTextEdit* MakeBox(const char* name, ComparisonGrid* grid);
  bool CompareWords(const QString& masterText, const QString& sourceText, QString* problem);
  LindrelWidget* Words();
  qsizetype Characters(const ComparisonGrid* grid, int textColumn) const;
  void TellCut(qsizetype shown);
  void Place(QTextEdit* box, ComparisonGrid* grid, int gridRow);
  // The typing box over the current text cell of a side-by-side grid.
  void OpenTyping(ComparisonGrid* grid, QTextEdit* box, const QString& typed);
  bool TypingKey(ComparisonGrid* grid, QTextEdit* box, QKeyEvent* key);

  GridSet& grids_;
  std::function<LindrelWidget*()> component_;
  std::function<void(const QString&)> notice_;
  QPointer<LindrelWidget> words_;
  bool ownWords_ = false;
  ComparisonPalette colours_;
  std::unique_ptr<QTemporaryDir> scratch_;  // where the word files are written
  QTextEdit* master_ = nullptr;
  QTextEdit* source_ = nullptr;
  QTextEdit* allInOne_ = nullptr;
  int enlargedRow_ = 0;  // side-by-side row the boxes enlarged, 0 = none
  int enlargedRowHeight_ = 0;
  int enlargedAllInOneRow_ = 0;
  int enlargedAllInOneRowHeight_ = 0;
};

}  // namespace lindrel::widgets
