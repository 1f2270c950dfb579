#include "widgets/view/RowWordMarks.h"

#include <algorithm>
#include <cstdint>

#include "widgets/view/GridSet.h"
#include "widgets/view/ParagraphWords.h"

namespace lindrel::widgets {
namespace {

bool IsWhite(char16_t u) { return u == ' ' || (u >= 9 && u <= 13); }

// What a word is compared by: the engine's rules for the two settings (white space
// skipped, A-Z as a-z), applied to the word with its delimiter.
QString KeyOf(QStringView word, WordCompareOptions options) {
  QString key;
  key.reserve(word.size());
  for (QChar c : word) {
    char16_t u = c.unicode();
    if (options.ignoreWhiteSpace && IsWhite(u)) continue;
    if (options.ignoreCase && u >= 'A' && u <= 'Z') u = static_cast<char16_t>(u - 'A' + 'a');
    key += QChar(u);
  }
  return key;
}

std::vector<QString> KeysOf(const QString& text, const ParagraphWords& words,
                            WordCompareOptions options) {
  std::vector<QString> keys;
  keys.reserve(static_cast<size_t>(words.Count()));
  for (int k = 1; k <= words.Count(); ++k) {
    const WordRange r = words.Range(k);
    keys.push_back(KeyOf(QStringView(text).mid(r.begin, r.end - r.begin), options));
  }
  return keys;
}

QString Cut(const QString& text, qsizetype limit) {
  if (text.size() <= limit) return text;
  if (limit > 0 && text[limit - 1].isHighSurrogate()) --limit;
  return text.left(limit);
}

// Adds words first..last (1-based, inclusive) of `words` as one mark.
void AddRun(std::vector<WordMark>& marks, const ParagraphWords& words, int first, int last,
            WordMark::Kind kind) {
  if (first > last) return;
  marks.push_back({words.Range(first).begin, words.Range(last).end, kind});
}

}  // namespace

WordDifferences DiffWords(const QString& masterLine, const QString& sourceLine,
                          WordCompareOptions options) {
  const QString master = Cut(masterLine, RowWordMarks::kMarkedCharacters);
  const QString source = Cut(sourceLine, RowWordMarks::kMarkedCharacters);
  const ParagraphWords mw(master), sw(source);
  const std::vector<QString> mk = KeysOf(master, mw, options);
  const std::vector<QString> sk = KeysOf(source, sw, options);
  const int n = mw.Count();
  const int m = sw.Count();
  int prefix = 0;
  while (prefix < n && prefix < m && mk[prefix] == sk[prefix]) ++prefix;
  int suffix = 0;
  while (suffix < n - prefix && suffix < m - prefix && mk[n - 1 - suffix] == sk[m - 1 - suffix])
    ++suffix;
  const int rows = n - prefix - suffix;  // master words in the middle
  const int cols = m - prefix - suffix;

  // Matched pairs of the middle (0-based word indexes), in order.
  std::vector<std::pair<int, int>> pairs;
  if (rows > 0 && cols > 0 &&
      static_cast<long>(rows) * static_cast<long>(cols) <= RowWordMarks::kMaxCells) {
    // lcs[i][j]: the longest common subsequence of the middle's master words from i and
    // source words from j.
    std::vector<std::uint16_t> lcs(static_cast<size_t>(rows + 1) * static_cast<size_t>(cols + 1));
    auto at = [&](int i, int j) -> std::uint16_t& {
      return lcs[static_cast<size_t>(i) * static_cast<size_t>(cols + 1) + static_cast<size_t>(j)];
    };
    for (int i = rows - 1; i >= 0; --i) {
      for (int j = cols - 1; j >= 0; --j) {
        at(i, j) = mk[prefix + i] == sk[prefix + j]
                       ? static_cast<std::uint16_t>(at(i + 1, j + 1) + 1)
                       : std::max(at(i + 1, j), at(i, j + 1));
      }
    }
    for (int i = 0, j = 0; i < rows && j < cols;) {
      if (mk[prefix + i] == sk[prefix + j]) {
        pairs.emplace_back(prefix + i, prefix + j);
        ++i;
        ++j;
      } else if (at(i + 1, j) >= at(i, j + 1)) {
        ++i;
      } else {
        ++j;
      }
    }
  }
  // The common words at the end close the last gap.
  pairs.emplace_back(n - suffix, m - suffix);

  WordDifferences d;
  int nextMaster = prefix;  // 0-based: the first word not yet matched or marked
  int nextSource = prefix;
  for (auto [i, j] : pairs) {
    const bool masterGap = i > nextMaster;
    const bool sourceGap = j > nextSource;
    // Word numbers are 1-based: words nextMaster+1 .. i are the gap.
    if (masterGap && sourceGap) {
      AddRun(d.master, mw, nextMaster + 1, i, WordMark::Kind::Changed);
      AddRun(d.source, sw, nextSource + 1, j, WordMark::Kind::Changed);
      AddRun(d.merged, sw, nextSource + 1, j, WordMark::Kind::Changed);
    } else if (masterGap) {
      AddRun(d.master, mw, nextMaster + 1, i, WordMark::Kind::Deleted);
      const int at = sw.After(nextSource);
      d.merged.push_back({at, at, WordMark::Kind::Deleted});
    } else if (sourceGap) {
      AddRun(d.source, sw, nextSource + 1, j, WordMark::Kind::Added);
      AddRun(d.merged, sw, nextSource + 1, j, WordMark::Kind::Added);
    }
    nextMaster = i + 1;
    nextSource = j + 1;
  }
  return d;
}

RowWordMarks::RowWordMarks(const GridSet& grids, std::function<WordCompareOptions()> options)
    : grids_(grids), options_(std::move(options)) {}

void RowWordMarks::SetOn(bool on) {
  on_ = on;
  if (!on) cache_.clear();
}

const WordDifferences& RowWordMarks::Of(int gridRow) {
  if (!on_) return none_;
  if (const WordDifferences* known = cache_.object(gridRow)) return *known;
  const FileGridModel& master = grids_.MasterRows();
  const FileGridModel& source = grids_.SourceRows();
  auto* marks = new WordDifferences;
  if (master.IsDifferenceRow(gridRow) && !master.Row(gridRow).IsPadding() &&
      !source.Row(gridRow).IsPadding()) {
    // One more character than is compared tells Cut that the line goes on.
    *marks = DiffWords(master.LineText(gridRow, kMarkedCharacters + 1),
                       source.LineText(gridRow, kMarkedCharacters + 1), options_());
    ++worked_;
  }
  const WordDifferences& result = *marks;
  cache_.insert(gridRow, marks);
  return result;
}

}  // namespace lindrel::widgets
