#include "dircompare/DirScanner.h"

#include <sys/stat.h>

#include <algorithm>

#include "dircompare/DirPaths.h"
#include "dircompare/NameMatching.h"
#include "dircompare/ScanEnvironment.h"
#include "lindrel/Errors.h"

namespace lindrel::dircompare {
namespace {

int CompareTimes(const timespec& master, const timespec& source) {
  if (master.tv_sec != source.tv_sec) return master.tv_sec < source.tv_sec ? -1 : 1;
  if (master.tv_nsec != source.tv_nsec) return master.tv_nsec < source.tv_nsec ? -1 : 1;
  return 0;
}

int CompareSizes(std::int64_t master, std::int64_t source) {
  if (master == source) return 0;
  return master > source ? 1 : -1;
}

// The identity of a root directory, when it exists.
bool RootId(const std::string& path, DirectoryId& id) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return false;
  id = DirectoryId{info.st_dev, info.st_ino};
  return true;
}

DirResultRecord MakeRecord(int isFile, std::string master, std::string source, std::string name) {
  DirResultRecord record;
  record.flags.Set(DirFlag::kIsFile, isFile);
  record.dirMaster = std::move(master);
  record.dirSource = std::move(source);
  record.fileName = std::move(name);
  return record;
}

}  // namespace

DirScanner::DirScanner(const ScanOptions& options, ScanEnvironment& env, DirResultStore& store)
    : options_(options), env_(env), store_(store) {}

bool DirScanner::Run() {
  store_.Append(MakeRecord(0, options_.master, options_.source, std::string()));
  masterPath_.clear();
  sourcePath_.clear();
  DirectoryId id;
  if (RootId(options_.master, id)) masterPath_.push_back(id);
  if (RootId(options_.source, id)) sourcePath_.push_back(id);
  // A throttled scan is meant to be slow: it compares as the walk goes, on one thread.
  if (options_.contentCompare && PauseMs() == 0) {
    pipeline_ = std::make_unique<ContentPipeline>(store_, env_);
    if (!pipeline_->Started()) pipeline_.reset();
  }
  const bool walked = WalkLevel(options_.master, options_.source);
  if (!pipeline_) return walked;
  const bool drained = pipeline_->Drain(true);
  pipeline_.reset();
  return walked && drained;
}

void DirScanner::Append(DirResultRecord record) {
  if (pipeline_) {
    pipeline_->Add(std::move(record));
  } else {
    store_.Append(std::move(record));
  }
}

void DirScanner::QueueError(long code, const std::string& detail) {
  if (pipeline_) {
    pipeline_->AddError(code, detail);
  } else {
    env_.QueueError(code, detail);
  }
}

long DirScanner::PauseMs() const {
  return options_.throttle ? ThrottlePauseMs(options_.threadPriority) : 0;
}

bool DirScanner::OnWalkPath(const std::vector<DirectoryId>& path, const DirectoryId& id) const {
  return std::find(path.begin(), path.end(), id) != path.end();
}

bool DirScanner::WalkLevel(const std::string& master, const std::string& source) {
  bool listed = true;
  if (!CompareFiles(master, source, listed)) return false;
  // A level that cannot be listed has been reported; its subdirectories are unknown too.
  if (!listed) return !env_.AbortRequested();
  return CompareSubdirectories(master, source);
}

bool DirScanner::ListBoth(const std::string& master, const std::string& source, ListingKind kind,
                          DirListing& masterListing, DirListing& sourceListing) {
  const bool masterListed = masterListing.Fill(master, kind, options_.fileTypes, env_, PauseMs(),
                                               options_.excludePatterns);
  const bool sourceListed = sourceListing.Fill(source, kind, options_.fileTypes, env_, PauseMs(),
                                               options_.excludePatterns);
  // An unreadable directory is not an empty one: its entries would all show as only on
  // the other side, and the verdict could be "nothing differs".
  if (!masterListed) QueueError(kErrorInvalidSearchPath, master);
  if (!sourceListed) QueueError(kErrorInvalidSearchPath, source);
  return masterListed && sourceListed;
}

bool DirScanner::CompareFiles(const std::string& master, const std::string& source, bool& listed) {
  DirListing masterFiles, sourceFiles;
  listed = ListBoth(master, source, ListingKind::kFiles, masterFiles, sourceFiles);
  if (!listed) return !env_.AbortRequested();
  const NameMatch match = MatchNames(masterFiles, sourceFiles);
  const Level files{master, source, masterFiles.entries(), sourceFiles.entries(), match};
  if (!RecordMasterFiles(files) || !RecordSourceOnlyFiles(files)) return false;
  return !env_.AbortRequested();
}

