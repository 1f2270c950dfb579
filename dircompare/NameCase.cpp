#include "dircompare/NameCase.h"

namespace lindrel::dircompare {

std::string ToUpperName(std::string_view name) {
  std::string upper(name);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

}  // namespace lindrel::dircompare
