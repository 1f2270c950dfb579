#include "reports/WordText.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "reports/HtmlColour.h"

namespace lindrel::reports {

namespace {

// Position of the n-th separator (1-based), or the text's length when there are fewer.
std::size_t NthSeparator(std::string_view text, long n) {
  long seen = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsWordSeparator(text[i]) && ++seen == n) return i;
  }
  return text.size();
}

struct StyleTags {
  std::uint32_t colour;
  WordStyle style;
  std::string opening, closing;
};

// The opening and closing tags of a run, made once for the colours and styles the reports
// use (they are asked for once per marked run) and per call for any other.
template <typename UseTags>
void WithTags(std::uint32_t colour, WordStyle style, UseTags use) {
  static const std::vector<StyleTags> known = [] {
    std::vector<StyleTags> tags;
    for (std::uint32_t c : {kChangedColour, kAddedColour, kDeletedColour}) {
      for (WordStyle s : {WordStyle{true, false, false}, WordStyle{true, true, false},
                          WordStyle{true, false, true}}) {
        tags.push_back({c, s, OpeningTags(c, s), ClosingTags(s)});
      }
    }
    return tags;
  }();
  for (const StyleTags& tags : known) {
    if (tags.colour == colour && tags.style.bold == style.bold &&
        tags.style.underline == style.underline && tags.style.strike == style.strike) {
      use(std::string_view(tags.opening), std::string_view(tags.closing));
      return;
    }
  }
  const std::string opening = OpeningTags(colour, style), closing = ClosingTags(style);
  use(std::string_view(opening), std::string_view(closing));
}

}  // namespace

bool IsWordSeparator(char c) { return c == ' ' || c == '\r' || c == '\n' || c == '\a'; }

std::size_t WordStart(std::string_view text, long n) {
  return n <= 1 ? 0 : NthSeparator(text, n - 1);
}

std::size_t WordEnd(std::string_view text, long n) { return n <= 0 ? 0 : NthSeparator(text, n); }

std::string ToParagraph(std::string_view text) {
  std::string paragraph;
  WriteParagraph(text, paragraph);
  return paragraph;
}

void WriteParagraph(std::string_view text, std::string& paragraph) {
  // Sized once, then filled: every byte as it is, a line end after each separator.
  std::size_t separators = 0;
  for (char c : text) separators += IsWordSeparator(c) ? 1 : 0;
  paragraph.resize(text.size() + separators);
  char* out = paragraph.data();
  for (char c : text) {
    *out++ = c;
    if (IsWordSeparator(c)) *out++ = '\n';
  }
}

std::string OpeningTags(std::uint32_t colour, WordStyle style) {
  std::string tags = " ";
  if (style.bold) tags += "<b>";
  if (style.underline) tags += "<u>";
  if (style.strike) tags += "<strike>";
  tags += "<font color=" + QuotedColour(colour) + ">";
  return tags;
}

std::string ClosingTags(WordStyle style) {
  std::string tags = "</font>";
  if (style.strike) tags += "</strike>";
  if (style.underline) tags += "</u>";
  if (style.bold) tags += "</b>";
  return tags;
}

void MarkWords(std::string& text, long w1, long w2, std::uint32_t colour, WordStyle style) {
  const std::size_t close = std::min(WordEnd(text, w2) + 1, text.size());
  const std::size_t open = std::min(WordStart(text, w1), close);
  WithTags(colour, style, [&](std::string_view opening, std::string_view closing) {
    text.insert(close, closing);
    text.insert(open, opening);
  });
}

std::string MarkRuns(std::string_view text, const std::vector<MarkedRun>& runs,
                     MarkScratch& scratch) {
  std::string marked;
  AppendMarkedRuns(text, runs, scratch, marked);
  return marked;
}

void AppendMarkedRuns(std::string_view text, const std::vector<MarkedRun>& runs,
                      MarkScratch& scratch, std::string& out) {
  std::vector<std::size_t>& separators = scratch.separators;
  separators.clear();
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsWordSeparator(text[i])) separators.push_back(i);
  }
  const auto nth = [&](long n) {
    return n >= 1 && static_cast<std::size_t>(n) <= separators.size()
               ? separators[static_cast<std::size_t>(n - 1)]
               : text.size();
  };
  using Span = MarkScratch::Span;
  std::vector<Span>& spans = scratch.spans;
  spans.clear();
  // Applied last to first, each run sees the text before the later runs unchanged, as long
  // as it ends (at a separator of its own) before the next one opens. Otherwise the runs
  // are applied one by one, last first.
  bool onePass = true;
  for (const MarkedRun& run : runs) {
    const std::size_t end = run.w2 <= 0 ? 0 : nth(run.w2);
    const std::size_t close = std::min(end + 1, text.size());
    const std::size_t open = std::min(run.w1 <= 1 ? 0 : nth(run.w1 - 1), close);
    if (!spans.empty() && spans.back().close > open) onePass = false;
    // A run cut at the text's end would reach into the tags of the runs after it.
    if (end + 1 > text.size()) onePass = onePass && &run == &runs.back();
    spans.push_back({open, close});
  }
  if (!onePass) {
    std::string marked(text);
    for (auto r = runs.rbegin(); r != runs.rend(); ++r) {
      MarkWords(marked, r->w1, r->w2, r->colour, r->style);
    }
    out += marked;
    return;
  }
  std::string& marked = out;
  marked.reserve(marked.size() + text.size() + runs.size() * 48);
  std::size_t at = 0;
  for (std::size_t i = 0; i < runs.size(); ++i) {
    const Span span = spans[i];
    WithTags(runs[i].colour, runs[i].style,
             [&](std::string_view opening, std::string_view closing) {
               marked.append(text.substr(at, span.open - at));
               marked.append(opening);
               marked.append(text.substr(span.open, span.close - span.open));
               marked.append(closing);
             });
    at = span.close;
  }
  marked.append(text.substr(at));
}

std::string_view TakeWords(std::string_view text, long w1, long w2) {
  const std::size_t from = w1 <= 1 ? 0 : std::min(WordStart(text, w1) + 1, text.size());
  const std::size_t to = std::min(WordEnd(text, w2) + 1, text.size());
  if (to <= from) return {};
  return text.substr(from, to - from);
}

void InsertPieces(std::string& text, std::size_t at,
                  std::initializer_list<std::string_view> pieces) {
  std::size_t size = 0;
  for (std::string_view piece : pieces) size += piece.size();
  // One move of the text behind `at`, however many pieces.
  text.insert(at, size, ' ');
  char* out = text.data() + at;
  for (std::string_view piece : pieces) {
    if (!piece.empty()) std::memcpy(out, piece.data(), piece.size());
    out += piece.size();
  }
}

void InsertMarkedRun(std::string& text, long n, std::string_view words, std::uint32_t colour,
                     WordStyle style) {
  std::size_t at = WordEnd(text, n);
  if (at == 0) at = 1;
  at = std::min(at, text.size());
  WithTags(colour, style, [&](std::string_view opening, std::string_view closing) {
    InsertPieces(text, at, {opening, words, closing});
  });
}

}  // namespace lindrel::reports
