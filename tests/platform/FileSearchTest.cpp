#include "platform/FileSearch.h"

#include <unistd.h>

#include "tests/support/TempEnvironment.h"

namespace lindrel::platform {
namespace {

using lindrel::testing::TempEnvironment;

TEST(FileSearchTest, FindsFilesDirectoriesAndMatchingPatterns) {
  TempEnvironment env;
  env.Write("dir/report.txt", "x");
  env.Write("dir/notes.md", "x");
  ASSERT_EQ(::symlink("nowhere", env.Path("dir/dangling").c_str()), 0);
  const std::string dir = env.Path("dir").string();

  struct Case {
    std::string path;
    bool found;
  } cases[] = {
      {dir + "/report.txt", true},
      {dir, true},
      {dir + "/", true},
      {dir + "/dangling", true},  // the entry exists even though its target does not
      {dir + "/*.txt", true},
      {dir + "/rep?rt.*", true},
      {dir + "/*.*", true},
      {dir + "/*", true},
      {dir + "/*.cpp", false},
      {dir + "/missing.txt", false},
      {dir + "/nodir/*.txt", false},
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(DirectorySearchFindsEntry(c.path), c.found) << c.path;
}

TEST(FileSearchTest, MatchesWildcardsOverWholeNames) {
  struct Case {
    const char* pattern;
    const char* name;
    bool match;
  } cases[] = {
      {"*.txt", "a.txt", true},   {"*.txt", "a.txt.bak", false}, {"a?c", "abc", true},
      {"a?c", "ac", false},       {"*", "", true},               {"*.*", "README", true},
      {"a*b*c", "axxbyyc", true}, {"a*b*c", "axxbyy", false},    {"[ab]", "a", false},
      {"[ab]", "[ab]", true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(WildcardMatch(c.pattern, c.name), c.match) << c.pattern << " vs " << c.name;
}

}  // namespace
}  // namespace lindrel::platform
