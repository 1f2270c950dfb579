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

ParagraphFiles& ParagraphFiles::Instance() {
  // Never destroyed: its descriptors close with the process.
  static ParagraphFiles* files = new ParagraphFiles;
  return *files;
}

void ParagraphFiles::Reset() {
  for (OpenFile* file : {&master_, &source_}) {
    if (file->fd >= 0) ::close(file->fd);
    *file = OpenFile{};
  }
}

bool ParagraphFiles::Open() {
  Reset();
  std::optional<ParagraphPaths> paths = ParagraphFilePaths();
  if (!paths) return false;
  paths_ = *paths;
  for (auto [file, path] : {std::pair{&master_, &paths_.master}, std::pair{&source_, &paths_.source}}) {
    file->fd = ::open(path->c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (file->fd < 0) {
      Reset();
      return false;
    }
    // Unknown content: the first write cuts the file to its own length.
    file->length = static_cast<std::size_t>(-1);
  }
  return true;
}

bool ParagraphFiles::WriteOne(OpenFile& file, std::string_view text) {
  file.content = ToParagraph(text);
  return WriteContent(file);
}

bool ParagraphFiles::WriteContent(OpenFile& file) {
  const std::string& bytes = file.content;
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = ::pwrite(file.fd, bytes.data() + written, bytes.size() - written,
                               static_cast<off_t>(written));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    written += static_cast<std::size_t>(n);
  }
  // Overwriting in place and cutting only what is left over gives the same content as
  // truncating first, without the flush ext4 makes on close after a truncation to zero
  // (milliseconds per row).
  if (file.length > bytes.size() && ::ftruncate(file.fd, static_cast<off_t>(written)) != 0) {
    return false;
  }
  file.length = bytes.size();
  return true;
}

bool ParagraphFiles::Write(std::string_view master, std::string_view source) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (master_.fd < 0 && !Open()) return false;
    if (WriteOne(master_, master) && WriteOne(source_, source)) {
      staged_ = false;
      return true;
    }
    Reset();
  }
  return false;
}

void ParagraphFiles::Stage(std::string_view master, std::string_view source) {
  WriteParagraph(master, master_.content);
  WriteParagraph(source, source_.content);
  staged_ = true;
}

bool ParagraphFiles::Flush() {
  if (!staged_) return true;
  std::string master = master_.content, source = source_.content;
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (master_.fd < 0 && !Open()) return false;
    master_.content = master;
    source_.content = source;
    if (WriteContent(master_) && WriteContent(source_)) {
      staged_ = false;
      return true;
    }
    Reset();
  }
  return false;
}

}  // namespace lindrel::reports
