#include "cli/GitDiffCommand.h"

#include <CLI/CLI.hpp>

#include "cli/FilesCommand.h"
#include "cli/OptionChecks.h"

namespace lindrel::cli {

namespace {

constexpr const char* kDevNull = "/dev/null";

// The label git gives a side: /dev/null for a missing one, else the path under its prefix.
std::string Label(const std::string& file, const char* prefix, const std::string& path) {
  return file == kDevNull ? std::string(kDevNull) : prefix + path;
}

}  // namespace

void DefineGitDiffCommand(CLI::App& c, GitDiffOptions& o) {
  c.add_option("-U,--unified", o.context, "Lines of context (default 3)")
      ->type_name("N")
      ->transform(WholeNumberUpTo(kMaxContextLines));
  AddColorOption(c, o.color);
  // Everything from the first argument that is no option here is git's.
  c.prefix_command();
}

int RunGitDiff(const GitDiffOptions& o, Console& console) {
  const std::vector<std::string>& a = o.arguments;
  if (a.size() == 1) {
    // What git itself shows for a path with merge conflicts.
    console.out << "* Unmerged path " << a[0] << '\n';
    console.out.flush();
    return kExitSame;
  }
  if (a.size() != 7 && a.size() != 9) {
    console.err << "lindrel git-diff: expected the 7 arguments git passes (PATH OLD-FILE OLD-HEX "
                   "OLD-MODE NEW-FILE NEW-HEX NEW-MODE), got "
                << a.size() << '\n';
    return kExitTrouble;
  }
  const std::string& path = a[0];
  const std::string& newPath = a.size() == 9 ? a[7] : path;
  if (a.size() == 9 && !a[8].empty()) {
    // The rename or copy, as git describes it.
    console.out << a[8] << (a[8].back() == '\n' ? "" : "\n");
  }
  FilesOptions files;
  files.master = a[1];
  files.source = a[4];
  files.unified = true;
  files.context = o.context;
  files.labels = {Label(a[1], "a/", path), Label(a[4], "b/", newPath)};
  files.color = o.color;
  files.devNullIsEmpty = true;
  return RunFiles(files, console) == kExitTrouble ? kExitTrouble : kExitSame;
}

}  // namespace lindrel::cli
