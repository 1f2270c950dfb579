// AllInOneModel: the all-in-one grid (msfgAllInOne) of the comparison view, both
// files merged into one column, built from the two padded side-by-side grids.
//
// Columns: 0 the master line number, 1 the row's text, 2 the source line number (the
// number cells of the side-by-side grids in the same row). A row that belongs to a
// difference (its master text cell has the change or the current-change colour) shows,
// on the change colour: the master text in blue when the source text is empty (only in
// master), else the source text in green when the master text is empty (only in source),
// else the source text in red (changed). So a changed line whose new text is empty shows
// as a master-only line. Other rows show the master text; their number cells are C0C0C0,
// those of difference rows white. The header (grid row 0, column 1) is "[Master] " +
// master file + "  [Source] " + source file.
//
// Grid rows as in FileGridModel: row 0 is the header, model row i is grid row i + 1.
//
// The rows describe the two grids as they were when built: when either grid is reset
// (a new comparison, new padding) the model empties itself in the same step, so it
// never describes rows the grids no longer have; Build makes it anew.
//
// Threading: GUI thread only.
#pragma once

#include <QAbstractTableModel>

#include <cstdint>
#include <vector>

#include "lindrel/widgets/ComparisonPalette.h"
#include "widgets/view/AlignedRows.h"
#include "widgets/view/Testable.h"

namespace lindrel::widgets {

class FileGridModel;

class LINDREL_WIDGETS_TESTABLE AllInOneModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  static constexpr int kMasterNumberColumn = 0;
  static constexpr int kTextColumn = 1;
  static constexpr int kSourceNumberColumn = 2;

  // What a row shows in its text column.
  enum class RowKind : std::uint8_t { Same, OnlyInMaster, OnlyInSource, Changed };

  AllInOneModel(const FileGridModel& master, const FileGridModel& source,
                QObject* parent = nullptr);

  // Rebuilds the rows from the two grids as they are now, and the header from their
  // file names. The rows take the master grid's backs (the current change included).
  void Build(const QString& masterFile, const QString& sourceFile);
  // Header only, empty header text.
  void Clear();
  // True from Build until the next Clear or reset of either grid.
  bool IsBuilt() const { return built_; }

  // --- By grid row (0 = header) ------------------------------------------------------
  int GridRowCount() const { return static_cast<int>(rows_.size()) + 1; }
  const QString& HeaderText() const { return header_; }
  QString CellText(int gridRow, int column) const;
  // What the grid shows of CellText: its text column cut as FileGridModel::ShownText.
  QString ShownCellText(int gridRow, int column) const;
  // Rows outside the grid read as unchanged.
  RowKind Kind(int gridRow) const {
    return InGrid(gridRow) ? rows_[gridRow - 1].kind : RowKind::Same;
  }
  bool IsDifferenceRow(int gridRow) const;
  RowBack Back(int gridRow) const {
    return InGrid(gridRow) ? rows_[gridRow - 1].back : RowBack::Normal;
  }
  void SetRowBack(int gridRow, RowBack back);
  // The back of `count` rows from `firstRow` (rows outside the grid are skipped).
  void SetRowsBack(int firstRow, int count, RowBack back);
  QColor TextColour(int gridRow) const;
  // The colours rows are drawn in from now on.
  void SetColours(const ComparisonPalette& colours);

  // --- QAbstractTableModel -------------------------------------------------------------
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  QString Text(int gridRow, int column, bool shown) const;
  struct Row {
    RowKind kind;
    RowBack back;
  };

  bool InGrid(int gridRow) const { return gridRow > 0 && gridRow < GridRowCount(); }

  const FileGridModel& master_;
  const FileGridModel& source_;
  std::vector<Row> rows_;
  QString header_;
  bool built_ = false;
  ComparisonPalette colours_;
};

}  // namespace lindrel::widgets
