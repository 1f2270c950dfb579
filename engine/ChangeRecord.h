// One change between two files: a hunk of the edit script, in 1-based line numbers.
#pragma once

namespace lindrel::engine {

enum ChangeKind : char {
  kAddition = 'a',  // source lines with no counterpart in the master
  kChange = 'c',    // master lines replaced by source lines
  kDeletion = 'd',  // master lines with no counterpart in the source
};

// An empty side holds the number of the line before the change on that side (0 when the
// change stands before the first line); a one-line side has start == end.
struct ChangeRecord {
  char kind = 0;
  long masterStart = 0;
  long masterEnd = 0;
  long sourceStart = 0;
  long sourceEnd = 0;

  friend bool operator==(const ChangeRecord&, const ChangeRecord&) = default;
};

// Receives the records of one engine run, in order, on the engine's thread.
class ChangeSink {
 public:
  virtual ~ChangeSink() = default;
  virtual void StoreChangeRecord(const ChangeRecord& record) = 0;

  // Both files of a differing pair begin with the same `bytes` bytes, which hold their
  // first `lines` whole lines exactly as the files have them (text mode changed none), so
  // line lines + 1 starts at byte `bytes` of either file. Called before the pair's records,
  // and only when reading the pair established it.
  virtual void StoreEqualStart(long lines, long long bytes) {
    (void)lines;
    (void)bytes;
  }
};

}  // namespace lindrel::engine
