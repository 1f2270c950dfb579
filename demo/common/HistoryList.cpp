#include "demo/common/HistoryList.h"

#include <algorithm>

#include "demo/common/IniStrings.h"
#include "demo/common/SettingsFile.h"

namespace lindrel::demo {

void HistoryList::Add(const QString& item) {
  if (item.isEmpty()) return;
  items_.removeAll(item);
  items_.append(item);
}

bool HistoryList::Save(const QString& section, QString* error) const {
  QList<QPair<QString, QString>> entries;
  int n = kMaxSaved;
  for (qsizetype i = items_.size() - 1; i >= 0 && n >= 1; --i) {
    // A name with a line break (legal on Linux) would split the INI line; such an item
    // stays in this run's list but is not saved.
    if (!ini::CanStoreValue(items_[i])) continue;
    entries.append({section + QString::number(n), items_[i]});
    --n;
  }
  if (entries.isEmpty()) return true;
  return WriteSettings(section, entries, error);
}

void HistoryList::Load(const QString& section) {
  items_.clear();
  const QString missing = QString::fromLatin1(kMissing);
  for (int n = 1; n <= kMaxSaved; ++n) {
    QString value = ReadFileNameSetting(section, section + QString::number(n), missing);
    if (value != missing) Add(value);
  }
}

QStringList HistoryList::NewestFirst() const {
  QStringList reversed = items_;
  std::reverse(reversed.begin(), reversed.end());
  return reversed;
}

}  // namespace lindrel::demo
