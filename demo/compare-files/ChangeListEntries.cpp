#include "demo/compare-files/ChangeListEntries.h"

#include <algorithm>

#include "lindrel/widgets/ComparisonView.h"
#include "lindrel/widgets/LindrelWidget.h"

namespace lindrel::demo {
namespace {

using Side = widgets::ComparisonView::Side;

constexpr int kEntryTextLength = 100;

// The first `count` characters of `text`; a character outside the basic plane (two
// UTF-16 units) is kept whole or left out, never split.
QString LeftCharacters(const QString& text, int count) {
  qsizetype units = 0;
  for (int taken = 0; taken < count && units < text.size(); ++taken)
    units += text.at(units).isHighSurrogate() && units + 1 < text.size() &&
                     text.at(units + 1).isLowSurrogate()
                 ? 2
                 : 1;
  return text.left(units);
}

QString Quoted(const QString& text) {
  return QLatin1Char('"') + LeftCharacters(text, kEntryTextLength) + QLatin1Char('"');
}

using Record = ChangeListEntries::Record;

bool HasEntry(const Record& r) {
  return r.changeType == 'a' || r.changeType == 'd' || r.changeType == 'c';
}

// "[N] ..." for the record; empty for a record of no known kind.
QString Entry(const Record& r, const widgets::ComparisonView& view) {
  // Put together piece by piece: a large comparison lists tens of thousands of entries.
  const QString n = QLatin1Char('[') + QString::number(r.number) + QStringLiteral("] ");
  // Enough of the line for the entry, however long the line is.
  auto text = [&view](Side side, long line) {
    return view.LineText(side, line, 2 * kEntryTextLength + 2);
  };
  switch (r.changeType) {
    case 'a':
    case 'd': {
      const bool added = r.changeType == 'a';
      const long k = added ? r.sourceEnd - r.sourceStart + 1 : r.masterEnd - r.masterStart + 1;
      return n + (added ? QStringLiteral("Addition of ") : QStringLiteral("Deletion of ")) +
             QString::number(k) +
             (k > 1 ? QStringLiteral(" lines at line (") : QStringLiteral(" line at line (")) +
             QString::number(r.masterStart) + QStringLiteral(") : ") +
             Quoted(added ? text(Side::Source, r.sourceStart) : text(Side::Master, r.masterStart));
    }
    case 'c': {
      const long k = std::max(r.masterEnd - r.masterStart, r.sourceEnd - r.sourceStart) + 1;
      return n + QString::number(k) +
             (k > 1 ? QStringLiteral(" changes at line (") : QStringLiteral(" change at line (")) +
             QString::number(r.masterStart) + QStringLiteral(") :") +
             Quoted(text(Side::Master, r.masterStart));
    }
    default: return {};
  }
}

}  // namespace

ChangeListEntries::ChangeListEntries(const widgets::ComparisonView& view, QObject* parent)
    : QAbstractListModel(parent), view_(view) {}

void ChangeListEntries::Fill(widgets::LindrelWidget& component) {
  Clear();
  std::vector<Record> records;
  const long count = component.FileCompareResultsCount();
  records.reserve(static_cast<size_t>(std::max(count, 0L)));
  // From the last record down: the one that cannot be read ends the list there.
  for (long index = count - 1; index >= 0; --index) {
    Record r;
    if (!component.FileCompareResultsGet(index, r.changeType, r.masterStart, r.masterEnd,
                                         r.sourceStart, r.sourceEnd))
      break;
    r.number = static_cast<int>(index + 1);
    if (HasEntry(r)) records.push_back(r);
  }
  if (records.empty()) return;
  std::reverse(records.begin(), records.end());
  // Inserted rather than reset, so that the list selects its first entry as when filled
  // item by item.
  beginInsertRows({}, 0, static_cast<int>(records.size()) - 1);
  records_ = std::move(records);
  endInsertRows();
}

void ChangeListEntries::Clear() {
  if (records_.empty()) return;
  beginRemoveRows({}, 0, static_cast<int>(records_.size()) - 1);
  records_.clear();
  records_.shrink_to_fit();
  endRemoveRows();
}

int ChangeListEntries::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(records_.size());
}

QVariant ChangeListEntries::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() ||
      (role != Qt::DisplayRole && role != Qt::EditRole))
    return {};
  return Entry(records_[static_cast<size_t>(index.row())], view_);
}

}  // namespace lindrel::demo
