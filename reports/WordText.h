// Words of a row's text, as the word marker sees them: separated by blank, carriage
// return, line feed and BEL, numbered from 1. Word n starts at the separator that ends
// word n-1 (0 for word 1) and ends at the separator that ends it (or the text's end).
// Also the paragraph form of a text (one word per line) and the tag insertions that
// mark words in the HTML report.
//
// Pure functions; thread-safe.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace lindrel::reports {

struct WordStyle {
  bool bold = false;
  bool underline = false;
  bool strike = false;
};

bool IsWordSeparator(char c);

// Start and end positions of word n (word 0 and missing words: see the header comment;
// a word past the last one starts and ends at the text's length).
std::size_t WordStart(std::string_view text, long n);
std::size_t WordEnd(std::string_view text, long n);

// The paragraph-file content of a text: cut right after every separator, each piece
// followed by a line end, a last piece without separator written without one.
std::string ToParagraph(std::string_view text);

// The tags that open and close a marked run: " <b><u><strike><font color="C">" and
// "</font></strike></u></b>" for the styles used.
std::string OpeningTags(std::uint32_t colour, WordStyle style);
std::string ClosingTags(WordStyle style);

// Wraps words w1..w2 of `text`: the closing tags at (end of w2) + 1, or at the text's
// end when that lies beyond it, then the opening tags at the start of w1.
void MarkWords(std::string& text, long w1, long w2, std::uint32_t colour, WordStyle style);

// One run of words to mark.
struct MarkedRun {
  long w1, w2;
  std::uint32_t colour;
  WordStyle style;
};

// `text` with every run marked as MarkWords marks it, the runs (in ascending order)
// applied from the last to the first. Runs whose tags cannot disturb each other's words
// are written in one pass over the text.
// `scratch` only lends its storage, so that marking row after row allocates little.
struct MarkScratch {
  struct Span {
    std::size_t open, close;
  };
  std::vector<std::size_t> separators;
  std::vector<Span> spans;
};
std::string MarkRuns(std::string_view text, const std::vector<MarkedRun>& runs,
                     MarkScratch& scratch);
// MarkRuns appending to `out`, whose storage is reused row after row.
void AppendMarkedRuns(std::string_view text, const std::vector<MarkedRun>& runs,
                      MarkScratch& scratch, std::string& out);

// The paragraph form of `text` (as ToParagraph) into `paragraph`, reusing its storage.
void WriteParagraph(std::string_view text, std::string& paragraph);

// Words w1..w2 of `text` with the separator that ends w2 (from just after the separator
// in front of w1; from the start for word 1): a view into `text`.
std::string_view TakeWords(std::string_view text, long w1, long w2);

// Inserts the pieces, one after the other, at position `at` (at most the text's length).
// No piece may be a view into `text`.
void InsertPieces(std::string& text, std::size_t at,
                  std::initializer_list<std::string_view> pieces);

// Inserts `words` as one marked run at the end position of word n (position 1 when
// that end is 0).
void InsertMarkedRun(std::string& text, long n, std::string_view words, std::uint32_t colour,
                     WordStyle style);

}  // namespace lindrel::reports
