#include "reports/ParagraphFiles.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/ScratchDirectory.h"
#include "reports/WordText.h"

namespace lindrel::reports {

std::optional<ParagraphPaths> ParagraphFilePaths() {
  std::optional<std::string> directory = platform::ScratchDirectory();
  if (!directory) return std::nullopt;
  const std::string prefix = *directory + "/";
  return ParagraphPaths{prefix + std::string(kMasterParagraphName),
                        prefix + std::string(kSourceParagraphName)};
}

bool WriteParagraphFile(const std::string& path, std::string_view text) {
  const std::string paragraph = ToParagraph(text);
  // One write per file: a report may rewrite these files tens of thousands of times.
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  std::size_t written = 0;
  while (written < paragraph.size()) {
    const ssize_t n = ::write(fd, paragraph.data() + written, paragraph.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    written += static_cast<std::size_t>(n);
  }
  const bool closed = ::close(fd) == 0;
  return closed && written == paragraph.size();
}

std::mutex& ParagraphFilesLock() {
  static std::mutex lock;
  return lock;
}

}  // namespace lindrel::reports
