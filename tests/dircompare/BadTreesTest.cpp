// Trees a hostile or unlucky user can give a directory comparison: directories that
// cannot be read, paths longer than the system's limit, FIFOs, files that vanish, and a
// tab export onto a full disk. None may end in a silent "nothing differs".
#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "control/ControlInternals.h"
#include "control/LindrelCtrlImpl.h"
#include "dircompare/DirScanner.h"
#include "dircompare/TabExport.h"
#include "lindrel/MessageLoop.h"
#include "platform/ReplacementFile.h"
#include "tests/dircompare/DirTestSupport.h"
#include "tests/support/RecordingListener.h"

namespace lindrel::dircompare {
namespace {

namespace fs = std::filesystem;
using lindrel::testing::TempEnvironment;
using testing::RecordingEnvironment;
using testing::Trees;
using Strings = std::vector<std::string>;

ScanOptions Options(const Trees& trees) {
  ScanOptions o;
  o.master = trees.Root("m");
  o.source = trees.Root("s");
  o.throttle = false;
  o.doSubDirectories = true;
  o.ignoreDateDifferences = true;
  return o;
}

Strings Scan(const Trees& trees, const ScanOptions& options, RecordingEnvironment& env) {
  DirResultStore store;
  DirScanner scanner(options, env, store);
  scanner.Run();
  return testing::Lines(store, trees.Prefix());
}

// Runs `body` in a child process that cannot ignore permissions (root gives them up to
// the "nobody" account first). Answers the failures the body describes ("" when none),
// or nothing when privileges cannot be dropped or the child cannot reach the test's
// directory `root` (it lies in a private folder, say).
std::optional<std::string> RunUnprivileged(const std::string& root,
                                           const std::function<std::string()>& body) {
  int channel[2];
  if (::pipe(channel) != 0) return std::nullopt;
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(channel[0]);
    std::string result;
    if (::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setresgid(65534, 65534, 65534) != 0 ||
         ::setresuid(65534, 65534, 65534) != 0)) {
      result = "\x01";
    } else if (::access(root.c_str(), R_OK | X_OK) != 0) {
      result = "\x01";
    } else {
      result = body();
    }
    (void)!::write(channel[1], result.data(), result.size());
    ::_exit(0);
  }
  ::close(channel[1]);
  std::string result;
  char buffer[4096];
  for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;) result.append(buffer, n);
  ::close(channel[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (result == "\x01") return std::nullopt;
  if (!WIFEXITED(status)) return "the unprivileged child died";
  return result;
}

// The unprivileged child must be able to reach the test's files.
void OpenToOthers(const TempEnvironment& env) {
  fs::permissions(env.root(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec);
}

std::string Describe(const Strings& lines, const RecordingEnvironment& env) {
  std::string text;
  for (const auto& line : lines) text += line + "\n";
  for (std::size_t i = 0; i < env.errors.size(); ++i)
    text += "error " + std::to_string(env.errors[i]) + env.details[i] + "\n";
  return text;
}

TEST(BadTreesTest, AnUnreadableDirectoryIsReportedNeverTakenForAnEmptyOne) {
  TempEnvironment env;
  OpenToOthers(env);
  Trees trees(env);
  trees.File("m/sub/a.txt", "1");
  trees.File("s/sub/a.txt", "2");
  trees.File("m/top.txt", "x");
  trees.File("s/top.txt", "x");
  const ScanOptions options = Options(trees);
  const std::string locked = options.source + "sub/";
  const std::string lockedRoot = options.master;

  ::chmod(env.Path("s/sub").c_str(), 0);
  const std::optional<std::string> subdirectory = RunUnprivileged(env.root(), [&] {
    RecordingEnvironment scanEnv;
    const Strings lines = Scan(trees, options, scanEnv);
    const Strings expected = {"D - m/ s/ 0 0 0 0 0", "F top.txt m/ s/ 0 0 0 0 0",
                              "D sub m/sub/ s/sub/ 0 0 0 0 0"};
    const bool ok = lines == expected && scanEnv.errors == std::vector<long>{508} &&
                    scanEnv.details == Strings{locked};
    return ok ? std::string() : "unreadable subdirectory:\n" + Describe(lines, scanEnv);
  });
  ::chmod(env.Path("s/sub").c_str(), 0755);
  if (!subdirectory) GTEST_SKIP() << "no unprivileged process can reach the test's files";
  EXPECT_EQ(*subdirectory, "");

  ::chmod(env.Path("m").c_str(), 0);
  const std::optional<std::string> root = RunUnprivileged(env.root(), [&] {
    RecordingEnvironment scanEnv;
    const Strings lines = Scan(trees, options, scanEnv);
    const bool ok = lines == Strings{"D - m/ s/ 0 0 0 0 0"} &&
                    scanEnv.errors == std::vector<long>{508} &&
                    scanEnv.details == Strings{lockedRoot};
    return ok ? std::string() : "unreadable root:\n" + Describe(lines, scanEnv);
  });
  ::chmod(env.Path("m").c_str(), 0755);
  ASSERT_TRUE(root.has_value());
  EXPECT_EQ(*root, "");
}

// Read permission without search permission: the names can be listed, but nothing
// about them can be learnt, so the files are neither compared nor absent.
TEST(BadTreesTest, ADirectoryThatCanBeListedButNotEnteredIsReported) {
  TempEnvironment env;
  OpenToOthers(env);
  Trees trees(env);
  trees.File("m/sub/a.txt", "1");
  trees.File("s/sub/a.txt", "2");
  trees.File("m/sub/inner/b.txt", "1");
  trees.File("s/sub/inner/b.txt", "1");
  trees.File("m/top.txt", "x");
  trees.File("s/top.txt", "x");
  const ScanOptions options = Options(trees);
  struct Case {
    const char* locked;
    std::string detail;
    Strings lines;
  } cases[] = {
      {"s/sub",
       options.source + "sub/",
       {"D - m/ s/ 0 0 0 0 0", "F top.txt m/ s/ 0 0 0 0 0", "D sub m/sub/ s/sub/ 0 0 0 0 0"}},
      {"m", options.master, {"D - m/ s/ 0 0 0 0 0"}},
  };
  for (const Case& c : cases) {
    ::chmod(env.Path(c.locked).c_str(), 0444);
    const std::optional<std::string> failures = RunUnprivileged(env.root(), [&] {
      RecordingEnvironment scanEnv;
      const Strings lines = Scan(trees, options, scanEnv);
      const bool ok = lines == c.lines && scanEnv.errors == std::vector<long>{508} &&
                      scanEnv.details == Strings{c.detail};
      return ok ? std::string() : std::string(c.locked) + ":\n" + Describe(lines, scanEnv);
    });
    ::chmod(env.Path(c.locked).c_str(), 0755);
    if (!failures) GTEST_SKIP() << "cannot run without root's permissions";
    EXPECT_EQ(*failures, "");
  }
}

// Makes `depth` nested directories named `name` below `parent`, by descriptor (their
// paths are too long to name whole), and a file at the bottom.
void MakeDeepTree(const std::string& parent, const std::string& name, int depth,
                  const std::string& content) {
  int fd = ::open(parent.c_str(), O_RDONLY | O_DIRECTORY);
  for (int level = 0; level < depth && fd >= 0; ++level) {
    ::mkdirat(fd, name.c_str(), 0755);
    const int next = ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY);
    ::close(fd);
    fd = next;
  }
  ASSERT_GE(fd, 0);
  const int file = ::openat(fd, "deep.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(file, 0);
  ASSERT_EQ(::write(file, content.data(), content.size()), static_cast<ssize_t>(content.size()));
  ::close(file);
  ::close(fd);
}

// Removes such a tree, which std::filesystem cannot reach by path.
void RemoveDeepTree(int parentFd, const char* name) {
  const int fd = ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
  if (fd >= 0) {
    if (DIR* dir = ::fdopendir(::dup(fd))) {
      std::vector<std::pair<std::string, bool>> entries;
      while (const dirent* entry = ::readdir(dir)) {
        const std::string child = entry->d_name;
        if (child != "." && child != "..") entries.emplace_back(child, entry->d_type == DT_DIR);
      }
      ::closedir(dir);
      for (const auto& [child, isDirectory] : entries) {
        if (isDirectory) {
          RemoveDeepTree(fd, child.c_str());
        } else {
          ::unlinkat(fd, child.c_str(), 0);
        }
      }
    }
    ::close(fd);
  }
  ::unlinkat(parentFd, name, AT_REMOVEDIR);
}

TEST(BadTreesTest, ATreeDeeperThanThePathLimitIsNeverASilentSuccess) {
  TempEnvironment env;
  Trees trees(env);
  const ScanOptions options = Options(trees);
  const std::string name(200, 'd');
  const int depth = PATH_MAX / 200 + 2;
  MakeDeepTree(env.Path("m").string(), name, depth, "master");
  MakeDeepTree(env.Path("s").string(), name, depth, "source");
  RecordingEnvironment scanEnv;
  const Strings lines = Scan(trees, options, scanEnv);
  // The walk cannot reach the differing file: it must say where it stopped.
  ASSERT_FALSE(scanEnv.errors.empty()) << Describe(lines, scanEnv);
  EXPECT_EQ(scanEnv.errors.front(), 508);
  EXPECT_GT(scanEnv.details.front().size(), static_cast<std::size_t>(PATH_MAX));
  for (const char* side : {"m", "s"}) {
    const int fd = ::open(env.Path(side).c_str(), O_RDONLY | O_DIRECTORY);
    RemoveDeepTree(fd, name.c_str());
    ::close(fd);
  }
}

TEST(BadTreesTest, FifosAndVanishedFilesAreNeverTheSame) {
  TempEnvironment env;
  Trees trees(env);
  const ScanOptions options = Options(trees);
  ASSERT_EQ(::mkfifo(env.Path("m/pipe").c_str(), 0600), 0);
  ASSERT_EQ(::mkfifo(env.Path("s/pipe").c_str(), 0600), 0);
  trees.File("m/gone.txt", "same");
  trees.File("s/gone.txt", "same");
  ScanOptions vanishing = options;
  vanishing.TEST_beforeContentCompare = [&](const std::string& m, const std::string&) {
    if (m.find("gone") != std::string::npos) fs::remove(env.Path("s/gone.txt"));
  };
  RecordingEnvironment scanEnv;
  EXPECT_EQ(
      Scan(trees, vanishing, scanEnv),
      (Strings{"D - m/ s/ 0 0 0 0 0", "F gone.txt m/ s/ 0 0 0 0 2", "F pipe m/ s/ 0 0 0 0 2"}));
  EXPECT_EQ(scanEnv.errors, std::vector<long>{601});
  EXPECT_EQ(scanEnv.details, Strings{" " + options.source + "gone.txt"});
}

TEST(BadTreesTest, ATabExportThatCannotBeWrittenIsReportedAndKeepsTheOldFile) {
  TempEnvironment env;
  MessageLoop loop;
  lindrel::testing::RecordingListener listener;
  CLindrelCtrl ctrl("tab-export", &loop, &listener);
  Internals(ctrl).dir.results().Append(DirResultRecord{});
  const std::string path = env.Write("export.tab", "previous\n").string();
  for (long long after : {0LL, 20LL}) {
    platform::TEST_FailWritesAfter(after);
    EXPECT_FALSE(ctrl.DirSaveDataToTabFile(path)) << after;
    platform::TEST_FailWritesAfter(-1);
    EXPECT_EQ(TempEnvironment::Read(path), "previous\n") << after;
  }
  // A real full device.
  EXPECT_FALSE(ctrl.DirSaveDataToTabFile("/dev/full"));
  ASSERT_EQ(listener.events.size(), 3u);
  for (const auto& e : listener.events) EXPECT_EQ(e.code, 504);
  EXPECT_EQ(listener.events[0].text, "Unable to open file:  " + path);
  EXPECT_EQ(listener.events[2].text, "Unable to open file:  /dev/full");
  // Nothing left beside the target; a good export replaces it.
  EXPECT_EQ(std::distance(fs::directory_iterator(env.root()), fs::directory_iterator()), 3);
  EXPECT_TRUE(ctrl.DirSaveDataToTabFile(path));
  EXPECT_EQ(TempEnvironment::Read(path),
            std::string(kDirTabHeader) + "0\t\t\t\t0\t0\t0\t0\t0\t0\n");
}

}  // namespace
}  // namespace lindrel::dircompare
