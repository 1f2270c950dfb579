// The words of one line as the comparison view's detail view compares them: a word is
// a run of characters up to and including the next line feed, carriage return, blank or
// character 7; the last word of a line may have no delimiter. Words are numbered from 1.
// Runs of blanks therefore give one-character words.
//
// Threading: plain functions.
#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

#include "widgets/view/Testable.h"

namespace lindrel::widgets {

// Word k occupies the characters [begin, end) of its line, its delimiter included.
struct WordRange {
  int begin = 0;
  int end = 0;
};

class LINDREL_WIDGETS_TESTABLE ParagraphWords {
 public:
  explicit ParagraphWords(const QString& text);

  int Count() const { return static_cast<int>(ends_.size()); }
  // False when the line has fewer than k words (or k < 1).
  bool Has(int k) const { return k >= 1 && k <= Count(); }
  // Word k (Has(k) must hold).
  WordRange Range(int k) const;
  // The characters of words first..last, or "" when either is missing.
  QString Text(int first, int last) const;
  // Where text that follows word k goes: after its delimiter; the start of the line for
  // k < 1, the end of the line past the last word.
  int After(int k) const;
  // Where text that precedes word k goes: where the word begins; the end of the line past
  // the last word.
  int Before(int k) const;

  // The word file of the line: one word per file line, each written with its delimiter.
  QByteArray WordFile() const;

 private:
  QString text_;
  std::vector<int> ends_;  // one past the last character of each word
};

}  // namespace lindrel::widgets
