#include "platform/IniFile.h"

#include "platform/IniScan.h"
#include "platform/IniText.h"
#include "platform/ReplacementFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <vector>

namespace lindrel::platform {

namespace {

constexpr std::size_t kIntegerBytes = 1024;

using ini::Trim;

// The section name of a "[Name]" line, or nothing for other lines.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  auto close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

bool IsComment(std::string_view line) {
  line = Trim(line);
  return !line.empty() && (line.front() == ';' || line.front() == '#');
}

// The key of a "key=value" line, or nothing.
std::optional<std::string_view> KeyName(std::string_view line) {
  if (IsComment(line)) return std::nullopt;
  auto equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(0, equals));
}

bool HasLineBreakOrNul(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// Why `section`, `key` and `value` cannot be written as one INI line, or "" when they can.
std::string Unstorable(std::string_view section, std::string_view key, std::string_view value) {
  if (Trim(section).empty() || HasLineBreakOrNul(section) ||
      section.find(']') != std::string_view::npos)
    return "the section name \"" + std::string(section) + "\" cannot be stored in an INI file";
  const std::string_view bareKey = Trim(key);
  if (bareKey.empty() || HasLineBreakOrNul(key) || key.find('=') != std::string_view::npos ||
      bareKey.front() == '[' || bareKey.front() == ';' || bareKey.front() == '#')
    return "the key \"" + std::string(key) + "\" cannot be stored in an INI file";
  if (HasLineBreakOrNul(value))
    return "the value of \"" + std::string(key) + "\" holds a line break or NUL";
  return {};
}

// The whole file; a missing file reads as empty, anything else that stops the read is an
// error. A FIFO or a device (a state file linked to /dev/zero) is refused rather than
// waited for or read without end.
Status ReadWholeFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  const int fd = OpenRegularFileForReading(path);
  if (fd < 0 && errno == EINVAL) return Status::Error(path, "not a regular file");
  if (fd < 0) return errno == ENOENT ? Status::Ok() : Status::FromErrno(path, errno);
  char block[16384];
  for (;;) {
    const ssize_t got = ::read(fd, block, sizeof block);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      ::close(fd);
      return Status::FromErrno(path, error);
    }
    bytes.append(block, static_cast<std::size_t>(got));
  }
  ::close(fd);
  return Status::Ok();
}

std::string ValueOf(std::string_view line) {
  std::string_view value = Trim(line.substr(line.find('=') + 1));
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
    value = value.substr(1, value.size() - 2);
  return std::string(value);
}

}  // namespace

void CutAtCharacter(std::string& text, std::size_t size) {
  if (text.size() <= size) return;
  auto isContinuation = [&](std::size_t i) {
    return (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
  };
  std::size_t lead = size;
  while (lead > 0 && size - lead < 3 && isContinuation(lead)) --lead;
  if (lead < size && static_cast<unsigned char>(text[lead]) >= 0xC0) size = lead;
  text.resize(size);
}

IniDocument IniDocument::Load(const std::string& path, Status* status) {
  if (status) *status = Status::Ok();
  std::string bytes;
  if (Status read = ReadWholeFile(path, bytes); !read.ok()) {
    if (status) *status = read;
    return IniDocument();
  }
  IniDocument document;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t feed = bytes.find('\n', start);
    const bool ended = feed != std::string::npos;
    if (!ended) feed = bytes.size();
    Line line{bytes.substr(start, feed - start), "\n"};
    if (ended && !line.text.empty() && line.text.back() == '\r') {
      line.text.pop_back();
      line.end = "\r\n";
    }
    document.lines_.push_back(std::move(line));
    start = feed + 1;
  }
  // A last line without a line end gets the file's own kind when the file is rewritten.
  if (!bytes.empty() && bytes.back() != '\n') document.lines_.back().end = document.NewLineEnd();
  return document;
}

const char* IniDocument::NewLineEnd() const {
  return !lines_.empty() && lines_.front().end == "\r\n" ? "\r\n" : "\n";
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
  bool inSection = false;
  for (const auto& [line, end] : lines_) {
    if (auto name = SectionName(line)) {
      inSection = ini::NamesEqual(*name, section);
      continue;
    }
    if (!inSection) continue;
    if (auto name = KeyName(line); name && ini::NamesEqual(*name, key)) return ValueOf(line);
  }
  return std::nullopt;
}

