// ReportFile: a report target opened for writing in text mode (LF line ends), truncated,
// with a large buffer because reports are written in many small pieces.
//
// One thread at a time; the file is closed by Close() or by the destructor.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace lindrel::reports {

class ReportFile {
 public:
  ReportFile() = default;
  ~ReportFile();
  ReportFile(const ReportFile&) = delete;
  ReportFile& operator=(const ReportFile&) = delete;

  // Opens `path` for writing ("w") or for writing and reading back ("w+"). False when
  // the file cannot be opened.
  bool Open(const std::string& path, const char* mode = "w");
  bool IsOpen() const { return file_ != nullptr; }

  void Write(std::string_view text);
  void Write(long number);

  // Appends everything `other` holds, from its start.
  void CopyFrom(ReportFile& other);

  // Closes the file. False when any write or the close failed (a full disk, say).
  bool Close();

 private:
  std::FILE* file_ = nullptr;
  bool failed_ = false;
};

}  // namespace lindrel::reports
