#include "reports/LineTable.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace lindrel::reports {

namespace {

constexpr std::size_t kCleanedLimit = 99995;
constexpr long kMinimumCapacity = 5000;
constexpr long kMaximumCapacity = 50000;

// A line that cleaning and escaping leave as it is (up to the cleaning limit).
bool StoredAsIs(std::string_view raw) {
  for (char c : raw) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 32 || c == '<' || c == '>') return false;
  }
  return true;
}

// Reads the whole file in one allocation sized from the file system, then converts it
// to its text-mode reading in place. False when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::unique_ptr<char[]>& data, std::size_t& size) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
    ::close(fd);
    return false;
  }
  std::size_t capacity = static_cast<std::size_t>(std::max<off_t>(info.st_size, 0)) + 1;
  data = std::make_unique_for_overwrite<char[]>(capacity);
  size = 0;
  for (;;) {
    if (size == capacity) {
      // The file grew while it was read: keep reading into a larger buffer.
      auto larger = std::make_unique_for_overwrite<char[]>(capacity * 2);
      std::memcpy(larger.get(), data.get(), size);
      data = std::move(larger);
      capacity *= 2;
    }
    const ssize_t n = ::read(fd, data.get() + size, capacity - size);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return false;
    }
    size += static_cast<std::size_t>(n);
  }
  ::close(fd);
  // Text mode: a Ctrl-Z ends the content. CR LF pairs need no conversion here because
  // lines are cut at LF and the cleaning drops every CR.
  std::string_view raw(data.get(), size);
  if (auto eof = raw.find('\x1a'); eof != std::string_view::npos) size = eof;
  return true;
}

}  // namespace

std::string NumberText(const LineEntry& entry) {
  return entry.number == 0 ? std::string() : std::to_string(entry.number);
}

std::string_view LineTable::Keep(std::string text) {
  return storage_->texts.emplace_back(std::move(text));
}

std::string_view LineTable::KeepContent(std::unique_ptr<char[]> content, std::size_t size) {
  std::string_view view(content.get(), size);
  storage_->contents.push_back(std::move(content));
  return view;
}

std::size_t PresizeFromHint(long capacityHint) {
  return static_cast<std::size_t>(std::clamp(capacityHint, kMinimumCapacity, kMaximumCapacity));
}

std::string CleanAndEscapeLine(std::string_view raw) {
  std::string cleaned;
  cleaned.reserve(std::min(raw.size(), kCleanedLimit + 2));
  for (char c : raw) {
    if (cleaned.size() > kCleanedLimit) break;
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 32) {
      cleaned.push_back(c);
    } else if (byte == '\t') {
      cleaned.append("  ");
    }
  }
  if (cleaned.find_first_of("<>") == std::string::npos) return cleaned;

  std::string escaped;
  escaped.reserve(cleaned.size() + 16);
  for (char c : cleaned) {
    if (c == '<') escaped.append("&lt;");
    else if (c == '>') escaped.append("&gt;");
    else escaped.push_back(c);
  }
  return escaped;
}

long LoadLineTable(const std::string& path, LineTable& table, long capacityHint,
                   std::size_t extraEntries) {
  std::unique_ptr<char[]> data;
  std::size_t size = 0;
  if (!ReadWholeFile(path, data, size)) return -1;

  LineTable loaded;
  std::string_view rest = loaded.KeepContent(std::move(data), size);
  const auto lineCount = static_cast<std::size_t>(std::count(rest.begin(), rest.end(), '\n'));
  loaded.entries.reserve(std::max(PresizeFromHint(capacityHint), lineCount + 2 + extraEntries));
  long lines = 0;
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    const std::string_view line = rest.substr(0, end);
    std::string_view text;
    if (StoredAsIs(line)) {
      text = line.substr(0, kCleanedLimit + 1);
    } else {
      text = loaded.Keep(CleanAndEscapeLine(line));
    }
    loaded.entries.push_back({++lines, kPlainMark, text});
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
  }
  loaded.entries.push_back({lines + 1, kPlainMark, kEndMarker});
  table = std::move(loaded);
  return lines;
}

long NumberOfLines(const LineTable& table) {
  for (std::size_t i = table.entries.size(); i-- > 0;) {
    if (table.entries[i].IsEnd()) return static_cast<long>(i);
  }
  return -1;
}

std::string_view LineText(const LineTable& table, long lineNumber) {
  if (lineNumber < 1 || lineNumber > NumberOfLines(table)) return {};
  return table.entries[static_cast<std::size_t>(lineNumber - 1)].text;
}

}  // namespace lindrel::reports
