// GridSet: the grids of a comparison view and what they show. The two side-by-side grids
// (msfgMaster, msfgSource) and the all-in-one grid (msfgAllInOne) on a stack that shows
// one view at a time, their models and row sizers: loading both files, padding and
// colouring them from the change records, the all-in-one rows, fonts, colours, column
// widths, and the side-by-side grids scrolling together.
//
// Grid rows as everywhere in the view: row 0 is the header, rows 1 and up lines or
// padding.
//
// Threading: GUI thread only.
#pragma once

#include <QObject>
#include <QString>

#include <future>
#include <memory>
#include <vector>

#include "lindrel/widgets/ComparisonPalette.h"
#include "lindrel/widgets/FileStamp.h"
#include "widgets/view/AlignedRows.h"
#include "widgets/view/AllInOneModel.h"
#include "widgets/view/FileGridModel.h"

class QFont;
class QPoint;
class QStackedWidget;
class QWidget;

namespace lindrel::widgets {

class ComparisonGrid;
class RowHeights;

class GridSet : public QObject {
  Q_OBJECT

 public:
  // The grids are made as children of `owner`; Stack() is to be laid out by it.
  explicit GridSet(QWidget* owner);
  ~GridSet() override;

  ComparisonGrid* Master() const { return master_; }
  ComparisonGrid* Source() const { return source_; }
  ComparisonGrid* AllInOneGrid() const { return allInOne_; }
  // The grid that leads the view on screen: the master grid or the all-in-one grid.
  ComparisonGrid* Leading() const;
  const FileGridModel& MasterRows() const { return masterModel_; }
  const FileGridModel& SourceRows() const { return sourceModel_; }
  const AllInOneModel& AllInOneRows() const { return allInOneModel_; }
  QStackedWidget* Stack() const { return stack_; }

  // --- A result --------------------------------------------------------------------------
  // Starts reading the files of a comparison that has just begun on a thread of its own,
  // for Load to take: a large pair is then read while it is compared, not after. Small
  // pairs are left to Load; the read-ahead of an earlier comparison is dropped.
  void ReadAhead(const QString& master, const QString& source);
  // Reads both files (the source on a second thread) into the grids, unpadded, with
  // `masterTitle` and `sourceTitle` in their headers, or takes them from the read-ahead
  // of the same names. A file that cannot be read is noted in Problem(); one that is no
  // longer what its stamp describes in Changes().
  void Load(const QString& master, const FileStamp& masterStamp, const QString& source,
            const FileStamp& sourceStamp, const QString& masterTitle, const QString& sourceTitle);
  // Pads and colours the rows loaded for `records`, or, when a file could not be read,
  // leaves them as they are and keeps no rows for the records.
  void Pad(const std::vector<GridRecord>& records);
  // Header only everywhere.
  void Clear();
  const QString& Problem() const { return problem_; }
  const QString& Changes() const { return changes_; }
  // The rows of each record Pad kept; empty without records or after a load problem.
  const std::vector<RecordRows>& RecordRowsList() const { return recordRows_; }

  // The back of the rows of change `change` (1-based) in every view.
  void PaintChange(int change, RowBack back);
  // The first row of the grid showing line `line` of the master or the source.
  int MasterRowOf(long line) const { return masterModel_.RowOfLine(line); }
  int SourceRowOf(long line) const { return sourceModel_.RowOfLine(line); }

  // --- The view on screen -----------------------------------------------------------------
  bool AllInOne() const { return allInOneShown_; }
  // Shows the all-in-one grid (building its rows first when they are not) or the pair.
  void ShowAllInOne(bool on);
  // Builds the all-in-one rows when they are not built.
  void BuildAllInOne();
  // The all-in-one rows go; they are built again when next shown.
  void DropAllInOne() { allInOneModel_.Clear(); }

  void SetFont(const QFont& font);
  void SetColours(const ComparisonPalette& colours);
  // Fits the columns to the grids' widths and measures the rows on screen of the view
  // shown anew; `enlargedRow` of that view (0 for none) goes back to its measured height.
  void LayOut(int enlargedRow);
  void SetRedraw(bool on);
  // Scrolls the view on screen so that `gridRow` stands in its middle.
  void ShowRowInView(int gridRow);
  // The first and last rows on screen of the view shown; 0, 0 with no rows.
  std::pair<int, int> RowsOnScreen() const;

 signals:
  // A grid scrolled; `hideDetail` when the boxes over a row no longer lie on it.
  void Scrolled(bool hideDetail);
  // The right mouse button on grid row `gridRow` of `grid`.
  void RightClicked(ComparisonGrid* grid, int gridRow, const QPoint& globalPos);

 private:
  void GridScrolled(ComparisonGrid* grid, int topRow);
  void NoteUnreadable(const QString& fileName, const QString& error);
  void NoteChange(const QString& fileName, const FileStamp& compared, qint64 loadedBytes);

  // One file's lines as read, or why they could not be.
  struct ReadLines {
    std::shared_ptr<GridLines> lines = std::make_shared<GridLines>();
    bool loaded = false;
    QString error;
  };
  struct ReadPair {
    bool read = false;
    QString master, source;
    ReadLines masterLines, sourceLines;
  };
  std::future<ReadPair> readAhead_;

  ComparisonGrid* master_ = nullptr;
  ComparisonGrid* source_ = nullptr;
  ComparisonGrid* allInOne_ = nullptr;
  QStackedWidget* stack_ = nullptr;
  QWidget* sideBySide_ = nullptr;
  FileGridModel masterModel_;
  FileGridModel sourceModel_;
  AllInOneModel allInOneModel_{masterModel_, sourceModel_};
  std::unique_ptr<RowHeights> sideBySideHeights_;  // of the master and source grids together
  std::unique_ptr<RowHeights> allInOneHeights_;
  std::vector<RecordRows> recordRows_;
  QString masterTitle_;  // the names the headers show
  QString sourceTitle_;
  QString problem_;
  QString changes_;
  bool allInOneShown_ = false;
  bool scrollEcho_ = false;
};

}  // namespace lindrel::widgets
