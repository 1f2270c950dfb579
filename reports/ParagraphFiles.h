// The paragraph files of the word marker: "cf_master_paragraph.TXT" and
// "cf_source_paragraph.TXT" in the per-process scratch directory, each holding one row's
// text cut into words, one word per line. They are rewritten for every difference row
// and stay behind after the report.
//
// The files are per process, so ParagraphFilesLock() serialises the write-and-compare
// step of all word markers of the process; reports of different components may then be
// written from different threads without reading each other's words.
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

// Writes `text` in paragraph form to `path` (truncated). False when it cannot be written.
bool WriteParagraphFile(const std::string& path, std::string_view text);

std::mutex& ParagraphFilesLock();

}  // namespace lindrel::reports
