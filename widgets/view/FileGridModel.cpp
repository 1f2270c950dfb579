#include "widgets/view/FileGridModel.h"

#include <QBrush>
#include <QGuiApplication>
#include <QPalette>

#include <algorithm>

#include "widgets/view/GridColours.h"

namespace lindrel::widgets {

FileGridModel::FileGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void FileGridModel::Reset(std::shared_ptr<const GridLines> lines, std::vector<GridRow> rows) {
  beginResetModel();
  lines_ = std::move(lines);
  plain_ = false;
  rows_ = std::move(rows);
  IndexLines();
  endResetModel();
}

void FileGridModel::Reset(std::shared_ptr<const GridLines> lines) {
  beginResetModel();
  lines_ = std::move(lines);
  plain_ = true;
  rows_.clear();
  rows_.shrink_to_fit();
  IndexLines();
  endResetModel();
}

void FileGridModel::SetRows(std::vector<GridRow> rows) {
  beginResetModel();
  plain_ = false;
  // The old rows go first: a large file's would otherwise be held twice for a moment.
  rows_ = {};
  rows_ = std::move(rows);
  IndexLines();
  endResetModel();
}

void FileGridModel::Clear() {
  beginResetModel();
  lines_.reset();
  plain_ = false;
  rows_.clear();
  rows_.shrink_to_fit();
  IndexLines();
  endResetModel();
}

void FileGridModel::KeepRows() {
  if (!plain_) return;
  rows_ = PlainRows(LineCount());
  plain_ = false;
  IndexLines();
}

void FileGridModel::SetHeaderText(const QString& text) {
  header_ = text;
  emit headerDataChanged(Qt::Horizontal, kTextColumn, kTextColumn);
}

void FileGridModel::IndexLines() {
  gaps_.clear();
  gaps_.shrink_to_fit();
  rowOfLine_.clear();
  rowOfLine_.shrink_to_fit();
  if (plain_) {
    linesInOrder_ = LineCount();
    return;
  }
  std::int32_t next = 1, padding = 0;
  bool inOrder = true;
  for (const GridRow& row : rows_) {
    if (row.IsPadding()) {
      ++padding;
    } else if (row.line != next) {
      inOrder = false;
      break;
    } else {
      if (padding != (gaps_.empty() ? 0 : gaps_.back().padding)) gaps_.push_back({next, padding});
      ++next;
    }
  }
  if (inOrder) {
    linesInOrder_ = next - 1;
    return;
  }
  gaps_.clear();
  linesInOrder_ = 0;
  rowOfLine_.assign(static_cast<size_t>(LineCount()) + 1, 0);
  for (size_t i = rows_.size(); i-- > 0;) {
    const std::int32_t line = rows_[i].line;
    if (line > 0 && static_cast<size_t>(line) < rowOfLine_.size())
      rowOfLine_[static_cast<size_t>(line)] = static_cast<std::int32_t>(i + 1);
  }
}

int FileGridModel::RowOfLine(long line) const {
  if (line <= 0) return 0;
  if (line <= linesInOrder_) {
    // The last run of padding that starts at or above the line.
    auto after = std::upper_bound(gaps_.begin(), gaps_.end(), line,
                                  [](long l, const Gap& gap) { return l < gap.line; });
    return static_cast<int>(line) + (after == gaps_.begin() ? 0 : std::prev(after)->padding);
  }
  if (static_cast<size_t>(line) >= rowOfLine_.size()) return 0;
  return rowOfLine_[static_cast<size_t>(line)];
}

void FileGridModel::SetRowsBack(int firstRow, int count, RowBack back) {
  const int first = std::max(firstRow, 1);
  const int last = std::min(firstRow + count - 1, GridRowCount() - 1);
  if (first > last) return;
  KeepRows();
  for (int row = first; row <= last; ++row) rows_[static_cast<size_t>(row - 1)].back = back;
  emit dataChanged(index(first - 1, kTextColumn), index(last - 1, kTextColumn),
                   {Qt::BackgroundRole});
}

GridRow FileGridModel::Row(int gridRow) const {
  if (gridRow <= 0 || gridRow >= GridRowCount()) return {};
  if (plain_) return {gridRow, RowBack::Normal, RowFore::Normal};
  return rows_[static_cast<size_t>(gridRow - 1)];
}

QString FileGridModel::NumberText(int gridRow) const {
  if (gridRow <= 0 || gridRow >= GridRowCount()) return {};
  const GridRow& row = Row(gridRow);
  return row.IsPadding() ? QStringLiteral("    ") : QString::number(row.line);
}

QString FileGridModel::LineText(int gridRow) const {
  if (gridRow <= 0) return header_;
  const GridRow& row = Row(gridRow);
  return row.IsPadding() || !lines_ ? QString() : lines_->Text(row.line - 1);
}

QString FileGridModel::LineText(int gridRow, qsizetype maxCharacters) const {
  if (gridRow <= 0) return header_.left(maxCharacters);
  const GridRow& row = Row(gridRow);
  return row.IsPadding() || !lines_ ? QString() : lines_->Text(row.line - 1, maxCharacters);
}

QString FileGridModel::LineTextAside(int gridRow, qsizetype maxCharacters) const {
  if (gridRow <= 0) return header_.left(maxCharacters);
  const GridRow& row = Row(gridRow);
  return row.IsPadding() || !lines_ ? QString() : lines_->TextAside(row.line - 1, maxCharacters);
}

void FileGridModel::GiveBackPages() const {
  if (lines_) lines_->GiveBackPages();
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
  KeepRows();
  rows_[gridRow - 1].back = back;
  QModelIndex cell = index(gridRow - 1, kTextColumn);
  emit dataChanged(cell, cell, {Qt::BackgroundRole});
}

int FileGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : RowCount();
}

int FileGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant FileGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= RowCount()) return {};
  const int gridRow = index.row() + 1;
  const bool text = index.column() == kTextColumn;
  switch (role) {
    case Qt::DisplayRole: return text ? ShownText(gridRow) : NumberText(gridRow);
    case Qt::BackgroundRole:
      if (!text) return QGuiApplication::palette().button();
      if (QColor back = grid_colours::Back(colours_, Row(gridRow).back); back.isValid())
        return QBrush(back);
      return {};
    case Qt::ForegroundRole:
      if (!text) return {};
      if (QColor fore = grid_colours::Fore(colours_, Row(gridRow).fore); fore.isValid())
        return QBrush(fore);
      return {};
    case Qt::TextAlignmentRole:
      return text ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                  : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    default: return {};
  }
}

QVariant FileGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return {};
  if (role == Qt::DisplayRole) return section == kTextColumn ? header_ : QString();
  if (role == Qt::TextAlignmentRole) return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
  return {};
}

void FileGridModel::SetColours(const ComparisonPalette& colours) {
  colours_ = colours;
  if (RowCount() > 0) emit dataChanged(index(0, 0), index(RowCount() - 1, 1));
}

}  // namespace lindrel::widgets
