#include "platform/IniScan.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <memory>

#include "platform/IniText.h"
#include "platform/ReplacementFile.h"

namespace lindrel::platform {

namespace {

constexpr std::size_t kBlock = 64 * 1024;
// Room beyond the names and the value wanted, for the blanks around them.
constexpr std::size_t kSlack = 64 * 1024;

using ini::IsBlank;
using ini::Trim;

// One line as far as it was kept, and what the rules need of the rest.
struct ScannedLine {
  std::string kept;        // the first bytes of the line, its line feed excluded
  std::size_t length = 0;  // the whole line's length
  std::size_t lastNonBlank = std::string::npos;  // position in the whole line
  char lastNonBlankChar = 0;
  bool closeBeyond = false;  // a "]" lies beyond what was kept
};

// Calls `onKey(key, value)` for each key line of `section` until it answers false. The
// value is cut to `valueBytes` bytes.
class Scanner {
 public:
  Scanner(std::string_view section, std::size_t valueBytes,
          std::function<bool(std::string_view, std::string)> onKey)
      : section_(section),
        valueBytes_(valueBytes),
        onKey_(std::move(onKey)),
        cap_(std::max(valueBytes, section.size()) + kSlack) {}

  void Run(int fd) {
    auto block = std::make_unique_for_overwrite<char[]>(kBlock);
    for (;;) {
      const ssize_t got = ::read(fd, block.get(), kBlock);
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) break;  // the end, or an error: nothing more can be known
      if (!Feed(block.get(), static_cast<std::size_t>(got))) return;
    }
    if (line_.length > 0) Finish();
  }

 private:
  // False once the caller has what it wanted.
  bool Feed(const char* data, std::size_t size) {
    while (size > 0) {
      const char* feed = static_cast<const char*>(std::memchr(data, '\n', size));
      const std::size_t part = feed != nullptr ? static_cast<std::size_t>(feed - data) : size;
      Append(data, part);
      if (feed == nullptr) return true;
      if (!Finish()) return false;
      data += part + 1;
      size -= part + 1;
    }
    return true;
  }

  void Append(const char* data, std::size_t size) {
    const std::size_t keep = std::min(size, cap_ - std::min(cap_, line_.kept.size()));
    line_.kept.append(data, keep);
    if (keep < size && !line_.closeBeyond)
      line_.closeBeyond = std::memchr(data + keep, ']', size - keep) != nullptr;
    for (std::size_t i = size; i > 0; --i) {
      if (!IsBlank(data[i - 1])) {
        line_.lastNonBlank = line_.length + i - 1;
        line_.lastNonBlankChar = data[i - 1];
        break;
      }
    }
    line_.length += size;
  }

  bool Finish() {
    const bool goOn = Judge(line_);
    line_.kept.clear();
    line_.length = 0;
    line_.lastNonBlank = std::string::npos;
    line_.closeBeyond = false;
    return goOn;
  }

  bool Judge(const ScannedLine& line) {
    const std::string_view kept = line.kept;
    const std::size_t first = kept.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return true;
    if (kept[first] == '[') {
      const std::size_t close = kept.find(']', first);
      if (close != std::string_view::npos) {
        inSection_ = ini::NamesEqual(Trim(kept.substr(first + 1, close - first - 1)), section_);
        return true;
      }
      if (line.closeBeyond) {  // a section whose name is longer than any wanted
        inSection_ = false;
        return true;
      }
    }
    if (!inSection_ || kept[first] == ';' || kept[first] == '#') return true;
    const std::size_t equals = kept.find('=');
    if (equals == std::string_view::npos) return true;
    return onKey_(Trim(kept.substr(0, equals)), ValueOf(line, equals));
  }

  std::string ValueOf(const ScannedLine& line, std::size_t equals) const {
    const std::string_view kept = line.kept;
    std::size_t begin = kept.find_first_not_of(" \t\r", equals + 1);
    if (begin == std::string_view::npos || line.lastNonBlank == std::string::npos ||
        line.lastNonBlank < begin)
      return {};
    std::size_t end = line.lastNonBlank + 1;  // in the whole line
    if (end - begin >= 2 && kept[begin] == '"' && line.lastNonBlankChar == '"') {
      ++begin;
      --end;
    }
    end = std::min({end, kept.size(), begin + valueBytes_});
    return std::string(kept.substr(begin, end - begin));
  }

  const std::string_view section_;
  const std::size_t valueBytes_;
  const std::function<bool(std::string_view, std::string)> onKey_;
  const std::size_t cap_;
  ScannedLine line_;
  bool inSection_ = false;
};

void Scan(const std::string& path, std::string_view section, std::size_t valueBytes,
          std::function<bool(std::string_view, std::string)> onKey) {
  // Only a regular file: a FIFO or a device as a settings file is not waited for.
  const int fd = OpenRegularFileForReading(path);
  if (fd < 0) return;
  Scanner(section, valueBytes, std::move(onKey)).Run(fd);
  ::close(fd);
}

}  // namespace

std::optional<std::string> ScanProfileValue(const std::string& path, std::string_view section,
                                            std::string_view key, std::size_t valueBytes) {
  std::optional<std::string> found;
  Scan(path, section, std::max(valueBytes, key.size()),
       [&](std::string_view name, std::string value) {
         if (!ini::NamesEqual(name, key)) return true;
         value.resize(std::min(value.size(), valueBytes));
         found = std::move(value);
         return false;
       });
  return found;
}

std::vector<std::pair<std::string, std::string>> ScanProfileSection(const std::string& path,
                                                                    std::string_view section,
                                                                    std::size_t valueBytes) {
  std::vector<std::pair<std::string, std::string>> entries;
  Scan(path, section, valueBytes, [&](std::string_view name, std::string value) {
    entries.emplace_back(std::string(name), std::move(value));
    return true;
  });
  return entries;
}

}  // namespace lindrel::platform
