// The results as values (spans, single records, copies) against the record-number methods
// with out-parameters, over many generated pairs of files and of directory trees, and the
// promise of how long a span stays valid.
#include <atomic>
#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "TestConfig.h"
#include "control/ControlInternals.h"
#include "lindrel/MessageLoop.h"
#include "tests/support/RecordingListener.h"
#include "tests/support/TempEnvironment.h"

namespace lindrel {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using namespace lindrel::testing;

// What the record-number methods give, read the way a host without the value API must.
std::vector<FileChange> ChangesByNumber(CLindrelCtrl& ctrl) {
  std::vector<FileChange> out;
  for (long i = 0; i < ctrl.FileCompareResultsCount(); ++i) {
    long kind = 0;
    FileChange r;
    EXPECT_TRUE(ctrl.FileCompareResultsGet(i, kind, r.masterStart, r.masterEnd, r.sourceStart,
                                           r.sourceEnd));
    r.type = static_cast<ChangeType>(kind);
    out.push_back(r);
  }
  return out;
}

std::vector<DirRecord> DirRecordsByNumber(CLindrelCtrl& ctrl) {
  std::vector<DirRecord> out;
  for (long i = 0; i < ctrl.GetDirCompareResultsCount(); ++i) {
    DirRecord r;
    EXPECT_TRUE(ctrl.DirCompareResultsGet(i, r.fileName, r.dirMaster, r.dirSource, r.isFile,
                                          r.onlyInSource, r.onlyInMaster, r.sizeDifferent,
                                          r.dateDifferent, r.contentDifferent));
    out.push_back(r);
  }
  return out;
}

template <typename Record>
std::vector<Record> ToVector(std::span<const Record> span) {
  return std::vector<Record>(span.begin(), span.end());
}

// Every way of reading the file results must give the same records.
void ExpectSameFileResults(CLindrelCtrl& ctrl, const std::string& what) {
  SCOPED_TRACE(what);
  const long count = ctrl.FileCompareResultsCount();
  const std::vector<FileChange> byNumber = ChangesByNumber(ctrl);
  const std::span<const FileChange> all = ctrl.FileCompareChanges();
  EXPECT_EQ(ToVector(all), byNumber);
  EXPECT_EQ(static_cast<long>(all.size()), std::max(count, 0L));
  for (std::size_t i = 0; i < all.size(); ++i) {
    EXPECT_EQ(ctrl.FileCompareChange(static_cast<long>(i)), all[i]);
    const ChangeType t = all[i].type;
    EXPECT_TRUE(t == ChangeType::Addition || t == ChangeType::Change || t == ChangeType::Deletion);
  }
  EXPECT_FALSE(ctrl.FileCompareChange(static_cast<long>(all.size())));
  EXPECT_FALSE(ctrl.FileCompareChange(-1));
}

void ExpectSameDirResults(CLindrelCtrl& ctrl, std::mt19937& rng, const std::string& what) {
  SCOPED_TRACE(what);
  const std::vector<DirRecord> byNumber = DirRecordsByNumber(ctrl);
  const long count = static_cast<long>(byNumber.size());
  ASSERT_GE(count, 1);  // the root record at least
  EXPECT_EQ(ToVector(ctrl.DirCompareRecords()), byNumber);
  EXPECT_EQ(ctrl.DirCompareRecordsFrom(0), byNumber);
  const long first = std::uniform_int_distribution<long>(0, count)(rng);
  EXPECT_EQ(ctrl.DirCompareRecordsFrom(first),
            std::vector<DirRecord>(byNumber.begin() + first, byNumber.end()));
  EXPECT_TRUE(ctrl.DirCompareRecordsFrom(count).empty());
  EXPECT_TRUE(ctrl.DirCompareRecordsFrom(-1).empty());
  for (long i = 0; i < count; ++i) EXPECT_EQ(ctrl.DirCompareRecord(i), byNumber[i]);
  EXPECT_FALSE(ctrl.DirCompareRecord(count));
  EXPECT_FALSE(ctrl.DirCompareRecord(-1));
}

// Lines from a small set, so that pairs share lines and differ in case, blanks and empty
// lines, where the comparison options matter.
std::string RandomLines(std::mt19937& rng, int maxLines) {
  static const char* const kLines[] = {"alpha",   "Alpha",  "al pha", "beta",    "",      "  ",
                                       "gamma\t", "# note", "delta",  "epsilon", "alpha "};
  std::uniform_int_distribution<int> pick(0, std::size(kLines) - 1);
  std::string text;
  const int n = std::uniform_int_distribution<int>(0, maxLines)(rng);
  for (int i = 0; i < n; ++i) text += std::string(kLines[pick(rng)]) + (rng() % 9 ? "\n" : "\r\n");
  if (n > 0 && rng() % 5 == 0) text.pop_back();  // no final line feed
  return text;
}

std::string Edited(std::mt19937& rng, std::string text) {
  const int edits = std::uniform_int_distribution<int>(0, 6)(rng);
  for (int e = 0; e < edits; ++e) {
    const std::size_t at = text.empty() ? 0 : rng() % (text.size() + 1);
    switch (rng() % 3) {
      case 0: text.insert(at, RandomLines(rng, 3)); break;
      case 1: text.erase(at, rng() % 12); break;
      default: text.insert(at, rng() % 2 ? "X\n" : "\n"); break;
    }
  }
  return text;
}

class RecordViewsTest : public ::testing::Test {
 protected:
  void CompareFiles(const std::string& master, const std::string& source, bool synchronous) {
    ctrl.SetFileMaster(master);
    ctrl.SetFileSource(source);
    const std::size_t completed = listener.Count("FileCompareCompleted");
    // The synchronous run queues its completion too; it is collected here, so that it is
    // not taken for the completion of the next run.
    ASSERT_TRUE(synchronous ? ctrl.FileCompareBeginSynchronous() : ctrl.FileCompareBegin())
        << LastError();
    if (synchronous) ExpectSameFileResults(ctrl, "before the completion is delivered");
    ASSERT_TRUE(
        loop.RunUntil([&] { return listener.Count("FileCompareCompleted") > completed; }, 20s));
  }

