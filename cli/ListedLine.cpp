#include "cli/ListedLine.h"

namespace lindrel::cli {

bool AppendListedLine(std::string& text, LineStream& file, const char* prefix, const char* colour,
                      const char* reset) {
  text += colour;
  text += prefix;
  bool withoutNewline = false;
  if (!file.Next(text, withoutNewline)) return false;
  if (*reset != '\0') {
    if (withoutNewline)
      text += reset;
    else
      text.insert(text.size() - 1, reset);
  }
  if (withoutNewline) {
    text += '\n';
    text += kNoNewlineMarker;
  }
  return true;
}

std::string ListingFailure(const LineStream& file) {
  return file.path() + ": " +
         (file.error().empty() ? std::string("changed while it was compared") : file.error());
}

}  // namespace lindrel::cli
