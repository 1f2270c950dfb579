// The file helpers hosts share with the component: the parts that do more than hand a
// call on, a batch of INI keys written all or nothing and a file replaced only whole.
#include "lindrel/HostFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/TempEnvironment.h"

namespace lindrel::files {
namespace {

using lindrel::testing::TempEnvironment;

TEST(HostFilesTest, ProfileBatchIsWrittenWholeOrNotAtAll) {
  TempEnvironment env;
  const std::string original = "; kept\r\n[Window]\r\nLeft=1\r\n[Other]\r\nx=\"quoted\"\r\n";
  const std::string path = env.Write("settings.ini", original).string();

  // One refused key (a line break would split the line) stops the whole batch.
  std::string error;
  EXPECT_FALSE(WriteProfileStrings(path, "Window", {{"Left", "7"}, {"Top", "a\nb"}}, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(TempEnvironment::Read(path), original);

  EXPECT_TRUE(WriteProfileStrings(path, "window", {{"Left", "7"}, {"Top", "9"}}, &error));
  EXPECT_EQ(TempEnvironment::Read(path),
            "; kept\r\n[Window]\r\nLeft=7\r\nTop=9\r\n[Other]\r\nx=\"quoted\"\r\n");
  EXPECT_EQ(ReadProfileInt("Window", "top", -1, path), 9);
  EXPECT_EQ(ReadProfileString("Other", "x", "none", 500, path), "quoted");
  EXPECT_EQ(ReadProfileString("Other", "missing", "none", 500, path), "none");
  EXPECT_EQ(ReadProfileString("Other", "x", "none", 4, path), "quo");
}

TEST(HostFilesTest, ProfileFileThatCannotBeReadIsNeverReplaced) {
  TempEnvironment env;
  // A directory in the file's place: it exists, but nothing can read it as a file.
  const std::string path = env.Path("settings.ini").string();
  std::filesystem::create_directory(path);
  env.Write("settings.ini/inside", "kept");
  std::string error;
  EXPECT_FALSE(WriteProfileStrings(path, "A", {{"c", "2"}}, &error));
  EXPECT_NE(error.find(path), std::string::npos) << error;
  EXPECT_TRUE(std::filesystem::is_directory(path));
  EXPECT_EQ(TempEnvironment::Read(path + "/inside"), "kept");
}

TEST(HostFilesTest, FileIsReplacedOnlyWhenItCanBeWrittenWhole) {
  TempEnvironment env;
  const std::string path = env.Write("out.txt", "old").string();
  std::string error;
  EXPECT_TRUE(ReplaceFile(path, "new\n", &error)) << error;
  EXPECT_EQ(TempEnvironment::Read(path), "new\n");

  const std::string inMissingFolder = env.Path("no such folder/out.txt").string();
  EXPECT_FALSE(ReplaceFile(inMissingFolder, "x", &error));
  EXPECT_NE(error.find(inMissingFolder), std::string::npos) << error;
  EXPECT_FALSE(std::filesystem::exists(inMissingFolder));

  EXPECT_FALSE(ReplaceFile(path + std::string(1, '\0') + "x", "y"));
  EXPECT_EQ(TempEnvironment::Read(path), "new\n");
  EXPECT_EQ(TempEnvironment::EntryNames(env.root()).size(), 3u);  // home, tmp, out.txt
}

}  // namespace
}  // namespace lindrel::files
