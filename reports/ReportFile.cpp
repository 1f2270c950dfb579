#include "reports/ReportFile.h"

#include <charconv>

namespace lindrel::reports {

namespace {
constexpr std::size_t kBufferSize = 1 << 16;
}

ReportFile::~ReportFile() {
  if (file_ != nullptr) std::fclose(file_);  // failure unreportable here; Close() reports it
}

bool ReportFile::Open(const std::string& path, const char* mode) {
  if (file_ != nullptr) Close();
  file_ = std::fopen(path.c_str(), mode);
  failed_ = false;
  if (file_ != nullptr) std::setvbuf(file_, nullptr, _IOFBF, kBufferSize);
  return file_ != nullptr;
}

void ReportFile::Write(std::string_view text) {
  if (file_ == nullptr || text.empty()) return;
  if (std::fwrite(text.data(), 1, text.size(), file_) != text.size()) failed_ = true;
}

void ReportFile::Write(long number) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, number);
  Write(std::string_view(digits, static_cast<std::size_t>(result.ptr - digits)));
}

void ReportFile::CopyFrom(ReportFile& other) {
  if (file_ == nullptr || other.file_ == nullptr) return;
  if (std::fflush(other.file_) != 0) other.failed_ = true;
  std::rewind(other.file_);
  char buffer[kBufferSize];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, other.file_)) > 0) {
    Write(std::string_view(buffer, n));
  }
  if (std::ferror(other.file_)) failed_ = true;
}

bool ReportFile::Close() {
  if (file_ == nullptr) return !failed_;
  if (std::ferror(file_)) failed_ = true;
  if (std::fclose(file_) != 0) failed_ = true;
  file_ = nullptr;
  return !failed_;
}

}  // namespace lindrel::reports
