#include "cli/CliApp.h"

#include <CLI/CLI.hpp>

#include "cli/DirsCommand.h"
#include "cli/FilesCommand.h"
#include "cli/GitDiffCommand.h"

namespace lindrel::cli {

namespace {

constexpr const char* kVersion = "lindrel " LINDREL_VERSION_TEXT;
constexpr const char* kExitFooter =
    "Exit status: 0 if nothing differs, 1 if something differs, 2 if trouble.";

// The subcommand the user was typing when parsing failed, or nullptr before one.
const CLI::App* ChosenCommand(const CLI::App& app) {
  for (const CLI::App* command : app.get_subcommands({}))
    if (command->parsed()) return command;
  return nullptr;
}

constexpr const char* kGitDiffOperands = "PATH OLD-FILE OLD-HEX OLD-MODE NEW-FILE NEW-HEX NEW-MODE";

void WriteUsage(std::ostream& err, const CLI::App* command) {
  const std::string name = command ? command->get_name() : "{files|dirs|git-diff}";
  err << "Usage: lindrel " << name << " [OPTIONS] "
      << (name == "git-diff" ? kGitDiffOperands : "MASTER SOURCE") << "\n"
      << "Try 'lindrel " << (command ? name + " " : "") << "--help' for more information.\n";
}

}  // namespace

int RunCli(int argc, const char* const* argv, Console& console) {
  CLI::App app{"Compare text files line by line, or directory trees entry by entry.", "lindrel"};
  app.set_version_flag("--version", kVersion);
  app.require_subcommand(1, 1);
  app.footer(kExitFooter);

  FilesOptions filesOptions;
  CLI::App* files = app.add_subcommand("files", "Compare two files line by line");
  files->set_version_flag("--version", kVersion);
  files->footer(kExitFooter);
  DefineFilesCommand(*files, filesOptions);

  DirsOptions dirsOptions;
  CLI::App* dirs = app.add_subcommand("dirs", "Compare two directories");
  dirs->set_version_flag("--version", kVersion);
  dirs->footer(kExitFooter);
  DefineDirsCommand(*dirs, dirsOptions);

  GitDiffOptions gitDiffOptions;
  CLI::App* gitDiff =
      app.add_subcommand("git-diff", "Print a unified listing for git, as its external diff");
  gitDiff->set_version_flag("--version", kVersion);
  gitDiff->footer(std::string("Arguments: ") + kGitDiffOperands +
                  ", as git passes them to GIT_EXTERNAL_DIFF or diff.external.\n"
                  "Exit status: 0 whether or not the files differ, 2 if trouble.");
  DefineGitDiffCommand(*gitDiff, gitDiffOptions);

  try {
    app.parse(argc, argv);
  } catch (const CLI::Success& success) {
    // --help and --version: printed by CLI11 on the output stream.
    return app.exit(success, console.out, console.err) == 0 ? kExitSame : kExitTrouble;
  } catch (const CLI::ParseError& error) {
    console.err << "lindrel: " << error.what() << '\n';
    WriteUsage(console.err, ChosenCommand(app));
    return kExitTrouble;
  }

  if (files->parsed()) return RunFiles(filesOptions, console);
  if (gitDiff->parsed()) {
    gitDiffOptions.arguments = gitDiff->remaining();
    return RunGitDiff(gitDiffOptions, console);
  }
  return RunDirs(dirsOptions, console);
}

}  // namespace lindrel::cli
