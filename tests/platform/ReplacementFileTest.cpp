#include "platform/ReplacementFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/TempEnvironment.h"

namespace lindrel::platform {
namespace {

namespace fs = std::filesystem;
using lindrel::testing::TempEnvironment;

// Every way a replacement can fail leaves the old file and nothing beside it.
TEST(ReplacementFileTest, AFailureAtAnyStepKeepsTheOldFile) {
  TempEnvironment env;
  const std::string target = env.Write("dir/target", "old\n").string();
  struct Case {
    const char* name;
    long long writeBudget;
    TEST_CommitFault commitFault;
  } cases[] = {{"write", 3, TEST_CommitFault::kNone},
               {"close", -1, TEST_CommitFault::kClose},
               {"rename", -1, TEST_CommitFault::kRename}};
  for (const Case& c : cases) {
    ReplacementFile file;
    ASSERT_TRUE(file.Create(target).ok()) << c.name;
    TEST_FailWritesAfter(c.writeBudget);
    TEST_FailNextCommit(c.commitFault);
    const bool written = file.Write("new content\n").ok();
    TEST_FailWritesAfter(-1);
    const Status committed = written ? file.Commit() : Status::Error(target, "write failed");
    TEST_FailNextCommit(TEST_CommitFault::kNone);
    EXPECT_FALSE(committed.ok()) << c.name;
    file.Abandon();
    EXPECT_EQ(TempEnvironment::Read(target), "old\n") << c.name;
    EXPECT_EQ(TempEnvironment::EntryNames(env.Path("dir")), std::vector<std::string>{"target"})
        << c.name;
  }
  // An object given up without a commit changes nothing either.
  {
    ReplacementFile file;
    ASSERT_TRUE(file.Create(target).ok());
    ASSERT_TRUE(file.Write("never committed\n").ok());
  }
  EXPECT_EQ(TempEnvironment::Read(target), "old\n");
  EXPECT_EQ(TempEnvironment::EntryNames(env.Path("dir")), std::vector<std::string>{"target"});
}

TEST(ReplacementFileTest, ACommitReplacesTheFileALinkLeadsTo) {
  TempEnvironment env;
  const std::string real = env.Write("real", "old\n").string();
  fs::create_symlink("real", env.Path("link"));
  ReplacementFile file;
  ASSERT_TRUE(file.Create(env.Path("link").string()).ok());
  ASSERT_TRUE(file.Write("new\n").ok());
  ASSERT_TRUE(file.Commit().ok());
  EXPECT_TRUE(fs::is_symlink(env.Path("link")));
  EXPECT_EQ(TempEnvironment::Read(real), "new\n");
  // Nothing is left beside it.
  EXPECT_EQ(TempEnvironment::EntryNames(env.root()),
            (std::vector<std::string>{"home", "link", "real", "tmp"}));
}

TEST(ReplacementFileTest, ReadingOpensOnlyRegularFilesAndNeverBlocks) {
  TempEnvironment env;
  const std::string fifo = env.Path("fifo").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  struct Case {
    std::string path;
    int error;  // 0: opens
  } cases[] = {{env.Write("file", "x").string(), 0},
               {fifo, EINVAL},
               {"/dev/zero", EINVAL},
               {env.root().string(), EISDIR},
               {env.Path("missing").string(), ENOENT}};
  for (const Case& c : cases) {
    errno = 0;
    const int fd = OpenRegularFileForReading(c.path);
    if (c.error == 0) {
      ASSERT_GE(fd, 0) << c.path;
      // Blocking again, as a caller expects of a regular file.
      EXPECT_EQ(::fcntl(fd, F_GETFL) & O_NONBLOCK, 0) << c.path;
      ::close(fd);
    } else {
      EXPECT_EQ(fd, -1) << c.path;
      EXPECT_EQ(errno, c.error) << c.path;
    }
  }
}

}  // namespace
}  // namespace lindrel::platform
