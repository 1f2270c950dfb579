#include "cli/OptionChecks.h"

#include <unistd.h>

#include <algorithm>

#include "lindrel/HostFiles.h"

namespace lindrel::cli {

CLI::Validator WholeNumberUpTo(long max) {
  const std::string refusal = "expected a whole number from 0 to " + std::to_string(max);
  return CLI::Validator(
      [max, refusal](std::string& value) -> std::string {
        if (value.empty() || value.find_first_not_of("0123456789") != std::string::npos)
          return refusal;
        // Leading zeros are dropped: the conversion that follows would read them as the
        // start of an octal number.
        value.erase(0, std::min(value.find_first_not_of('0'), value.size() - 1));
        const std::string bound = std::to_string(max);
        if (value.size() > bound.size() || (value.size() == bound.size() && value > bound))
          return refusal;
        return std::string();
      },
      "0.." + std::to_string(max), "WHOLE_NUMBER");
}

CLI::Validator NonEmptyPath() {
  return CLI::Validator(
      [](std::string& value) { return value.empty() ? std::string("the path is empty") : ""; }, "",
      "NON_EMPTY");
}

bool TakesJsonOutput(const std::string& option, const std::string& path, std::ostream& err) {
  if (files::OwnDescriptorNamedBy(path) != STDOUT_FILENO) return false;
  err << "lindrel: " << option << ' ' << path
      << ": standard output already carries the JSON output; write to a file instead\n";
  return true;
}

bool FileTypesCanSelect(const std::string& types) { return types.find('.') != std::string::npos; }

void AddColorOption(CLI::App& command, std::string& color) {
  command
      .add_option("--color", color,
                  "Colour removed lines red, added lines green and hunk headings cyan: auto "
                  "(default: on a terminal, unless NO_COLOR is set), always or never")
      ->type_name("WHEN")
      ->check(CLI::IsMember({"auto", "always", "never"}));
}

void AddPriorityOption(CLI::App& command, long& priority) {
  command
      .add_option("--priority", priority,
                  "Worker thread priority: 0 idle, 1 lowest, 2 normal (default), 3 highest, "
                  "4 time critical")
      ->type_name("0..4")
      ->check(CLI::Range(0, 4));
}

}  // namespace lindrel::cli
