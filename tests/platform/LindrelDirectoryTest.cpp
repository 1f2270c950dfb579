#include "platform/LindrelDirectory.h"

#include <sys/stat.h>

#include <cstdlib>

#include "tests/support/TempEnvironment.h"

namespace lindrel::platform {
namespace {

using lindrel::testing::TempEnvironment;

// Sets or clears the variables the Lindrel directory depends on, restoring them after.
class ScopedVariables {
 public:
  ScopedVariables() {
    for (const char* name : kNames) {
      const char* value = std::getenv(name);
      saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    }
  }
  ~ScopedVariables() {
    for (const auto& [name, value] : saved_) {
      if (value) ::setenv(name, value->c_str(), 1);
      else ::unsetenv(name);
    }
  }
  static void Set(const char* name, const std::string& value) { ::setenv(name, value.c_str(), 1); }
  static void Clear(const char* name) { ::unsetenv(name); }

 private:
  static constexpr const char* kNames[] = {"LINDREL_HOME", "XDG_CONFIG_HOME", "HOME"};
  std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

TEST(LindrelDirectoryTest, FollowsTheVariablesInOrder) {
  TempEnvironment env;
  ScopedVariables vars;
  const std::string root = env.root().string();

  ScopedVariables::Set("LINDREL_HOME", root + "/explicit/");
  ScopedVariables::Set("XDG_CONFIG_HOME", root + "/xdg");
  ScopedVariables::Set("HOME", root + "/home");
  EXPECT_EQ(LindrelDirectory(), root + "/explicit");

  ScopedVariables::Set("LINDREL_HOME", "");
  EXPECT_EQ(LindrelDirectory(), root + "/xdg/lindrel");

  ScopedVariables::Set("XDG_CONFIG_HOME", "relative/xdg");
  EXPECT_EQ(LindrelDirectory(), root + "/home/.config/lindrel");

  struct stat info {};
  ASSERT_EQ(::stat((root + "/home/.config/lindrel").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST(LindrelDirectoryTest, FailsWhenItCannotBeDeterminedOrCreated) {
  TempEnvironment env;
  ScopedVariables vars;
  ScopedVariables::Clear("LINDREL_HOME");
  ScopedVariables::Clear("XDG_CONFIG_HOME");
  ScopedVariables::Clear("HOME");
  EXPECT_FALSE(LindrelDirectory().has_value());

  const std::string file = env.Write("plain-file", "x").string();
  ScopedVariables::Set("LINDREL_HOME", file + "/below-a-file");
  EXPECT_FALSE(LindrelDirectory().has_value());
  ScopedVariables::Set("LINDREL_HOME", file);
  Status failure;
  EXPECT_FALSE(LindrelDirectory(&failure).has_value());
  EXPECT_EQ(failure.ToString(), file + ": not a directory");
}

TEST(LindrelDirectoryTest, JoinsWithOneSeparator) {
  EXPECT_EQ(JoinPath("/a", "b.INI"), "/a/b.INI");
  EXPECT_EQ(JoinPath("/a/", "b.INI"), "/a/b.INI");
  EXPECT_EQ(JoinPath("", "b.INI"), "b.INI");
}

}  // namespace
}  // namespace lindrel::platform