  void CompareDirs(const fs::path& master, const fs::path& source) {
    ctrl.SetDirMaster(master.string());
    ctrl.SetDirSource(source.string());
    const std::size_t completed = listener.Count("DirCompareCompleted");
    ASSERT_TRUE(ctrl.DirCompareBegin());
    ASSERT_TRUE(
        loop.RunUntil([&] { return listener.Count("DirCompareCompleted") > completed; }, 20s));
  }

  std::string LastError() const {
    for (auto e = listener.events.rbegin(); e != listener.events.rend(); ++e)
      if (e->name == "OnError") return std::to_string(e->code) + " " + e->text;
    return "no error";
  }

  TempEnvironment env;
  MessageLoop loop;
  RecordingListener listener;
  CLindrelCtrl ctrl{"views", &loop, &listener};
};

TEST_F(RecordViewsTest, EqualStartIsTrueOfTheFilesBytes) {
  // Large pairs (read side by side) with the first change anywhere, some with a carriage
  // return before it, and small pairs, which never have one.
  std::mt19937 rng(808);
  int established = 0;
  for (int pair = 0; pair < 24; ++pair) {
    const bool large = pair % 6 != 5;
    std::string master;
    const int lines = large ? 30000 : 40;  // past the size read side by side
    for (int i = 0; i < lines; ++i) master += "line " + std::to_string(i * 7919 % 100003) + "\n";
    const std::size_t at = master.find('\n', rng() % master.size()) + 1;
    std::string source = master;
    source.insert(std::min(at, source.size()), pair % 2 ? "new\n" : "x");
    if (pair % 4 == 3) {
      const std::size_t cr = master.find('\n', rng() % at);
      master.insert(cr, "\r");
      source.insert(cr, "\r");
    }
    CompareFiles(env.Write("m.txt", master).string(), env.Write("s.txt", source).string(), true);
    ASSERT_FALSE(ctrl.FileCompareChanges().empty());
    const FileEqualStart start = ctrl.FileCompareEqualStart();
    SCOPED_TRACE("pair " + std::to_string(pair) + ", " + std::to_string(start.lines) + " lines, " +
                 std::to_string(start.bytes) + " bytes, change at byte " + std::to_string(at));
    if (!large) {
      EXPECT_EQ(start, FileEqualStart{});
    }
    if (start.lines == 0) {
      EXPECT_EQ(start.bytes, 0);
      continue;
    }
    ++established;
    const std::string prefix = master.substr(0, static_cast<std::size_t>(start.bytes));
    EXPECT_EQ(source.compare(0, prefix.size(), prefix), 0);
    EXPECT_EQ(std::count(prefix.begin(), prefix.end(), '\n'), start.lines);
    EXPECT_EQ(prefix.back(), '\n');
    EXPECT_EQ(prefix.find('\r'), std::string::npos);  // text mode changed none of it
    EXPECT_LT(start.lines, ctrl.FileCompareChanges().front().masterStart +
                               (ctrl.FileCompareChanges().front().type == ChangeType::Addition));
  }
  EXPECT_GE(established, 12);
}

TEST_F(RecordViewsTest, FileResultsAgreeOnEveryPair) {
  // The pairs that ship with the sources first, then generated ones under random options.
  const std::pair<std::string, std::string> shipped[] = {
      {LINDREL_EXAMPLES_DIR "/master.txt", LINDREL_EXAMPLES_DIR "/source.txt"},
      {LINDREL_SOURCE_DIR "/tests/reports/golden/master.txt",
       LINDREL_SOURCE_DIR "/tests/reports/golden/source.txt"},
      {LINDREL_EXAMPLES_DIR "/source.txt", LINDREL_EXAMPLES_DIR "/master.txt"},
  };
  for (const auto& [master, source] : shipped) {
    CompareFiles(master, source, false);
    ExpectSameFileResults(ctrl, master + " / " + source);
    EXPECT_FALSE(ctrl.FileCompareChanges().empty());
  }

  std::mt19937 rng(4242);
  for (int pair = 0; pair < 300; ++pair) {
    const std::string master = RandomLines(rng, 30);
    std::string source = rng() % 10 == 0 ? master : Edited(rng, master);
    if (rng() % 25 == 0) source += std::string("\0bin\n", 5);  // a binary comparison
    ctrl.SetFileIgnoreCase(rng() % 3 == 0);
    ctrl.SetFileIgnoreWhiteSpace(rng() % 3 == 0);
    ctrl.SetFileIgnoreEmptyLines(rng() % 3 == 0);
    ctrl.SetFileQuickCompare(rng() % 12 == 0);
    ctrl.SetFileShowChangesInLargerSections(rng() % 4 == 0);
    ctrl.SetFileCompareFaster(rng() % 4 == 0);
    ctrl.SetFileUseIgnoreRegularExpression(rng() % 6 == 0);
    ctrl.SetFileIgnoreRegularExpression("^#");
    CompareFiles(env.Write("m.txt", master).string(), env.Write("s.txt", source).string(),
                 rng() % 2 == 0);
    ExpectSameFileResults(ctrl, "generated pair " + std::to_string(pair));
    if (HasFatalFailure() || HasFailure()) break;
  }
}

// A random tree: files on one side, on both (same, other content of the same size, other
// size, other date), a subdirectory on one side or both, and names the type filter skips.
void WriteRandomTrees(std::mt19937& rng, const fs::path& master, const fs::path& source,
                      int depth) {
  fs::create_directories(master);
  fs::create_directories(source);
  const auto write = [](const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  };
  const int files = std::uniform_int_distribution<int>(0, 7)(rng);
  for (int i = 0; i < files; ++i) {
    const std::string name = "f" + std::to_string(i) + (rng() % 4 == 0 ? ".log" : ".txt");
    const std::string text = "text " + std::to_string(rng() % 3) + "\n";
    const int kind = rng() % 5;
    if (kind != 1) write(master / name, text);
    if (kind == 1 || kind == 2) write(source / name, text);
    if (kind == 3) write(source / name, "TEXT 9\n");
    if (kind == 4) write(source / name, text + "more\n");
    if (fs::exists(master / name) && fs::exists(source / name) && rng() % 3 == 0) {
      fs::last_write_time(master / name, fs::last_write_time(source / name) - 1h);
    }
  }
  if (depth > 0) {
    const int dirs = std::uniform_int_distribution<int>(0, 2)(rng);
    for (int i = 0; i < dirs; ++i) {
      const std::string name = "d" + std::to_string(i);
      WriteRandomTrees(rng, master / name, source / name, depth - 1);
      switch (rng() % 3) {
        case 0: fs::remove_all(source / name); break;  // in the master only
        case 1: fs::remove_all(master / name); break;  // in the source only
        default: break;
      }
    }
  }
}

TEST_F(RecordViewsTest, DirectoryResultsAgreeOnEveryTreePair) {
  std::mt19937 rng(777);
  ctrl.SetDirThrottle(0);
  CompareDirs(LINDREL_EXAMPLES_DIR "/dirs/master", LINDREL_EXAMPLES_DIR "/dirs/source");
  ExpectSameDirResults(ctrl, rng, "examples/dirs");
  EXPECT_GT(ctrl.DirCompareRecords().size(), 1u);

  for (int pair = 0; pair < 60; ++pair) {
    const fs::path root = env.Path("trees" + std::to_string(pair));
    WriteRandomTrees(rng, root / "master", root / "source", 2);
    ctrl.SetDirDoSubDirectories(rng() % 2);
    ctrl.SetDirContentCompare(rng() % 3 != 0);
    ctrl.SetDirIgnoreDateDifferences(rng() % 3 == 0);
    ctrl.SetDirShowOnlyInMaster(rng() % 4 != 0);
    ctrl.SetDirShowOnlyInSource(rng() % 4 != 0);
    ctrl.SetDirShowSameInBothPlaces(rng() % 4 != 0);
    ctrl.SetDirShowDifferentInBothPlaces(rng() % 4 != 0);
    ctrl.SetDirFileTypes(rng() % 3 == 0 ? "*.txt" : "*.*");
    CompareDirs(root / "master", root / "source");
    ExpectSameDirResults(ctrl, rng, "generated trees " + std::to_string(pair));
    if (HasFailure()) break;
  }
}

// A span outlives everything but the next accepted begin of its kind: refused begins,
// property changes, reports, the other kind's comparison and a reader on another thread
// leave it in place and unchanged. While a directory comparison runs there is no span yet,
// but records arrive one by one and the copies see them.
TEST_F(RecordViewsTest, SpansStayValidUntilTheNextAcceptedBegin) {
  const std::string master = env.Write("a.txt", "1\n2\n3\n4\n5\n").string();
  const std::string source = env.Write("b.txt", "1\nx\n3\n5\n6\n").string();
  CompareFiles(master, source, false);
  const std::span<const FileChange> changes = ctrl.FileCompareChanges();
  const std::vector<FileChange> kept = ToVector(changes);
  ASSERT_EQ(kept.size(), 3u);  // 2c2, 4d3, 5a5
  long expectedSum = 0;
  for (const FileChange& c : kept) expectedSum += c.masterStart + c.sourceEnd;

  // Another thread reads the span while the owner goes on working.
  std::atomic<bool> stop{false};
  std::atomic<long> reads{0};
  std::thread reader([&] {
    while (!stop) {
      long sum = 0;
      for (const FileChange& c : changes) sum += c.masterStart + c.sourceEnd;
      EXPECT_EQ(sum, expectedSum);
      ++reads;
    }
  });

  ctrl.SetFileMaster(env.Path("missing.txt").string());
  EXPECT_FALSE(ctrl.FileCompareBegin());  // refused: 600, nothing cleared
  ctrl.SetFileMaster(master);
  ctrl.SetFileIgnoreCase(1);
  EXPECT_EQ(ctrl.FileCompareCreateReport(env.Path("r.html").string(), 1, 2), 0);

  // A directory comparison held inside its walk: no directory span yet, copies grow.
  const fs::path dm = env.Path("dm"), ds = env.Path("ds");
  env.Write("dm/same.txt", "s\n");
  env.Write("ds/same.txt", "s\n");
  env.Write("dm/only.txt", "o\n");
  std::atomic<bool> inWalk{false}, release{false};
  Internals(ctrl).dir.TEST_SetBeforeContentCompare([&](const std::string&, const std::string&) {
    inWalk = true;
    while (!release) std::this_thread::sleep_for(1ms);
  });
  ctrl.SetDirMaster(dm.string());
  ctrl.SetDirSource(ds.string());
  ctrl.SetDirContentCompare(1);
  ctrl.SetDirThrottle(0);
  ASSERT_TRUE(ctrl.DirCompareBegin());
  while (!inWalk) std::this_thread::sleep_for(1ms);
  EXPECT_TRUE(ctrl.DirCompareRecords().empty());
  const std::vector<DirRecord> sofar = ctrl.DirCompareRecordsFrom(0);
  ASSERT_GE(sofar.size(), 1u);
  EXPECT_EQ(sofar[0].fileName, "");
  EXPECT_EQ(sofar[0].dirMaster, dm.string() + "/");
  EXPECT_EQ(ctrl.DirCompareRecord(0), sofar[0]);
  EXPECT_EQ(ctrl.FileCompareChanges().data(), changes.data());  // the other kind's span stays
  release = true;
  ASSERT_TRUE(loop.RunUntil([&] { return listener.Count("DirCompareCompleted") == 1; }, 20s));
  std::mt19937 rng(1);
  ExpectSameDirResults(ctrl, rng, "held walk");
  const std::span<const DirRecord> dirs = ctrl.DirCompareRecords();
  EXPECT_EQ(dirs.size(), 3u);  // root, same.txt, only.txt

  while (reads < 100) std::this_thread::yield();
  stop = true;
  reader.join();
  EXPECT_EQ(ctrl.FileCompareChanges().data(), changes.data());
  EXPECT_EQ(ToVector(changes), kept);

  // The next accepted begin replaces the records; the file span is made anew.
  env.Write("b.txt", "1\n2\n3\n4\n5\nsix\n");
  CompareFiles(master, source, true);
  EXPECT_EQ(ToVector(ctrl.FileCompareChanges()),
            (std::vector<FileChange>{{ChangeType::Addition, 5, 5, 6, 6}}));
  ExpectSameFileResults(ctrl, "after the next begin");
  EXPECT_EQ(ctrl.DirCompareRecords().data(), dirs.data());  // the other kind's span stays
  // A directory begin refused for an empty path keeps the directory span too.
  ctrl.SetDirSource("");
  EXPECT_FALSE(ctrl.DirCompareBegin());
  EXPECT_EQ(ctrl.DirCompareRecords().data(), dirs.data());
  EXPECT_EQ(ctrl.DirCompareRecords().size(), 3u);
}

TEST(RecordViewsTextTest, TextsAsViews) {
  TempEnvironment env;
  MessageLoop loop;
  CLindrelCtrl ctrl{"texts", &loop};
  ctrl.SetDirMaster("/data/old");
  EXPECT_EQ(ctrl.DirMasterView(), "/data/old/");
  EXPECT_EQ(ctrl.DirFileTypesView(), "*.*");
  ctrl.SetReportFileTitle("Release notes");
  EXPECT_EQ(ctrl.ReportFileTitleView(), ctrl.GetReportFileTitle());
  EXPECT_EQ(ErrorText(kErrorUnableToOpenFile), "Unable to open file:  ");
  EXPECT_EQ(ErrorText(kErrorStateFilePath), ErrorMessage(kErrorStateFilePath));
  EXPECT_TRUE(ErrorText(505).empty());
  EXPECT_EQ(ThreadPriorityText(4), "Time Critical (4)");
  EXPECT_TRUE(ThreadPriorityText(5).empty());
  EXPECT_TRUE(ThreadPriorityText(-1).empty());
}

}  // namespace
}  // namespace lindrel
