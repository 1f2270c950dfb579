// GridLines: one compared file as the comparison view shows it, line by line.
//
// The file is read whole and split exactly as the component reads it for a comparison,
// so that every change record lands on its own rows: in text mode (a byte 26 ends the
// content), a line feed ends a line, a carriage return right before it belongs to the
// line end, and any other carriage return stays in its line. A last line without a line
// end is a line; a file that ends with a line end has no empty line after it. Line texts
// are produced on demand, with every tab shown as four blanks. A large file is mapped,
// not copied, and once its lines are found its pages are given back: it costs four bytes
// a line and the pages of the lines on show. Readers of many lines off screen (a list of
// the changes, a search) read them aside or give the pages back, since every touch of a
// mapping brings in the pages around it. A smaller file (or any file where mapping is not
// allowed) is read, and costs its own size as well.
//
// Threading: not shared; a loaded object may be read from any one thread at a time.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "lindrel/MappedReading.h"
#include "widgets/view/Testable.h"

namespace lindrel::widgets {

class LINDREL_WIDGETS_TESTABLE GridLines {
 public:
  GridLines() = default;
  ~GridLines();
  GridLines(const GridLines&) = delete;
  GridLines& operator=(const GridLines&) = delete;

  // Replaces the content with the file at `path` (a name as FileNames.h holds it). On failure the
  // object is empty and `error` (when given) says why.
  bool Load(const QString& path, QString* error = nullptr);
  // Replaces the content with `bytes`, split by the same rules.
  void SetContent(QByteArray bytes);
  void Clear();

  int Count() const { return count_; }
  // The bytes loaded, all of them (also those after a byte 26).
  qsizetype ByteCount() const { return content_.size(); }
  // The text of line `index` (0-based): tabs as four blanks, UTF-8 when the bytes are
  // valid UTF-8, else Latin-1 (older files stay readable instead of showing
  // replacement marks). A byte-order mark is left out only at the start of the file;
  // elsewhere U+FEFF is a character of its line.
  QString Text(int index) const;
  // The first `maxCharacters` characters (UTF-16 units, a pair never split) of
  // Text(index), found by decoding only as much of the line as they need.
  QString Text(int index, qsizetype maxCharacters) const;
  // Text(index, maxCharacters) read from the file rather than through the mapping, so
  // that no page of it stays in memory: for lines read once, off screen. The same as
  // Text(index, maxCharacters) for a file that is not mapped, a line too long to read at
  // once, and a file that no longer holds the line.
  QString TextAside(int index, qsizetype maxCharacters) const;
  // Gives back every page of a mapped file; the lines on show come back when painted.
  void GiveBackPages() const;
  // True when line `index` has no characters.
  bool IsEmpty(int index) const;
  // At least the number of characters of Text(index), found without decoding it.
  qsizetype LengthBound(int index) const;
  // The raw bytes of line `index`.
  QByteArray Bytes(int index) const;

 private:
  struct Span {
    qsizetype offset;
    qsizetype length;
  };

  // What a line of more than kLongLine bytes is found to be, kept once found: a grid
  // asks for the start of its row on every paint, and a line of millions of bytes would
  // be scanned whole each time.
  static constexpr qsizetype kLongLine = 1 << 16;
  struct LongLine {
    bool utf8 = false;
    qsizetype tabs = 0;
    QString start;  // its first kKeptCharacters characters, once asked for
    bool started = false;
  };
  static constexpr qsizetype kKeptCharacters = 200000;
  LongLine& Facts(int index) const;
  // At least the first `maxCharacters` characters of Text(index) (more when cheaper),
  // decoded as UTF-8 when `utf8`, else as Latin-1.
  QString Start(int index, qsizetype maxCharacters, bool utf8) const;
  // The first `maxCharacters` characters of the line `bytes` at `offset` of the file.
  static QString StartOf(QByteArrayView bytes, qsizetype offset, qsizetype maxCharacters,
                         bool utf8);

  Span SpanOf(int index) const;
  qsizetype StartOf(int index) const {
    return starts32_.empty() ? starts64_[static_cast<size_t>(index)]
                             : starts32_[static_cast<size_t>(index)];
  }

  void Split();
  void CloseDescriptor();

  // The file's pages when it is mapped; content_ then only refers to them. Giving pages
  // back changes no byte of the content.
  mutable MappedFileContent mapping_;
  // The mapped file, open for reading lines aside; -1 when not mapped.
  int descriptor_ = -1;
  QByteArray content_;
  // Where each line starts, and one more entry: one past the last line's line feed, or
  // the end of the content + 1 when it has none. A line ends before the next one's
  // start, less its line feed. Four bytes a line for any file below 4 GiB.
  std::vector<std::uint32_t> starts32_;
  std::vector<qsizetype> starts64_;
  int count_ = 0;
  qsizetype end_ = 0;  // where the content ends (a byte 26 or the last byte)
  mutable std::unordered_map<int, LongLine> longLines_;
};

}  // namespace lindrel::widgets
