#include "demo/compare-dirs/DirGridModel.h"

#include "demo/common/FileNames.h"
#include "demo/common/Palette.h"

namespace lindrel::demo {
namespace {

QString Blanks(int n) { return QString(n, QLatin1Char(' ')); }

QString ContentText(long value) {
  switch (value) {
    case 1: return QStringLiteral("CHANGED");
    case 2: return QStringLiteral("ERR: File");
    default: return Blanks(2);
  }
}

QString OrderText(long value) {
  if (value < 0) return QStringLiteral("[S] > [M]");
  if (value > 0) return QStringLiteral("[M] > [S]");
  return Blanks(1);
}

}  // namespace

DirGridRow BuildDirGridRow(const DirRecord& r) {
  namespace colours = palette;
  DirGridRow row;
  row.isFile = r.isFile != 0;
  const bool onlyInMaster = r.onlyInMaster != 0;
  const bool onlyInSource = r.onlyInSource != 0;
  const bool inBoth = !onlyInMaster && !onlyInSource;
  const DirGridRow::Icon icon = row.isFile ? DirGridRow::Icon::File : DirGridRow::Icon::Directory;

  if (onlyInSource)
    row.text[0] = Blanks(row.isFile ? 1 : 5);
  else
    row.text[0] =
        row.isFile ? Blanks(7) + ShownFileName(r.fileName) : Blanks(5) + ShownFileName(r.dirMaster);
  if (onlyInMaster)
    row.text[1] = Blanks(row.isFile ? 4 : 5);
  else
    row.text[1] =
        row.isFile ? Blanks(7) + ShownFileName(r.fileName) : Blanks(5) + ShownFileName(r.dirSource);
  row.text[2] = ContentText(r.contentDifferent);
  row.text[3] = OrderText(r.sizeDifferent);
  row.text[4] = OrderText(r.dateDifferent);

  if (inBoth) {
    row.icon[0] = row.icon[1] = icon;
    const std::array<long, 3> flags{r.contentDifferent, r.sizeDifferent, r.dateDifferent};
    if (flags[0] != 0 || flags[1] != 0 || flags[2] != 0) {
      for (int c : {0, 1}) {
        row.fore[static_cast<size_t>(c)] = colours::kChanged;
        row.back[static_cast<size_t>(c)] = colours::kChange;
      }
      for (size_t f = 0; f < flags.size(); ++f) {
        if (flags[f] == 0) continue;
        row.fore[f + 2] = colours::kChanged;
        row.back[f + 2] = colours::kChange;
      }
    }
  } else if (onlyInMaster) {
    row.icon[0] = icon;
    row.fore[0] = colours::kOnlyInMaster;
    row.back[0] = colours::kChange;
    row.back[1] = colours::kChange;
  } else {
    row.icon[1] = icon;
    row.fore[1] = colours::kOnlyInSource;
    row.back[1] = colours::kChange;
    row.back[0] = colours::kChange;
  }
  return row;
}

DirGridModel::DirGridModel(QObject* parent) : QAbstractTableModel(parent) {}

QString DirGridModel::Heading(int column) {
  static const std::array<QString, kColumns> headings{
      QStringLiteral("[M] Master Directory"), QStringLiteral("[S] Source Directory"),
      QStringLiteral("Contents"), QStringLiteral("Size"), QStringLiteral("Date")};
  return column >= 0 && column < kColumns ? headings[static_cast<size_t>(column)] : QString();
}

int DirGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : announced_;
}

int DirGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumns;
}

QVariant DirGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= announced_ || index.column() >= kColumns) return {};
  const DirGridRow& row = rows_[static_cast<size_t>(index.row())];
  const auto c = static_cast<size_t>(index.column());
  switch (role) {
    case Qt::DisplayRole: return row.text[c];
    case Qt::DecorationRole:
      if (row.icon[c] == DirGridRow::Icon::File) return fileIcon_;
      if (row.icon[c] == DirGridRow::Icon::Directory) return directoryIcon_;
      return {};
    // The rows keep the standard colours; a dark palette paints their dark variants, so
    // that no light cell stands beside the dark empty ones.
    case Qt::ForegroundRole:
      return row.fore[c].isValid() ? QVariant(palette::Shown(row.fore[c])) : QVariant();
    case Qt::BackgroundRole:
      return row.back[c].isValid() ? QVariant(palette::Shown(row.back[c])) : QVariant();
    default: return {};
  }
}

QVariant DirGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && role == Qt::DisplayRole) return Heading(section);
  return QAbstractTableModel::headerData(section, orientation, role);
}

void DirGridModel::Clear() {
  beginResetModel();
  rows_.clear();
  announced_ = 0;
  endResetModel();
}

void DirGridModel::Append(DirGridRow row) {
  rows_.push_back(std::move(row));
  if (!holdBack_) Announce();
}

void DirGridModel::HoldBack(bool hold) {
  holdBack_ = hold;
  if (!hold) Announce();
}

void DirGridModel::Announce() {
  const int total = static_cast<int>(rows_.size());
  if (announced_ == total) return;
  beginInsertRows(QModelIndex(), announced_, total - 1);
  announced_ = total;
  endInsertRows();
}

void DirGridModel::SetIcons(QIcon file, QIcon directory) {
  fileIcon_ = std::move(file);
  directoryIcon_ = std::move(directory);
}

}  // namespace lindrel::demo
