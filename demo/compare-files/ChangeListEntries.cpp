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

struct Record {
  long changeType = 0;
  long masterStart = 0;
  long masterEnd = 0;
  long sourceStart = 0;
  long sourceEnd = 0;
};

// "[N] ..." for record number `number`; empty for a record of no known kind.
QString Entry(int number, const Record& r, const widgets::ComparisonView& view) {
  // Put together piece by piece: a large comparison lists tens of thousands of entries.
  const QString n = QLatin1Char('[') + QString::number(number) + QStringLiteral("] ");
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

QStringList ChangeListEntries(widgets::LindrelWidget& component,
                              const widgets::ComparisonView& view) {
  const long count = component.FileCompareResultsCount();
  QStringList entries;
  for (long index = count - 1; index >= 0; --index) {
    Record r;
    if (!component.FileCompareResultsGet(index, r.changeType, r.masterStart, r.masterEnd,
                                         r.sourceStart, r.sourceEnd))
      break;
    QString entry = Entry(static_cast<int>(index + 1), r, view);
    if (!entry.isEmpty()) entries.prepend(entry);
  }
  return entries;
}

}  // namespace lindrel::demo
