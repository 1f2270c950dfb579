// The INI reader and writer on any file content and any section, key and value: a file
// read and written back unchanged keeps its bytes (a last line gains its line end), and a
// key that IniDocument::Set accepts reads back as the value stored (blanks around it
// trimmed and one pair of quotes removed, as every reader does).
#include <fuzzer/FuzzedDataProvider.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/FuzzChecks.h"
#include "platform/IniFile.h"
#include "platform/IniScan.h"
#include "platform/ReplacementFile.h"

namespace {

using lindrel::fuzzing::Check;

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The value a reader gets for a stored value.
std::string AsRead(const std::string& value) {
  std::string read = Trimmed(value);
  if (read.size() >= 2 && read.front() == '"' && read.back() == '"')
    read = read.substr(1, read.size() - 2);
  return read;
}

// The file LoadText writes.
int TextFile() {
  static const int fd = ::memfd_create("ini", 0);
  Check(fd >= 0);
  return fd;
}
std::string TextPath() { return "/proc/self/fd/" + std::to_string(TextFile()); }

// Loads `text` as a file would be loaded.
lindrel::platform::IniDocument LoadText(const std::string& text) {
  const int fd = TextFile();
  Check(::ftruncate(fd, 0) == 0);
  Check(::pwrite(fd, text.data(), text.size(), 0) == static_cast<ssize_t>(text.size()));
  lindrel::platform::Status status;
  auto document = lindrel::platform::IniDocument::Load(TextPath(), &status);
  Check(status.ok());
  return document;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string section = input.ConsumeRandomLengthString(16);
  const std::string key = input.ConsumeRandomLengthString(16);
  const std::string value = input.ConsumeRandomLengthString(32);
  const std::string content = input.ConsumeRemainingBytesAsString();

  lindrel::platform::IniDocument document = LoadText(content);
  // The bounded reader that settings reads go through finds what the document holds.
  Check(lindrel::platform::ScanProfileValue(TextPath(), section, key, 1 << 20) ==
        document.Get(section, key));
  const std::string unchanged = document.Text();
  if (content.empty() || content.back() == '\n') {
    Check(unchanged == content);
  } else {
    Check(unchanged == content + "\n" || unchanged == content + "\r\n");
  }

  // Names are matched without their surrounding blanks in the file but as given in a
  // request, so only requests in the canonical form are expected to round-trip.
  if (Trimmed(section) != section || Trimmed(key) != key) return 0;
  if (!document.Set(section, key, value).ok()) return 0;
  const lindrel::platform::IniDocument reread = LoadText(document.Text());
  const auto stored = reread.Get(section, key);
  Check(stored.has_value());
  Check(*stored == AsRead(value));
  return 0;
}
