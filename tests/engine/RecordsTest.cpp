#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/engine/EngineTestSupport.h"

namespace lindrel::engine {
namespace {

using namespace testing;

using RecordsTest = EngineTest;

TEST_F(RecordsTest, KindsAndLineNumbers) {
  Check({
      {"one changed line",
       Lines({"a", "b", "c"}),
       Lines({"a", "x", "c"}),
       {},
       1,
       {R('c', 2, 2, 2, 2)}},
      {"one added line", Lines({"a", "c"}), Lines({"a", "b", "c"}), {}, 1, {R('a', 1, 1, 2, 2)}},
      {"one deleted line", Lines({"a", "b", "c"}), Lines({"a", "c"}), {}, 1, {R('d', 2, 2, 1, 1)}},
      {"added before the first line",
       Lines({"b"}),
       Lines({"x", "y", "b"}),
       {},
       1,
       {R('a', 0, 0, 1, 2)}},
      {"deleted before the first line",
       Lines({"x", "y", "b"}),
       Lines({"b"}),
       {},
       1,
       {R('d', 1, 2, 0, 0)}},
      {"two lines replaced by two",
       Lines({"a", "b", "c", "d"}),
       Lines({"a", "x", "y", "d"}),
       {},
       1,
       {R('c', 2, 3, 2, 3)}},
      {"one line replaced by three",
       Lines({"a", "b", "e"}),
       Lines({"a", "x", "y", "z", "e"}),
       {},
       1,
       {R('c', 2, 2, 2, 4)}},
      {"added at the end", Lines({"a"}), Lines({"a", "b", "c"}), {}, 1, {R('a', 1, 1, 2, 3)}},
      {"one line files", Lines({"a"}), Lines({"b"}), {}, 1, {R('c', 1, 1, 1, 1)}},
      {"normal listing 2c2, 3a4,5, 5,6d4 as records",
       Lines({"1", "2", "3", "4", "5", "6", "7"}),
       Lines({"1", "two", "3", "new", "new2", "4", "7"}),
       {},
       1,
       {R('c', 2, 2, 2, 2), R('a', 3, 3, 4, 5), R('d', 5, 6, 6, 6)}},
      {"identical", Lines({"a", "b"}), Lines({"a", "b"}), {}, 0, {}},
  });
}

TEST_F(RecordsTest, RecordsComeInLineOrder) {
  // One change, one addition and two deletions.
  const Outcome outcome = Compare(Lines({"a", "b", "c", "d", "e", "f", "g", "h"}),
                                  Lines({"a", "B", "c", "new", "d", "f", "h"}));
  EXPECT_EQ(outcome.records, (Records{R('c', 2, 2, 2, 2), R('a', 3, 3, 4, 4), R('d', 5, 5, 5, 5),
                                      R('d', 7, 7, 6, 6)}));
}

TEST_F(RecordsTest, RunOfDeletionsSlidesDownToTheLastEqualLine) {
  // Deleting one of three equal lines is reported as the last of them.
  Check({
      {"deleted run",
       Lines({"x", "a", "a", "a", "y"}),
       Lines({"x", "a", "a", "y"}),
       {},
       1,
       {R('d', 4, 4, 3, 3)}},
      {"inserted run",
       Lines({"x", "a", "b", "y"}),
       Lines({"x", "a", "b", "a", "b", "y"}),
       {},
       1,
       {R('a', 3, 3, 4, 5)}},
  });
}

TEST_F(RecordsTest, BlankLinesUnderIgnoreBlankLines) {
  const std::string formFeed = "\f";
  Check({
      {"added empty line", Lines({"a", "b"}), Lines({"a", "", "b"}), {"-B"}, 0, {}},
      {"added empty line without -B",
       Lines({"a", "b"}),
       Lines({"a", "", "b"}),
       {},
       1,
       {R('a', 1, 1, 2, 2)}},
      {"deleted empty lines", Lines({"a", "", "", "b"}), Lines({"a", "b"}), {"-B"}, 0, {}},
      {"added line of blanks",
       Lines({"a", "b"}),
       Lines({"a", "  ", "b"}),
       {"-B"},
       1,
       {R('a', 1, 1, 2, 2)}},
      {"empty line and z in one hunk",
       Lines({"a", "b"}),
       Lines({"a", "", "z", "b"}),
       {"-B"},
       1,
       {R('a', 1, 1, 2, 3)}},
      {"form feed line with the component's pattern",
       Lines({"a", "b"}),
       Lines({"a", formFeed, "b"}),
       {"-B", "-I" + formFeed},
       0,
       {}},
      {"line holding a form feed among text",
       Lines({"a", "b"}),
       Lines({"a", "abc" + formFeed + "def", "b"}),
       {"-B", "-I" + formFeed},
       0,
       {}},
      {"only ignorable hunks among real ones",
       Lines({"a", "b", "c", "d"}),
       Lines({"a", "", "b", "x", "d"}),
       {"-B"},
       1,
       {R('c', 3, 3, 4, 4)}},
  });
}

TEST_F(RecordsTest, IgnoreLinePatterns) {
  Check({
      {"changed comment lines only",
       Lines({"a", "# one", "b"}),
       Lines({"a", "# two", "b"}),
       {"-I^#"},
       0,
       {}},
      {"a pattern matching in the middle",
       Lines({"a", "x TODO y", "b"}),
       Lines({"a", "b"}),
       {"-ITODO"},
       0,
       {}},
      {"mixed hunk is delivered whole",
       Lines({"a", "# c", "b"}),
       Lines({"a", "real", "b"}),
       {"-I^#"},
       1,
       {R('c', 2, 2, 2, 2)}},
      {"records stay dense after a skipped hunk",
       Lines({"1", "# x", "3", "4", "5", "6", "7"}),
       Lines({"1", "# y", "3", "four", "5", "6", "seven"}),
       {"-I^#"},
       1,
       {R('c', 4, 4, 4, 4), R('c', 7, 7, 7, 7)}},
      {"any of several patterns",
       Lines({"a", "# c", "b", "// d", "e"}),
       Lines({"a", "b", "e"}),
       {"-I^#", "-I^//"},
       0,
       {}},
      {"patterns ignore case switch",
       Lines({"a", "TODO", "b"}),
       Lines({"a", "b"}),
       {"-Itodo", "-i"},
       1,
       {R('d', 2, 2, 1, 1)}},
      {"pattern that does not compile is dropped",
       Lines({"a", "x(", "b"}),
       Lines({"a", "b"}),
       {"-Ix\\("},
       1,
       {R('d', 2, 2, 1, 1)}},
      {"syntax 0: \\| is alternation",
       Lines({"a", "foo", "bar", "b"}),
       Lines({"a", "b"}),
       {"-Ifoo\\|bar"},
       0,
       {}},
      {"syntax 0: | is an ordinary character",
       Lines({"a", "foo", "b"}),
       Lines({"a", "b"}),
       {"-Ifoo|bar"},
       1,
       {R('d', 2, 2, 1, 1)}},
  });
}

TEST_F(RecordsTest, EmptyMatchesNeverStartAfterTheLineFeed) {
  // "^$" means empty lines: it must not match every line through the position just after
  // a line's own line feed, which would hide every change.
  Check({
      {"^$ ignores an added empty line", Lines({"a", "b"}), Lines({"a", "", "b"}), {"-I^$"}, 0, {}},
      {"^$ does not hide a changed line",
       Lines({"a", "b", "c"}),
       Lines({"a", "x", "c"}),
       {"-I^$"},
       1,
       {R('c', 2, 2, 2, 2)}},
      {"^$ does not hide an added incomplete line",
       Lines({"a"}),
       "a\nz",
       {"-I^$"},
       1,
       {R('a', 1, 1, 2, 2)}},
      {"x$ still matches a line ending in x",
       Lines({"a", "b"}),
       Lines({"a", "box", "b"}),
       {"-Ix$"},
       0,
       {}},
      {"x$ on an incomplete last line", Lines({"a"}), "a\nbox", {"-Ix$"}, 0, {}},
      {"x$ does not match x elsewhere",
       Lines({"a", "b"}),
       Lines({"a", "xb", "b"}),
       {"-Ix$"},
       1,
       {R('a', 1, 1, 2, 2)}},
      {"$ alone matches every line", Lines({"a", "b"}), Lines({"a", "q", "b"}), {"-I$"}, 0, {}},
  });
}

TEST_F(RecordsTest, EveryRunStartsFromDefaultSettings) {
  const std::string master = Lines({"a", "B", "c"});
  const std::string source = Lines({"a", "b", "c"});
  EXPECT_EQ(Compare(master, source, {"-i", "--horizon-lines=3", "-I^x"}).result, 0);
  EXPECT_EQ(Compare(master, source).records, (Records{R('c', 2, 2, 2, 2)}));
}

}  // namespace
}  // namespace lindrel::engine
