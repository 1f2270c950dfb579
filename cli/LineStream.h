// LineStream: a file read once, forward, a block at a time, handing out whole lines as
// their bytes stand in the file.
//
// Lines are those of text mode, the way the engine counts them: a line ends after its
// line feed (a CR LF pair ends one line, its CR stays part of the line's bytes here) and a
// byte 26 (Ctrl-Z) ends the content. Only as much of the file is read as the lines asked
// for need, and only the lines handed out are copied, so a listing of a few changes in a
// large file costs little more than counting its line feeds. One object per file, used
// by one thread.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <string>

namespace lindrel::cli {

class LineStream {
 public:
  LineStream() = default;
  ~LineStream();
  LineStream(const LineStream&) = delete;
  LineStream& operator=(const LineStream&) = delete;

  // Where a stream stands: the byte offset of its current line in the file and that
  // line's number.
  struct Position {
    long long offset = 0;
    long line = 1;
  };

  // Opens `path` at its first line. False, with the system's reason in `error`, when it
  // cannot be opened.
  bool Open(const std::string& path, std::string& error);

  // Opens `path` at `at`, a position another stream of the same file reported (so that a
  // second stream can look ahead of the first without reading what lies before).
  bool OpenAt(const std::string& path, Position at, std::string& error);

  // On a stream that stands at its first line: moves to the start of a line at or before
  // line `number` without reading what lies before `known`, a position the caller knows to
  // be that of a line start in this file. Lines a little before `known` are found by
  // reading back from it; a line further back is left to SkipTo. False on a read error.
  bool StartNear(Position known, long number);

  // Moves forward to the start of line `number` (1-based, not before the current line).
  // False when the content ends before that line, or on a read error (error() says why).
  bool SkipTo(long number);

  // Appends the current line's bytes to `out`, its line feed included, and moves to the
  // next line. `withoutNewline` tells whether the line is the last of the content and has
  // no line feed. False when there is no line left, or on a read error.
  bool Next(std::string& out, bool& withoutNewline);

  // The number of the current line (1-based).
  long line() const { return line_; }
  Position position() const { return {blockOffset_ + static_cast<long long>(pos_), line_}; }
  const std::string& path() const { return path_; }
  const std::string& error() const { return error_; }

 private:
  // Reads the next block; false at the end of the content or on a read error.
  bool Refill();
  // True when a byte of the current line is at pos_ (reading as needed).
  bool HasByte();

  int fd_ = -1;
  // Page-aligned: the kernel copies into an unaligned buffer at half the speed.
  struct FreeBlock {
    void operator()(char* block) const { std::free(block); }
  };
  std::unique_ptr<char, FreeBlock> block_;
  size_t pos_ = 0;
  size_t end_ = 0;
  long long blockOffset_ = 0;  // of the block's first byte in the file
  long long nextOffset_ = 0;   // of the byte the next read returns
  bool ended_ = false;         // end of file, byte 26 or read error met
  long line_ = 1;
  std::string path_;
  std::string error_;
};

}  // namespace lindrel::cli