Status IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  if (std::string refused = Unstorable(section, key, value); !refused.empty())
    return Status::Error("", refused);
  std::string entry = std::string(key) + "=" + std::string(value);
  const std::string end = NewLineEnd();

  std::optional<std::size_t> sectionLine;
  std::size_t insertAt = lines_.size();
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (auto name = SectionName(lines_[i].text)) {
      if (sectionLine) break;  // the section ended
      if (ini::NamesEqual(*name, section)) {
        sectionLine = i;
        insertAt = i + 1;
      }
      continue;
    }
    if (!sectionLine) continue;
    if (auto name = KeyName(lines_[i].text); name && ini::NamesEqual(*name, key)) {
      lines_[i].text = std::move(entry);
      return Status::Ok();
    }
    if (!Trim(lines_[i].text).empty()) insertAt = i + 1;  // new keys go after the last one
  }
  if (!sectionLine) {
    if (!lines_.empty() && !Trim(lines_.back().text).empty()) lines_.push_back({"", end});
    lines_.push_back({"[" + std::string(section) + "]", end});
    lines_.push_back({std::move(entry), end});
    return Status::Ok();
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), {std::move(entry), end});
  return Status::Ok();
}

std::string IniDocument::Text() const {
  std::string text;
  for (const auto& [line, end] : lines_) text += line + end;
  return text;
}

Status IniDocument::Save(const std::string& path, Durability durability) const {
  std::string target;
  if (Status resolved = ResolveWriteTarget(path, target); !resolved.ok()) return resolved;
  std::string temporary = target + ".XXXXXX";
  int fd = ::mkstemp(temporary.data());
  if (fd < 0) return Status::FromErrno(path, errno);
  // mkstemp makes the file private; a file that exists keeps the mode its owner gave it.
  // Failing to copy the mode only leaves the file more private, so it is not an error.
  if (struct stat existing{}; ::stat(target.c_str(), &existing) == 0)
    (void)::fchmod(fd, existing.st_mode & 07777);
  const std::string text = Text();
  std::size_t written = 0;
  while (written < text.size()) {
    ssize_t n = ::write(fd, text.data() + written, text.size() - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      int error = errno;
      ::close(fd);
      ::unlink(temporary.c_str());
      return Status::FromErrno(path, error);
    }
    written += static_cast<std::size_t>(n);
  }
  if ((durability == Durability::kDurable && ::fsync(fd) != 0) || ::close(fd) != 0) {
    int error = errno;
    ::unlink(temporary.c_str());
    return Status::FromErrno(path, error);
  }
  if (::rename(temporary.c_str(), target.c_str()) != 0) {
    int error = errno;
    ::unlink(temporary.c_str());
    return Status::FromErrno(path, error);
  }
  return Status::Ok();
}

std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, std::size_t bufferSize,
                                    const std::string& path) {
  if (bufferSize == 0) return {};
  // A few bytes beyond the buffer let the cut see whether it falls inside a character.
  std::string value(
      ScanProfileValue(path, section, key, bufferSize + 3).value_or(std::string(defaultValue)));
  CutAtCharacter(value, bufferSize - 1);
  return value;
}

bool IsStorableProfileValue(std::string_view value) { return !HasLineBreakOrNul(value); }

long ParseProfileInt(std::string_view value) {
  std::size_t i = 0;
  bool negative = false;
  if (i < value.size() && (value[i] == '-' || value[i] == '+')) negative = value[i++] == '-';
  long result = 0;
  for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
    int digit = value[i] - '0';
    // Saturate rather than overflow on absurdly long digit runs.
    if (result > (LONG_MAX - digit) / 10) return negative ? LONG_MIN : LONG_MAX;
    result = result * 10 + digit;
  }
  return negative ? -result : result;
}

long GetPrivateProfileInt(std::string_view section, std::string_view key, long defaultValue,
                          const std::string& path) {
  // Any digits beyond these would only saturate the number.
  auto value = ScanProfileValue(path, section, key, kIntegerBytes);
  return value ? ParseProfileInt(*value) : defaultValue;
}

bool WritePrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view value, const std::string& path) {
  Status loaded;
  IniDocument document = IniDocument::Load(path, &loaded);
  // Rewriting a file that could not be read would replace its content by one key.
  if (!loaded.ok()) return false;
  return document.Set(section, key, value).ok() && document.Save(path).ok();
}

}  // namespace lindrel::platform
