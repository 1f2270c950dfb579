// Report targets a hostile or unlucky user can give: one of the compared files under
// another name, links planted beside the target, a disk that fills up, two writers of
// one target. Each case checks the answer, the error and that no user file changed.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "control/ControlInternals.h"
#include "control/LindrelCtrlImpl.h"
#include "lindrel/MessageLoop.h"
#include "platform/ReplacementFile.h"
#include "reports/TextReport.h"
#include "tests/reports/ReportTestSupport.h"
#include "tests/support/RecordingListener.h"

namespace lindrel {
namespace {

namespace fs = std::filesystem;
using lindrel::testing::RecordingListener;
using lindrel::testing::TempEnvironment;

constexpr long kHtml = 1, kText = 2, kCsv = 3, kTab = 4;
constexpr long kFormats[] = {kHtml, kText, kCsv, kTab};

// Ends an injected write fault however the test leaves.
struct WriteFault {
  explicit WriteFault(long long after) { platform::TEST_FailWritesAfter(after); }
  ~WriteFault() { platform::TEST_FailWritesAfter(-1); }
};

class BadTargetsTest : public ::testing::Test {
 protected:
  BadTargetsTest() { Internals(ctrl).reports.TEST_SetClock(reports::testing::FixedTime); }

  void Compare(const std::string& master, const std::string& source, bool quick = false) {
    ctrl.SetFileMaster(env.Write("in/master.txt", master).string());
    ctrl.SetFileSource(env.Write("in/source.txt", source).string());
    ctrl.SetFileQuickCompare(quick);
    ASSERT_TRUE(ctrl.FileCompareBeginSynchronous());
  }

  std::vector<std::pair<long, std::string>> Errors() const {
    std::vector<std::pair<long, std::string>> errors;
    for (const auto& e : listener.events)
      if (e.name == "OnError") errors.emplace_back(e.code, e.text);
    return errors;
  }

