// DirListing: the files or the subdirectories of one directory, as one level of a
// directory comparison sees them.
//
// Entries are kept sorted by their upper-case name (byte order), and names that differ
// only in letter case (possible on Linux) are all kept, next to each other, ordered by
// their spelling on disk. Lookups by upper-case name give the whole group.
//
// A listing is filled and read by one thread (the scan's worker).
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace lindrel::dircompare {

class ScanEnvironment;

enum class ListingKind { kFiles, kSubdirectories };

// Identity of a directory on disk, for noticing that a walk comes back to it.
struct DirectoryId {
  dev_t device = 0;
  ino_t inode = 0;
  bool operator==(const DirectoryId&) const = default;
};

struct DirEntryInfo {
  std::string name;       // as spelled on disk
  std::string upperName;  // the matching key
  std::int64_t size = 0;
  timespec lastWrite{};
  DirectoryId id;
};

class DirListing {
 public:
  // A contiguous run of entries() sharing one upper-case name.
  struct Group {
    std::size_t first = 0;
    std::size_t count = 0;
  };

  // Empties the listing, then enumerates `directory`. A directory that is missing gives
  // no entries. Symbolic links count as what they point to; a link that points nowhere
  // counts as a file. After every entry the enumeration returns (kept or not) it pauses
  // `pauseMs` through `env` when pauseMs > 0. Stops early when `env` asks for an abort.
  // False when the directory exists but cannot be listed (no permission, a path longer
  // than the system allows, a read error), or its names can be read but not examined (no
  // search permission): its entries are then unknown, not absent. Names that match
  // `excludePatterns` are passed over without being examined.
  bool Fill(const std::string& directory, ListingKind kind, const std::string& fileTypes,
            ScanEnvironment& env, long pauseMs,
            const std::vector<std::string>& excludePatterns = {});

  const std::vector<DirEntryInfo>& entries() const { return entries_; }
  // The entries named `upperName` (count 0 when there are none).
  Group Find(const std::string& upperName) const;

 private:
  std::vector<DirEntryInfo> entries_;
  std::unordered_map<std::string, Group> groups_;
};

}  // namespace lindrel::dircompare
