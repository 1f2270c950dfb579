// DirScanner: one directory comparison, from the root record to the end of the walk.
//
// Walks the master and the source tree side by side, level by level: the files of the
// master side, the files only in the source, the subdirectories of the master side, each
// followed by its own subtree when both sides have it, and the subdirectories only in the
// source. Every kept entry becomes a record appended to the store in that order.
//
// A scanner runs on one thread (the comparison's worker); with contents compared and no
// throttling, a second thread reads the files meanwhile (see ContentPipeline.h). Only the
// store is shared: the owner thread may read it while the scan appends.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "dircompare/ContentComparer.h"
#include "dircompare/ContentPipeline.h"
#include "dircompare/DirListing.h"
#include "dircompare/DirResultStore.h"
#include "dircompare/NameMatching.h"
#include "dircompare/ScanOptions.h"

namespace lindrel::dircompare {

class ScanEnvironment;

class DirScanner {
 public:
  DirScanner(const ScanOptions& options, ScanEnvironment& env, DirResultStore& store);

  // Appends the root record, then walks. False when the walk stopped for an abort.
  bool Run();

 private:
  bool WalkLevel(const std::string& master, const std::string& source);
  // Lists one kind of entry on both sides; false (after queueing 508 for each side that
  // failed) when either directory cannot be listed.
  bool ListBoth(const std::string& master, const std::string& source, ListingKind kind,
                DirListing& masterListing, DirListing& sourceListing);
  // `listed` is false when the level could not be listed and was skipped.
  bool CompareFiles(const std::string& master, const std::string& source, bool& listed);
  bool CompareSubdirectories(const std::string& master, const std::string& source);

  // One kind of entry of one level, listed on both sides, with the names paired.
  struct Level {
    const std::string& master;
    const std::string& source;
    const std::vector<DirEntryInfo>& masters;
    const std::vector<DirEntryInfo>& sources;
    const NameMatch& match;
  };
  // The steps of a level, in record order. Each answers false when the walk must stop.
  // Every master file, compared with its partner when it has one.
  bool RecordMasterFiles(const Level& files);
  // The files found in the source only.
  bool RecordSourceOnlyFiles(const Level& files);
  // Every master subdirectory, whatever the show options say, each followed by its own
  // subtree when the source has it too.
  bool RecordMasterSubdirectories(const Level& dirs);
  // The subdirectories found in the source only; not descended into.
  bool RecordSourceOnlySubdirectories(const Level& dirs);
  long PauseMs() const;
  bool OnWalkPath(const std::vector<DirectoryId>& path, const DirectoryId& id) const;
  // Where records and errors go: the store and the owner, or the pipeline when contents
  // are compared on a second thread.
  void Append(DirResultRecord record);
  void QueueError(long code, const std::string& detail);

  const ScanOptions& options_;
  ScanEnvironment& env_;
  DirResultStore& store_;
  ContentComparer content_;
  std::unique_ptr<ContentPipeline> pipeline_;  // null: contents compared as the walk goes
  // The directories being walked, root first. A directory met again through a link is
  // recorded but not entered, so a link to an ancestor cannot make the walk endless.
  std::vector<DirectoryId> masterPath_;
  std::vector<DirectoryId> sourcePath_;
};

}  // namespace lindrel::dircompare