  TempEnvironment env;
  MessageLoop loop;
  RecordingListener listener;
  CLindrelCtrl ctrl{"bad-targets", &loop, &listener};
};

TEST_F(BadTargetsTest, AReportIsNeverWrittenOverAComparedFile) {
  Compare("a\nb\n", "a\nc\n");
  const std::string master = env.Path("in/master.txt").string();
  const std::string source = env.Path("in/source.txt").string();
  fs::create_symlink(master, env.Path("link-to-master"));
  fs::create_hard_link(source, env.Path("hard-link-to-source"));
  const std::string targets[] = {master, source, env.Path("link-to-master").string(),
                                 env.Path("hard-link-to-source").string(),
                                 env.Path("in/../in/source.txt").string()};
  for (const std::string& target : targets) {
    for (long format : kFormats) {
      listener.events.clear();
      EXPECT_EQ(ctrl.FileCompareCreateReport(target, format, 2), -5) << target << " " << format;
      EXPECT_EQ(
          Errors(),
          (std::vector<std::pair<long, std::string>>{{504, "Unable to open file:  " + target}}))
          << target << " " << format;
    }
  }
  EXPECT_EQ(TempEnvironment::Read(master), "a\nb\n");
  EXPECT_EQ(TempEnvironment::Read(source), "a\nc\n");
  EXPECT_TRUE(fs::is_symlink(env.Path("link-to-master")));
  EXPECT_EQ(TempEnvironment::EntryNames(env.Path("in")),
            (std::vector<std::string>{"master.txt", "source.txt"}));
}

// The refusal comes as the report is asked for: neither file is read first, so it is the
// answer even when the other compared file can no longer be read.
TEST_F(BadTargetsTest, ATargetThatIsAComparedFileIsRefusedBeforeAnythingIsRead) {
  for (const bool quick : {false, true}) {
    SCOPED_TRACE(quick ? "differ without records" : "records");
    Compare("a\nb\n", "a\nc\n", quick);
    const std::string master = env.Path("in/master.txt").string();
    fs::remove(env.Path("in/source.txt"));
    for (long format : {kHtml, kText}) {
      listener.events.clear();
      EXPECT_EQ(ctrl.FileCompareCreateReport(master, format, 2), -5) << format;
      EXPECT_EQ(
          Errors(),
          (std::vector<std::pair<long, std::string>>{{504, "Unable to open file:  " + master}}))
          << format;
    }
    EXPECT_EQ(Internals(ctrl).reports.TEST_TableLoads(), 0);
    EXPECT_EQ(TempEnvironment::Read(master), "a\nb\n");
  }
}

TEST_F(BadTargetsTest, TheBodyFileNameIsNeverUsed) {
  Compare("a\nb\n", "a\nc\n");
  const std::string target = env.Path("out/report.htm").string();
  const fs::path victim = env.Write("victim.txt", "precious\n");
  fs::create_directories(env.Path("out"));
  // A link where the body file used to go, and on a second run a user's own file.
  fs::create_symlink(victim, target + ".TMP");
  EXPECT_EQ(ctrl.FileCompareCreateReport(target, kHtml, 2), 0);
  EXPECT_EQ(TempEnvironment::Read(victim), "precious\n");
  EXPECT_TRUE(fs::is_symlink(target + ".TMP"));
  const std::string page = TempEnvironment::Read(target);
  EXPECT_NE(page.find("<table"), std::string::npos);
  EXPECT_NE(page.find("</html>\n"), std::string::npos);

  fs::remove(target + ".TMP");
  env.Write("out/report.htm.TMP", "the user's notes\n");
  EXPECT_EQ(ctrl.FileCompareCreateReport(target, kHtml, 1), 0);
  EXPECT_EQ(TempEnvironment::Read(target + ".TMP"), "the user's notes\n");
  EXPECT_EQ(TempEnvironment::EntryNames(env.Path("out")),
            (std::vector<std::string>{"report.htm", "report.htm.TMP"}));
  EXPECT_TRUE(Errors().empty());
}

TEST_F(BadTargetsTest, AFailedWriteKeepsThePreviousReport) {
  Compare("a\nb\nc\n", "a\nB\nc\nd\n");
  const std::string target = env.Path("out/report").string();
  for (long format : kFormats) {
    for (long long after : {0LL, 10LL, 200LL}) {
      env.Write("out/report", "previous report\n");
      listener.events.clear();
      {
        WriteFault full(after);
        EXPECT_EQ(ctrl.FileCompareCreateReport(target, format, 2), -5) << format << " " << after;
      }
      EXPECT_EQ(TempEnvironment::Read(target), "previous report\n") << format << " " << after;
      EXPECT_EQ(
          Errors(),
          (std::vector<std::pair<long, std::string>>{{504, "Unable to open file:  " + target}}))
          << format << " " << after;
      EXPECT_EQ(TempEnvironment::EntryNames(env.Path("out")), std::vector<std::string>{"report"})
          << format;
    }
    // Without the fault the same request replaces it.
    EXPECT_EQ(ctrl.FileCompareCreateReport(target, format, 2), 0) << format;
    EXPECT_NE(TempEnvironment::Read(target), "previous report\n") << format;
  }
}

// Large reports are written a buffer behind by a second thread: a write that fails there,
// in any buffer, still fails the report and keeps the previous one.
TEST_F(BadTargetsTest, AFailedWriteBehindKeepsThePreviousReport) {
  std::string master, source;
  for (int i = 0; i < 70000; ++i) {
    const std::string line = "line " + std::to_string(i) + " of a report that spans buffers\n";
    master += line;
    source += i % 3 == 0 ? "changed " + line : line;
  }
  Compare(master, source);
  const std::string target = env.Write("out/report", "previous report\n").string();
  for (long highDetail : {0L, 1L}) {
    ctrl.SetReportHTMLHighDetail(highDetail);
    for (long format : {kHtml, kText}) {
      ASSERT_EQ(ctrl.FileCompareCreateReport(target, format, 2), 0);
      const std::string whole = TempEnvironment::Read(target);
      ASSERT_GT(whole.size(), 3u << 20) << format;
      for (long long after :
           {(1LL << 20) + 5, (5LL << 19) + 7, static_cast<long long>(whole.size()) - 3}) {
        env.Write("out/report", "previous report\n");
        listener.events.clear();
        {
          WriteFault full(after);
          EXPECT_EQ(ctrl.FileCompareCreateReport(target, format, 2), -5) << format << " " << after;
        }
        EXPECT_EQ(TempEnvironment::Read(target), "previous report\n") << format << " " << after;
        EXPECT_EQ(Errors().size(), 1u) << format << " " << after;
        EXPECT_EQ(TempEnvironment::EntryNames(env.Path("out")), std::vector<std::string>{"report"})
            << format;
      }
      ASSERT_EQ(ctrl.FileCompareCreateReport(target, format, 2), 0);
      EXPECT_TRUE(TempEnvironment::Read(target) == whole) << format;
    }
  }
}

// A large file that a report replaces is let go of after the report has returned: the
// report is in place at once, another link to the old file keeps its bytes, and no
// descriptor of it stays open for long.
TEST_F(BadTargetsTest, AReplacedLargeFileIsLetGoOf) {
  const auto openDescriptors = [] {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/fd")) ++count;
    return count;
  };
  Compare("a\nb\n", "a\nc\n");
  // The word comparison's files stay open from the first HTML report on.
  ASSERT_EQ(ctrl.FileCompareCreateReport(env.Path("first.htm").string(), kHtml, 2), 0);
  const std::string old(3u << 20, 'x');
  const std::string target = env.Path("out/report.htm").string();
  for (long format : kFormats) {
    env.Write("out/report.htm", old);
    fs::remove(env.Path("out/old.htm"));
    fs::create_hard_link(target, env.Path("out/old.htm"));
    const std::size_t before = openDescriptors();
    ASSERT_EQ(ctrl.FileCompareCreateReport(target, format, 2), 0) << format;
    EXPECT_NE(TempEnvironment::Read(target).find("c"), std::string::npos) << format;
    EXPECT_LT(fs::file_size(target), old.size()) << format;
    EXPECT_TRUE(TempEnvironment::Read(env.Path("out/old.htm")) == old) << format;
    EXPECT_EQ(fs::hard_link_count(env.Path("out/old.htm")), 1u) << format;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (openDescriptors() > before && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::yield();
    }
    EXPECT_EQ(openDescriptors(), before) << format;
  }
}

TEST_F(BadTargetsTest, ATargetKeepsItsLinkAndItsMode) {
  Compare("a\n", "b\n");
  const fs::path real = env.Write("real/report.txt", "old\n");
  ::chmod(real.c_str(), 0640);
  fs::create_symlink(real, env.Path("link.txt"));
  EXPECT_EQ(ctrl.FileCompareCreateReport(env.Path("link.txt").string(), kText, 0), 0);
  EXPECT_TRUE(fs::is_symlink(env.Path("link.txt")));
  EXPECT_NE(TempEnvironment::Read(real).find("File Comparison Report\n"), std::string::npos);
  struct stat info {};
  ASSERT_EQ(::stat(real.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  // A new report gets the usual mode of a new file.
  const mode_t mask = ::umask(022);
  EXPECT_EQ(ctrl.FileCompareCreateReport(env.Path("real/new.txt").string(), kText, 0), 0);
  ::umask(mask);
  ASSERT_EQ(::stat(env.Path("real/new.txt").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0644u);
  // A target that is a directory is refused and stays a directory.
  EXPECT_EQ(ctrl.FileCompareCreateReport(env.Path("real").string(), kText, 0), -5);
  EXPECT_TRUE(fs::is_directory(env.Path("real")));
}

TEST_F(BadTargetsTest, SpecialTargetsAreWrittenInPlaceAndNeverWaitedFor) {
  Compare("a\n", "b\n");
  // A FIFO nobody reads: refused at once rather than waited for, and left a FIFO.
  const std::string fifo = env.Path("fifo").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (long format : kFormats) {
    EXPECT_EQ(ctrl.FileCompareCreateReport(fifo, format, 2), -5) << format;
  }
  struct stat info {};
  ASSERT_EQ(::stat(fifo.c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
  // A device is written in place, never replaced.
  EXPECT_EQ(ctrl.FileCompareCreateReport("/dev/null", kHtml, 1), 0);
  ASSERT_EQ(::stat("/dev/null", &info), 0);
  EXPECT_TRUE(S_ISCHR(info.st_mode));
  // A full one fails like a full disk.
  EXPECT_EQ(ctrl.FileCompareCreateReport("/dev/full", kText, 0), -5);
  // A compared file that became a FIFO since the comparison is not waited for either (a
  // new comparison, so that the first report loads the files).
  Compare("a\n", "b\n");
  ctrl.SetFileSource(fifo);
  EXPECT_EQ(ctrl.FileCompareCreateReport(env.Path("r.htm").string(), kHtml, 2), -4);
  EXPECT_FALSE(fs::exists(env.Path("r.htm")));
}

// A report or an export aimed at one of the process's own open streams goes through the
// stream, after what it already holds, and never replaces the file the stream writes to.
TEST_F(BadTargetsTest, AStreamOfTheProcessIsWrittenThroughNeverReplaced) {
  Compare("a\n", "b\n");
  Internals(ctrl).dir.results().Append(dircompare::DirResultRecord{});
  const std::string log = env.Write("log", "kept\n").string();
  struct Target {
    const char* spelling;
    std::function<bool(const std::string&)> write;
  } targets[] = {
      {"/proc/self/fd/",
       [&](const std::string& t) { return ctrl.FileCompareCreateReport(t, kText, 0) == 0; }},
      {"/dev/fd/",
       [&](const std::string& t) { return ctrl.FileCompareCreateReport(t, kHtml, 2) == 0; }},
      {"/dev/fd/", [&](const std::string& t) { return ctrl.DirSaveDataToTabFile(t) != 0; }},
  };
  for (const Target& target : targets) {
    const int fd = ::open(log.c_str(), O_WRONLY | O_APPEND);
    ASSERT_GE(fd, 0);
    const std::string path = target.spelling + std::to_string(fd);
    const std::string before = TempEnvironment::Read(log);
    const bool written = target.write(path);
    ::close(fd);
    EXPECT_TRUE(written) << path;
    const std::string after = TempEnvironment::Read(log);
    EXPECT_EQ(after.substr(0, before.size()), before) << path;
    EXPECT_GT(after.size(), before.size()) << path;
  }
  const std::string logText = TempEnvironment::Read(log);
  EXPECT_EQ(logText.rfind("kept\n", 0), 0u);
  EXPECT_NE(logText.find("\nRecord\tFileName\t"), std::string::npos) << logText;
  // A stream open for reading only cannot take a report, and its file stays as it was.
  const int input = ::open(log.c_str(), O_RDONLY);
  ASSERT_GE(input, 0);
  const std::string before = TempEnvironment::Read(log);
  EXPECT_EQ(ctrl.FileCompareCreateReport("/dev/fd/" + std::to_string(input), kText, 0), -5);
  ::close(input);
  EXPECT_EQ(TempEnvironment::Read(log), before);
  EXPECT_EQ(TempEnvironment::EntryNames(env.root()),
            (std::vector<std::string>{"home", "in", "log", "tmp"}));
}

TEST_F(BadTargetsTest, FilesThatDifferWithoutRecordsAreNeverReportedTheSame) {
  Compare("a\nb\n", "a\nc\n", /*quick=*/true);
  ASSERT_EQ(ctrl.FileCompareResultsCount(), -1);
  const std::string target = env.Path("report").string();
  ASSERT_EQ(ctrl.FileCompareCreateReport(target, kText, 0), 0);
  const std::string text = TempEnvironment::Read(target);
  EXPECT_NE(text.find("\nCompare File Results: \n\tFiles differ (no line-by-line records)\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.find("Differences found"), std::string::npos);
  for (long style : {1L, 2L}) {
    ASSERT_EQ(ctrl.FileCompareCreateReport(target, kHtml, style), 0);
    const std::string page = TempEnvironment::Read(target);
    EXPECT_NE(page.find("Compare File Results: <br>\nFiles differ (no line-by-line records)"
                        "<br><br>\n  </body>\n</html>\n"),
              std::string::npos)
        << page;
    EXPECT_EQ(page.find("Found</font>"), std::string::npos);
  }
  // Neither file was loaded: the reports quote none of their lines.
  EXPECT_EQ(Internals(ctrl).reports.TEST_TableLoads(), 0);
  // A compared file that is gone is still reported as unreadable.
  fs::remove(env.Path("in/source.txt"));
  EXPECT_EQ(ctrl.FileCompareCreateReport(target, kText, 0), -4);

  // Identical files still say so in the usual words.
  Compare("same\n", "same\n", /*quick=*/true);
  ASSERT_EQ(ctrl.FileCompareCreateReport(target, kText, 0), 0);
  EXPECT_NE(TempEnvironment::Read(target).find("\t0 Differences found\n"), std::string::npos);
}

// Two writers of one target at once: the result is one writer's complete report.
TEST(ReportWritersTest, TwoWritersNeverMixTheirOutput) {
  TempEnvironment env;
  const std::string target = env.Path("shared.txt").string();
  reports::LineTable master = reports::testing::TableOf({"m"});
  reports::LineTable source = reports::testing::TableOf({"s"});
  reports::ReportInputs inputs[2];
  std::string expected[2];
  for (int i = 0; i < 2; ++i) {
    inputs[i].timestamp = "T";
    inputs[i].masterCaption = std::string(i == 0 ? 3000000 : 2000000, i == 0 ? 'x' : 'y');
    inputs[i].sourceCaption = "s";
    inputs[i].records = {reports::testing::Rec('c', 1, 1, 1, 1)};
    inputs[i].counters.changes = 1;
    const std::string alone = env.Path("alone" + std::to_string(i)).string();
    ASSERT_TRUE(reports::WriteTextReport(alone, inputs[i], master, source));
    expected[i] = TempEnvironment::Read(alone);
  }
  for (int round = 0; round < 30; ++round) {
    std::thread writers[2];
    for (int i = 0; i < 2; ++i) {
      writers[i] = std::thread(
          [&, i] { EXPECT_TRUE(reports::WriteTextReport(target, inputs[i], master, source)); });
    }
    for (auto& w : writers) w.join();
    const std::string written = TempEnvironment::Read(target);
    EXPECT_TRUE(written == expected[0] || written == expected[1]) << "round " << round;
  }
}

}  // namespace
}  // namespace lindrel
