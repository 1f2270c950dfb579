// Helpers of the directory-comparison tests: real trees under a private temporary
// directory, a scan environment that records and injects, and records written as short
// lines that tables can spell out.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "dircompare/DirResultRecord.h"
#include "dircompare/DirResultStore.h"
#include "dircompare/ScanEnvironment.h"
#include "tests/support/TempEnvironment.h"

namespace lindrel::dircompare::testing {

// A fixed last-write time: second `seconds` of the epoch plus `nanoseconds`.
inline void SetMtime(const std::filesystem::path& path, long seconds, long nanoseconds = 0) {
  timespec times[2];
  times[0] = timespec{seconds, nanoseconds};
  times[1] = timespec{seconds, nanoseconds};
  ::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW);
}

// Builds trees under the test's private directory. Every file gets the same time unless
// a test says otherwise, so that only what a test changes differs.
class Trees {
 public:
  static constexpr long kTime = 1'600'000'000;

  explicit Trees(const lindrel::testing::TempEnvironment& env) : env_(env) {}

  std::filesystem::path File(const std::string& relative, const std::string& content,
                             long seconds = kTime, long nanoseconds = 0) const {
    auto path = env_.Write(relative, content);
    SetMtime(path, seconds, nanoseconds);
    return path;
  }
  std::filesystem::path Dir(const std::string& relative) const {
    auto path = env_.Path(relative);
    std::filesystem::create_directories(path);
    return path;
  }
  // The directory as the component's setters leave it: with a final "/".
  std::string Root(const std::string& relative) const {
    Dir(relative);
    return env_.Path(relative).string() + "/";
  }
  std::string Prefix() const { return env_.root().string() + "/"; }

 private:
  const lindrel::testing::TempEnvironment& env_;
};

// "F name master source OM OS date size content" with the test directory cut from the
// paths, e.g. "F a.txt m/ s/ 0 0 0 0 0"; "D" for directories and the root.
inline std::string Line(const DirResultRecord& r, const std::string& prefix) {
  auto cut = [&](const std::string& path) {
    if (path.empty()) return std::string("-");
    return path.rfind(prefix, 0) == 0 ? path.substr(prefix.size()) : path;
  };
  return std::string(r.isFile() ? "F " : "D ") + (r.fileName.empty() ? "-" : r.fileName) + " " +
         cut(r.dirMaster) + " " + cut(r.dirSource) + " " + std::to_string(r.onlyInMaster()) +
         " " + std::to_string(r.onlyInSource()) + " " + std::to_string(r.dateDifferent()) + " " +
         std::to_string(r.sizeDifferent()) + " " + std::to_string(r.contentDifferent());
}

inline std::vector<std::string> Lines(const DirResultStore& store, const std::string& prefix) {
  std::vector<std::string> lines;
  for (long i = 0; i < store.Count(); ++i) lines.push_back(Line(*store.Get(i), prefix));
  return lines;
}

// Records what the scan asks of its owner; injects aborts and unopenable files.
class RecordingEnvironment : public ScanEnvironment {
 public:
  bool AbortRequested() const override { return abort.load(); }
  void QueueError(long code, const std::string& detail) override {
    errors.push_back(code);
    details.push_back(detail);
  }
  void Pause(std::chrono::milliseconds duration) override {
    pauses.push_back(duration.count());
    if (abortAfterPauses > 0 && static_cast<long>(pauses.size()) >= abortAfterPauses) abort = true;
  }
  int OpenForReading(const std::string& path) override {
    if (unopenable.count(path)) {
      errno = EACCES;
      return -1;
    }
    return ScanEnvironment::OpenForReading(path);
  }

  std::atomic<bool> abort{false};
  long abortAfterPauses = 0;  // 0: never
  std::vector<long> errors;
  std::vector<std::string> details;
  std::vector<long> pauses;
  std::set<std::string> unopenable;
};

}  // namespace lindrel::dircompare::testing
