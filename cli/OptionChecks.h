// Checks of option values that are made before anything is compared, so that a request
// that cannot be honoured is refused with a message instead of running and then failing
// or, worse, answering something the user did not ask about.
#pragma once

#include <ostream>
#include <string>

#include <CLI/CLI.hpp>

namespace lindrel::cli {

// The largest value --horizon-lines takes: the component hands it on as an int.
inline constexpr long kMaxHorizonLines = 2147483647;
// The largest context of a unified listing: more than any file has lines.
inline constexpr long kMaxContextLines = 2147483647;

// Accepts only decimal digits (no sign, no blanks) making a number from 0 to `max`, and
// drops leading zeros (so it goes on the option with transform()). Refused with "expected a whole
// number from 0 to MAX".
CLI::Validator WholeNumberUpTo(long max);

// Refuses an empty path: "the path is empty".
CLI::Validator NonEmptyPath();

// Adds --priority, the worker thread's priority from 0 to 4.
void AddPriorityOption(CLI::App& command, long& priority);

// Adds --color=WHEN: auto, always or never (ListingColours.h).
void AddColorOption(CLI::App& command, std::string& color);

// True (after saying so on `err`) when `path`, given to `option`, is standard output
// while standard output carries the JSON document: the two would be mixed into text
// that is neither.
bool TakesJsonOutput(const std::string& option, const std::string& path, std::ostream& err);

// True when some file name could pass the file-type filter `types`: a type is matched
// as an extension, which begins with a dot, so types without any dot select no file.
bool FileTypesCanSelect(const std::string& types);

}  // namespace lindrel::cli
