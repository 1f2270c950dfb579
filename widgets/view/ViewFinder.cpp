#include "widgets/view/ViewFinder.h"

#include <QApplication>

#include <limits>

#include "widgets/view/AllInOneModel.h"
#include "widgets/view/DetailView.h"
#include "widgets/view/FindBar.h"
#include "widgets/view/GridSet.h"

namespace lindrel::widgets {
namespace {

// Behind the characters, light enough to read any text colour over.
constexpr int kWordMarkAlpha = 70;
const QColor kMatchBack(0xFF, 0xEB, 0x3B);
const QColor kCurrentMatchBack(0xFF, 0x98, 0x00);

QColor WordColour(const ComparisonPalette& colours, WordMark::Kind kind) {
  switch (kind) {
    case WordMark::Kind::Added: return colours.addedWords;
    case WordMark::Kind::Deleted: return colours.deletedWords;
    case WordMark::Kind::Changed: break;
  }
  return colours.changedWords;
}

QString SideName(bool source) {
  return source ? QStringLiteral("source") : QStringLiteral("master");
}

}  // namespace

ViewFinder::ViewFinder(GridSet& grids, DetailView& detail, FindBar& bar,
                       std::function<WordCompareOptions()> options,
                       std::function<const ComparisonPalette&()> colours,
                       std::function<void(const QString&)> notice, QObject* parent)
    : QObject(parent),
      grids_(grids),
      detail_(detail),
      bar_(bar),
      colours_(std::move(colours)),
      notice_(std::move(notice)),
      search_(grids),
      marks_(grids, std::move(options)) {
  setObjectName(QStringLiteral("viewFinder"));
  for (ComparisonGrid* grid : {grids_.Master(), grids_.Source(), grids_.AllInOneGrid()}) {
    grid->SetCellMarker([this](const ComparisonGrid& g, int gridRow, int column, QStringView text) {
      return MarksOf(g, gridRow, column, text);
    });
  }
  connect(&search_, &TextSearch::Finished, this, &ViewFinder::Found);
  connect(&bar_, &FindBar::NextRequested, this, [this] { Find(true); });
  connect(&bar_, &FindBar::PreviousRequested, this, [this] { Find(false); });
  connect(&bar_, &FindBar::CloseRequested, this, &ViewFinder::CloseBar);
  connect(&bar_, &FindBar::QueryChanged, this, [this] {
    // What was found matched the old text: the next search starts at the current row.
    search_.Cancel();
    current_ = {};
    bar_.SetStatus({});
    Repaint();
  });
}

ViewFinder::~ViewFinder() {
  for (ComparisonGrid* grid : {grids_.Master(), grids_.Source(), grids_.AllInOneGrid()})
    grid->SetCellMarker(nullptr);
}

void ViewFinder::OpenBar() {
  bar_.Open();
  Repaint();
}

void ViewFinder::CloseBar() {
  search_.Cancel();
  const bool hadFocus = bar_.isAncestorOf(QApplication::focusWidget());
  bar_.hide();
  if (hadFocus) (grids_.AllInOne() ? grids_.AllInOneGrid() : grids_.Master())->setFocus();
  Repaint();
}

int ViewFinder::CurrentRow() const {
  if (grids_.AllInOne()) return grids_.AllInOneGrid()->CurrentRow();
  // A row past the master's last (a file that grew before it was loaded) can be current
  // in the source grid only.
  const int source = grids_.Source()->CurrentRow();
  return source >= grids_.MasterRows().GridRowCount() ? source : grids_.Master()->CurrentRow();
}

void ViewFinder::Find(bool forward) {
  const QString text = bar_.Text();
  if (bar_.isHidden()) OpenBar();
  if (text.isEmpty()) {
    bar_.SetStatus(QStringLiteral("Type the text to find."));
    return;
  }
  TextMatch from = current_;
  if (!from.IsValid() && CurrentRow() > 0) {
    // From the current row, its own matches included either way.
    from = {CurrentRow(), !forward, forward ? -1 : std::numeric_limits<int>::max(), 0};
  }
  searchedForward_ = forward;
  bar_.SetStatus(QStringLiteral("Searching..."));
  search_.Start(text, bar_.MatchCase(), from, forward);
}

void ViewFinder::Found(const TextMatch& match, bool wrapped) {
  if (!match.IsValid()) {
    current_ = {};
    bar_.SetStatus(QStringLiteral("No match for \"%1\".").arg(bar_.Text()));
    Repaint();
    emit Finished(false);
    return;
  }
  current_ = match;
  const long line =
      (match.source ? grids_.SourceRows() : grids_.MasterRows()).Row(match.gridRow).line;
  QString status = QStringLiteral("Line %1 of the %2.").arg(line).arg(SideName(match.source));
  if (wrapped)
    status += searchedForward_ ? QStringLiteral(" Went on from the top.")
                               : QStringLiteral(" Went on from the bottom.");
  bar_.SetStatus(status);
  ShowRow(match.gridRow);
  Repaint();
  emit Finished(true);
}

void ViewFinder::ShowRow(int gridRow) {
  detail_.Hide();
  ComparisonGrid* leading = grids_.Leading();
  const auto [first, last] = grids_.RowsOnScreen();
  // The last row on screen may show only its top.
  if (gridRow < first || gridRow >= last) leading->SetTopRow(std::max(gridRow - 1, 1));
  grids_.Master()->SetCurrentRow(gridRow);
  grids_.Source()->SetCurrentRow(gridRow);
  if (grids_.AllInOneRows().IsBuilt()) grids_.AllInOneGrid()->SetCurrentRow(gridRow);
}

bool ViewFinder::GoToLine(bool source, long line) {
  if (line < 1 || line > (source ? grids_.SourceRows() : grids_.MasterRows()).LineCount())
    return false;
  const int row = source ? grids_.SourceRowOf(line) : grids_.MasterRowOf(line);
  if (row < 1) return false;
  ShowRow(row);
  notice_(QStringLiteral("Line %1 of the %2.").arg(line).arg(SideName(source)));
  return true;
}

long ViewFinder::CurrentLine(bool source) const {
  const int row = CurrentRow();
  if (row < 1) return 0;
  return (source ? grids_.SourceRows() : grids_.MasterRows()).Row(row).line;
}

void ViewFinder::SetMarksOn(bool on) {
  if (on == marks_.On()) return;
  marks_.SetOn(on);
  Repaint();
}

void ViewFinder::Forget() {
  search_.Cancel();
  current_ = {};
  marks_.Forget();
  if (!bar_.isHidden()) bar_.SetStatus({});
}

void ViewFinder::Repaint() {
  for (ComparisonGrid* grid : {grids_.Master(), grids_.Source(), grids_.AllInOneGrid()})
    grid->viewport()->update();
}

std::vector<CellMark> ViewFinder::MarksOf(const ComparisonGrid& grid, int gridRow, int column,
                                          QStringView text) {
  std::vector<CellMark> marks;
  const bool allInOne = &grid == grids_.AllInOneGrid();
  if (column != (allInOne ? AllInOneModel::kTextColumn : FileGridModel::kTextColumn)) return marks;
  const bool finding = !bar_.isHidden() && !bar_.Text().isEmpty();
  if (!finding && !marks_.On()) return marks;

  // Which file's text the cell shows.
  bool source = &grid == grids_.Source();
  bool bothSides = false;
  if (allInOne) {
    const AllInOneModel::RowKind kind = grids_.AllInOneRows().Kind(gridRow);
    source =
        kind == AllInOneModel::RowKind::OnlyInSource || kind == AllInOneModel::RowKind::Changed;
    bothSides = kind == AllInOneModel::RowKind::Same;
  }
  const int size = static_cast<int>(text.size());
  if (marks_.On()) {
    const WordDifferences& words = marks_.Of(gridRow);
    const bool changedRow =
        !allInOne || grids_.AllInOneRows().Kind(gridRow) == AllInOneModel::RowKind::Changed;
    const std::vector<WordMark>& list =
        allInOne ? words.merged : (source ? words.source : words.master);
    if (changedRow) {
      for (const WordMark& w : list) {
        if (w.begin > size) break;
        QColor colour = WordColour(colours_(), w.kind);
        QColor back = colour;
        back.setAlpha(kWordMarkAlpha);
        marks.push_back({w.begin, std::min(w.end, size), back, colour});
      }
    }
  }
  if (finding) {
    const QString query = bar_.Text();
    for (int at : TextSearch::MatchesIn(text, query, bar_.MatchCase())) {
      const bool current = current_.gridRow == gridRow && current_.begin == at &&
                           (bothSides || current_.source == source);
      marks.push_back({at, std::min(at + static_cast<int>(query.size()), size),
                       current ? kCurrentMatchBack : kMatchBack, QColor()});
    }
  }
  return marks;
}

}  // namespace lindrel::widgets