bool DirScanner::RecordMasterFiles(const Level& files) {
  const std::string& master = files.master;
  const std::string& source = files.source;
  const auto& masters = files.masters;
  const auto& sources = files.sources;
  const NameMatch& match = files.match;
  for (std::size_t m = 0; m < masters.size(); ++m) {
    if (env_.AbortRequested()) return false;
    const DirEntryInfo& file = masters[m];
    const std::size_t partner = match.partnerOfMaster[m];
    DirFlags flags;
    flags.Set(DirFlag::kIsFile, 1);
    bool keep = false;
    if (partner == NameMatch::kNoPartner) {
      flags.Set(DirFlag::kOnlyInMaster, 1);
      keep = options_.showOnlyInMaster;
    } else {
      const DirEntryInfo& other = sources[partner];
      if (!options_.ignoreDateDifferences) {
        flags.Set(DirFlag::kDateDifferent, CompareTimes(file.lastWrite, other.lastWrite));
      }
      flags.Set(DirFlag::kSizeDifferent, CompareSizes(file.size, other.size));
      if (options_.contentCompare && pipeline_) {
        DirResultRecord record = MakeRecord(1, master, source, file.name);
        record.flags = flags;
        std::string masterPath = JoinPath(master, file.name);
        std::string sourcePath = JoinPath(source, other.name);
        if (options_.TEST_beforeContentCompare) {
          options_.TEST_beforeContentCompare(masterPath, sourcePath);
        }
        if (!pipeline_->AddCompared(std::move(record), std::move(masterPath), std::move(sourcePath),
                                    options_.showSameInBothPlaces,
                                    options_.showDifferentInBothPlaces)) {
          return false;
        }
        continue;
      }
      if (options_.contentCompare) {
        const std::string masterPath = JoinPath(master, file.name);
        const std::string sourcePath = JoinPath(source, other.name);
        if (options_.TEST_beforeContentCompare) {
          options_.TEST_beforeContentCompare(masterPath, sourcePath);
        }
        const ContentResult content = content_.Compare(masterPath, sourcePath, env_);
        // An interrupted comparison has no answer; record nothing rather than a guess.
        if (content == ContentResult::kAborted) return false;
        flags.Set(DirFlag::kContentDifferent, static_cast<int>(content));
      }
      const bool same = flags.Get(DirFlag::kDateDifferent) == 0 &&
                        flags.Get(DirFlag::kSizeDifferent) == 0 &&
                        flags.Get(DirFlag::kContentDifferent) == 0;
      keep = same ? options_.showSameInBothPlaces : options_.showDifferentInBothPlaces;
    }
    if (keep) {
      DirResultRecord record = MakeRecord(1, master, source, file.name);
      record.flags = flags;
      Append(std::move(record));
    }
  }
  return true;
}

bool DirScanner::RecordSourceOnlyFiles(const Level& files) {
  if (!options_.showOnlyInSource) return true;
  for (std::size_t s = 0; s < files.sources.size(); ++s) {
    if (env_.AbortRequested()) return false;
    if (files.match.sourceMatched[s]) continue;
    DirResultRecord record = MakeRecord(1, files.master, files.source, files.sources[s].name);
    record.flags.Set(DirFlag::kOnlyInSource, 1);
    Append(std::move(record));
  }
  return true;
}

bool DirScanner::CompareSubdirectories(const std::string& master, const std::string& source) {
  DirListing masterDirs, sourceDirs;
  if (!ListBoth(master, source, ListingKind::kSubdirectories, masterDirs, sourceDirs)) {
    return !env_.AbortRequested();
  }
  const NameMatch match = MatchNames(masterDirs, sourceDirs);
  const Level dirs{master, source, masterDirs.entries(), sourceDirs.entries(), match};
  if (!RecordMasterSubdirectories(dirs) || !RecordSourceOnlySubdirectories(dirs)) return false;
  return !env_.AbortRequested();
}

bool DirScanner::RecordMasterSubdirectories(const Level& dirs) {
  const std::string& master = dirs.master;
  const std::string& source = dirs.source;
  const auto& masters = dirs.masters;
  const auto& sources = dirs.sources;
  const NameMatch& match = dirs.match;
  for (std::size_t m = 0; m < masters.size(); ++m) {
    if (env_.AbortRequested()) return false;
    const DirEntryInfo& dir = masters[m];
    const std::size_t partner = match.partnerOfMaster[m];
    const std::string masterDir = JoinPath(master, dir.name) + '/';
    if (partner == NameMatch::kNoPartner) {
      DirResultRecord record = MakeRecord(0, masterDir, std::string(), dir.name);
      record.flags.Set(DirFlag::kOnlyInMaster, 1);
      Append(std::move(record));
      continue;
    }
    const DirEntryInfo& other = sources[partner];
    const std::string sourceDir = JoinPath(source, other.name) + '/';
    Append(MakeRecord(0, masterDir, sourceDir, dir.name));

    if (!options_.doSubDirectories) continue;
    if (OnWalkPath(masterPath_, dir.id) || OnWalkPath(sourcePath_, other.id)) continue;
    masterPath_.push_back(dir.id);
    sourcePath_.push_back(other.id);
    const bool finished = WalkLevel(masterDir, sourceDir);
    masterPath_.pop_back();
    sourcePath_.pop_back();
    if (!finished) return false;
  }
  return true;
}

bool DirScanner::RecordSourceOnlySubdirectories(const Level& dirs) {
  if (!options_.showOnlyInSource && !options_.showDifferentInBothPlaces) return true;
  for (std::size_t s = 0; s < dirs.sources.size(); ++s) {
    if (env_.AbortRequested()) return false;
    if (dirs.match.sourceMatched[s]) continue;
    const std::string& name = dirs.sources[s].name;
    DirResultRecord record = MakeRecord(0, std::string(), JoinPath(dirs.source, name) + '/', name);
    record.flags.Set(DirFlag::kOnlyInSource, 1);
    Append(std::move(record));
  }
  return true;
}

}  // namespace lindrel::dircompare
