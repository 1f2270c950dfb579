#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "dircompare/ContentComparer.h"
#include "tests/dircompare/DirTestSupport.h"

namespace lindrel::dircompare {
namespace {

using lindrel::testing::TempEnvironment;
using testing::RecordingEnvironment;

TEST(ContentComparerTest, AnswerDoesNotDependOnTheBlockSize) {
  const std::string base(1000, 'x');
  auto with = [&](std::size_t at, char c) {
    std::string s = base;
    s[at] = c;
    return s;
  };
  struct Case {
    const char* name;
    std::string master;
    std::string source;
    ContentResult expected;
  };
  const Case cases[] = {
      {"both empty", "", "", ContentResult::kSame},
      {"equal", base, base, ContentResult::kSame},
      {"first byte", base, with(0, 'y'), ContentResult::kDifferent},
      {"last byte", base, with(999, 'y'), ContentResult::kDifferent},
      {"at a block boundary", base, with(512, 'y'), ContentResult::kDifferent},
      {"master is a prefix of source", base.substr(0, 999), base, ContentResult::kDifferent},
      {"source is a prefix of master", base, base.substr(0, 1), ContentResult::kDifferent},
      {"one empty", "", "a", ContentResult::kDifferent},
      {"high bytes", std::string("\xff\x80", 2), std::string("\xff\x81", 2),
       ContentResult::kDifferent},
  };
  for (std::size_t blockSize :
       {std::size_t{1}, std::size_t{7}, std::size_t{8}, std::size_t{512}, std::size_t{1} << 20}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(::testing::Message() << c.name << ", block " << blockSize);
      TempEnvironment env;
      const auto master = env.Write("m", c.master);
      const auto source = env.Write("s", c.source);
      RecordingEnvironment scanEnv;
      ContentComparer comparer(blockSize);
      EXPECT_EQ(comparer.Compare(master.string(), source.string(), scanEnv), c.expected);
      EXPECT_TRUE(scanEnv.errors.empty());
    }
  }
}

TEST(ContentComparerTest, MissingAndUnopenableFiles) {
  TempEnvironment env;
  const std::string file = env.Write("f", "abc").string();
  const std::string other = env.Write("g", "abc").string();
  const std::string missing = env.Path("missing").string();
  struct Case {
    const char* name;
    std::string master;
    std::string source;
    bool sourceUnopenable;
    ContentResult expected;
    std::vector<long> errors;
  };
  const Case cases[] = {
      // A file that was not compared is never "same"; the error names it.
      {"master vanished", missing, file, false, ContentResult::kCannotOpen, {600}},
      {"source vanished", file, missing, false, ContentResult::kCannotOpen, {601}},
      {"both vanished", missing, missing, false, ContentResult::kCannotOpen, {600}},
      {"source cannot be opened", file, other, true, ContentResult::kCannotOpen, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingEnvironment scanEnv;
    if (c.sourceUnopenable) scanEnv.unopenable.insert(c.source);
    ContentComparer comparer;
    EXPECT_EQ(comparer.Compare(c.master, c.source, scanEnv), c.expected);
    EXPECT_EQ(scanEnv.errors, c.errors);
    if (!c.errors.empty()) {
      EXPECT_EQ(scanEnv.details, std::vector<std::string>{" " + missing});
    }
  }
}

// A file shortened between two blocks (and rewritten with the same bytes right after)
// was not compared: never "same", and the host hears which file it was. The seam: the
// abort check before every block.
TEST(ContentComparerTest, AFileShortenedWhileComparedIsNamed) {
  TempEnvironment env;
  const std::string content(8192, 'c');
  for (const bool masterShortened : {true, false}) {
    SCOPED_TRACE(masterShortened ? "master" : "source");
    const std::string master = env.Write("m", content).string();
    const std::string source = env.Write("s", content).string();
    const std::string& shortened = masterShortened ? master : source;
    struct ShorteningEnvironment : RecordingEnvironment {
      bool AbortRequested() const override {
        if (++checks == 2) {
          EXPECT_EQ(::truncate(path.c_str(), 100), 0);
        }
        return false;
      }
      std::string path;
      mutable int checks = 0;
    } scanEnv;
    scanEnv.path = shortened;
    ContentComparer comparer(1024);
    EXPECT_EQ(comparer.Compare(master, source, scanEnv), ContentResult::kCannotOpen);
    EXPECT_EQ(scanEnv.errors, std::vector<long>{602});
    EXPECT_EQ(scanEnv.details, std::vector<std::string>{shortened});
    env.Write(masterShortened ? "m" : "s", content);
    RecordingEnvironment again;
    EXPECT_EQ(comparer.Compare(master, source, again), ContentResult::kSame);
  }
}

TEST(ContentComparerTest, AbortInterruptsALongComparison) {
  TempEnvironment env;
  const std::string big(64 * 1024, 'z');
  const auto master = env.Write("m", big);
  const auto source = env.Write("s", big);
  RecordingEnvironment scanEnv;
  scanEnv.abort = true;
  ContentComparer comparer(1024);
  EXPECT_EQ(comparer.Compare(master.string(), source.string(), scanEnv), ContentResult::kAborted);
}

}  // namespace
}  // namespace lindrel::dircompare
