// The directory comparison's file-type filter on any pattern list and any name. Asserts
// that it answers what the rule for file types gives, as written out literally below: ".*"
// anywhere lets every file through; otherwise a file passes when both texts are not empty,
// its name has a dot, and the extension (last dot to the end) occurs somewhere in the
// pattern text, letters a-z compared as A-Z. Also that the answer does not depend on the
// letter case of either text.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "dircompare/FileTypeFilter.h"
#include "fuzz/FuzzChecks.h"

namespace {

using lindrel::fuzzing::Check;

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool ContainsAt(const std::string& text, std::size_t at, const std::string& part, bool foldCase) {
  for (std::size_t k = 0; k < part.size(); ++k) {
    const char a = text[at + k], b = part[k];
    if (foldCase ? Upper(a) != Upper(b) : a != b) return false;
  }
  return true;
}

bool Contains(const std::string& text, const std::string& part, bool foldCase) {
  if (part.size() > text.size()) return false;
  for (std::size_t at = 0; at + part.size() <= text.size(); ++at) {
    if (ContainsAt(text, at, part, foldCase)) return true;
  }
  return false;
}

bool ReferencePasses(const std::string& name, const std::string& types) {
  if (Contains(types, ".*", false)) return true;
  if (name.empty() || types.empty()) return false;
  std::size_t dot = std::string::npos;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '.') dot = i;
  }
  if (dot == std::string::npos) return false;
  return Contains(types, name.substr(dot), true);
}

std::string SwapCase(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    else if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  // A list of patterns such as a user types them, joined by an arbitrary separator.
  static const char* const kSeparators[] = {";", " ", ",", "", "|", "; "};
  const std::string separator = kSeparators[input.ConsumeIntegralInRange<std::size_t>(0, 5)];
  const int count = input.ConsumeIntegralInRange(0, 4);
  std::string types;
  for (int i = 0; i < count; ++i) {
    if (i > 0) types += separator;
    const bool starDot = input.ConsumeBool();
    types += (starDot ? "*." : "") + input.ConsumeRandomLengthString(8);
  }
  const std::string name = input.ConsumeRemainingBytesAsString();

  const bool passes = lindrel::dircompare::PassesFileTypeFilter(name, types);
  Check(passes == ReferencePasses(name, types));
  Check(lindrel::dircompare::PassesFileTypeFilter(SwapCase(name), types) == passes);
  Check(lindrel::dircompare::PassesFileTypeFilter(name, SwapCase(types)) == passes);
  return 0;
}
