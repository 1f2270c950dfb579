#include "widgets/view/AllInOneModel.h"

#include <QBrush>

#include <algorithm>

#include "widgets/view/FileGridModel.h"
#include "widgets/view/GridColours.h"

namespace lindrel::widgets {

AllInOneModel::AllInOneModel(const FileGridModel& master, const FileGridModel& source,
                             QObject* parent)
    : QAbstractTableModel(parent), master_(master), source_(source) {
  for (const FileGridModel* grid : {&master_, &source_})
    connect(grid, &QAbstractItemModel::modelAboutToBeReset, this, &AllInOneModel::Clear);
}

void AllInOneModel::Build(const QString& masterFile, const QString& sourceFile) {
  beginResetModel();
  header_ = QStringLiteral("[Master] ") + masterFile + QStringLiteral("  [Source] ") + sourceFile;
  const int count = master_.GridRowCount();
  rows_.assign(static_cast<size_t>(count - 1), Row{RowKind::Same, RowBack::Normal});
  for (int r = 1; r < count; ++r) {
    Row& row = rows_[static_cast<size_t>(r - 1)];
    if (!master_.IsDifferenceRow(r)) continue;
    row.back = master_.Row(r).back;
    // A source grid shorter than the master one (records that no longer fit the files)
    // reads as empty there.
    const bool sourceEmpty = r >= source_.GridRowCount() || source_.IsLineTextEmpty(r);
    if (sourceEmpty)
      row.kind = RowKind::OnlyInMaster;
    else if (master_.IsLineTextEmpty(r))
      row.kind = RowKind::OnlyInSource;
    else
      row.kind = RowKind::Changed;
  }
  built_ = true;
  endResetModel();
  emit headerDataChanged(Qt::Horizontal, kTextColumn, kTextColumn);
}

void AllInOneModel::Clear() {
  if (!built_ && rows_.empty() && header_.isEmpty()) return;
  built_ = false;
  beginResetModel();
  rows_.clear();
  rows_.shrink_to_fit();
  header_.clear();
  endResetModel();
}

QString AllInOneModel::CellText(int gridRow, int column) const {
  return Text(gridRow, column, false);
}

QString AllInOneModel::ShownCellText(int gridRow, int column) const {
  return Text(gridRow, column, true);
}

QString AllInOneModel::Text(int gridRow, int column, bool shown) const {
  if (gridRow <= 0) return column == kTextColumn ? header_ : QString();
  switch (column) {
    case kMasterNumberColumn: return master_.NumberText(gridRow);
    case kSourceNumberColumn:
      return gridRow < source_.GridRowCount() ? source_.NumberText(gridRow) : QString();
    case kTextColumn:
      switch (Kind(gridRow)) {
        case RowKind::Same:
        case RowKind::OnlyInMaster:
          return shown ? master_.ShownText(gridRow) : master_.LineText(gridRow);
        case RowKind::OnlyInSource:
        case RowKind::Changed:
          return shown ? source_.ShownText(gridRow) : source_.LineText(gridRow);
      }
  }
  return {};
}

bool AllInOneModel::IsDifferenceRow(int gridRow) const {
  return gridRow > 0 && gridRow < GridRowCount() && Back(gridRow) != RowBack::Normal;
}

void AllInOneModel::SetRowBack(int gridRow, RowBack back) {
  if (gridRow <= 0 || gridRow >= GridRowCount()) return;
  rows_[static_cast<size_t>(gridRow - 1)].back = back;
  emit dataChanged(index(gridRow - 1, 0), index(gridRow - 1, 2), {Qt::BackgroundRole});
}

void AllInOneModel::SetRowsBack(int firstRow, int count, RowBack back) {
  const int first = std::max(firstRow, 1);
  const int last = std::min(firstRow + count - 1, GridRowCount() - 1);
  if (first > last) return;
  for (int row = first; row <= last; ++row) rows_[static_cast<size_t>(row - 1)].back = back;
  emit dataChanged(index(first - 1, 0), index(last - 1, 2), {Qt::BackgroundRole});
}

QColor AllInOneModel::TextColour(int gridRow) const {
  switch (Kind(gridRow)) {
    case RowKind::OnlyInMaster: return colours_.onlyInMaster;
    case RowKind::OnlyInSource: return colours_.onlyInSource;
    case RowKind::Changed: return colours_.changed;
    case RowKind::Same: break;
  }
  return {};
}

int AllInOneModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int AllInOneModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 3; }

QVariant AllInOneModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= static_cast<int>(rows_.size())) return {};
  const int gridRow = index.row() + 1;
  const bool text = index.column() == kTextColumn;
  switch (role) {
    case Qt::DisplayRole: return ShownCellText(gridRow, index.column());
    case Qt::BackgroundRole:
      if (text) {
        QColor back = grid_colours::Back(colours_, Back(gridRow));
        return back.isValid() ? QVariant(QBrush(back)) : QVariant();
      }
      return QBrush(IsDifferenceRow(gridRow) ? colours_.numberOfDifference
                                             : colours_.numberOfSameLine);
    case Qt::ForegroundRole:
      if (text) {
        QColor fore = TextColour(gridRow);
        return fore.isValid() ? QVariant(QBrush(fore)) : QVariant();
      }
      return {};
    case Qt::TextAlignmentRole:
      if (index.column() == kSourceNumberColumn) return QVariant(Qt::AlignLeft | Qt::AlignBottom);
      if (text) return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
      return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    default: return {};
  }
}

QVariant AllInOneModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return {};
  if (role == Qt::DisplayRole) return section == kTextColumn ? header_ : QString();
  if (role == Qt::TextAlignmentRole) return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
  return {};
}

void AllInOneModel::SetColours(const ComparisonPalette& colours) {
  colours_ = colours;
  if (!rows_.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, 2));
}

}  // namespace lindrel::widgets
