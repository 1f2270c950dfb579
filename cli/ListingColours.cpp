#include "cli/ListingColours.h"

#include <cstdlib>

namespace lindrel::cli {

bool ColoursWanted(const std::string& choice, bool outIsTerminal) {
  if (choice == "always") return true;
  if (choice != "auto" || !outIsTerminal) return false;
  const char* noColor = std::getenv("NO_COLOR");
  return noColor == nullptr || *noColor == '\0';
}

}  // namespace lindrel::cli
