#include "demo/compare-files/FileGridModel.h"

#include <QBrush>
#include <QGuiApplication>
#include <QPalette>

#include "demo/compare-files/GridColours.h"

namespace lindrel::demo {

FileGridModel::FileGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void FileGridModel::Reset(std::shared_ptr<const GridLines> lines, std::vector<GridRow> rows) {
  beginResetModel();
  lines_ = std::move(lines);
  rows_ = std::move(rows);
  endResetModel();
}

void FileGridModel::SetRows(std::vector<GridRow> rows) {
  beginResetModel();
  rows_ = std::move(rows);
  endResetModel();
}

void FileGridModel::Clear() {
  beginResetModel();
  lines_.reset();
  rows_.clear();
  rows_.shrink_to_fit();
  endResetModel();
}

void FileGridModel::SetHeaderText(const QString& text) {
  header_ = text;
  emit headerDataChanged(Qt::Horizontal, kTextColumn, kTextColumn);
}

QString FileGridModel::NumberText(int gridRow) const {
  if (gridRow <= 0) return {};
  const GridRow& row = Row(gridRow);
  return row.IsPadding() ? QStringLiteral("    ") : QString::number(row.line);
}

QString FileGridModel::LineText(int gridRow) const {
  if (gridRow <= 0) return header_;
  const GridRow& row = Row(gridRow);
  return row.IsPadding() || !lines_ ? QString() : lines_->Text(row.line - 1);
}

bool FileGridModel::IsLineTextEmpty(int gridRow) const {
  if (gridRow <= 0) return header_.isEmpty();
  const GridRow& row = Row(gridRow);
  return row.IsPadding() || !lines_ || lines_->IsEmpty(row.line - 1);
}

qsizetype FileGridModel::TextLengthBound(int gridRow) const {
  if (gridRow <= 0) return header_.size();
  const GridRow& row = Row(gridRow);
  return row.IsPadding() || !lines_ ? 0 : lines_->LengthBound(row.line - 1);
}

bool FileGridModel::IsDifferenceRow(int gridRow) const {
  if (gridRow <= 0 || gridRow >= GridRowCount()) return false;
  return Row(gridRow).back != RowBack::Normal;
}

void FileGridModel::SetRowBack(int gridRow, RowBack back) {
  if (gridRow <= 0 || gridRow >= GridRowCount()) return;
  rows_[gridRow - 1].back = back;
  QModelIndex cell = index(gridRow - 1, kTextColumn);
  emit dataChanged(cell, cell, {Qt::BackgroundRole});
}

int FileGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int FileGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant FileGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= static_cast<int>(rows_.size())) return {};
  const int gridRow = index.row() + 1;
  const bool text = index.column() == kTextColumn;
  switch (role) {
    case Qt::DisplayRole:
      return text ? LineText(gridRow) : NumberText(gridRow);
    case Qt::BackgroundRole:
      if (!text) return QGuiApplication::palette().button();
      if (QColor back = grid_colours::Back(Row(gridRow).back); back.isValid()) return QBrush(back);
      return {};
    case Qt::ForegroundRole:
      if (!text) return {};
      if (QColor fore = grid_colours::Fore(Row(gridRow).fore); fore.isValid()) return QBrush(fore);
      return {};
    case Qt::TextAlignmentRole:
      return text ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                  : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    default:
      return {};
  }
}

QVariant FileGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return {};
  if (role == Qt::DisplayRole) return section == kTextColumn ? header_ : QString();
  if (role == Qt::TextAlignmentRole) return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
  return {};
}

}  // namespace lindrel::demo
