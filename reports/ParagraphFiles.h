// The paragraph files of the word marker: "cf_master_paragraph.TXT" and
// "cf_source_paragraph.TXT" in the per-process scratch directory, each holding one row's
// text cut into words, one word per line. They stay behind after the report holding the
// last row's words. Only the first row of a report is written at once (so that the files
// exist); later rows are staged in memory, where the comparison reads them, and the last
// one is written when the report ends: in the private scratch directory nothing else
// could ever see the rows in between, and rewriting them was most of a report's cost.
//
// There is one pair per process, so ParagraphFiles is a process-wide object: a caller
// holds its lock across writing the pair and comparing it, which also keeps reports of
// components on different threads from reading each other's words. The files stay open
// between rows because a report may rewrite them tens of thousands of times.
#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace lindrel::reports {

inline constexpr std::string_view kMasterParagraphName = "cf_master_paragraph.TXT";
inline constexpr std::string_view kSourceParagraphName = "cf_source_paragraph.TXT";

struct ParagraphPaths {
  std::string master;
  std::string source;
};

// The two paths in the scratch directory, or nothing when it cannot be created.
std::optional<ParagraphPaths> ParagraphFilePaths();

class ParagraphFiles {
 public:
  static ParagraphFiles& Instance();

  std::unique_lock<std::mutex> Lock() { return std::unique_lock(mutex_); }

  // Caller holds Lock(). Writes both texts in paragraph form. On first use, and again
  // after a failure (the scratch directory was removed, say), the files are reopened at
  // the current paths. False when they cannot be written.
  bool Write(std::string_view master, std::string_view source);

  // Caller holds Lock(). Takes both texts in paragraph form as the files' content without
  // writing it yet (MasterBytes and SourceBytes answer it at once).
  void Stage(std::string_view master, std::string_view source);
  // Caller holds Lock(). Writes what was staged, if anything; false when it cannot.
  bool Flush();

  // Caller holds Lock(). Where the last Write put the files.
  const ParagraphPaths& Paths() const { return paths_; }

  // Caller holds Lock(). The bytes the last successful Write put into each file, so that
  // they can be compared without reading the files back.
  std::string_view MasterBytes() const { return master_.content; }
  std::string_view SourceBytes() const { return source_.content; }

  // Caller holds Lock(). Closes the files so that the next Write reopens them; a report
  // calls this when it starts, so a scratch directory recreated meanwhile is picked up.
  void Reset();

 private:
  struct OpenFile {
    int fd = -1;
    std::size_t length = 0;  // what the file holds now
    std::string content;     // what the last write put there
  };

  bool Open();
  bool WriteOne(OpenFile& file, std::string_view text);
  bool WriteContent(OpenFile& file);

  std::mutex mutex_;
  ParagraphPaths paths_;
  OpenFile master_, source_;
  bool staged_ = false;  // the content differs from the files
};

}  // namespace lindrel::reports
