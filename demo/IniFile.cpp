#include "demo/IniFile.h"

#include <QFile>
#include <QSaveFile>

#include <optional>

namespace lindrel::demo::ini {
namespace {

struct Lines {
  QList<QByteArray> text;  // without line ends
  QByteArray lineEnd = "\n";
};

Lines Load(const QString& path) {
  Lines lines;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return lines;
  QByteArray all = file.readAll();
  if (all.isEmpty()) return lines;
  lines.text = all.split('\n');
  // A final line end leaves an empty last piece that is not a line.
  if (all.endsWith('\n')) lines.text.removeLast();
  if (!lines.text.isEmpty() && lines.text.first().endsWith('\r')) lines.lineEnd = "\r\n";
  for (QByteArray& line : lines.text) {
    if (line.endsWith('\r')) line.chop(1);
  }
  return lines;
}

std::optional<QString> SectionName(const QByteArray& line) {
  QByteArray trimmed = line.trimmed();
  if (!trimmed.startsWith('[')) return std::nullopt;
  int close = trimmed.indexOf(']');
  if (close < 0) return std::nullopt;
  return QString::fromUtf8(trimmed.mid(1, close - 1)).trimmed();
}

bool IsComment(const QByteArray& line) {
  QByteArray trimmed = line.trimmed();
  return trimmed.startsWith(';') || trimmed.startsWith('#');
}

std::optional<QString> KeyOf(const QByteArray& line) {
  if (IsComment(line)) return std::nullopt;
  int equals = line.indexOf('=');
  if (equals < 0) return std::nullopt;
  return QString::fromUtf8(line.left(equals)).trimmed();
}

bool SameName(const QString& a, const QString& b) {
  return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Index of the header line of `section`, or -1.
int FindSection(const Lines& lines, const QString& section) {
  for (int i = 0; i < lines.text.size(); ++i) {
    std::optional<QString> name = SectionName(lines.text[i]);
    if (name && SameName(*name, section)) return i;
  }
  return -1;
}

// One past the last line of the section whose header is at `header`.
int SectionEnd(const Lines& lines, int header) {
  int i = header + 1;
  while (i < lines.text.size() && !SectionName(lines.text[i])) ++i;
  return i;
}

std::optional<QString> FindValue(const Lines& lines, const QString& section,
                                 const QString& key) {
  int header = FindSection(lines, section);
  if (header < 0) return std::nullopt;
  int end = SectionEnd(lines, header);
  for (int i = header + 1; i < end; ++i) {
    std::optional<QString> name = KeyOf(lines.text[i]);
    if (!name || !SameName(*name, key)) continue;
    const QByteArray& line = lines.text[i];
    QByteArray value = line.mid(line.indexOf('=') + 1).trimmed();
    if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
      value = value.mid(1, value.size() - 2);
    return QString::fromUtf8(value);
  }
  return std::nullopt;
}

bool Storable(const QString& text) {
  return !text.contains('\n') && !text.contains('\r') && !text.contains(QChar(0));
}

QString CheckNames(const QString& section, const QList<QPair<QString, QString>>& entries) {
  if (section.trimmed().isEmpty() || !Storable(section) || section.contains(']'))
    return QStringLiteral("the section name \"%1\" cannot be stored").arg(section);
  for (const auto& entry : entries) {
    if (entry.first.trimmed().isEmpty() || !Storable(entry.first) || entry.first.contains('='))
      return QStringLiteral("the key \"%1\" cannot be stored").arg(entry.first);
    if (!Storable(entry.second))
      return QStringLiteral("the value of \"%1\" holds a line break or NUL").arg(entry.first);
  }
  return QString();
}

}  // namespace

QString ReadString(const QString& path, const QString& section, const QString& key,
                   const QString& defaultValue, int bufferSize) {
  std::optional<QString> value = FindValue(Load(path), section, key);
  QString result = value ? *value : defaultValue;
  if (bufferSize > 0 && result.size() > bufferSize - 1) result.truncate(bufferSize - 1);
  return result;
}

long ReadInt(const QString& path, const QString& section, const QString& key,
             long defaultValue) {
  std::optional<QString> value = FindValue(Load(path), section, key);
  if (!value) return defaultValue;
  QString text = *value;
  int i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long number = 0;
  for (; i < text.size() && text[i].isDigit() && text[i].unicode() < 128; ++i) {
    int digit = text[i].unicode() - '0';
    // Saturate instead of overflowing on absurdly long digit runs.
    if (number > (2147483647L - digit) / 10) {
      number = 2147483647L;
      break;
    }
    number = number * 10 + digit;
  }
  return negative ? -number : number;
}

bool CanStoreValue(const QString& value) { return Storable(value); }

bool WriteString(const QString& path, const QString& section, const QString& key,
                 const QString& value, QString* error) {
  return WriteStrings(path, section, {{key, value}}, error);
}

bool WriteStrings(const QString& path, const QString& section,
                  const QList<QPair<QString, QString>>& entries, QString* error) {
  QString refused = CheckNames(section, entries);
  if (!refused.isEmpty()) {
    if (error) *error = refused;
    return false;
  }

  Lines lines = Load(path);
  int header = FindSection(lines, section);
  if (header < 0) {
    lines.text.append("[" + section.toUtf8() + "]");
    header = lines.text.size() - 1;
  }
  for (const auto& [key, value] : entries) {
    QByteArray line = key.toUtf8() + "=" + value.toUtf8();
    int end = SectionEnd(lines, header);
    int found = -1;
    int lastContent = header;
    for (int i = header + 1; i < end; ++i) {
      if (!lines.text[i].trimmed().isEmpty()) lastContent = i;
      std::optional<QString> name = KeyOf(lines.text[i]);
      if (found < 0 && name && SameName(*name, key)) found = i;
    }
    if (found >= 0) lines.text[found] = line;
    else lines.text.insert(lastContent + 1, line);
  }

  QSaveFile file(path);
  file.setDirectWriteFallback(false);
  if (!file.open(QIODevice::WriteOnly)) {
    if (error) *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    return false;
  }
  for (const QByteArray& line : lines.text) {
    file.write(line);
    file.write(lines.lineEnd);
  }
  if (!file.commit()) {
    if (error) *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    return false;
  }
  return true;
}

}  // namespace lindrel::demo::ini
