// A fresh private directory per test, set as LINDREL_HOME and TMPDIR so that state
// files, scratch files and reports of one test never meet another's.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

namespace lindrel::testing {

class TempEnvironment {
 public:
  TempEnvironment() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lindrel-test-XXXXXX").string();
    if (const char* made = ::mkdtemp(pattern.data())) root_ = made;
    home_ = root_ / "home";
    tmp_ = root_ / "tmp";
    std::filesystem::create_directories(home_);
    std::filesystem::create_directories(tmp_);
    Save("LINDREL_HOME", savedHome_, hadHome_);
    Save("TMPDIR", savedTmp_, hadTmp_);
    ::setenv("LINDREL_HOME", home_.c_str(), 1);
    ::setenv("TMPDIR", tmp_.c_str(), 1);
  }
  ~TempEnvironment() {
    Restore("LINDREL_HOME", savedHome_, hadHome_);
    Restore("TMPDIR", savedTmp_, hadTmp_);
    std::error_code ignored;
    std::filesystem::permissions(root_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(root_, ignored);
  }
  TempEnvironment(const TempEnvironment&) = delete;
  TempEnvironment& operator=(const TempEnvironment&) = delete;

  // The whole private directory, the Lindrel directory inside it, and a work area.
  const std::filesystem::path& root() const { return root_; }
  const std::filesystem::path& home() const { return home_; }
  std::filesystem::path Path(std::string_view name) const { return root_ / name; }

  // Writes `content` byte for byte to `name` under the root; returns its path.
  std::filesystem::path Write(std::string_view name, std::string_view content) const {
    std::filesystem::path path = root_ / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    return path;
  }

  // The names in a directory, sorted: to see that nothing was left behind.
  static std::vector<std::string> EntryNames(const std::filesystem::path& directory) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
      names.push_back(entry.path().filename());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  // The whole content of a file, or "" when it cannot be read.
  static std::string Read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  static void Save(const char* name, std::string& value, bool& had) {
    const char* v = std::getenv(name);
    had = v != nullptr;
    if (had) value = v;
  }
  static void Restore(const char* name, const std::string& value, bool had) {
    if (had)
      ::setenv(name, value.c_str(), 1);
    else
      ::unsetenv(name);
  }

  std::filesystem::path root_, home_, tmp_;
  std::string savedHome_, savedTmp_;
  bool hadHome_ = false, hadTmp_ = false;
};

}  // namespace lindrel::testing
