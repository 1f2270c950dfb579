#include <gtest/gtest.h>

#include "dircompare/FileTypeFilter.h"

namespace lindrel::dircompare {
namespace {

TEST(FileTypeFilterTest, ExtensionOccursAnywhereInThePatterns) {
  struct Case {
    const char* name;
    const char* types;
    bool passes;
  };
  const Case cases[] = {
      {"a.txt", "*.txt", true},
      {"a.TXT", "*.txt", true},
      {"a.txt", "*.TXT", true},
      {"a.t", "*.txt", true},          // ".T" occurs in "*.TXT"
      {"a.c", "*.cpp", true},          // a prefix of a listed extension
      {"a.cpp", "*.c", false},
      {"a.doc", "*.txt", false},
      {"a", "*.txt", false},           // no extension
      {"a", "*.*", true},
      {"a.doc", "*.txt;*.*", true},    // ".*" anywhere lets everything through
      {"a.doc", "*.txt *.doc", true},  // separators do not matter
      {"a.doc", "*.txt,*.DOC", true},
      {"a.b.txt", "*.txt", true},      // from the last dot
      {"a.txt.bak", "*.txt", false},
      {".profile", "*.profile", true},
      {"a.txt", "", false},
      {"", "*.txt", false},
      {"a.", "*.txt", true},           // "." occurs in any pattern with a dot
      {"a.", "txt", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PassesFileTypeFilter(c.name, c.types), c.passes)
        << "name '" << c.name << "' types '" << c.types << "'";
  }
}

}  // namespace
}  // namespace lindrel::dircompare
