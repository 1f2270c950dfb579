/// @file
/// Checking an ignore-line pattern before a component is given it.
#pragma once

#include <string>

#include "lindrel/export.h"

namespace lindrel {

/// Why a file comparison could not use `pattern` as one piece of
/// FileIgnoreRegularExpression: the C library's reason when it does not compile under the
/// GNU rules the comparisons use (a comparison leaves such a pattern out, so its lines
/// would be compared after all), or the reason a component refuses a back-reference (its
/// begin fails with OnError 507). Empty when the pattern can be used. Any thread, also
/// while comparisons run.
LINDREL_EXPORT std::string IgnorePatternProblem(const std::string& pattern);

}  // namespace lindrel
