#include "engine/OperandComparison.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "engine/DirectoryListing.h"
#include "engine/EngineResult.h"

#include "engine/EngineMessage.h"
#include "engine/FileComparison.h"
#include "engine/InputFile.h"

namespace lindrel::engine {

namespace {

bool Examine(const std::string& path, InputFile& file) {
  file.path = path;
  file.isStandardInput = path == "-";
  // The system would be given only the part before a NUL byte, which is another name.
  if (path.find('\0') != std::string::npos) return false;
  if (!file.isStandardInput) return ::stat(path.c_str(), &file.status) == 0;
  if (::fstat(STDIN_FILENO, &file.status) != 0) return false;
  if (S_ISREG(file.status.st_mode)) {
    // Only what is left to read counts.
    const off_t position = ::lseek(STDIN_FILENO, 0, SEEK_CUR);
    if (position > 0) file.status.st_size = std::max<off_t>(0, file.status.st_size - position);
  }
  return true;
}

const char* KindOfFile(const struct stat& status) {
  if (S_ISREG(status.st_mode)) return status.st_size == 0 ? "regular empty file" : "regular file";
  if (S_ISDIR(status.st_mode)) return "directory";
  if (S_ISCHR(status.st_mode)) return "character special file";
  return "weird file";
}

bool OpenFile(const EngineRun& run, InputFile& file, bool textMode) {
  file.stream.SetStopFlag(run.stop);
  if (file.isStandardInput) {
    file.stream.AttachStandardInput(textMode);
    return true;
  }
  return file.stream.Open(file.path, textMode);
}

// A brief comparison of two regular files of different sizes needs no reading.
bool DifferInSize(const EngineSettings& settings, const InputFile (&files)[2]) {
  if (settings.brief && !settings.someChangesIgnored && files[0].IsRegular() &&
      files[1].IsRegular() && files[0].status.st_size != files[1].status.st_size) {
    EngineMessage("Files %s and %s differ\n", files[0].path.c_str(), files[1].path.c_str());
    return true;
  }
  return false;
}

// Two examined operands of which at most one is a directory (`nested`: an entry of a
// directory comparison, where only regular files are compared).
int CompareExamined(EngineRun& run, InputFile (&files)[2], bool nested) {
  const EngineSettings& settings = run.settings;
  const bool dir0 = S_ISDIR(files[0].status.st_mode);
  const bool dir1 = S_ISDIR(files[1].status.st_mode);
  if (dir0 || dir1 || (nested && !(files[0].IsRegular() && files[1].IsRegular()))) {
    EngineMessage("File %s is a %s while file %s is a %s\n", files[0].path.c_str(),
                  KindOfFile(files[0].status), files[1].path.c_str(), KindOfFile(files[1].status));
    return 1;
  }
  if (DifferInSize(settings, files)) return 1;
  if (files[0].isStandardInput && files[1].isStandardInput) return 0;  // one input, itself

  for (InputFile& file : files) {
    if (!OpenFile(run, file, !settings.alwaysText)) return run.FileTrouble(file.path);
  }
  int result = CompareOpenFiles(run, files);
  for (InputFile& file : files) {
    if (!file.stream.Close()) result = run.FileTrouble(file.path);
  }
  return result;
}

// One name of a directory comparison, present on one or both sides.
int CompareEntry(EngineRun& run, const std::string (&directories)[2], const std::string& name,
                 bool present0, bool present1) {
  if (!present0 || !present1) {
    EngineMessage("Only in %s: %s\n", directories[present0 ? 0 : 1].c_str(), name.c_str());
    return 1;
  }
  InputFile files[2];
  for (int i = 0; i < 2; ++i) {
    if (!Examine(JoinPath(directories[i], name), files[i])) return run.FileTrouble(files[i].path);
  }
  if (S_ISDIR(files[0].status.st_mode) && S_ISDIR(files[1].status.st_mode)) {
    // One level only: subdirectories are named, never entered.
    EngineMessage("Common subdirectories: %s and %s\n", files[0].path.c_str(),
                  files[1].path.c_str());
    return 0;
  }
  return CompareExamined(run, files, true);
}

int CompareDirectories(EngineRun& run, const std::string& master, const std::string& source) {
  const std::string directories[2] = {master, source};
  std::vector<std::string> names[2];
  for (int i = 0; i < 2; ++i) {
    if (!ListDirectory(directories[i], names[i])) return run.FileTrouble(directories[i]);
  }
  int result = 0;
  size_t i = 0, j = 0;
  while (i < names[0].size() || j < names[1].size()) {
    int order;
    if (i == names[0].size()) {
      order = 1;
    } else if (j == names[1].size()) {
      order = -1;
    } else {
      order = names[0][i].compare(names[1][j]);
    }
    const std::string& name = order <= 0 ? names[0][i] : names[1][j];
    const int entry = CompareEntry(run, directories, name, order <= 0, order >= 0);
    if (entry == kStopped) return kStopped;
    result = std::max(result, entry);
    if (order <= 0) ++i;
    if (order >= 0) ++j;
  }
  return result;
}

}  // namespace

int CompareAttached(EngineRun& run, InputFile (&files)[2]) {
  if (DifferInSize(run.settings, files)) return 1;
  return CompareOpenFiles(run, files);
}

int CompareOperands(EngineRun& run, const std::string& master, const std::string& source) {
  InputFile files[2];
  const std::string paths[2] = {master, source};
  for (int i = 0; i < 2; ++i) {
    if (!Examine(paths[i], files[i])) return run.FileTrouble(paths[i]);
  }
  const bool dir0 = S_ISDIR(files[0].status.st_mode);
  const bool dir1 = S_ISDIR(files[1].status.st_mode);
  if (dir0 && dir1) return CompareDirectories(run, master, source);
  if (dir0 != dir1) {
    // A directory against a file: the file's name is looked up in the directory.
    const int directory = dir0 ? 0 : 1;
    const InputFile& other = files[1 - directory];
    if (other.isStandardInput) {
      EngineMessage("can't compare - to a directory");
      return 2;
    }
    const std::string joined = JoinPath(files[directory].path, BaseName(other.path));
    if (!Examine(joined, files[directory])) return run.FileTrouble(joined);
  }
  return CompareExamined(run, files, false);
}

}  // namespace lindrel::engine
