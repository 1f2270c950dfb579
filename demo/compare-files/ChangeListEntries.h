// The entries of the Compare Files window's drop-down list of changes: one per change
// record, "[N] ..." with the kind, the size and the line of the change and the start of
// its first line's text.
//
// An entry is made when the list shows or reads it: a large comparison has a hundred
// thousand changes, and making every entry up front would hold up its result.
//
// Threading: GUI thread only.
#pragma once

#include <QAbstractListModel>

#include <vector>

namespace lindrel::widgets {
class ComparisonView;
class LindrelWidget;
}  // namespace lindrel::widgets

namespace lindrel::demo {

class ChangeListEntries : public QAbstractListModel {
  Q_OBJECT

 public:
  explicit ChangeListEntries(const widgets::ComparisonView& view, QObject* parent = nullptr);

  // The entries for the records of `component`, with the line texts the view shows: a
  // record of no known kind has none, and a record that cannot be read ends the list.
  void Fill(widgets::LindrelWidget& component);
  // No entries.
  void Clear();

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  struct Record {
    int number = 0;  // 1-based, as the entry shows it
    long changeType = 0;
    long masterStart = 0;
    long masterEnd = 0;
    long sourceStart = 0;
    long sourceEnd = 0;
  };

 private:
  const widgets::ComparisonView& view_;
  std::vector<Record> records_;  // those with an entry, in order
};

}  // namespace lindrel::demo
