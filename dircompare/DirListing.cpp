#include "dircompare/DirListing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <memory>
#include <string_view>

#include "dircompare/FileTypeFilter.h"
#include "dircompare/NameCase.h"
#include "dircompare/NameExclusion.h"
#include "dircompare/ScanEnvironment.h"

namespace lindrel::dircompare {
namespace {

struct DirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

enum class Described { kFound, kVanished, kUnreachable };

// What one enumerated name turned out to be. kVanished: removed since the enumeration.
// kUnreachable: the directory may be read but not searched (no "x" permission), so no
// name in it can be examined, or the system failed otherwise.
Described Describe(int directoryFd, const char* name, struct stat& info) {
  if (::fstatat(directoryFd, name, &info, 0) == 0) return Described::kFound;
  // A dangling link, or one that loops: keep the link itself, which shows as a file.
  struct stat link {};
  if (::fstatat(directoryFd, name, &link, AT_SYMLINK_NOFOLLOW) == 0) {
    if (!S_ISLNK(link.st_mode)) return Described::kVanished;  // replaced meanwhile; gone
    info = link;
    return Described::kFound;
  }
  return errno == ENOENT ? Described::kVanished : Described::kUnreachable;
}

// Saves a stat call for entries that cannot be kept whatever they turn out to be. The
// type from the directory itself is only a hint (links and some file systems report
// DT_LNK or DT_UNKNOWN), so anything not plainly unwanted is examined.
bool MayBeWanted(const dirent& entry, ListingKind kind, const std::string& fileTypes) {
  if (kind == ListingKind::kSubdirectories) return entry.d_type != DT_REG;
  return entry.d_type != DT_DIR && PassesFileTypeFilter(entry.d_name, fileTypes);
}

}  // namespace

bool DirListing::Fill(const std::string& directory, ListingKind kind, const std::string& fileTypes,
                      ScanEnvironment& env, long pauseMs,
                      const std::vector<std::string>& excludePatterns) {
  entries_.clear();
  groups_.clear();

  bool listed = true;
  std::unique_ptr<DIR, DirCloser> dir(::opendir(directory.c_str()));
  // Missing: no entries, and the other side's entries show as only there. Anything else
  // that stops the listing is a failure the caller must report.
  if (!dir && errno != ENOENT) listed = false;
  if (dir) {
    const int fd = ::dirfd(dir.get());
    while (!env.AbortRequested()) {
      errno = 0;
      const dirent* entry = ::readdir(dir.get());
      if (entry == nullptr) {
        if (errno != 0) listed = false;
        break;
      }
      const std::string_view name(entry->d_name);
      struct stat info {};
      Described described = Described::kVanished;
      if (name != "." && name != ".." && MayBeWanted(*entry, kind, fileTypes) &&
          !ExcludedName(name, excludePatterns))
        described = Describe(fd, entry->d_name, info);
      // Its entries are unknown, not absent: the listing fails rather than leave them out.
      if (described == Described::kUnreachable) {
        listed = false;
        break;
      }
      if (described == Described::kFound) {
        const bool isDirectory = S_ISDIR(info.st_mode);
        const bool wanted = kind == ListingKind::kSubdirectories
                                ? isDirectory
                                : !isDirectory && PassesFileTypeFilter(name, fileTypes);
        if (wanted) {
          DirEntryInfo kept;
          kept.name = std::string(name);
          kept.upperName = ToUpperName(name);
          kept.size = static_cast<std::int64_t>(info.st_size);
          kept.lastWrite = info.st_mtim;
          kept.id = DirectoryId{info.st_dev, info.st_ino};
          entries_.push_back(std::move(kept));
        }
      }
      if (pauseMs > 0) env.Pause(std::chrono::milliseconds(pauseMs));
    }
  }

  // std::string compares bytes as unsigned char, which is the required byte order.
  std::sort(entries_.begin(), entries_.end(), [](const DirEntryInfo& a, const DirEntryInfo& b) {
    if (a.upperName != b.upperName) return a.upperName < b.upperName;
    return a.name < b.name;
  });
  for (std::size_t i = 0; i < entries_.size();) {
    std::size_t end = i + 1;
    while (end < entries_.size() && entries_[end].upperName == entries_[i].upperName) ++end;
    groups_.emplace(entries_[i].upperName, Group{i, end - i});
    i = end;
  }
  return listed;
}

DirListing::Group DirListing::Find(const std::string& upperName) const {
  auto found = groups_.find(upperName);
  return found == groups_.end() ? Group{} : found->second;
}

}  // namespace lindrel::dircompare
