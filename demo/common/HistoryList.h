// HistoryList: a list of recently used paths (files, folders, patterns) kept in the
// settings file, newest last, at most 20 saved.
//
// In the file a list lives in a section of its own name, under the keys section name +
// n, n from 1 to 20, the newest under 20.
//
// Threading: GUI thread only.
#pragma once

#include <QString>
#include <QStringList>

namespace lindrel::demo {

class HistoryList {
 public:
  static constexpr int kMaxSaved = 20;
  // The value a missing key reads as; never added to a list.
  static constexpr const char* kMissing = "+-!#";

  // Ignores an empty item; moves an item already present to the newest place; else
  // appends it as the newest.
  void Add(const QString& item);

  // Writes the newest items, at most 20, in section `section`; items that cannot be
  // stored in an INI line are skipped. False, with the reason in `error`, when the file
  // cannot be written.
  bool Save(const QString& section, QString* error = nullptr) const;

  // Replaces the list with what section `section` holds; a stored item that holds a NUL
  // is left out, as a missing one is.
  void Load(const QString& section);

  void Clear() { items_.clear(); }
  bool IsEmpty() const { return items_.isEmpty(); }
  int Count() const { return static_cast<int>(items_.size()); }
  // Oldest first.
  const QStringList& Items() const { return items_; }
  QStringList NewestFirst() const;

 private:
  QStringList items_;
};

}  // namespace lindrel::demo
