// TextSearch: finds text in the lines of both files of a comparison view without holding
// up the window. A search walks the grid rows from where it starts, the master's line of
// a row before the source's, in slices of a few milliseconds run from the event loop, and
// goes on from the other end when it reaches one, up to where it began. A new search, or
// Cancel, drops the one running.
//
// Threading: GUI thread only; Finished is emitted from the event loop, never from Start.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include "widgets/view/Testable.h"

namespace lindrel::widgets {

class GridSet;

// A match: characters [begin, begin + length) of the line on grid row `gridRow` of the
// master (`source` false) or of the source.
struct TextMatch {
  int gridRow = 0;
  bool source = false;
  int begin = 0;
  int length = 0;
  bool IsValid() const { return gridRow > 0; }
  bool operator==(const TextMatch&) const = default;
};

class LINDREL_WIDGETS_TESTABLE TextSearch : public QObject {
  Q_OBJECT

 public:
  // Rows looked at between two checks of the slice's time.
  static constexpr int kRowsPerCheck = 256;
  static constexpr int kSliceMilliseconds = 8;

  // `grids` outlives the search.
  explicit TextSearch(const GridSet& grids, QObject* parent = nullptr);

  // Looks for `text` after `from` (forward) or before it; an invalid `from` starts at the
  // first row (forward) or the last. `caseSensitive` false matches letters of either case.
  void Start(const QString& text, bool caseSensitive, const TextMatch& from, bool forward);
  void Cancel();
  bool Running() const { return running_; }

  // Where `text` occurs in `line`, as Start finds it.
  static QList<int> MatchesIn(QStringView line, const QString& text, bool caseSensitive);

 signals:
  // The search ended: `match` is invalid when there is none; `wrapped` when the search
  // went past one end of the files to find it.
  void Finished(const TextMatch& match, bool wrapped);

 private:
  void RunSlice(quint64 generation);
  void GiveBackPages() const;
  // The grid rows to search: those of the grid on screen (the longer one side by side).
  int Rows() const;
  // The match of row `gridRow` nearest in the search's direction, within the part of the
  // row that lies past `from` when `gridRow` is its row; invalid when none.
  TextMatch InRow(int gridRow, const TextMatch& from, bool first) const;

  const GridSet& grids_;
  QString text_;
  bool caseSensitive_ = false;
  bool forward_ = true;
  TextMatch from_;
  int row_ = 0;        // the next row to look at
  long rowsLeft_ = 0;  // rows still to look at, the start row's remainder included
  bool wrapped_ = false;
  bool running_ = false;
  quint64 generation_ = 0;  // a slice of an older search finds a newer one running
};

}  // namespace lindrel::widgets
