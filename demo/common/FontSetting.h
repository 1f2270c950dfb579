// A window's grid font as the settings file keeps it: the keys FontName, FontSize,
// FontBold and FontItalic in the window's own section.
//
// Threading: GUI thread only.
#pragma once

#include <QFont>
#include <QList>
#include <QPair>
#include <QString>

namespace lindrel::demo {

struct FontSetting {
  QString name;
  int size = 8;
  bool bold = false;
  bool italic = false;

  // The stored font of `section`, with `defaultName`, size 8, regular for what is missing.
  static FontSetting Read(const QString& section, const QString& defaultName);
  // The four keys and their texts, for writing with the rest of the section.
  QList<QPair<QString, QString>> Entries() const;

  QFont Font() const;
  void Set(const QFont& font);
};

}  // namespace lindrel::demo
