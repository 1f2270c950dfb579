#include "widgets/view/TextSearch.h"

#include <QTimer>

#include <algorithm>

#include "widgets/view/GridSet.h"

namespace lindrel::widgets {

TextSearch::TextSearch(const GridSet& grids, QObject* parent) : QObject(parent), grids_(grids) {}

QList<int> TextSearch::MatchesIn(QStringView line, const QString& text, bool caseSensitive) {
  QList<int> found;
  if (text.isEmpty()) return found;
  const Qt::CaseSensitivity cs = caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
  for (qsizetype at = line.indexOf(text, 0, cs); at >= 0; at = line.indexOf(text, at + 1, cs))
    found.push_back(static_cast<int>(at));
  return found;
}

void TextSearch::Start(const QString& text, bool caseSensitive, const TextMatch& from,
                       bool forward) {
  ++generation_;
  text_ = text;
  caseSensitive_ = caseSensitive;
  forward_ = forward;
  const int rows = Rows();
  from_ = from.IsValid() && from.gridRow <= rows ? from : TextMatch{};
  row_ = from_.IsValid() ? from_.gridRow : (forward ? 1 : rows);
  // The start row is looked at twice: past the start first, before it after going round.
  rowsLeft_ = text.isEmpty() || rows < 1 ? 0 : rows + (from_.IsValid() ? 1 : 0);
  wrapped_ = false;
  running_ = true;
  const quint64 generation = generation_;
  QTimer::singleShot(0, this, [this, generation] { RunSlice(generation); });
}

void TextSearch::Cancel() {
  ++generation_;
  running_ = false;
}

int TextSearch::Rows() const {
  // The all-in-one grid has the master grid's rows. Side by side, a file that changed
  // before it was loaded may reach past the other one's last row.
  if (grids_.AllInOne()) return grids_.MasterRows().GridRowCount() - 1;
  return std::max(grids_.MasterRows().GridRowCount(), grids_.SourceRows().GridRowCount()) - 1;
}

TextMatch TextSearch::InRow(int gridRow, const TextMatch& from, bool first) const {
  const FileGridModel* files[2] = {&grids_.MasterRows(), &grids_.SourceRows()};
  // Forward: master then source, each from its start; backward the other way round.
  for (int step = 0; step < 2; ++step) {
    const bool source = forward_ ? step == 1 : step == 0;
    const FileGridModel& file = *files[source ? 1 : 0];
    if (first && (forward_ ? source < from.source : source > from.source)) continue;
    if (file.Row(gridRow).IsPadding()) continue;
    const QList<int> found = MatchesIn(file.LineText(gridRow), text_, caseSensitive_);
    if (found.isEmpty()) continue;
    const bool sameSide = first && source == from.source;
    if (forward_) {
      for (int at : found)
        if (!sameSide || at > from.begin)
          return {gridRow, source, at, static_cast<int>(text_.size())};
    } else {
      for (auto it = found.crbegin(); it != found.crend(); ++it)
        if (!sameSide || *it < from.begin)
          return {gridRow, source, *it, static_cast<int>(text_.size())};
    }
  }
  return {};
}

void TextSearch::RunSlice(quint64 generation) {
  if (generation != generation_ || !running_) return;
  QElapsedTimer slice;
  slice.start();
  const int rows = Rows();
  for (int looked = 0; rowsLeft_ > 0; ++looked) {
    if (looked == kRowsPerCheck) {
      if (slice.elapsed() >= kSliceMilliseconds) {
        GiveBackPages();
        // The window gets its turn; the search goes on from here.
        QTimer::singleShot(0, this, [this, generation] { RunSlice(generation); });
        return;
      }
      looked = 0;
    }
    if (row_ < 1 || row_ > rows) {
      // Past one end: on from the other (the files cannot have changed under a search,
      // which a new result cancels, but the count is checked all the same).
      if (rows < 1) break;
      row_ = forward_ ? 1 : rows;
      wrapped_ = true;
    }
    const bool first = from_.IsValid() && row_ == from_.gridRow && !wrapped_;
    const TextMatch match = InRow(row_, from_, first);
    --rowsLeft_;
    if (match.IsValid()) {
      GiveBackPages();
      running_ = false;
      emit Finished(match, wrapped_);
      return;
    }
    row_ += forward_ ? 1 : -1;
  }
  GiveBackPages();
  running_ = false;
  emit Finished({}, false);
}

void TextSearch::GiveBackPages() const {
  // Every line looked at brought its pages in; the ones on show come back when painted.
  grids_.MasterRows().GiveBackPages();
  grids_.SourceRows().GiveBackPages();
}

}  // namespace lindrel::widgets
