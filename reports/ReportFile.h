// ReportFile: a report target opened for writing (LF line ends, as text mode writes on
// this platform), truncated, filled through a large buffer of its own because reports
// are written in many small pieces.
//
// One thread at a time; the file is closed by Close() or by the destructor.
#pragma once

#include <string>
#include <string_view>

namespace lindrel::reports {

class ReportFile {
 public:
  ReportFile() = default;
  ~ReportFile();
  ReportFile(const ReportFile&) = delete;
  ReportFile& operator=(const ReportFile&) = delete;

  // Opens `path` for writing, truncated, or for writing and reading back when
  // `readBack`. False when the file cannot be opened.
  bool Open(const std::string& path, bool readBack = false);
  bool IsOpen() const { return fd_ >= 0; }

  void Write(std::string_view text);
  void Write(long number);

  // Appends everything `other` holds, from its start.
  void CopyFrom(ReportFile& other);

  // Closes the file. False when any write or the close failed (a full disk, say).
  bool Close();

 private:
  void Flush();

  int fd_ = -1;
  bool failed_ = false;
  std::string buffer_;
};

}  // namespace lindrel::reports
