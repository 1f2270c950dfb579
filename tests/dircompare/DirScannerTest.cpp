// The walk on real trees: record order, keep rules, classification, names, links,
// vanished and unreadable files, abort and throttling.
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dircompare/DirScanner.h"
#include "tests/dircompare/DirTestSupport.h"

namespace lindrel::dircompare {
namespace {

using lindrel::testing::TempEnvironment;
using testing::Lines;
using testing::RecordingEnvironment;
using testing::Trees;
using Strings = std::vector<std::string>;

struct ScanResult {
  bool finished = false;
  Strings lines;
};

ScanResult Scan(const Trees& trees, ScanOptions options, RecordingEnvironment& env) {
  DirResultStore store;
  DirScanner scanner(options, env, store);
  ScanResult result;
  result.finished = scanner.Run();
  result.lines = Lines(store, trees.Prefix());
  return result;
}

ScanOptions Options(const Trees& trees) {
  ScanOptions o;
  o.master = trees.Root("m");
  o.source = trees.Root("s");
  o.throttle = false;
  return o;
}

TEST(DirScannerTest, KeepRulesAndSubdirectoryRecords) {
  struct Case {
    const char* name;
    std::function<void(ScanOptions&)> configure;
    Strings expected;
  };
  const std::string root = "D - m/ s/ 0 0 0 0 0";
  const std::string same = "F same.txt m/ s/ 0 0 0 0 0";
  const std::string diff = "F diff.txt m/ s/ 0 0 0 0 1";
  const std::string onlyM = "F onlym.txt m/ s/ 1 0 0 0 0";
  const std::string onlyS = "F onlys.txt m/ s/ 0 1 0 0 0";
  const std::string both = "D both m/both/ s/both/ 0 0 0 0 0";
  const std::string inner = "F inner.txt m/both/ s/both/ 0 0 0 0 0";
  const std::string subM = "D subm m/subm/ - 1 0 0 0 0";
  const std::string subS = "D subs - s/subs/ 0 1 0 0 0";
  const Case cases[] = {
      {"everything shown", [](ScanOptions&) {}, {root, diff, onlyM, same, onlyS, both, subM, subS}},
      {"same hidden",
       [](ScanOptions& o) { o.showSameInBothPlaces = false; },
       {root, diff, onlyM, onlyS, both, subM, subS}},
      {"different hidden",
       [](ScanOptions& o) { o.showDifferentInBothPlaces = false; },
       {root, onlyM, same, onlyS, both, subM, subS}},
      {"only-in-master hidden keeps the subdirectory",
       [](ScanOptions& o) { o.showOnlyInMaster = false; },
       {root, diff, same, onlyS, both, subM, subS}},
      {"only-in-source hidden keeps the subdirectory while differences show",
       [](ScanOptions& o) { o.showOnlyInSource = false; },
       {root, diff, onlyM, same, both, subM, subS}},
      {"only-in-source and different hidden",
       [](ScanOptions& o) {
         o.showOnlyInSource = false;
         o.showDifferentInBothPlaces = false;
       },
       {root, onlyM, same, both, subM}},
      {"without content comparison equal bytes are not checked",
       [](ScanOptions& o) {
         o.contentCompare = false;
         o.showDifferentInBothPlaces = false;
       },
       {root, "F diff.txt m/ s/ 0 0 0 0 0", onlyM, same, onlyS, both, subM, subS}},
      {"nothing shown still records master subdirectories",
       [](ScanOptions& o) {
         o.showSameInBothPlaces = o.showDifferentInBothPlaces = false;
         o.showOnlyInMaster = o.showOnlyInSource = false;
       },
       {root, both, subM}},
      {"subdirectories descended into",
       [](ScanOptions& o) { o.doSubDirectories = true; },
       {root, diff, onlyM, same, onlyS, both, inner, subM, subS}},
  };

  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempEnvironment env;
    Trees trees(env);
    trees.File("m/same.txt", "abc");
    trees.File("s/same.txt", "abc");
    trees.File("m/diff.txt", "abc");
    trees.File("s/diff.txt", "abd");
    trees.File("m/onlym.txt", "x");
    trees.File("s/onlys.txt", "x");
    trees.File("m/both/inner.txt", "i");
    trees.File("s/both/inner.txt", "i");
    trees.File("m/subm/hidden.txt", "h");
    trees.File("s/subs/hidden.txt", "h");
    ScanOptions options = Options(trees);
    c.configure(options);
    RecordingEnvironment scanEnv;
    const ScanResult result = Scan(trees, options, scanEnv);
    EXPECT_TRUE(result.finished);
    EXPECT_EQ(result.lines, c.expected);
  }
}

TEST(DirScannerTest, WalkOrderIsFilesThenSourceFilesThenSubtreesDepthFirst) {
  struct Case {
    const char* name;
    bool identical;
    Strings expected;
  };
  const Case cases[] = {
      {"identical trees",
       true,
       {"D - m/ s/ 0 0 0 0 0", "F top.txt m/ s/ 0 0 0 0 0", "D a m/a/ s/a/ 0 0 0 0 0",
        "F a1.txt m/a/ s/a/ 0 0 0 0 0", "D deep m/a/deep/ s/a/deep/ 0 0 0 0 0",
        "F d.txt m/a/deep/ s/a/deep/ 0 0 0 0 0", "D b m/b/ s/b/ 0 0 0 0 0",
        "F b1.txt m/b/ s/b/ 0 0 0 0 0"}},
      {"source extras at several depths",
       false,
       {"D - m/ s/ 0 0 0 0 0", "F top.txt m/ s/ 0 0 0 0 0", "F zs.txt m/ s/ 0 1 0 0 0",
        "D a m/a/ s/a/ 0 0 0 0 0", "F a1.txt m/a/ s/a/ 0 0 0 0 0", "F as.txt m/a/ s/a/ 0 1 0 0 0",
        "D deep m/a/deep/ s/a/deep/ 0 0 0 0 0", "F d.txt m/a/deep/ s/a/deep/ 0 0 0 0 0",
        "D sdeep - s/a/sdeep/ 0 1 0 0 0", "D b m/b/ s/b/ 0 0 0 0 0", "F b1.txt m/b/ s/b/ 0 0 0 0 0",
        "D c - s/c/ 0 1 0 0 0"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempEnvironment env;
    Trees trees(env);
    for (const char* side : {"m", "s"}) {
      const std::string s = side;
      trees.File(s + "/top.txt", "t");
      trees.File(s + "/a/a1.txt", "1");
      trees.File(s + "/a/deep/d.txt", "d");
      trees.File(s + "/b/b1.txt", "b");
    }
    if (!c.identical) {
      trees.File("s/zs.txt", "z");
      trees.File("s/a/as.txt", "s");
      trees.Dir("s/a/sdeep");
      trees.Dir("s/c");
    }
    ScanOptions options = Options(trees);
    options.doSubDirectories = true;
    RecordingEnvironment scanEnv;
    EXPECT_EQ(Scan(trees, options, scanEnv).lines, c.expected);
  }
}

TEST(DirScannerTest, ClassifiesSizeAndLastWriteTime) {
  struct Case {
    const char* name;
    std::string master;
    long masterNs;
    std::string source;
    long sourceNs;
    bool ignoreDates;
    const char* expected;
  };
  const long t = Trees::kTime;
  const Case cases[] = {
      {"identical", "abc", 0, "abc", 0, false, "F f.txt m/ s/ 0 0 0 0 0"},
      {"master older and smaller", "ab", 0, "abc", 1, false, "F f.txt m/ s/ 0 0 -1 -1 1"},
      {"master newer by one nanosecond", "abc", 2, "abc", 1, false, "F f.txt m/ s/ 0 0 1 0 0"},
      {"master larger", "abcd", 0, "abc", 0, false, "F f.txt m/ s/ 0 0 0 1 1"},
      {"dates ignored", "abc", 5, "abc", 0, true, "F f.txt m/ s/ 0 0 0 0 0"},
  };
  // Whole seconds decide before the nanoseconds: each of these has the nanoseconds
  // pointing the other way.
  const struct {
    const char* name;
    long masterSeconds, masterNs, sourceSeconds, sourceNs;
    bool ignoreDates;
    const char* expected;
  } seconds[] = {
      {"master a second older", t - 1, 999'999'999, t, 0, false, "F f.txt m/ s/ 0 0 -1 0 0"},
      {"master a second newer", t + 1, 0, t, 999'999'999, false, "F f.txt m/ s/ 0 0 1 0 0"},
      {"master a day newer", t + 86'400, 0, t, 1, false, "F f.txt m/ s/ 0 0 1 0 0"},
      {"master a day older, dates ignored", t - 86'400, 7, t, 0, true, "F f.txt m/ s/ 0 0 0 0 0"},
  };
  for (const auto& c : seconds) {
    SCOPED_TRACE(c.name);
    TempEnvironment env;
    Trees trees(env);
    trees.File("m/f.txt", "abc", c.masterSeconds, c.masterNs);
    trees.File("s/f.txt", "abc", c.sourceSeconds, c.sourceNs);
    ScanOptions options = Options(trees);
    options.ignoreDateDifferences = c.ignoreDates;
    RecordingEnvironment scanEnv;
    const Strings lines = Scan(trees, options, scanEnv).lines;
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], c.expected);
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempEnvironment env;
    Trees trees(env);
    trees.File("m/f.txt", c.master, t, c.masterNs);
    trees.File("s/f.txt", c.source, t, c.sourceNs);
    ScanOptions options = Options(trees);
    options.ignoreDateDifferences = c.ignoreDates;
    RecordingEnvironment scanEnv;
    const Strings lines = Scan(trees, options, scanEnv).lines;
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], c.expected);
  }
}

TEST(DirScannerTest, MatchesNamesIgnoringCaseWithoutLosingCaseTwins) {
  struct Case {
    const char* name;
    Strings masterFiles;
    Strings sourceFiles;
    Strings expected;  // without the root record
  };
  const Case cases[] = {
      {"one file spelled differently", {"A.TXT"}, {"a.txt"}, {"F A.TXT m/ s/ 0 0 0 0 0"}},
      {"twins in master, one matching exactly",
       {"A.TXT", "a.txt"},
       {"a.txt"},
       {"F A.TXT m/ s/ 1 0 0 0 0", "F a.txt m/ s/ 0 0 0 0 0"}},
      {"twins in source, none matching exactly",
       {"A.txt"},
       {"a.TXT", "a.txt"},
       {"F A.txt m/ s/ 0 0 0 0 0", "F a.txt m/ s/ 0 1 0 0 0"}},
      {"twins on both sides pair up",
       {"A.txt", "a.TXT"},
       {"A.TXT", "a.txt"},
       {"F A.txt m/ s/ 0 0 0 0 0", "F a.TXT m/ s/ 0 0 0 0 0"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempEnvironment env;
    Trees trees(env);
    trees.Dir("m");
    trees.Dir("s");
    for (const auto& f : c.masterFiles) trees.File("m/" + f, "same");
    for (const auto& f : c.sourceFiles) trees.File("s/" + f, "same");
    RecordingEnvironment scanEnv;
    Strings lines = Scan(trees, Options(trees), scanEnv).lines;
    lines.erase(lines.begin());
    EXPECT_EQ(lines, c.expected);
  }
}

TEST(DirScannerTest, CaseTwinDirectoriesAreEachRecordedAndWalked) {
  TempEnvironment env;
  Trees trees(env);
  trees.File("m/Sub/f.txt", "1");
  trees.File("m/sub/f.txt", "2");
  trees.File("s/SUB/f.txt", "1");
  ScanOptions options = Options(trees);
  options.doSubDirectories = true;
  RecordingEnvironment scanEnv;
  EXPECT_EQ(Scan(trees, options, scanEnv).lines,
            (Strings{"D - m/ s/ 0 0 0 0 0", "D Sub m/Sub/ s/SUB/ 0 0 0 0 0",
                     "F f.txt m/Sub/ s/SUB/ 0 0 0 0 0", "D sub m/sub/ - 1 0 0 0 0"}));
}

TEST(DirScannerTest, FileTypesSelectFilesByExtension) {
  struct Case {
    const char* fileTypes;
    Strings kept;
  };
  const Case cases[] = {
      {"*.txt", {"x.t", "x.TXT", "x.txt"}},
      {"*.doc;*.*", {"x", "x.doc", "x.t", "x.TXT", "x.txt"}},
      {"*.DOC", {"x.doc"}},
      {"noext", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fileTypes);
    TempEnvironment env;
    Trees trees(env);
    trees.Dir("s");
    for (const char* name : {"x.txt", "x.TXT", "x.t", "x", "x.doc"}) {
      trees.File(std::string("m/") + name, "1");
    }
    ScanOptions options = Options(trees);
    options.fileTypes = c.fileTypes;
    RecordingEnvironment scanEnv;
    Strings lines = Scan(trees, options, scanEnv).lines;
    Strings expected = {"D - m/ s/ 0 0 0 0 0"};
    for (const auto& name : c.kept) expected.push_back("F " + name + " m/ s/ 1 0 0 0 0");
    EXPECT_EQ(lines, expected);
  }
}

TEST(DirScannerTest, UnopenableFilesCountAsDifferent) {
  TempEnvironment env;
  Trees trees(env);
  trees.File("m/locked.txt", "abc");
  const auto locked = trees.File("s/locked.txt", "abc");
  // A link pointing nowhere is listed like a file but cannot be opened.
  trees.File("m/dangling", "x");
  trees.Dir("s");
  std::filesystem::create_symlink(env.Path("nowhere"), env.Path("s/dangling"));
  ScanOptions options = Options(trees);
  options.ignoreDateDifferences = true;
  options.showSameInBothPlaces = false;
  RecordingEnvironment scanEnv;
  scanEnv.unopenable.insert(locked.string());
  EXPECT_EQ(Scan(trees, options, scanEnv).lines,
            (Strings{"D - m/ s/ 0 0 0 0 0", "F dangling m/ s/ 0 0 0 -1 2",
                     "F locked.txt m/ s/ 0 0 0 0 2"}));
  EXPECT_TRUE(scanEnv.errors.empty());

  options.showDifferentInBothPlaces = false;
  RecordingEnvironment hidden;
  hidden.unopenable.insert(locked.string());
  EXPECT_EQ(Scan(trees, options, hidden).lines, Strings{"D - m/ s/ 0 0 0 0 0"});
}

TEST(DirScannerTest, FileVanishingBeforeItsComparisonQueuesAnError) {
  struct Case {
    const char* side;
    long error;
  };
  for (const Case& c : {Case{"m", 600}, Case{"s", 601}}) {
    SCOPED_TRACE(c.side);
    TempEnvironment env;
    Trees trees(env);
    trees.File("m/gone.txt", "abc");
    trees.File("s/gone.txt", "abc");
    trees.File("m/stays.txt", "abc");
    trees.File("s/stays.txt", "abd");
    ScanOptions options = Options(trees);
    const std::string victim = env.Path(std::string(c.side) + "/gone.txt").string();
    options.TEST_beforeContentCompare = [&](const std::string& m, const std::string& s) {
      if (m.find("gone") != std::string::npos) {
        EXPECT_TRUE(m == victim || s == victim);
        std::filesystem::remove(victim);
      }
    };
    RecordingEnvironment scanEnv;
    const ScanResult result = Scan(trees, options, scanEnv);
    EXPECT_TRUE(result.finished);
    // Not compared, so not "same": kept as a difference that could not be read.
    EXPECT_EQ(result.lines, (Strings{"D - m/ s/ 0 0 0 0 0", "F gone.txt m/ s/ 0 0 0 0 2",
                                     "F stays.txt m/ s/ 0 0 0 0 1"}));
    EXPECT_EQ(scanEnv.errors, std::vector<long>{c.error});
    EXPECT_EQ(scanEnv.details, std::vector<std::string>{" " + victim});
  }
}

TEST(DirScannerTest, LinkToAnAncestorIsRecordedButNotEntered) {
  TempEnvironment env;
  Trees trees(env);
  for (const char* side : {"m", "s"}) {
    const std::string s = side;
    trees.File(s + "/sub/f.txt", "f");
    std::filesystem::create_directory_symlink(env.Path(s), env.Path(s + "/sub/up"));
  }
  ScanOptions options = Options(trees);
  options.doSubDirectories = true;
  RecordingEnvironment scanEnv;
  const ScanResult result = Scan(trees, options, scanEnv);
  EXPECT_TRUE(result.finished);
  EXPECT_EQ(result.lines,
            (Strings{"D - m/ s/ 0 0 0 0 0", "D sub m/sub/ s/sub/ 0 0 0 0 0",
                     "F f.txt m/sub/ s/sub/ 0 0 0 0 0", "D up m/sub/up/ s/sub/up/ 0 0 0 0 0"}));
}

TEST(DirScannerTest, MissingSideMakesEverythingOneSided) {
  struct Case {
    const char* name;
    bool masterMissing;
    Strings expected;
  };
  const Case cases[] = {
      {"source missing",
       false,
       {"D - m/ s/ 0 0 0 0 0", "F f.txt m/ s/ 1 0 0 0 0", "D d m/d/ - 1 0 0 0 0"}},
      {"master missing",
       true,
       {"D - m/ s/ 0 0 0 0 0", "F f.txt m/ s/ 0 1 0 0 0", "D d - s/d/ 0 1 0 0 0"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempEnvironment env;
    Trees trees(env);
    const std::string present = c.masterMissing ? "s" : "m";
    trees.File(present + "/f.txt", "f");
    trees.Dir(present + "/d");
    ScanOptions options;
    options.master = env.Path("m").string() + "/";
    options.source = env.Path("s").string() + "/";
    options.throttle = false;
    options.doSubDirectories = true;
    RecordingEnvironment scanEnv;
    EXPECT_EQ(Scan(trees, options, scanEnv).lines, c.expected);
  }
}

TEST(DirScannerTest, ThrottlePausesAfterEveryEnumeratedEntry) {
  struct Case {
    bool throttle;
    long priority;
    long expectedPauseMs;
  };
  for (const Case& c :
       {Case{true, 0, 41}, Case{true, 3, 11}, Case{true, 4, 1}, Case{false, 0, 0}}) {
    SCOPED_TRACE(::testing::Message() << "throttle " << c.throttle << " priority " << c.priority);
    TempEnvironment env;
    Trees trees(env);
    trees.File("m/a.txt", "1");
    trees.File("m/b.doc", "1");  // filtered out, still paused after
    trees.Dir("m/d");
    trees.File("s/a.txt", "1");
    ScanOptions options = Options(trees);
    options.fileTypes = "*.txt";
    options.throttle = c.throttle;
    options.threadPriority = c.priority;
    RecordingEnvironment scanEnv;
    EXPECT_TRUE(Scan(trees, options, scanEnv).finished);
    if (!c.throttle) {
      EXPECT_TRUE(scanEnv.pauses.empty());
      continue;
    }
    // Each side is listed twice (files, then subdirectories); "." and ".." count too:
    // master 5 entries x 2, source 3 entries x 2.
    EXPECT_EQ(scanEnv.pauses, std::vector<long>(16, c.expectedPauseMs));
  }
}

TEST(DirScannerTest, AbortStopsTheWalkAndKeepsEarlierRecords) {
  TempEnvironment env;
  Trees trees(env);
  for (int i = 0; i < 20; ++i) {
    trees.File("m/d" + std::to_string(i) + "/f.txt", "m");
    trees.File("s/d" + std::to_string(i) + "/f.txt", "s");
  }
  ScanOptions options = Options(trees);
  options.doSubDirectories = true;
  options.throttle = true;
  options.threadPriority = 4;
  RecordingEnvironment scanEnv;
  // The top level lists 22 entries per side and kind; stop inside the third subdirectory.
  scanEnv.abortAfterPauses = 4 * 22 + 2 * 12 + 5;
  const ScanResult result = Scan(trees, options, scanEnv);
  EXPECT_FALSE(result.finished);
  EXPECT_EQ(static_cast<long>(scanEnv.pauses.size()), scanEnv.abortAfterPauses);
  EXPECT_EQ(result.lines,
            (Strings{"D - m/ s/ 0 0 0 0 0", "D d0 m/d0/ s/d0/ 0 0 0 0 0",
                     "F f.txt m/d0/ s/d0/ 0 0 0 0 1", "D d1 m/d1/ s/d1/ 0 0 0 0 0",
                     "F f.txt m/d1/ s/d1/ 0 0 0 0 1", "D d10 m/d10/ s/d10/ 0 0 0 0 0"}));
}

}  // namespace
}  // namespace lindrel::dircompare

namespace lindrel::dircompare {
namespace {

// Opens through the real environment, and asks for an abort after `abortAfter` opens
// (from whichever thread compares).
class AbortingEnvironment : public RecordingEnvironment {
 public:
  int OpenForReading(const std::string& path) override {
    if (abortAfter > 0 && ++opens >= abortAfter) abort = true;
    return RecordingEnvironment::OpenForReading(path);
  }
  long abortAfter = 0;
  std::atomic<long> opens{0};
};

// Contents are compared on a second thread while the walk goes on. Records and errors
// must come out as from a walk that compares each file in its turn (as a throttled scan
// does), over more files than may wait at once; an abort keeps a prefix.
TEST(DirScannerPipelineTest, SecondThreadKeepsRecordsErrorsAndOrder) {
  TempEnvironment env;
  Trees trees(env);
  for (int d = 0; d < 12; ++d) {
    const std::string dir = "d" + std::to_string(d) + "/";
    for (int f = 0; f < 120; ++f) {
      const std::string name = dir + "f" + std::to_string(f) + ".txt";
      const std::string content(static_cast<size_t>(50 + (f * 37) % 900),
                                static_cast<char>('a' + f % 26));
      trees.File("m/" + name, content);
      std::string other = content;
      if (f % 5 == 1) other[other.size() / 2] = '#';  // same size, other content
      if (f % 7 == 2) other += "longer";
      if (f % 11 != 3) trees.File("s/" + name, other);  // else only in the master
    }
    trees.Dir("m/" + dir + "only-master-sub");
    trees.File("s/" + dir + "only-source.txt", "x");
  }
  for (const bool ignoreDates : {false, true}) {
    ScanOptions options = Options(trees);
    options.doSubDirectories = true;
    options.ignoreDateDifferences = ignoreDates;
    options.showSameInBothPlaces = !ignoreDates;
    ScanOptions inTurn = options;
    inTurn.throttle = true;  // the test environment does not sleep
    RecordingEnvironment oneThread;
    const ScanResult expected = Scan(trees, inTurn, oneThread);
    ASSERT_TRUE(expected.finished);
    ASSERT_GT(expected.lines.size(), 500u);

    // Unopenable files, and a file that vanishes before its comparison (error 601).
    RecordingEnvironment twoThreads, oneThreadAgain;
    for (RecordingEnvironment* e : {&twoThreads, &oneThreadAgain}) {
      e->unopenable = {trees.Prefix() + "m/d3/f4.txt", trees.Prefix() + "s/d7/f9.txt"};
    }
    const std::string vanishing = trees.Prefix() + "s/d5/f99.txt";
    const std::string vanishingContent = TempEnvironment::Read(vanishing);
    for (ScanOptions* o : {&options, &inTurn}) {
      o->TEST_beforeContentCompare = [&](const std::string&, const std::string& s) {
        if (s == vanishing) std::filesystem::remove(vanishing);
      };
    }
    const ScanResult sequential = Scan(trees, inTurn, oneThreadAgain);
    trees.File("s/d5/f99.txt", vanishingContent);
    const ScanResult pipelined = Scan(trees, options, twoThreads);
    trees.File("s/d5/f99.txt", vanishingContent);
    options.TEST_beforeContentCompare = nullptr;
    ASSERT_EQ(oneThreadAgain.errors, std::vector<long>{601});
    EXPECT_TRUE(pipelined.finished);
    EXPECT_EQ(pipelined.lines, sequential.lines) << "ignore dates " << ignoreDates;
    EXPECT_EQ(twoThreads.errors, oneThreadAgain.errors);
    EXPECT_EQ(twoThreads.details, oneThreadAgain.details);
    EXPECT_TRUE(oneThreadAgain.pauses.size() > 100 && twoThreads.pauses.empty());

    for (const long abortAfter : {3L, 700L, 2000L}) {
      AbortingEnvironment aborting;
      aborting.abortAfter = abortAfter;
      const ScanResult cut = Scan(trees, options, aborting);
      EXPECT_FALSE(cut.finished) << abortAfter;
      ASSERT_LE(cut.lines.size(), expected.lines.size());
      EXPECT_TRUE(std::equal(cut.lines.begin(), cut.lines.end(), expected.lines.begin()))
          << "an aborted scan keeps a prefix of the records, after " << abortAfter << " opens";
    }
  }
}

}  // namespace
}  // namespace lindrel::dircompare
